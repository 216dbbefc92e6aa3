// Target directories: the directory macros of the install script and the
// default installation directory.
//
//   "*Program files"       HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion
//                          "ProgramFilesDir", else "C:\\Program Files"
//   "*System"              the Windows system directory
//   "*LonWorks directory"  HKLM\SOFTWARE\LonWorks "LonWorks Path"
//   "*Windows"             the Windows directory
//
// A macro is the whole text, compared exactly, case included.
//
// Portable: the macros and the joining. Resolving them on the running
// system is in system/target_dirs_win32.h.
#ifndef TARNVALE_CORE_TARGET_DIRS_H
#define TARNVALE_CORE_TARGET_DIRS_H

#include <stddef.h>

#define MACRO_PROGRAM_FILES "*Program files"
#define MACRO_SYSTEM "*System"
#define MACRO_LONWORKS "*LonWorks directory"
#define MACRO_WINDOWS "*Windows"

// Where the LonWorks network platform records its installation directory.
#define LONWORKS_KEY "SOFTWARE\\LonWorks"
#define LONWORKS_VALUE "LonWorks Path"

enum DirMacro { kNotAMacro = 0, kMacroProgramFiles, kMacroSystem, kMacroLonWorks, kMacroWindows };

// Which macro `text` is, or kNotAMacro.
DirMacro DirMacroOf(const char* text);

// `base` followed directly by `sub`, with no separator between them
// (scripts write SUB DIRECTORY with a leading backslash). Returns 1, or 0
// with `out` empty when the joined path does not fit `size` bytes.
int JoinInstallDir(char* out, size_t size, const char* base, const char* sub);

#endif
