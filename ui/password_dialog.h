// The object behind the password dialogs of uninstall protection:
//   107 "Register Software Password"  a new password, typed twice
//   108 "Check Password"              the password of an earlier installation,
//                                     or in the uninstaller, of the product
// Every id but 107 is a check: only 107 reads a confirmation.
#ifndef TARNVALE_UI_PASSWORD_DIALOG_H
#define TARNVALE_UI_PASSWORD_DIALOG_H

#include <windows.h>

#include "core/password_rules.h"

class PasswordDialog {
public:
    // Clears all of `entry` and empties `matchText`.
    PasswordDialog();
    virtual ~PasswordDialog();

    // Stores `resourceId` (107 or 108) in `dialogId` and runs that dialog
    // modally from AppInstance, with no owner. Returns 1 when the password
    // was accepted; 0 when the dialog was cancelled or closed, or could not
    // be shown at all.
    int show(int resourceId);

    // The dialog procedure of 107 and 108; the object comes as the
    // creation parameter and is kept in the dialog's user data. OK reads
    // at most 20 characters of control 1004 into `entry` (and, in 107, of
    // 1005 into `matchText`) and ends the dialog with 1 when PasswordAccepted
    // says so; otherwise the focus goes back to 1004 and the dialog stays.
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    int dialogId;
    char entry[kPasswordRecordSize];      // typed into 1004: 20 characters and a terminator
    char matchText[kPasswordTextSize];    // what `entry` must equal: 1005 in 107, the
                                          // stored password in 108 (set before show)
};

#endif
