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
// DirMacroOf and JoinInstallDir are portable (target_dirs.cpp); the rest
// reads or changes the platform and lives in target_dirs_win32.cpp.
#ifndef TARNVALE_SCRIPT_TARGET_DIRS_H
#define TARNVALE_SCRIPT_TARGET_DIRS_H

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

// --- Windows side -------------------------------------------------------

// If `text` is one of the four macros, writes its directory into `out`
// (`size` bytes) and returns 1; otherwise returns 0 and leaves `out` as it
// was. A directory that does not fit gives an empty `out` (result 1).
int ResolveDirMacro(const char* text, char* out, size_t size);

// Writes the LonWorks path into `out` (`size` bytes): the text that
// QueryRegString reads, or the empty text when the key or the value is
// missing or the text does not fit. Returns 1 when the path is not empty,
// else 0: callers refuse their [LW] line then, rather than install it
// below the root of the current drive.
int ReadLonWorksPath(char* out, size_t size);

// 1 when a line with the OsFilter `filter` applies to the running system
// (MatchesOsFilter of entry_rules.h with IsWinNT), else 0.
int MatchesOsFilter(const char* filter);

// Creates the directory `path` and every missing directory above it, from
// the top down; nothing when `path` already exists (a file of that name
// included). Each backslash ends a directory to create, except the one
// after a drive colon ("C:\\") and one that opens the path; the whole path
// comes last. Failed creations are ignored. Returns 0, creating nothing,
// when `path` has 260 characters or more; else 1, whatever was created.
int CreateDirChain(const char* path);

// Sets InstallDir from MainDirSetting (a macro, or else a literal path) and
// SubDirSetting appended directly. When the two do not fit InstallDir's 260
// bytes together, InstallDir is left empty rather than cut.
void ResolveDefaultInstallDir();

#endif
