// Entry point of the uninstaller, tarnvale-uninstall.exe, which `tarnvale
// build` stores under [UNINSTALL] NAME: started from "UninstallString" with
// the installation directory as its argument (core/uninstall_args.h), it
// removes what the install log there lists (uninstall_run.h), from a copy of
// itself in the temporary folder (hand_over.h).
//
// DLL loading is restricted to the system directory before anything else
// runs, as in the setup program: the copy runs from the temporary folder,
// where anybody may put a DLL.
#include <windows.h>

#include <string.h>

#include "core/file_io.h"
#include "core/uninstall_args.h"
#include "system/settings.h"
#include "system/system_helpers.h"
#include "uninstall/hand_over.h"
#include "uninstall/uninstall_run.h"

namespace {

// The folder of this program, which the install made the installation
// directory: for a start without an argument.
void OwnFolder(char* out, size_t size) {
    if (!ModuleFilePath(out, size)) return;
    char* slash = strrchr(out, '\\');
    if (slash != NULL) *slash = '\0';
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    AppInstance = instance;
    const UINT length = GetSystemDirectoryA(SystemDir, kPathSize);
    if (length == 0 || length >= kPathSize) SystemDir[0] = '\0';

    UninstallArgs args;
    if (!ParseUninstallArgs(GetCommandLineA(), &args)) {
        if (!args.silent)
            ShowMessage(NULL, "The installation directory on the command line cannot be read.",
                        "Uninstall", MB_OK);
        return kUninstallNothing;
    }
    if (!args.isCopy) {
        if (args.installDir[0] == '\0') OwnFolder(args.installDir, sizeof(args.installDir));
        int decision = kUninstallFailed;
        if (HandOverToCopy(args.silent, args.installDir, &decision)) return decision;
    }

    Uninstallation run;
    int result = PrepareUninstall(args.silent, args.installDir, &run);
    TellLauncher(args, result);
    if (result == kUninstallRemoved) {
        result = RemoveProduct(run);
        if (args.isCopy) RemoveCopyAtRestart();
    }
    return result;
}
