// Wizard page 1: the installation directory, typed or picked in the
// shell's folder browser, copied into InstallDir after every change.
#include "ui/wizard.h"

#include <shlobj.h>

#include "resources/resource_ids.h"
#include "system/system_helpers.h"
#include "core/bounded_text.h"
#include "core/install_path.h"

namespace {

const int kBrowseText = 1024;    // the browser's buffers
const int kSelectionText = 4096; // the callback's copy of the edit

// WM_VALIDATE_DIR: the edit's text becomes InstallDir; a path the check
// refuses is reported, and kept all the same. The edit takes at most 259
// characters; a longer text set from elsewhere is refused whole (InstallDir
// stays as it was) rather than cut into another folder.
void ValidateDirectory(HWND page) {
    char typed[kSelectionText] = "";
    GetDlgItemTextA(page, IDC_INSTALL_DIR, typed, sizeof(typed));
    if (!CopyText(InstallDir, kPathSize, typed) || !IsValidInstallPath(InstallDir))
        ShowMessage(page, "Invalid Path", "Path error", MB_OK);
}

// Opens the browser on the directory in the edit.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        char selection[kSelectionText] = "";
        GetDlgItemTextA((HWND)data, IDC_INSTALL_DIR, selection, sizeof(selection));
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, (LPARAM)selection);
    }
    return 0;
}

void Browse(HWND page) {
    char picked[kBrowseText] = "";
    char title[kBrowseText] = "";
    GetDlgItemTextA(page, IDC_INSTALL_DIR, picked, sizeof(picked));
    GetDlgItemTextA(page, IDC_DIR_PROMPT, title, sizeof(title));

    BROWSEINFOA browse;
    ZeroMemory(&browse, sizeof(browse));
    browse.hwndOwner = page;
    browse.pidlRoot = NULL;
    browse.pszDisplayName = picked;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = BrowseCallback;
    browse.lParam = (LPARAM)page;
    LPITEMIDLIST folder = SHBrowseForFolderA(&browse);
    if (folder == NULL) return;

    // The display name in `picked` is replaced by the folder's path; a
    // folder without one leaves the edit empty.
    if (!SHGetPathFromIDListA(folder, picked)) picked[0] = '\0';
    IMalloc* allocator = NULL;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != NULL) {
        allocator->Free(folder);
        allocator->Release();
    }
    SetDlgItemTextA(page, IDC_INSTALL_DIR, picked);
    ValidateDirectory(page);
}

}  // namespace

INT_PTR CALLBACK DirectoryPage(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        // Setting the edit raises its change notification: an invalid
        // default is reported twice.
        SendDlgItemMessageA(page, IDC_INSTALL_DIR, EM_LIMITTEXT, kPathSize - 1, 0);
        SetDlgItemTextA(page, IDC_INSTALL_DIR, InstallDir);
        SendMessageA(page, WM_VALIDATE_DIR, 0, 0);
        // Room for the whole name: the prompt is never cut.
        char prompt[kPathSize + 48];
        JoinText(prompt, sizeof(prompt), "Select the directory to install ", ProjectName, " in:");
        SetDlgItemTextA(page, IDC_DIR_PROMPT, prompt);
        break;
    }
    case WM_VALIDATE_DIR:
        ValidateDirectory(page);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_INSTALL_DIR && HIWORD(wParam) == EN_CHANGE)
            SendMessageA(page, WM_VALIDATE_DIR, 0, 0);
        else if (LOWORD(wParam) == IDC_BROWSE)
            Browse(page);
        break;
    }
    return FALSE;
}
