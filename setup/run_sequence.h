// The run of the setup program from start to exit.
//
//    1-3   settings: module, platform, system and Windows directories
//    4-7   workspace %TEMP%\QOZSETUP, current directory, script path
//    8-10  preparing dialog, payload extraction, result
//   11-12  project settings of the script, product key
//   13     uninstall protection                       (RunParts::protect)
//   14-16  "Path" cleared, default InstallDir, backdrop window
//   17     wizard                                     (RunParts::wizard)
//   18-21  reboot setting, "Path" and "Version", workspace removed
//   22     password storage                           (RunParts::storePassword)
//   23-25  restart dialog, backdrop closed, end
#ifndef TARNVALE_SETUP_RUN_SEQUENCE_H
#define TARNVALE_SETUP_RUN_SEQUENCE_H

#include <windows.h>

#include "setup/uninstall_password.h"

class SfxArchive;

// The steps that other parts of the program carry out. `productKey` is the
// product's key under HKEY_LOCAL_MACHINE, "SOFTWARE\\" + NAME, or the empty
// text when NAME is too long for it (nothing is then read or written under
// it).
struct RunParts {
    // Step 13, only when UNINSTALLATION PROTECTION is non-zero. Returns 1 to
    // go on, with `password` filled in when one was registered, or 0 to end
    // the run (the workspace is then already removed).
    int (*protect)(const char* productKey, UninstallPassword* password);
    // Step 17: the wizard, run modally with `backdrop` (may be null) as owner.
    void (*wizard)(HWND backdrop);
    // Step 22, only when a password was registered: stores it.
    void (*storePassword)(const char* productKey, UninstallPassword* password);
};

// Runs steps 1 to 25 on the calling (user-interface) thread with `archive`
// as the run's one container reader and `parts` for the steps above.
// Returns 0, the process's exit code, on every path.
int RunSetup(SfxArchive* archive, const RunParts& parts);

#endif
