// Shows one window of the setup program, as the setup run shows it, so
// that scripts/screenshots can take its picture:
//
//   ui_showcase.exe WINDOW STOPFILE
//
//   preparing, backdrop, restart   as the run opens them
//   password-new, password-check   dialogs 107 and 108 with a masked
//                                  password typed into their fields
//   notice                         the Korean message box of uninstall
//                                  protection, in its code-page 949 bytes
//   license, directory             the wizard on its first two pages
//   installing, installed          the installing page part of the way
//                                  through an install and at its end, its
//                                  log and bars written here
//
// Once the window is on screen and painted it prints
//   ready LEFT TOP RIGHT BOTTOM
// (its rectangle on the screen) and keeps it up until the file STOPFILE
// exists. Exit code 0, 2 on a bad command line, 1 when the window cannot
// be made.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "core/password_rules.h"
#include "resources/resource_ids.h"
#include "system/settings.h"
#include "system/system_helpers.h"
#include "tests/wine/worker_stand_in.h"
#include "ui/ui.h"
#include "ui/wizard.h"

namespace {

const char* StopFile;
bool Modal;  // the restart and password dialogs and the notice
HWND Shown;
DWORD ShownAt;
bool Reported;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (!IsWindowVisible(window) || strcmp(className, "#32770") != 0) return TRUE;
    Shown = window;
    return FALSE;
}

// Thread timer: finds a modal dialog once it is up, reports the window
// once it has had 700 ms to paint, then waits for the stop file. A modal
// dialog is ended; otherwise the loop in ServeUntilStopped sees `Shown`
// cleared.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Shown == NULL) {
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
        ShownAt = GetTickCount();
    } else if (!Reported) {
        if (GetTickCount() - ShownAt < 700) return;
        RECT rect;
        GetWindowRect(Shown, &rect);
        printf("ready %ld %ld %ld %ld\n", (long)rect.left, (long)rect.top, (long)rect.right,
               (long)rect.bottom);
        fflush(stdout);
        Reported = true;
    } else if (GetFileAttributesA(StopFile) != INVALID_FILE_ATTRIBUTES) {
        if (Modal) EndDialog(Shown, IDOK);
        Shown = NULL;
    }
}

// Serves a modeless window's messages until the stop file appears.
int ServeUntilStopped() {
    if (Shown == NULL) return 1;
    ShownAt = GetTickCount();
    MSG message;
    while (Shown != NULL && GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

INT_PTR CALLBACK PasswordShowcaseProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    SetDlgItemTextA(dialog, IDC_PASSWORD, "secret");
    SetDlgItemTextA(dialog, IDC_PASSWORD_CONFIRM, "secret");
    CenterOnScreen(dialog);
    return TRUE;
}

bool WriteText(const char* path, const char* text) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    BOOL ok = file != INVALID_HANDLE_VALUE && WriteFile(file, text, strlen(text), &written, NULL);
    CloseHandle(file);
    return ok && written == strlen(text);
}

// The wizard's frame on `page`, in a folder of the temporary directory that
// holds its script and licence, current as the workspace is in a run.
HWND OpenWizard(int page) {
    DWORD length = GetTempPathA(MAX_PATH - 40, ScriptPath);
    if (length == 0 || length >= MAX_PATH - 40) return NULL;
    strcat(ScriptPath, "tarnvale-showcase");
    CreateDirectoryA(ScriptPath, NULL);
    if (!SetCurrentDirectoryA(ScriptPath)) return NULL;
    strcat(ScriptPath, "\\install.ini");
    if (!WriteText(ScriptPath, "[INSTALL PROJECT]\r\nLICENSE FILE=license.txt\r\n") ||
        !WriteText("license.txt",
                   "TARNVALE SAMPLE VIEWER LICENCE AGREEMENT\n\n"
                   "1. You may install and use the Sample Viewer on any number of computers.\n"
                   "2. You may copy the sample data sets that come with it, unchanged.\n"
                   "3. The software is provided as it is, without warranty of any kind.\n"))
        return NULL;
    CurrentPage = page;
    HWND frame =
        CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_WIZARD), NULL, WizardFrame, 0);
    if (frame != NULL) ShowWindow(frame, SW_SHOW);
    return frame;
}

