// Shows one window of the setup program, as the setup run shows it, so
// that scripts/screenshots can take its picture.
//
//   ui_showcase.exe preparing|backdrop|restart STOPFILE
//
// Once the window is on screen and painted it prints
//   ready LEFT TOP RIGHT BOTTOM
// (the window's rectangle on the screen) and keeps the window up until the
// file STOPFILE exists. Exit code 0, or 2 on a bad command line, 1 when
// the window cannot be made.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "resources/resource_ids.h"
#include "setup/settings.h"
#include "setup/system_helpers.h"
#include "tests/wine/ui_fake_system.h"
#include "ui/ui.h"

namespace {

const DWORD kSettleMs = 700;
const UINT kTickMs = 50;

const char* StopFile;
bool ModalDialog;  // the restart dialog runs modally; the others do not
HWND Shown;
DWORD ShownAt;
bool Reported;

void Report(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    printf("ready %ld %ld %ld %ld\n", (long)rect.left, (long)rect.top, (long)rect.right,
           (long)rect.bottom);
    fflush(stdout);
}

bool StopRequested() {
    return GetFileAttributesA(StopFile) != INVALID_FILE_ATTRIBUTES;
}

// Thread timer: reports the window once it has had time to paint, then
// waits for the stop file. A modal dialog is ended; otherwise the loop in
// main sees `Shown` cleared.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Shown == NULL) {
        Shown = FakeCalls.centredWindow;  // the restart dialog, once it is up
        ShownAt = GetTickCount();
        return;
    }
    if (!Reported) {
        if (GetTickCount() - ShownAt < kSettleMs) return;
        Report(Shown);
        Reported = true;
        return;
    }
    if (!StopRequested()) return;
    if (ModalDialog) EndDialog(Shown, 0);
    Shown = NULL;
}

// Serves messages until the timer has seen the stop file.
void ServeUntilStopped() {
    ShownAt = GetTickCount();
    SetTimer(NULL, 0, kTickMs, Tick);
    MSG message;
    while (Shown != NULL && GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: ui_showcase preparing|backdrop|restart STOPFILE\n");
        return 2;
    }
    StopFile = argv[2];
    strcpy(ProjectName, "Tarnvale Sample Viewer");
    IsWinNT = 1;
    RegisterDialogControls();

    const COLORREF yellow = 0x0000FFFF, blue = 0x00FF0000, red = 0x000000FF;
    if (strcmp(argv[1], "preparing") == 0) {
        Shown = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PREPARING),
                                   GetDesktopWindow(), PreparingDialogProc, 0);
        if (Shown == NULL) return 1;
        CenterOnScreen(Shown);
        // Part of the way through an extraction.
        PostMessageA(GetDlgItem(Shown, IDC_PREPARING_BAR), PBM_SETPOS, 40, 0);
        ServeUntilStopped();
        return 0;
    }
    if (strcmp(argv[1], "backdrop") == 0) {
        Shown = CreateBackdropWindow(GetModuleHandleA(NULL), "", yellow, blue, red);
        if (Shown == NULL) return 1;
        ServeUntilStopped();
        return 0;
    }
    if (strcmp(argv[1], "restart") == 0) {
        HWND backdrop = CreateBackdropWindow(GetModuleHandleA(NULL), "", yellow, blue, red);
        if (backdrop == NULL) return 1;
        ModalDialog = true;
        SetTimer(NULL, 0, kTickMs, Tick);
        DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_RESTART), backdrop,
                        RestartDialogProc, 0);
        DestroyWindow(backdrop);
        return 0;
    }
    fprintf(stderr, "ui_showcase: unknown window %s\n", argv[1]);
    return 2;
}
