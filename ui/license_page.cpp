// Wizard page 0: the licence text from the file that LICENSE FILE names.
#include "ui/wizard.h"

#include <stdlib.h>

#include "core/file_io.h"
#include "resources/resource_ids.h"
#include "system/system_helpers.h"
#include "system/workspace.h"
#include "core/license_text.h"

namespace {

// Reads the whole file as text into edit 1000. The file is the payload
// entry of that name in the workspace, whatever the current directory is.
// Allocation failures leave the edit empty without a message.
void LoadLicense(HWND page) {
    char path[kPathSize];
    FileHandle file = WorkspaceFilePath(path, sizeof(path), LicenseFileName) ? FileOpenRead(path)
                                                                              : kNoFile;
    if (file == kNoFile) {
        ShowNotice("Unable to open the license file", "License Error");
        return;
    }
    // The edit takes at most what a 32-bit read can hold.
    int64_t length = FileSize(file);
    char* bytes = NULL;
    if (length >= 0 && length <= 0x7FFFFFF0)
        bytes = static_cast<char*>(malloc((size_t)length + 10));
    if (bytes != NULL) {
        int32_t read = length > 0 ? FileRead(file, bytes, (int32_t)length) : 0;
        size_t count = ReadAsText(bytes, read > 0 ? (size_t)read : 0);
        size_t size = ExpandedSize(count, CountLineFeeds(bytes, count));
        char* text = size != 0 ? static_cast<char*>(malloc(size)) : NULL;
        if (text != NULL && ExpandLineFeeds(bytes, count, text, size))
            SetDlgItemTextA(page, IDC_LICENSE_TEXT, text);
        free(text);
        free(bytes);
    }
    FileClose(file);
}

}  // namespace

INT_PTR CALLBACK LicensePage(HWND page, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) LoadLicense(page);
    return FALSE;
}