// What the install engine shows on the installing page, part of the way
// through the example package or at its `ended`: the log, the bars, and
// button 1 disabled until the end.
void ShowInstallState(HWND frame, bool ended) {
    static const char* const kLog[] = {
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
    for (int i = 0; i < (ended ? 11 : 5); ++i)
        SendDlgItemMessageA(StandInWorkerPage, IDC_LOG_LIST, LB_ADDSTRING, 0, (LPARAM)kLog[i]);
    SendDlgItemMessageA(StandInWorkerPage, IDC_TOTAL_BAR, PBM_SETPOS, ended ? 100 : 45, 0);
    SendDlgItemMessageA(StandInWorkerPage, IDC_FILE_BAR, PBM_SETPOS, ended ? 100 : 70, 0);
    EnableWindow(GetDlgItem(frame, IDOK), ended);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: ui_showcase WINDOW STOPFILE (see ui_showcase.cpp)\n");
        return 2;
    }
    const char* window = argv[1];
    StopFile = argv[2];
    AppInstance = GetModuleHandleA(NULL);
    strcpy(ProjectName, "Tarnvale Sample Viewer");
    strcpy(InstallDir, "C:\\Program Files\\Tarnvale Sample Viewer");
    IsWinNT = 1;
    RegisterDialogControls();
    SetTimer(NULL, 0, 50, Tick);

    const COLORREF yellow = 0x0000FFFF, blue = 0x00FF0000, red = 0x000000FF;
    if (strcmp(window, "preparing") == 0) {
        Shown = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREPARING),
                                   GetDesktopWindow(), PreparingDialogProc, 0);
        if (Shown == NULL) return 1;
        CenterOnScreen(Shown);
        // Part of the way through an extraction.
        PostMessageA(GetDlgItem(Shown, IDC_PREPARING_BAR), PBM_SETPOS, 40, 0);
        return ServeUntilStopped();
    }
    if (strcmp(window, "backdrop") == 0) {
        Shown = CreateBackdropWindow(AppInstance, "", yellow, blue, red);
        return ServeUntilStopped();
    }
    Modal = true;
    if (strcmp(window, "restart") == 0) {
        HWND backdrop = CreateBackdropWindow(AppInstance, "", yellow, blue, red);
        if (backdrop == NULL) return 1;
        DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_RESTART), backdrop, RestartDialogProc, 0);
        DestroyWindow(backdrop);
        return 0;
    }
    if (strcmp(window, "password-new") == 0 || strcmp(window, "password-check") == 0) {
        int id = strcmp(window, "password-new") == 0 ? IDD_PASSWORD_NEW : IDD_PASSWORD_CHECK;
        DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(id), NULL, PasswordShowcaseProc, 0);
        return 0;
    }
    if (strcmp(window, "notice") == 0) {
        MessageBoxA(NULL, PROTECTION_NOTICE_TEXT, PROTECTION_NOTICE_CAPTION, MB_OK);
        return 0;
    }
    Modal = false;
    if (strcmp(window, "license") == 0 || strcmp(window, "directory") == 0) {
        Shown = OpenWizard(strcmp(window, "license") == 0 ? 0 : 1);
        return ServeUntilStopped();
    }
    if (strcmp(window, "installing") == 0 || strcmp(window, "installed") == 0) {
        Shown = OpenWizard(2);
        if (Shown == NULL || StandInWorkerPage == NULL) return 1;
        ShowInstallState(Shown, strcmp(window, "installed") == 0);
        return ServeUntilStopped();
    }
    fprintf(stderr, "ui_showcase: unknown window %s\n", window);
    return 2;
}
