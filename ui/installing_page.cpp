// Wizard page 2: the install log and its two bars. The page sets up the
// total bar, starts the install worker with its own window, and shows what
// the worker reports through the messages of engine/install_messages.h.
#include "ui/wizard.h"

#include <commctrl.h>

#include "engine/install_messages.h"
#include "engine/install_worker.h"
#include "resources/resource_ids.h"
#include "ui/ui.h"

namespace {

// While lines come in, the log list is drawn once per kLogDrawMs, on the
// page's timer: under X every drawing of the list and of its scroll bars
// waits for the server, and with a line per file that was most of the
// page's work.
const UINT_PTR kLogDrawTimer = 1;
const UINT kLogDrawMs = 100;

bool LogTimer;        // the timer runs: lines go in undrawn
bool LogDrawPending;  // lines are in the list that it has not drawn yet
LRESULT LogNewest;    // the index of the newest line

// Draws the new lines once, with the newest in view, as in any log that
// grows.
void DrawLog(HWND page) {
    if (!LogDrawPending) return;
    LogDrawPending = false;
    HWND list = GetDlgItem(page, IDC_LOG_LIST);
    if (LogNewest >= 0) SendMessageA(list, LB_SETTOPINDEX, (WPARAM)LogNewest, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

}  // namespace

INT_PTR CALLBACK InstallingPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND exitButton = GetDlgItem(GetParent(page), IDOK);
    HWND total = GetDlgItem(page, IDC_TOTAL_BAR);
    HWND file = GetDlgItem(page, IDC_FILE_BAR);
    switch (message) {
    case WM_INITDIALOG:
        ResetProgressBar(total);
        LogTimer = SetTimer(page, kLogDrawTimer, kLogDrawMs, NULL) != 0;
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
        // With the timer running the line waits for it to be drawn; without
        // a timer the list draws each line itself.
        HWND list = GetDlgItem(page, IDC_LOG_LIST);
        if (LogTimer && !LogDrawPending) {
            SendMessageA(list, WM_SETREDRAW, FALSE, 0);
            LogDrawPending = true;
        }
        LogNewest = SendMessageA(list, LB_ADDSTRING, 0, lParam);
        if (wParam) LocalFree((HLOCAL)lParam);
        return TRUE;
    }
    case WM_TIMER:
        DrawLog(page);
        return TRUE;
    case WM_INSTALL_FILE:
        ResetProgressBar(file);
        return TRUE;
    case WM_INSTALL_BAR:
        SendMessageA(wParam == kInstallFileBar ? file : total, PBM_SETPOS, (WPARAM)lParam, 0);
        return TRUE;
    case WM_INSTALL_END:
        // The button first: lines not drawn yet are drawn by the timer,
        // while the user reads the log.
        EnableWindow(exitButton, TRUE);
        SendMessageA(total, PBM_SETPOS, 100, 0);
        SendMessageA(file, PBM_SETPOS, 100, 0);
        return TRUE;
    }
    return FALSE;
}
