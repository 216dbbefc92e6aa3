// The preparing dialog: a modeless progress window shown while the payload
// is copied into the workspace. The run sequence moves its bar; the dialog
// itself only sets the bar up and keeps its two texts.
#include "ui/ui.h"

#include <commctrl.h>

#include "resources/resource_ids.h"

namespace {

const UINT_PTR kTextTimer = 1;
const UINT kTextTimerMs = 250;

void ShowPreparingTexts(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_PREPARING_TEXT, "Preparing installation...");
    SetDlgItemTextA(dialog, IDC_PREPARING_VERSION, "Tarnvale 1.0");
}

}  // namespace

// Every message is reported as not handled, so the dialog manager's
// defaults stay in force. The timer is never killed; it ends with the
// window.
INT_PTR CALLBACK PreparingDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        ResetProgressBar(GetDlgItem(dialog, IDC_PREPARING_BAR));
        SetTimer(dialog, kTextTimer, kTextTimerMs, NULL);
        ShowPreparingTexts(dialog);
        break;
    }
    case WM_TIMER:
        ShowPreparingTexts(dialog);
        break;
    }
    return FALSE;
}
