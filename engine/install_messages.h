// The private messages by which the install worker (install_worker.h), on
// a thread of its own, reports to the installing page (ui/installing_page.cpp).
// The worker knows only the page's window; the page turns each message into
// the calls on its list box, its bars and the frame's button 1.
//
// Everything is posted, so that the page applies it in the order the worker
// posted it and the worker never waits for the page. A line is a copy that
// the page frees; only when there is no memory for one is the line sent,
// from the worker's stack.
#ifndef TARNVALE_ENGINE_INSTALL_MESSAGES_H
#define TARNVALE_ENGINE_INSTALL_MESSAGES_H

#include <windows.h>

// Values clear of the wizard's own (WM_USER + 8 and + 15, ui/wizard.h) and
// of the dialog manager's (WM_USER + 0 to + 2).
enum {
    WM_INSTALL_BEGIN = WM_USER + 20,  // 1044, posted: the worker has started; button 1 disabled
    WM_INSTALL_LINE = WM_USER + 21,   // 1045, lParam is a log line to add and keep in view; with
                                      // wParam 1 posted, LocalAlloc'd, freed by the page
    WM_INSTALL_FILE = WM_USER + 22,   // 1046, posted: a file starts; the file bar at 0 of 100
    WM_INSTALL_BAR = WM_USER + 23,    // 1047, posted: wParam is an InstallBar, lParam its position
    WM_INSTALL_END = WM_USER + 24     // 1048, posted: the worker is done; button 1 enabled, bars at 100
};

// wParam of WM_INSTALL_BAR.
enum InstallBar {
    kInstallTotalBar = 0,  // the whole install ([INFO] SIZE is 100)
    kInstallFileBar = 1    // the file being decoded
};

#endif
