// How the uninstaller removes its own file: the program that Windows starts
// (the launcher, in the installation directory, named by the install log
// like every file the install placed) hands the work to a copy of itself in
// the temporary folder and ends, so that nothing holds its file any more.
//
//   launcher  copies itself to %TEMP%\tvuXXXX.tmp, starts the copy there with
//             an inherited pipe and its own process handle (core/
//             uninstall_args.h), waits for one byte, the copy's decision,
//             and ends with it as its exit code
//   copy      checks and asks as the uninstaller does; writes its decision
//             into the pipe (0: it removes the product); then waits for the
//             launcher to end, removes the product, and marks its own file
//             for deletion at the next restart
//
// A refused uninstall (a wrong password, "No", /S with a password) ends both,
// and the launcher deletes the copy. Where no copy can be made, the launcher
// does the work itself, and its own file and folder stay.
#ifndef TARNVALE_UNINSTALL_HAND_OVER_H
#define TARNVALE_UNINSTALL_HAND_OVER_H

#include "core/uninstall_args.h"

// Launcher: starts the copy for `silent` and `installDir` and waits for its
// decision. Returns 1 with `exitCode` the decision (kUninstallFailed when the
// copy ended without one); 0, with nothing started and no copy left, when no
// copy could be made or started.
int HandOverToCopy(int silent, const char* installDir, int* exitCode);

// Copy (`args.isCopy`; nothing happens otherwise): writes `decision` into the
// launcher's pipe; with 0, waits (a minute at most) until the launcher has
// ended.
void TellLauncher(const UninstallArgs& args, int decision);

// Copy: marks the running program's file for deletion at the next restart
// (MoveFileEx; the Windows 95 family has no such call and keeps the file).
void RemoveCopyAtRestart();

#endif
