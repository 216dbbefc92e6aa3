// Target directories: where the directory macros of the install script
// point, and the join that forms the default installation directory.
//
//   "*Program files"       HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion
//                          "ProgramFilesDir", else "C:\\Program Files"
//   "*System"              the Windows system directory
//   "*LonWorks directory"  HKLM\SOFTWARE\LonWorks "LonWorks Path"
//   "*Windows"             the Windows directory
//
// The macros themselves, and where each is understood, are in the
// vocabulary (kDirMacros, DirMacroOf). Portable: resolving them on the
// running system is in system/target_dirs_win32.h.
#ifndef TARNVALE_CORE_TARGET_DIRS_H
#define TARNVALE_CORE_TARGET_DIRS_H

#include <stddef.h>

#include "core/script_vocabulary.h"

// Where the LonWorks network platform records its installation directory.
#define LONWORKS_KEY "SOFTWARE\\LonWorks"
#define LONWORKS_VALUE "LonWorks Path"

// `base` followed directly by `sub`, with no separator between them
// (scripts write SUB DIRECTORY with a leading backslash). Returns 1, or 0
// with `out` empty when the joined path does not fit `size` bytes.
int JoinInstallDir(char* out, size_t size, const char* base, const char* sub);

#endif
