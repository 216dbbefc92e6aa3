// The install engine: InstallWorker runs on a thread of its own, started by
// the installing page with the page's window, and carries out the script.
//
//   start      button 1 of the page's parent disabled, codec bound to the
//              page's list box 1016 and bars 1004 ("Total:") and 1005
//              ("File:"), "------ Start installing ------", program group
//   file pass  [NORMAL] [WINDOWS] [SYSTEM] [LW]: every line's file is
//              decoded into its directory, then its shortcuts and its
//              start-up entry are made
//   activation the same sections again: plug-ins, one-time programs,
//              library entry points
//   closing    "------ Registering information ------", uninstaller,
//              uninstall key, Install.ini, "---- Completed installation ----",
//              button 1 enabled, both bars at 100
//
// The worker reaches the page and the frame only through their windows, so
// the thread that owns them must keep handling messages while it runs.
//
// A cancelled wizard (UserCancelled set) stops the worker at the next file
// boundary: the file being decoded is finished, nothing further is
// installed, started or registered. The driver waits for it with
// WaitForInstallWorker before it removes the workspace.
#ifndef TARNVALE_ENGINE_INSTALL_WORKER_H
#define TARNVALE_ENGINE_INSTALL_WORKER_H

#include <windows.h>

// The thread routine; `page` is the installing page's window (HWND). Its
// exit code is UserCancelled as it ends.
DWORD WINAPI InstallWorker(LPVOID page);

// Starts InstallWorker for `page` on a new thread with default security and
// stack size. Returns 1 when it started, 0 when the thread could not be
// created (nothing is reported then, and button 1 stays enabled). At most
// one worker runs per process: a second call while one is known returns 0.
int StartInstallWorker(HWND page);

// Waits until the worker started by StartInstallWorker has ended, handling
// the calling thread's messages meanwhile (the worker's list-box lines and
// bar set-ups are sent messages that this thread must serve). Returns at
// once when no worker was started.
void WaitForInstallWorker();

#endif
