// Uninstall protection: the dialogue before the wizard that confirms an
// earlier password and registers a new one (step 13 of the run), and the
// storage of the new one after it (step 22). Both have the signatures of
// their RunParts slots.
//
// The dialogue runs through these states:
//   Lookup    an earlier record: bytes 78..98 of "<Path>\uninstall.exe",
//             else the hidden file SystemDir\tv_sysN.sys (password_rules.h)
//   Check     dialog 108 with the earlier password      (record not empty)
//   Notice    the Korean notice that it is set aside     (any record)
//   Register  dialog 107 for the new password
//   Aborted   Cancel in 108 or 107: workspace removed, setup ends
//   Armed     the new password and its length code handed to the run
#ifndef TARNVALE_SETUP_PROTECTION_H
#define TARNVALE_SETUP_PROTECTION_H

#include "setup/uninstall_password.h"

// The protection dialogue. `productKey` is the product's key under
// HKEY_LOCAL_MACHINE (empty: its "Path" is not read). Returns 1 with
// `password` holding the new password (zero-padded, terminated at byte 21)
// and its length code; or 0 after RemoveWorkspace when the user cancelled
// either dialog. Writes nothing: neither the registry nor any record.
int ProtectUninstall(const char* productKey, UninstallPassword* password);

// The storage, when `password` holds a password: its length code as
// "Uninstall Password" under `productKey` (skipped when that is empty),
// its record into bytes 78..98 of "<Path>\uninstall.exe" when that file
// exists, and into the hidden file, which ends with exactly the hidden and
// system attributes. A record file that cannot be opened is skipped
// silently. `password` is left as it was.
void StoreUninstallPassword(const char* productKey, UninstallPassword* password);

#endif
