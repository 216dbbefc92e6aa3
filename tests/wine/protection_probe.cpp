// Test program for Wine: the setup program's run sequence with the real
// uninstall protection and password storage, and a wizard that does
// nothing, so that the password dialogs can be driven without the wizard.
// Packages are built with it as the stub (tarnvale build --stub
// protection-probe.exe).
//
//   protection-probe.exe --attributes PATH   prints "attributes 0xHEX" of
//                                            PATH, or "attributes none"
//   protection-probe.exe [focus]             runs the sequence
//
// With "focus", a small visible window of class "ProbeFocus" (on a thread
// of its own) carries the caption "focus ID": the control id of the window
// that has the keyboard focus on the run's thread, or "focus none". A
// script waits for it with window-probe's `wait ProbeFocus "focus 1004"`.
//
// Prints "armed code [CODE]" when the protection step goes on with a
// password, "stored" after the storage step, then "end R" with the run's
// result. A run still going after 60 s prints "FAIL still running" and ends
// with exit code 3.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "core/sfx_archive.h"
#include "setup/protection.h"
#include "setup/run_sequence.h"
#include "sync_point.h"

namespace {

SfxArchive Archive;
DWORD RunThread;

int Protect(const char* productKey, UninstallPassword* password) {
    int result = ProtectUninstall(productKey, password);
    if (result) Say("armed code [%s]\n", password->lengthCode);
    return result;
}

void NoWizard(HWND) {}

void Store(const char* productKey, UninstallPassword* password) {
    StoreUninstallPassword(productKey, password);
    Say("stored\n");
}

// The focus report: polls the run thread's focus and shows it as caption.
void CALLBACK ReportFocus(HWND window, UINT, UINT_PTR, DWORD) {
    GUITHREADINFO thread;
    memset(&thread, 0, sizeof(thread));
    thread.cbSize = sizeof(thread);
    char caption[32] = "focus none";
    if (GetGUIThreadInfo(RunThread, &thread) && thread.hwndFocus != NULL)
        _snprintf(caption, sizeof(caption) - 1, "focus %d", GetDlgCtrlID(thread.hwndFocus));
    char shown[32] = "";
    GetWindowTextA(window, shown, sizeof(shown));
    if (strcmp(shown, caption) != 0) SetWindowTextA(window, caption);
}

DWORD WINAPI FocusReporter(LPVOID) {
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "ProbeFocus";
    RegisterClassA(&windowClass);
    // Never activated, so it takes no focus from the run's dialogs.
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "ProbeFocus", "focus none",
                                  WS_POPUP, 0, 0, 8, 8, NULL, NULL, windowClass.hInstance, NULL);
    if (window == NULL) {
        Say("FAIL no focus report window\n");
        return 1;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, 1, 10, ReportFocus);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(60000);
    Say("FAIL still running\n");
    ExitProcess(3);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--attributes") == 0) {
        DWORD attributes = GetFileAttributesA(argv[2]);
        if (attributes == INVALID_FILE_ATTRIBUTES)
            Say("attributes none\n");
        else
            Say("attributes 0x%lx\n", (unsigned long)attributes);
        return 0;
    }
    RunThread = GetCurrentThreadId();
    if (argc == 2 && strcmp(argv[1], "focus") == 0)
        CloseHandle(CreateThread(NULL, 0, FocusReporter, NULL, 0, NULL));
    CloseHandle(CreateThread(NULL, 0, Watchdog, NULL, 0, NULL));
    const RunParts parts = {Protect, NoWizard, Store};
    int result = RunSetup(&Archive, parts);
    Say("end %d\n", result);
    return result;
}
