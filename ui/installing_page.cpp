// Wizard page 2: the install log and its two bars. The page sets up the
// total bar, starts the install worker with its own window, and shows what
// the worker reports through the messages of engine/install_messages.h.
#include "ui/wizard.h"

#include <commctrl.h>

#include "engine/install_messages.h"
#include "engine/install_worker.h"
#include "resources/resource_ids.h"
#include "ui/ui.h"

INT_PTR CALLBACK InstallingPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND exitButton = GetDlgItem(GetParent(page), IDOK);
    HWND total = GetDlgItem(page, IDC_TOTAL_BAR);
    HWND file = GetDlgItem(page, IDC_FILE_BAR);
    switch (message) {
    case WM_INITDIALOG:
        ResetProgressBar(total);
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
        // The lines queued behind this one go in with it, and the list is
        // drawn once for all of them: under X every scroll and repaint of
        // the list waits for the server.
        HWND list = GetDlgItem(page, IDC_LOG_LIST);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        LRESULT index;
        MSG next;
        for (;;) {
            index = SendMessageA(list, LB_ADDSTRING, 0, lParam);
            if (wParam) LocalFree((HLOCAL)lParam);
            if (!PeekMessageA(&next, page, WM_INSTALL_LINE, WM_INSTALL_LINE, PM_REMOVE)) break;
            wParam = next.wParam;
            lParam = next.lParam;
        }
        // The newest line in view, as in any log that grows.
        if (index >= 0) SendMessageA(list, LB_SETTOPINDEX, (WPARAM)index, 0);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, NULL, TRUE);
        return TRUE;
    }
    case WM_INSTALL_FILE:
        ResetProgressBar(file);
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
