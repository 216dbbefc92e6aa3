// Test program for Wine: the setup program's run sequence with test parts
// in place of uninstall protection, the wizard and the password storage,
// so that a test sees the run's state at those steps. Packages are built
// with it as the stub (tarnvale build --stub run-probe.exe).
//
//   run-probe.exe --platform     prints "platform R" (DetectPlatform's
//                                result) and "version MAJOR.MINOR id ID"
//   run-probe.exe [MODE...]      runs the sequence; MODE words:
//     sync              meet the script at "wizard" (sync_point.h) while
//                       the wizard step runs
//     cancel            the wizard ends as if cancelled (UserCancelled 1)
//     protect-end       the protection step removes the workspace and ends
//                       the run
//     protect-password  the protection step registers the password "secret"
//
// Prints what each test part sees, one line each, then
// "backdrop closed ..." and "end R" with the run's result. A run still going
// after 40 s prints "FAIL still running" and ends with exit code 3.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/sfx_archive.h"
#include "setup/run_sequence.h"
#include "core/run_text.h"
#include "system/settings.h"
#include "system/system_helpers.h"
#include "system/workspace.h"
#include "sync_point.h"

namespace {

SfxArchive Archive;

bool modeSync;
bool modeCancel;
bool modeProtectEnd;
bool modeProtectPassword;

// How the backdrop was closed: set by its subclass procedure.
WNDPROC backdropProcedure;
const char* backdropClosed = "never";

// "Path" of the product key as QueryRegString reads it.
void SayPath(const char* productKey) {
    char* path = productKey[0] ? QueryRegString(HKEY_LOCAL_MACHINE, productKey, "Path") : NULL;
    Say("Path %s%s%s\n", path ? "[" : "", path ? path : "missing", path ? "]" : "");
    free(path);
}

bool WorkspaceExists() {
    DWORD attributes = GetFileAttributesA(WorkspaceDir);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Visible dialogs of this process's thread: the preparing dialog must be
// gone by the wizard step, the restart dialog is one when it is open.
BOOL CALLBACK CountDialog(HWND window, LPARAM param) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (IsWindowVisible(window) && strcmp(className, "#32770") == 0)
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

int OpenDialogs() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
    return count;
}

LRESULT CALLBACK WatchBackdrop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && strcmp(backdropClosed, "never") == 0) {
        // Reached from the restart dialog's close box while that dialog is
        // still up, or from the end of the run.
        backdropClosed = OpenDialogs() > 0 ? "with a dialog open" : "with no dialog open";
    }
    return CallWindowProcA(backdropProcedure, window, message, wParam, lParam);
}

int Protect(const char* productKey, UninstallPassword* password) {
    Say("protect key [%s] workspace %s\n", productKey, WorkspaceExists() ? "present" : "gone");
    SayPath(productKey);
    if (modeProtectEnd) {
        RemoveWorkspace();
        return 0;
    }
    if (modeProtectPassword) {
        strcpy(password->newPassword, "secret");
        strcpy(password->lengthCode, "249");
    }
    return 1;
}

void Wizard(HWND backdrop) {
    char className[16] = "";
    if (backdrop != NULL) GetClassNameA(backdrop, className, sizeof(className));
    Say("wizard owner [%s] visible %d\n", className,
        backdrop ? IsWindowVisible(backdrop) ? 1 : 0 : 0);
    char productKey[kPathSize];
    FormatProductKey(productKey, sizeof(productKey), ProjectName);
    SayPath(productKey);
    char current[kPathSize] = "";
    GetCurrentDirectoryA(sizeof(current), current);
    Say("InstallDir [%s]\nProjectName [%s]\nWorkspaceDir [%s]\nScriptPath [%s]\ncurrent [%s]\n",
        InstallDir, ProjectName, WorkspaceDir, ScriptPath, current);
    Say("IsWinNT %d SystemDir [%s] WindowsDir [%s]\n", IsWinNT, SystemDir, WindowsDir);
    Say("dialogs open %d\n", OpenDialogs());
    if (backdrop != NULL)
        backdropProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(backdrop, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchBackdrop)));
    if (modeSync && !MeetAt("wizard", 30)) Say("FAIL no meeting at wizard\n");
    if (modeCancel) UserCancelled = 1;
}

void StorePassword(const char* productKey, UninstallPassword* password) {
    Say("store key [%s] password [%s] code [%s] workspace %s\n", productKey, password->newPassword,
        password->lengthCode, WorkspaceExists() ? "present" : "gone");
    SayPath(productKey);
}

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(40000);
    Say("FAIL still running\n");
    ExitProcess(3);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--platform") == 0) {
        int result = DetectPlatform();
        OSVERSIONINFOA version;
        memset(&version, 0, sizeof(version));
        version.dwOSVersionInfoSize = sizeof(version);
        GetVersionExA(&version);
        Say("platform %d\nversion %lu.%lu id %lu\n", result, version.dwMajorVersion,
            version.dwMinorVersion, version.dwPlatformId);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        modeSync |= strcmp(argv[i], "sync") == 0;
        modeCancel |= strcmp(argv[i], "cancel") == 0;
        modeProtectEnd |= strcmp(argv[i], "protect-end") == 0;
        modeProtectPassword |= strcmp(argv[i], "protect-password") == 0;
    }
    CloseHandle(CreateThread(NULL, 0, Watchdog, NULL, 0, NULL));
    const RunParts parts = {Protect, Wizard, StorePassword};
    int result = RunSetup(&Archive, parts);
    Say("backdrop closed %s\nend %d\n", backdropClosed, result);
    return result;
}
