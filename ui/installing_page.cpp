// Wizard page 2: the install log and its two bars. The page only sets up
// the total bar and starts the install worker with its own window; the
// worker does the rest through the page's controls.
#include "ui/wizard.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "engine/install_worker.h"

INT_PTR CALLBACK InstallingPage(HWND page, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        HWND total = GetDlgItem(page, IDC_TOTAL_BAR);
        SendMessageA(total, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        SendMessageA(total, PBM_SETPOS, 0, 0);
        SendMessageA(total, PBM_SETSTEP, 1, 0);
        // Nothing waits here: the frame's modal loop serves the worker's
        // messages, and RunWizard waits for it when the frame has ended.
        StartInstallWorker(page);
    }
    return FALSE;
}
