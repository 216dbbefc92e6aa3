// Wizard page 2: the install log and its two bars. The page sets up the
// total bar, starts the install worker with its own window, and shows what
// the worker reports through the messages of engine/install_messages.h.
#include "ui/wizard.h"

#include <commctrl.h>

#include "engine/install_messages.h"
#include "engine/install_worker.h"
#include "resources/resource_ids.h"

namespace {

// A bar at 0 of 100, one step at a time.
void ResetBar(HWND bar) {
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
}

}  // namespace

INT_PTR CALLBACK InstallingPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND exitButton = GetDlgItem(GetParent(page), IDOK);
    HWND total = GetDlgItem(page, IDC_TOTAL_BAR);
    HWND file = GetDlgItem(page, IDC_FILE_BAR);
    switch (message) {
    case WM_INITDIALOG:
        ResetBar(total);
        // Button 1, "Next >" a moment ago, is "E&xit" now: it stays off
        // until the install ends, so that a second click on "Next >" does
        // not leave the page while the worker is still starting.
        // Nothing waits here: the frame's modal loop serves the worker's
        // messages, and RunWizard waits for it when the frame has ended.
        EnableWindow(exitButton, !StartInstallWorker(page));
        return FALSE;
    case WM_INSTALL_BEGIN:
        EnableWindow(exitButton, FALSE);
        return TRUE;
    case WM_INSTALL_LINE: {
        HWND list = GetDlgItem(page, IDC_LOG_LIST);
        LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, lParam);
        // The newest line in view, as in any log that grows.
        if (index >= 0) SendMessageA(list, LB_SETTOPINDEX, (WPARAM)index, 0);
        if (wParam) LocalFree((HLOCAL)lParam);
        return TRUE;
    }
    case WM_INSTALL_FILE:
        ResetBar(file);
        return TRUE;
    case WM_INSTALL_BAR:
        SendMessageA(wParam == kInstallFileBar ? file : total, PBM_SETPOS, (WPARAM)lParam, 0);
        return TRUE;
    case WM_INSTALL_END:
        EnableWindow(exitButton, TRUE);
        SendMessageA(total, PBM_SETPOS, 100, 0);
        SendMessageA(file, PBM_SETPOS, 100, 0);
        return TRUE;
    }
    return FALSE;
}
