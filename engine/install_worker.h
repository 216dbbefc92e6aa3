// The install engine: InstallWorker runs on a thread of its own, started by
// the installing page with the page's window, and carries out the script.
//
//   start      button 1 of the frame disabled, the decoder's log lines
//              and bar positions bound to the page, "------ Start
//              installing ------", program group
//   file pass  [NORMAL] [WINDOWS] [SYSTEM] [LW]: every line's file is
//              decoded into its directory, then its shortcuts and its
//              start-up entry are made
//   activation the same sections again: plug-ins, one-time programs,
//              library entry points
//   closing    "------ Registering information ------", uninstaller,
//              uninstall key, Install.ini, "---- Completed installation ----",
//              button 1 enabled, both bars at 100
//
// The worker knows only the page's window and reaches it only through the
// messages of install_messages.h: its start and its lines are sent, bar
// positions and its end posted. The page acts on its controls and the frame's button 1, so the
// thread that owns it must keep handling messages while the worker runs.
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
// the calling thread's messages meanwhile (the worker's start and its log
// lines are sent messages that this thread must serve). Returns at once
// when no worker was started, and when the wait itself fails.
void WaitForInstallWorker();

#endif
