// Test program for Wine: the setup program's run with parts of its own in
// place of uninstall protection, the wizard and the password storage
// (packages are built with it as the stub), and pieces of the run alone.
//   --platform         "platform R" (DetectPlatform), "version MAJOR.MINOR id ID"
//   --attributes PATH  "attributes 0xHEX" (GetFileAttributesA)
//   --tamper PATH      what another program gets when it opens PATH for
//                      writing, deletes it and renames it: "write E|delete E|
//                      move E", E the error code or 0 when it was done
//   --extract DIR      ExtractAll of its own payload: per entry "progress
//                      DONE/TOTAL user=U extra=E" (given 0x5a5a1234 and -77),
//                      then "dir D" (the buffer afterwards) and "result CODE"
//   [MODE...]          the run: each part prints what it sees, then
//                      "backdrop closed ..." (how the backdrop got WM_CLOSE)
//                      and "end R"; after 60 s "FAIL still running", exit 3
// MODEs:
//   sync              the wizard step meets the script at "wizard"
//   cancel            the wizard step ends as if cancelled
//   protect-end       the protection step removes the workspace, ends the run
//   protect-password  the protection step registers the password "secret"
//   protection        the real protection (dialogs 107 and 108; "armed code
//                     [CODE]" when it goes on) and storage ("stored"), and a
//                     wizard step that does nothing
//   engine            the wizard step is the install worker on the real
//                     installing page in a frame; then "line TEXT" for each
//                     list line, "bars TOTAL FILE", button 1's enabled states
//                     ("button 1 0 1") and "positions N" (PBM_SETPOS received)
//   cancel-at N       the engine's frame is cancelled when the list gets its
//                     N-th line; "cancelled after N lines" then
#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include "core/run_text.h"
#include "core/sfx_archive.h"
#include "engine/install_worker.h"
#include "resources/resource_ids.h"
#include "setup/protection.h"
#include "setup/run_sequence.h"
#include "sync_point.h"
#include "system/settings.h"
#include "system/system_helpers.h"
#include "system/workspace.h"
#include "ui/ui.h"
#include "ui/wizard.h"

namespace {

SfxArchive Archive;
bool modeSync, modeCancel, modeProtectEnd, modeProtectPassword;
const char* backdropClosed = "never";
WNDPROC backdropProcedure, listProcedure, barProcedure, buttonProcedure;
HWND frame;
int cancelAt, lineCount, positionMessages;  // cancelAt 0: never
char buttonStates[64];

WNDPROC Subclass(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void SayPath(const char* productKey) {
    char* path = productKey[0] ? QueryRegString(HKEY_LOCAL_MACHINE, productKey, "Path") : NULL;
    Say("Path %s%s%s\n", path ? "[" : "", path ? path : "missing", path ? "]" : "");
    free(path);
}

const char* WorkspaceState() {
    DWORD attributes = GetFileAttributesA(WorkspaceDir);
    bool there = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return there ? "present" : "gone";
}

// Visible dialogs of this thread: the preparing dialog must be gone by the
// wizard step; the restart dialog is one while it is open.
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

// Reached from the restart dialog's close box while that dialog is still
// up, or from the end of the run.
LRESULT CALLBACK WatchBackdrop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && strcmp(backdropClosed, "never") == 0)
        backdropClosed = OpenDialogs() > 0 ? "with a dialog open" : "with no dialog open";
    return CallWindowProcA(backdropProcedure, window, message, wParam, lParam);
}

int Protect(const char* productKey, UninstallPassword* password) {
    Say("protect key [%s] workspace %s\n", productKey, WorkspaceState());
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
    char className[16] = "", productKey[kPathSize], current[kPathSize] = "";
    if (backdrop != NULL) GetClassNameA(backdrop, className, sizeof(className));
    Say("wizard owner [%s] visible %d\n", className, backdrop && IsWindowVisible(backdrop) ? 1 : 0);
    FormatProductKey(productKey, sizeof(productKey), ProjectName);
    SayPath(productKey);
    GetCurrentDirectoryA(sizeof(current), current);
    Say("InstallDir [%s]\nProjectName [%s]\nWorkspaceDir [%s]\nScriptPath [%s]\ncurrent [%s]\n",
        InstallDir, ProjectName, WorkspaceDir, ScriptPath, current);
    Say("IsWinNT %d SystemDir [%s] WindowsDir [%s]\n", IsWinNT, SystemDir, WindowsDir);
    Say("dialogs open %d\n", OpenDialogs());
    if (backdrop != NULL) backdropProcedure = Subclass(backdrop, WatchBackdrop);
    if (modeSync && !MeetAt("wizard", 30)) Say("FAIL no meeting at wizard\n");
    if (modeCancel)
        UserCancelled = 1;
    else
        InstallCompleted = 1;
}

void StorePassword(const char* productKey, UninstallPassword* password) {
    Say("store key [%s] password [%s] code [%s] workspace %s\n", productKey, password->newPassword,
        password->lengthCode, WorkspaceState());
    SayPath(productKey);
}

int RealProtect(const char* productKey, UninstallPassword* password) {
    int result = ProtectUninstall(productKey, password);
    if (result) Say("armed code [%s]\n", password->lengthCode);
    return result;
}

// Stands for a wizard whose install completed.
void NoWizard(HWND) { InstallCompleted = 1; }

void RealStore(const char* productKey, UninstallPassword* password) {
    StoreUninstallPassword(productKey, password);
    Say("stored\n");
}

// The engine's wizard step: the installing page, started here once its
// controls are watched rather than when it is made.
INT_PTR CALLBACK ProbePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return FALSE;
    return InstallingPage(page, message, wParam, lParam);
}

