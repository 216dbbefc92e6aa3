// The command line of the uninstaller, tarnvale-uninstall.exe.
//
// Windows starts it from "UninstallString", with the installation directory
// as its argument, quoted or not, blanks and all:
//
//   "C:\Program Files\App\uninstall.exe" C:\Program Files\App
//   "C:\Program Files\App\uninstall.exe" /S C:\Program Files\App
//   "C:\Program Files\App\uninstall.exe" C:\Program Files\App /S
//
// "/S" (before or after the directory) removes without a question. The
// program then hands the work to a copy of itself in the temporary folder,
// so that its own file can go; the copy is started with the launcher's
// handles in front of the same arguments:
//
//   "C:\...\Temp\tvu1A2B.tmp" /~<pipe>,<process> [/S] <directory>
//
// <pipe> and <process> are handle values in hexadecimal, inherited from the
// launcher (uninstall/hand_over.h). A directory never holds a "/", so
// neither option can be part of it.
//
// Portable core: no platform headers; fixed buffers.
#ifndef TARNVALE_CORE_UNINSTALL_ARGS_H
#define TARNVALE_CORE_UNINSTALL_ARGS_H

#include <stddef.h>
#include <stdint.h>

enum {
    kUninstallDirSize = 260,      // the directory, terminator included
    kUninstallCommandSize = 1024  // the copy's command line
};

struct UninstallArgs {
    int silent;                      // "/S" was given
    int isCopy;                      // "/~...": started by the launcher
    uint64_t decisionPipe;           // the copy's: where it writes its decision
    uint64_t launcher;               // the copy's: the launcher's process
    char installDir[kUninstallDirSize];  // empty when none was given
};

// Parses a whole command line, the program's path first (quoted or up to the
// first blank). The directory is the rest of the line after the options,
// without its surrounding blanks, one pair of enclosing quotes and a
// trailing backslash (a drive root keeps its own). Returns 1, or 0 with
// `installDir` empty when the directory does not fit or a "/~" option is
// malformed (`isCopy` then stays 0).
int ParseUninstallArgs(const char* commandLine, UninstallArgs* args);

// The copy's command line: `program` in quotes, "/~<pipe>,<process>", "/S"
// when `silent`, and `installDir` as it is. Returns 1, or 0 with `out`
// empty when it does not fit `size` bytes.
int FormatCopyCommandLine(char* out, size_t size, const char* program, uint64_t pipe,
                          uint64_t process, int silent, const char* installDir);

#endif
