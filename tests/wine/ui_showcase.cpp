// Shows one window of the setup program, as the setup run shows it, so
// that scripts/screenshots can take its picture.
//
//   ui_showcase.exe preparing|backdrop|restart|password-new|password-check|notice
//                   STOPFILE
//
// The password dialogs (107, 108) come with a stand-in procedure that types
// a masked password into their fields; the notice is the Korean message
// box of uninstall protection, in the code-page 949 bytes it is shown with.
//
//   ui_showcase.exe license|directory|installing|installed STOPFILE
//
// The wizard's frame on one of its pages, as the run opens it: the
// installing page part of the way through an install (installing) and at
// its end (installed), its log and bars written here in place of the
// install engine.
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
#include "core/password_rules.h"
#include "system/settings.h"
#include "system/system_helpers.h"
#include "tests/wine/ui_fake_system.h"
#include "tests/wine/worker_stand_in.h"
#include "ui/ui.h"
#include "ui/wizard.h"

namespace {

const DWORD kSettleMs = 700;
const UINT kTickMs = 50;

const char* StopFile;
bool ModalDialog;  // the restart and password dialogs and the notice run modally
bool ShowsNotice;  // the notice centres itself: found among the thread's windows
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

BOOL CALLBACK FindNotice(HWND window, LPARAM) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (!IsWindowVisible(window) || strcmp(className, "#32770") != 0) return TRUE;
    Shown = window;
    return FALSE;
}

// Stand-in procedure of the password dialogs: centred, with a password
// typed into each field.
INT_PTR CALLBACK PasswordShowcaseProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    SetDlgItemTextA(dialog, IDC_PASSWORD, "secret");
    SetDlgItemTextA(dialog, IDC_PASSWORD_CONFIRM, "secret");
    CenterOnScreen(dialog);
    return TRUE;
}

// Thread timer: reports the window once it has had time to paint, then
// waits for the stop file. A modal dialog is ended; otherwise the loop in
// main sees `Shown` cleared.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Shown == NULL) {
        // The modal window, once it is up.
        if (ShowsNotice)
            EnumThreadWindows(GetCurrentThreadId(), FindNotice, 0);
        else
            Shown = FakeCalls.centredWindow;
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
    if (ModalDialog) EndDialog(Shown, ShowsNotice ? IDOK : 0);
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

const char kLicense[] =
    "TARNVALE SAMPLE VIEWER LICENCE AGREEMENT\n"
    "\n"
    "1. You may install and use the Sample Viewer on any number of computers.\n"
    "2. You may copy the sample data sets that come with it, unchanged.\n"
    "3. The software is provided as it is, without warranty of any kind.\n";

const char kScript[] =
    "[INSTALL PROJECT]\r\n"
    "NAME=Tarnvale Sample Viewer\r\n"
    "LICENSE FILE=license.txt\r\n";

bool WriteText(const char* path, const char* text) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text, (DWORD)strlen(text), &written, NULL);
    CloseHandle(file);
    return ok && written == strlen(text);
}

// A script and a licence in a folder of the temporary directory, which
// becomes the current directory as the workspace does in a run.
bool PrepareWizardFiles() {
    char dir[MAX_PATH];
    DWORD length = GetTempPathA(sizeof(dir), dir);
    if (length == 0 || length + 40 >= sizeof(dir)) return false;
    strcat(dir, "tarnvale-showcase");
    CreateDirectoryA(dir, NULL);
    if (!SetCurrentDirectoryA(dir)) return false;
    strcpy(ScriptPath, dir);
    strcat(ScriptPath, "\\install.ini");
    return WriteText(ScriptPath, kScript) && WriteText("license.txt", kLicense);
}