LRESULT CALLBACK WatchList(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(listProcedure, window, message, wParam, lParam);
    if (message == LB_ADDSTRING && ++lineCount == cancelAt) {
        UserCancelled = 1;
        PostMessageA(frame, WM_CLOSE, 0, 0);
    }
    return result;
}

LRESULT CALLBACK WatchBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) ++positionMessages;
    return CallWindowProcA(barProcedure, window, message, wParam, lParam);
}

LRESULT CALLBACK WatchButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    size_t length = strlen(buttonStates);
    if (message == WM_ENABLE && length + 2 < sizeof(buttonStates))
        memcpy(buttonStates + length, wParam ? " 1" : " 0", 3);
    return CallWindowProcA(buttonProcedure, window, message, wParam, lParam);
}

INT_PTR CALLBACK FrameProc(HWND window, UINT message, WPARAM, LPARAM) {
    return message == WM_CLOSE && DestroyWindow(window);
}

void EngineWizard(HWND backdrop) {
    if (backdrop != NULL) backdropProcedure = Subclass(backdrop, WatchBackdrop);
    RegisterDialogControls();
    frame = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_WIZARD), backdrop, FrameProc, 0);
    HWND page =
        CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_INSTALLING), frame, ProbePage, 0);
    if (frame == NULL || page == NULL) return Say("FAIL no installing page\n");
    ShowWindow(frame, SW_SHOW);
    ShowWindow(page, SW_SHOWNA);
    HWND list = GetDlgItem(page, IDC_LOG_LIST), button = GetDlgItem(frame, IDOK);
    HWND total = GetDlgItem(page, IDC_TOTAL_BAR), file = GetDlgItem(page, IDC_FILE_BAR);
    listProcedure = Subclass(list, WatchList);
    barProcedure = Subclass(total, WatchBar);
    Subclass(file, WatchBar);
    buttonProcedure = Subclass(button, WatchButton);
    buttonStates[0] = IsWindowEnabled(button) ? '1' : '0';

    if (!StartInstallWorker(page)) Say("FAIL the worker did not start\n");
    WaitForInstallWorker();
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (!IsWindow(page)) return Say("cancelled after %d lines\n", lineCount);
    char text[600];
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) >= (LRESULT)sizeof(text)) continue;
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        Say("line %s\n", text);
    }
    Say("bars %d %d\nbutton %s\npositions %d\n", (int)SendMessageA(total, PBM_GETPOS, 0, 0),
        (int)SendMessageA(file, PBM_GETPOS, 0, 0), buttonStates, positionMessages);
    DestroyWindow(frame);
}

void Progress(uintptr_t user, uint32_t done, uint32_t total, int32_t extra) {
    Say("progress %lu/%lu user=%#lx extra=%ld\n", (unsigned long)done, (unsigned long)total,
        (unsigned long)user, (long)extra);
}

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(60000);
    Say("FAIL still running\n");
    ExitProcess(3);
}

}  // namespace

int main(int argc, char** argv) {
    const char* option = argc > 1 ? argv[1] : "";
    if (strcmp(option, "--platform") == 0) {
        OSVERSIONINFOA version = {sizeof(version), 0, 0, 0, 0, ""};
        int result = DetectPlatform();
        GetVersionExA(&version);
        Say("platform %d\nversion %lu.%lu id %lu\n", result, version.dwMajorVersion,
            version.dwMinorVersion, version.dwPlatformId);
        return 0;
    }
    if (strcmp(option, "--attributes") == 0 && argc == 3)
        return Say("attributes 0x%lx\n", (unsigned long)GetFileAttributesA(argv[2])), 0;
    if (strcmp(option, "--tamper") == 0 && argc == 3 && strlen(argv[2]) < kPathSize - 6) {
        char moved[kPathSize];
        HANDLE file = CreateFileA(argv[2], GENERIC_WRITE, 7, NULL, OPEN_EXISTING, 0, NULL);
        DWORD write = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        DWORD remove = DeleteFileA(argv[2]) ? 0 : GetLastError();
        DWORD move = MoveFileA(argv[2], strcat(strcpy(moved, argv[2]), ".old")) ? 0 : GetLastError();
        return Say("write %lu\ndelete %lu\nmove %lu\n", write, remove, move), 0;
    }
    if (strcmp(option, "--extract") == 0 && argc == 3 && strlen(argv[2]) < kSfxDirSize) {
        char dir[kSfxDirSize];
        int result = Archive.ExtractAll(strcpy(dir, argv[2]), Progress, 0x5a5a1234, -77);
        return Say("dir %s\nresult %d\n", dir, result), 0;
    }
    RunParts parts = {Protect, Wizard, StorePassword};
    for (int i = 1; i < argc; ++i) {
        modeSync |= strcmp(argv[i], "sync") == 0;
        modeCancel |= strcmp(argv[i], "cancel") == 0;
        modeProtectEnd |= strcmp(argv[i], "protect-end") == 0;
        modeProtectPassword |= strcmp(argv[i], "protect-password") == 0;
        if (strcmp(argv[i], "protection") == 0) parts = RunParts{RealProtect, NoWizard, RealStore};
        if (strcmp(argv[i], "engine") == 0) parts.wizard = EngineWizard;
        if (strcmp(argv[i], "cancel-at") == 0 && i + 1 < argc) cancelAt = atoi(argv[++i]);
    }
    CloseHandle(CreateThread(NULL, 0, Watchdog, NULL, 0, NULL));
    int result = RunSetup(&Archive, parts);
    Say("backdrop closed %s\nend %d\n", backdropClosed, result);
    return result;
}
