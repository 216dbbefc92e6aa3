// What the run keeps for uninstall protection between the dialogue before
// the wizard (step 13) and the storage after it (step 22).
#ifndef TARNVALE_SETUP_UNINSTALL_PASSWORD_H
#define TARNVALE_SETUP_UNINSTALL_PASSWORD_H

struct UninstallPassword {
    char newPassword[22];  // NewPassword: 21 bytes and a terminator; all zero when none registered
    char lengthCode[24];   // PasswordLengthCode
};

#endif
