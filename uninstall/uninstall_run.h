// One uninstall of the product installed in a directory, in two halves:
//
//   PrepareUninstall  reads NAME from Install.ini, checks the install log
//                     whole, asks for the password when the product has an
//                     "Uninstall Password" (dialog 108, the setup program's
//                     rule, against the record in bytes 78..98 of this
//                     program, else in the hidden file), then asks "Remove
//                     <NAME> and all of its components?". Changes nothing.
//   RemoveProduct     undoes the log, newest first (plug-ins deregistered,
//                     uninstall exports called, files deleted or restored,
//                     values deleted, empty folders removed), then removes
//                     the product key's values, the key and the uninstall key
//                     when they are empty, and the hidden password file;
//                     a progress window and a final message.
//
// With `silent` ("/S") no window is shown and nothing is asked: a product
// with a password is refused.
#ifndef TARNVALE_UNINSTALL_UNINSTALL_RUN_H
#define TARNVALE_UNINSTALL_UNINSTALL_RUN_H

#include "system/settings.h"

// The exit codes of the uninstaller.
enum UninstallExit {
    kUninstallRemoved = 0,  // removed; what could not go is named in the final message
    kUninstallRefused = 1,  // cancelled, "No", no password record, or /S with a password
    kUninstallNothing = 2,  // no product there, or its log missing or damaged: nothing removed
    kUninstallFailed = 3    // the copy in the temporary folder ended without a decision
};

struct Uninstallation {
    int silent;
    int passwordSet;  // the product key has "Uninstall Password"
    char installDir[kPathSize];
    char name[kPathSize];        // [INSTALL PROJECT] NAME of Install.ini
    char productKey[kPathSize];  // SOFTWARE\<NAME>
    char logPath[kPathSize];
    char backupDir[kPathSize];
};

// Fills `run` for `installDir` and asks the user. Returns kUninstallRemoved
// when the product is to be removed, or the exit code that ends the run
// (its message already shown, unless `silent`). Needs AppInstance and
// SystemDir.
int PrepareUninstall(int silent, const char* installDir, Uninstallation* run);

// Removes what PrepareUninstall agreed to. Returns kUninstallRemoved, or
// kUninstallNothing when the log went missing in between.
int RemoveProduct(const Uninstallation& run);

#endif
