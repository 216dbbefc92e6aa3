// The wizard's frame: the page table, the page change and the frame's
// three commands.
#include "ui/wizard.h"

#include "core/bounded_text.h"
#include "core/install_path.h"
#include "core/script_vocabulary.h"
#include "resources/resource_ids.h"
#include "engine/install_worker.h"
#include "system/system_helpers.h"

int CurrentPage;
char LicenseFileName[kPathSize];

namespace {

struct PageRow {
    int templateId;
    DLGPROC procedure;
    const char* caption;
    const char* nextText;  // button 1 while the page is shown
};

const PageRow PageTable[] = {
    {IDD_LICENSE, LicensePage, "License Agreement", "&I agree"},
    {IDD_DIRECTORY, DirectoryPage, "Installation Directory", "Next >"},
    {IDD_INSTALLING, InstallingPage, "Installing Files", "E&xit"},
};
const int kPageCount = sizeof(PageTable) / sizeof(PageTable[0]);

// The one frame of the process: the page now shown and the title.
HWND PageWindow;
char FrameTitle[4096];

// Puts `page` on the frame where the hidden placeholder 1018 is.
void PlacePage(HWND frame, HWND page) {
    RECT area;
    GetWindowRect(GetDlgItem(frame, IDC_PAGE_AREA), &area);
    POINT corner = {area.left, area.top};
    ScreenToClient(frame, &corner);
    SetWindowPos(page, NULL, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(page, SW_SHOWNA);
}

// The page change: `step` 0 opens the frame, +1 and -1 move.
void ChangePage(HWND frame, int step, bool opening) {
    if (opening) {
        // The frame is of the system dialog class: later dialogs of the
        // process show the icon as well.
        HICON icon = LoadIconA(AppInstance, MAKEINTRESOURCEA(IDI_SETUP));
        SetClassLongPtrA(frame, GCLP_HICON, (LONG_PTR)icon);
    }
    if (step != 0) {
        CurrentPage += step;
        if (CurrentPage < 0) CurrentPage = 0;
    }
    GetPrivateProfileStringA(kProjectSection, kLicenseFileKey, "", LicenseFileName,
                             sizeof(LicenseFileName), ScriptPath);
    if (LicenseFileName[0] == '\0' && CurrentPage == 0) CurrentPage = 1;

    if (PageWindow != NULL) {
        DestroyWindow(PageWindow);
        PageWindow = NULL;
    }
    if (CurrentPage >= kPageCount) {
        EndDialog(frame, 0);
        return;
    }

    const PageRow& row = PageTable[CurrentPage];
    const char* parts[] = {ProjectName, " : ", row.caption};
    // ProjectName has at most 259 characters: the title always fits.
    JoinParts(FrameTitle, sizeof(FrameTitle), parts, 3);
    SetWindowTextA(frame, FrameTitle);

    PageWindow = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(row.templateId), frame,
                                    row.procedure, 0);
    if (PageWindow != NULL) {
        PlacePage(frame, PageWindow);
        SetDlgItemTextA(frame, IDOK, row.nextText);
    }
    SetFocus(GetDlgItem(frame, IDOK));
}

}  // namespace

INT_PTR CALLBACK WizardFrame(HWND frame, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ChangePage(frame, 0, true);
        break;
    case WM_WIZARD_STEP:
        ChangePage(frame, (int)wParam, false);
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // The Return key sends command 1 even while the worker keeps
            // the button disabled; the install must not be left that way.
            if (PageWindow == NULL || !IsWindowEnabled(GetDlgItem(frame, IDOK))) break;
            // Only a full path leaves the directory page: a relative one
            // would install into whatever the current folder is.
            if (CurrentPage == 1 && !IsFullInstallPath(InstallDir)) {
                ShowMessage(frame, "Invalid Path", "Path error", MB_OK);
                break;
            }
            SendMessageA(frame, WM_WIZARD_STEP, 1, 0);
            break;
        case IDC_WIZARD_BACK:
            if (PageWindow != NULL && CurrentPage > 0)
                SendMessageA(frame, WM_WIZARD_STEP, (WPARAM)-1, 0);
            break;
        case IDCANCEL:
            MarkUserCancelled();
            EndDialog(frame, IDCANCEL);
            break;
        }
        break;
    case WM_DESTROY:
        // The page goes with the frame.
        PageWindow = NULL;
        break;
    }
    return FALSE;
}

void RunWizard(HWND backdrop) {
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_WIZARD), backdrop, WizardFrame, 0);
    WaitForInstallWorker();
}
