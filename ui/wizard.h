// The wizard: a modal frame (template 105) that shows one page at a time
// in the area of its hidden control 1018.
//
//   page 0  LicensePage     template 102  "License Agreement"     "&I agree"
//   page 1  DirectoryPage   template 103  "Installation Directory" "Next >"
//   page 2  InstallingPage  template 106  "Installing Files"      "E&xit"
//
// The licence page is skipped, forward and back, when LICENSE FILE of the
// script is empty. The installing page starts the install worker
// (engine/install_worker.h) with its own window. The worker knows nothing
// of the page's controls: it reports through the messages of
// engine/install_messages.h, and the page acts on them: log lines into list
// box 1016, positions onto bars 1004 ("Total:") and 1005 ("File:"), and
// button 1 of the frame disabled at the worker's start and enabled at its
// end.
//
// Apart from the worker's messages to the installing page, every procedure
// here reports every message as not handled, so the dialog manager's
// defaults stay in force: Escape and the close box are command 2, Cancel.
#ifndef TARNVALE_UI_WIZARD_H
#define TARNVALE_UI_WIZARD_H

#include <windows.h>

#include "system/settings.h"

// Private messages of the wizard.
enum {
    WM_WIZARD_STEP = WM_USER + 8,   // 1032, to the frame: wParam is the signed page step
    WM_VALIDATE_DIR = WM_USER + 15  // 1039, to the directory page: edit 1019 -> InstallDir, checked
};

// Index of the page shown; 3 once the last page was passed. Never reset.
extern int CurrentPage;
// LICENSE FILE of [INSTALL PROJECT], read at every page change.
extern char LicenseFileName[kPathSize];

// Runs the wizard modally with `backdrop` (may be null) as owner, then
// waits for an install worker that the installing page started, serving
// the thread's messages meanwhile. After a Cancel (UserCancelled 1) the
// worker stops at the next file boundary; without one it runs to its end.
void RunWizard(HWND backdrop);

// Procedure of the frame. Ends the dialog with 0 after the last page, with
// 2 on Cancel (UserCancelled then becomes 1).
//   command 1  next page (ignored while button 1 is disabled)
//   command 3  previous page
//   command 2  Cancel
INT_PTR CALLBACK WizardFrame(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

// Procedures of the pages, child dialogs of the frame.
//   LicensePage     edit 1000 holds LicenseFileName's text; a file that
//                   cannot be opened is reported under "License Error"
//   DirectoryPage   edit 1019 holds InstallDir; every change is copied back
//                   and checked ("Invalid Path" under "Path error"); Browse
//                   opens the folder browser on the edit's directory
//   InstallingPage  sets up bar 1004, starts the install worker and shows
//                   its reports (WM_INSTALL_*)
INT_PTR CALLBACK LicensePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DirectoryPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InstallingPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
