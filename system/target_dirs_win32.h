// Target directories on the running system: the directory macros resolved,
// the LonWorks path, the OS filter for this system, directory chains and the
// default installation directory.
#ifndef TARNVALE_SYSTEM_TARGET_DIRS_WIN32_H
#define TARNVALE_SYSTEM_TARGET_DIRS_WIN32_H

#include <stddef.h>

#include "core/target_dirs.h"

// If `text` is a macro of MAIN DIRECTORY and RunOnceSpec (DirMacroOf with
// kUseDirectory), writes its directory into `out` (`size` bytes) and
// returns 1; otherwise returns 0 and leaves `out` as it was. A directory
// that does not fit gives an empty `out` (result 1).
int ResolveDirMacro(const char* text, char* out, size_t size);

// Writes the LonWorks path into `out` (`size` bytes): the text that
// QueryRegString reads, or the empty text when the key or the value is
// missing or the text does not fit. Returns 1 when the path is not empty,
// else 0: callers refuse their [LW] line then, rather than install it
// below the root of the current drive.
int ReadLonWorksPath(char* out, size_t size);

// 1 when a line with the OsFilter `filter` applies to the running system
// (MatchesOsFilter of core/script_vocabulary.h with IsWinNT), else 0.
int MatchesOsFilter(const char* filter);

// Creates the directory `path` and every missing directory above it, from
// the top down; nothing when `path` already exists (a file of that name
// included). Each backslash ends a directory to create, except the one
// after a drive colon ("C:\\") and one that opens the path; the whole path
// comes last. Failed creations are ignored. Returns 0, creating nothing,
// when `path` has 260 characters or more; else 1, whatever was created.
// Each directory it makes is logged first in the install log (when open).
int CreateDirChain(const char* path);

// CreateDirChain that tells `making` of each directory before it makes it.
int CreateDirChainTelling(const char* path, void (*making)(void*, const char*), void* context);

// Sets InstallDir from MainDirSetting (a macro, or else a literal path) and
// SubDirSetting appended directly. When the two do not fit InstallDir's 260
// bytes together, InstallDir is left empty rather than cut.
void ResolveDefaultInstallDir();

#endif
