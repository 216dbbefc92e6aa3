// The restart offer after the wizard: restart now (preselected) or later.
#include "ui/ui.h"

#include "resources/resource_ids.h"
#include "system/settings.h"
#include "system/system_helpers.h"

// Every message is reported as not handled, so the dialog manager's
// defaults stay in force.
//   OK: restarts Windows when "now" is checked, and ends the dialog with 0.
//   Cancel and Escape: end the dialog with IDCANCEL, no restart.
//   Close box: closes the owner (the backdrop), which takes the dialog
//   with it; no restart.
INT_PTR CALLBACK RestartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_RESTART_NOW, BM_SETCHECK, BST_CHECKED, 0);
        CenterOnScreen(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (SendDlgItemMessageA(dialog, IDC_RESTART_NOW, BM_GETCHECK, 0, 0) == BST_CHECKED)
                RestartWindows(IsWinNT);
            EndDialog(dialog, 0);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        break;
    case WM_CLOSE:
        SendMessageA(GetParent(dialog), WM_CLOSE, 0, 0);
        break;
    }
    return FALSE;
}