// The first `count` lines of the example package's install log.
void FillLog(HWND page, int count) {
    static const char* const kLines[] = {
        "------ Start installing ------",
        "Extracting.... C:\\Program Files\\Tarnvale Sample Viewer\\app.exe",
        "Extracting.... C:\\Program Files\\Tarnvale Sample Viewer\\readme.txt",
        "Extracting.... C:\\Program Files\\Tarnvale Sample Viewer\\Data\\stations.csv",
        "Extracting.... C:\\Program Files\\Tarnvale Sample Viewer\\Data\\readings.dat",
        "Extracting.... C:\\Program Files\\Tarnvale Sample Viewer\\tray.exe",
        "Extracting.... C:\\Program Files\\Tarnvale Sample Viewer\\nt-notes.txt",
        "Extracting.... C:\\windows\\sampleview.ini",
        "------ Registering information ------",
        "Extracting.... C:\\Program Files\\Tarnvale Sample Viewer\\uninstall.exe",
        "---- Completed installation ----",
    };
    HWND list = GetDlgItem(page, IDC_LOG_LIST);
    for (int i = 0; i < count && i < (int)(sizeof(kLines) / sizeof(kLines[0])); ++i)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)kLines[i]);
}

void SetBar(HWND page, int id, int position) {
    HWND bar = GetDlgItem(page, id);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(bar, PBM_SETPOS, position, 0);
}

// The wizard's frame, modeless here, opened on `page`.
HWND OpenWizard(int page) {
    CurrentPage = page;
    HWND frame =
        CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_WIZARD), NULL, WizardFrame, 0);
    if (frame != NULL) ShowWindow(frame, SW_SHOW);
    return frame;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr,
                "usage: ui_showcase preparing|backdrop|restart|password-new|password-check|"
                "notice|license|directory|installing|installed STOPFILE\n");
        return 2;
    }
    StopFile = argv[2];
    AppInstance = GetModuleHandleA(NULL);
    strcpy(ProjectName, "Tarnvale Sample Viewer");
    strcpy(InstallDir, "C:\\Program Files\\Tarnvale Sample Viewer");
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
    if (strcmp(argv[1], "password-new") == 0 || strcmp(argv[1], "password-check") == 0) {
        ModalDialog = true;
        SetTimer(NULL, 0, kTickMs, Tick);
        int id = strcmp(argv[1], "password-new") == 0 ? IDD_PASSWORD_NEW : IDD_PASSWORD_CHECK;
        DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), NULL, PasswordShowcaseProc,
                        0);
        return 0;
    }
    if (strcmp(argv[1], "notice") == 0) {
        ModalDialog = true;
        ShowsNotice = true;
        SetTimer(NULL, 0, kTickMs, Tick);
        MessageBoxA(NULL, PROTECTION_NOTICE_TEXT, PROTECTION_NOTICE_CAPTION, MB_OK);
        return 0;
    }
    if (strcmp(argv[1], "license") == 0 || strcmp(argv[1], "directory") == 0) {
        if (!PrepareWizardFiles()) return 1;
        Shown = OpenWizard(strcmp(argv[1], "license") == 0 ? 0 : 1);
        if (Shown == NULL) return 1;
        ServeUntilStopped();
        return 0;
    }
    if (strcmp(argv[1], "installing") == 0 || strcmp(argv[1], "installed") == 0) {
        bool ended = strcmp(argv[1], "installed") == 0;
        Shown = OpenWizard(2);
        if (Shown == NULL || StandInWorkerPage == NULL) return 1;
        // What the install engine shows: the log, the bars, and button 1
        // disabled until the end.
        FillLog(StandInWorkerPage, ended ? 11 : 5);
        SetBar(StandInWorkerPage, IDC_TOTAL_BAR, ended ? 100 : 45);
        SetBar(StandInWorkerPage, IDC_FILE_BAR, ended ? 100 : 70);
        EnableWindow(GetDlgItem(Shown, IDOK), ended ? TRUE : FALSE);
        ServeUntilStopped();
        return 0;
    }
    fprintf(stderr, "ui_showcase: unknown window %s\n", argv[1]);
    return 2;
}
