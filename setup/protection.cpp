#include "setup/protection.h"

#include <stdlib.h>
#include <string.h>

#include "resources/resource_ids.h"
#include "ui/password_dialog.h"
#include "core/password_rules.h"
#include "system/settings.h"
#include "system/system_helpers.h"
#include "system/workspace.h"

namespace {

// Opens an existing file to read and write, as "r+b" does.
HANDLE OpenRecordFile(const char* path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

// Reads the record at `offset` of `path` into `text` (password_rules.h).
// Returns 1 when the file holds a whole record, else 0.
int ReadRecord(const char* path, DWORD offset, char text[kPasswordTextSize]) {
    text[0] = '\0';
    HANDLE file = OpenRecordFile(path);
    if (file == INVALID_HANDLE_VALUE) return 0;
    unsigned char bytes[kPasswordRecordSize];
    DWORD length = 0;
    if (SetFilePointer(file, (LONG)offset, NULL, FILE_BEGIN) != offset ||
        !ReadFile(file, bytes, sizeof(bytes), &length, NULL))
        length = 0;
    CloseHandle(file);
    return StoredPasswordFromRecord(bytes, length, text);
}

// "<Path of productKey>\uninstall.exe" into `out`; 0 when the key is empty,
// "Path" is missing or empty, or the name does not fit.
int UninstallerPath(const char* productKey, char out[kRecordPathSize]) {
    out[0] = '\0';
    if (productKey[0] == '\0') return 0;
    char* installDir = QueryRegString(HKEY_LOCAL_MACHINE, productKey, "Path");
    int found = installDir != NULL && installDir[0] != '\0' &&
                FormatUninstallerPath(out, kRecordPathSize, installDir);
    free(installDir);
    return found;
}

// Lookup: the earlier password into `stored`. The uninstaller's record
// comes first; the hidden file is asked only when it has none. Returns 1
// when either holds a record.
int LookUpEarlierPassword(const char* productKey, char stored[kPasswordTextSize]) {
    char path[kRecordPathSize];
    if (UninstallerPath(productKey, path) && ReadRecord(path, kUninstallerRecordAt, stored))
        return 1;
    return FormatHiddenRecordPath(path, sizeof(path), SystemDir, ProjectName) &&
           ReadRecord(path, 0, stored);
}

// Writes `record` at `offset` of the existing file `path`.
void WriteRecordInto(const char* path, DWORD offset, const unsigned char* record) {
    HANDLE file = OpenRecordFile(path);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (SetFilePointer(file, (LONG)offset, NULL, FILE_BEGIN) == offset)
        WriteFile(file, record, kPasswordRecordSize, &written, NULL);
    CloseHandle(file);
}

// Creates or rewrites the hidden file with `record` alone. A file left by
// an earlier installation carries the hidden and system attributes, and
// Windows refuses to truncate such a file through a create with normal
// attributes; so they are cleared first, and set again at the end. When
// the file cannot be rewritten at all, it keeps the attributes it had.
void WriteHiddenRecord(const char* path, const unsigned char* record) {
    DWORD earlier = GetFileAttributesA(path);
    if (earlier != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        if (earlier != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path, earlier);
        return;
    }
    DWORD written = 0;
    WriteFile(file, record, kPasswordRecordSize, &written, NULL);
    CloseHandle(file);
    SetFileAttributesA(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// Aborted: the workspace goes and setup ends.
int Abort() {
    RemoveWorkspace();
    return 0;
}

}  // namespace

int ProtectUninstall(const char* productKey, UninstallPassword* password) {
    char stored[kPasswordTextSize];
    if (LookUpEarlierPassword(productKey, stored)) {
        if (stored[0] != '\0') {
            PasswordDialog check;
            memcpy(check.matchText, stored, sizeof(check.matchText));
            if (!check.show(IDD_PASSWORD_CHECK)) return Abort();
        }
        // Through the narrow call, so that the code-page 949 bytes reach
        // the system as they are.
        MessageBoxA(NULL, PROTECTION_NOTICE_TEXT, PROTECTION_NOTICE_CAPTION, MB_OK);
    }

    PasswordDialog registration;
    if (!registration.show(IDD_PASSWORD_NEW)) return Abort();

    memset(password->newPassword, 0, sizeof(password->newPassword));
    memcpy(password->newPassword, registration.entry, sizeof(registration.entry));
    PasswordLengthCode(password->lengthCode, sizeof(password->lengthCode), password->newPassword);
    password->newPassword[kPasswordRecordSize] = '\0';
    return 1;
}

void StoreUninstallPassword(const char* productKey, UninstallPassword* password) {
    if (password->newPassword[0] == '\0') return;
    if (productKey[0] != '\0')
        SetRegString(HKEY_LOCAL_MACHINE, productKey, "Uninstall Password", password->lengthCode);

    unsigned char record[kPasswordRecordSize];
    MakePasswordRecord(password->newPassword, record);

    // By now "Path" is the installation directory of this run.
    char path[kRecordPathSize];
    if (UninstallerPath(productKey, path)) WriteRecordInto(path, kUninstallerRecordAt, record);
    if (FormatHiddenRecordPath(path, sizeof(path), SystemDir, ProjectName))
        WriteHiddenRecord(path, record);
}
