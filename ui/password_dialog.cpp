#include "ui/password_dialog.h"

#include <string.h>

#include "resources/resource_ids.h"
#include "system/settings.h"
#include "system/system_helpers.h"

PasswordDialog::PasswordDialog() : dialogId(0) {
    memset(entry, 0, sizeof(entry));
    matchText[0] = '\0';
}

PasswordDialog::~PasswordDialog() {}

int PasswordDialog::show(int resourceId) {
    dialogId = resourceId;
    INT_PTR result = DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(resourceId), NULL, Procedure,
                                     reinterpret_cast<LPARAM>(this));
    // -1 (no dialog) counts as cancelled: setup then ends rather than go on
    // unprotected.
    return result == 1 ? 1 : 0;
}

INT_PTR CALLBACK PasswordDialog::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        CenterOnScreen(dialog);
        return TRUE;  // the focus goes to 1004, the first tab stop
    }
    PasswordDialog* self =
        reinterpret_cast<PasswordDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    if (self == NULL) return FALSE;  // messages before WM_INITDIALOG

    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            // A limit of 21 bytes takes at most 20 characters; whatever was
            // typed beyond them is dropped.
            GetDlgItemTextA(dialog, IDC_PASSWORD, self->entry, sizeof(self->entry));
            if (self->dialogId == IDD_PASSWORD_NEW)
                GetDlgItemTextA(dialog, IDC_PASSWORD_CONFIRM, self->matchText,
                                sizeof(self->entry));
            if (PasswordAccepted(self->entry, self->matchText)) {
                EndDialog(dialog, 1);
            } else {
                // Nothing is shown or cleared: the user types again.
                SendMessageA(dialog, WM_NEXTDLGCTL,
                             reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_PASSWORD)), TRUE);
            }
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}
