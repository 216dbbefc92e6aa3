// Entry point of the setup program.
//
// DLL loading is restricted to the system directory before anything else
// runs; then the run sequence (run_sequence.h) goes from start to exit. The
// program reads no arguments and always ends with exit code 0.
#include <windows.h>

#include "core/sfx_archive.h"
#include "setup/protection.h"
#include "setup/run_sequence.h"
#include "system/system_helpers.h"
#include "ui/wizard.h"

namespace {

// The run's one container reader. Its 1000-entry table is far too large
// for the stack, so it lives for the whole process.
SfxArchive Archive;

const RunParts kSetupParts = {ProtectUninstall, RunWizard, StoreUninstallPassword};

}  // namespace

// Held for the whole run, so that a second start (a double-click) cannot
// overwrite the workspace under the first or delete it.
const char kRunMutex[] = "TarnvaleSetupRunning";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    HANDLE running = CreateMutexA(NULL, FALSE, kRunMutex);
    if (running != NULL && GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowMessage(NULL, "An installation is already running.", "Setup", MB_OK);
        return 0;
    }
    return RunSetup(&Archive, kSetupParts);
}
