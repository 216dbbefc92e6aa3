// Test program for Wine: the setup program's run with the install worker
// started on an installing page (template 106, the real page's procedure)
// inside a frame (template 105), in place of the wizard. Packages are built with it as the stub
// (tarnvale build --stub engine-probe.exe).
//
//   engine-probe.exe [cancel-at N]
//     cancel-at N   the wizard is cancelled when the list box gets its
//                   N-th line: UserCancelled is set and the frame closed,
//                   as the frame's Cancel does
//
// When the worker has ended and its messages are handled, prints:
//   line TEXT          each list-box line, in order
//   bars TOTAL FILE    the positions of bars 1004 and 1005
//   button STATES      button 1's enabled state: at the start, then after
//                      each change ("1 0 1": disabled, then enabled again)
//   positions N        the bar position messages the bars received
// then "end R" with the run's result.
#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include "core/sfx_archive.h"
#include "resources/resource_ids.h"
#include "engine/install_worker.h"
#include "setup/run_sequence.h"
#include "system/settings.h"
#include "sync_point.h"
#include "ui/ui.h"
#include "ui/wizard.h"

namespace {

SfxArchive Archive;

int cancelAt;  // 0: never

HWND frame;
WNDPROC listProcedure, barProcedure, buttonProcedure;
int lineCount;
int positionMessages;
char buttonStates[64];

// The installing page as the wizard has it, but started here once its
// controls are watched rather than when it is made.
INT_PTR CALLBACK ProbePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return FALSE;
    return InstallingPage(page, message, wParam, lParam);
}

void AppendState(char state) {
    size_t length = strlen(buttonStates);
    if (length + 2 < sizeof(buttonStates)) {
        buttonStates[length] = ' ';
        buttonStates[length + 1] = state;
    }
}

LRESULT CALLBACK WatchList(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(listProcedure, window, message, wParam, lParam);
    if (message == LB_ADDSTRING && ++lineCount == cancelAt) {
        // What the frame's Cancel does; its windows go with it.
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
    if (message == WM_ENABLE) AppendState(wParam ? '1' : '0');
    return CallWindowProcA(buttonProcedure, window, message, wParam, lParam);
}

INT_PTR CALLBACK FrameProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return TRUE;
    }
    return FALSE;
}

WNDPROC Subclass(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void Wizard(HWND backdrop) {
    RegisterDialogControls();
    frame = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_WIZARD), backdrop, FrameProc, 0);
    HWND page = frame ? CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_INSTALLING), frame,
                                           ProbePage, 0)
                      : NULL;
    if (page == NULL) {
        Say("FAIL no installing page\n");
        return;
    }
    ShowWindow(frame, SW_SHOW);
    ShowWindow(page, SW_SHOWNA);
    HWND list = GetDlgItem(page, IDC_LOG_LIST);
    HWND total = GetDlgItem(page, IDC_TOTAL_BAR);
    HWND file = GetDlgItem(page, IDC_FILE_BAR);
    HWND button = GetDlgItem(frame, IDOK);
    listProcedure = Subclass(list, WatchList);
    barProcedure = Subclass(total, WatchBar);
    Subclass(file, WatchBar);
    buttonProcedure = Subclass(button, WatchButton);
    buttonStates[0] = IsWindowEnabled(button) ? '1' : '0';

    if (!StartInstallWorker(page)) Say("FAIL the worker did not start\n");
    WaitForInstallWorker();
    Pump();
    if (!IsWindow(page)) {
        Say("cancelled after %d lines\n", lineCount);
        return;
    }
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

int NoProtection(const char*, UninstallPassword*) { return 1; }
void NoPasswordStorage(const char*, UninstallPassword*) {}

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(100000);
    Say("FAIL still running\n");
    ExitProcess(3);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "cancel-at") == 0) cancelAt = atoi(argv[2]);
    CloseHandle(CreateThread(NULL, 0, Watchdog, NULL, 0, NULL));
    const RunParts parts = {NoProtection, Wizard, NoPasswordStorage};
    int result = RunSetup(&Archive, parts);
    Say("end %d\n", result);
    return result;
}
