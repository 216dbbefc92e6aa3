#include "system/system_helpers.h"

#include <stdlib.h>
#include <string.h>

#include "core/run_arithmetic.h"

namespace {

// QueryRegString reads at most this many bytes of a value.
const DWORD kRegTextBytes = 260;

const char kRebootCaption[] = "Reboot";
const char kRestartFailed[] = "Fail to restart.\nYou have to restart your computer.";

// ExitWindowsEx forcing a restart; a refusal is shown.
void ForceRestart() {
    if (!ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0)) ShowNotice(kRestartFailed, kRebootCaption);
}

}  // namespace

int ShowMessage(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxExA(owner, text, caption, style, kMessageLanguage);
}

int ShowNotice(const char* text, const char* caption) {
    return MessageBoxExA(NULL, text, caption, MB_OK, kMessageLanguage);
}

char* QueryRegString(HKEY root, const char* subkey, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return NULL;
    // One byte more than the query may fill, for the terminator.
    char value[kRegTextBytes + 1] = "";
    DWORD length = kRegTextBytes;
    LONG status = RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(value), &length);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || length > kRegTextBytes) return NULL;
    value[length] = '\0';

    size_t size = strlen(value) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy != NULL) memcpy(copy, value, size);
    return copy;
}

int SetRegString(HKEY root, const char* subkey, const char* name, const char* text) {
    HKEY key;
    DWORD disposition;
    char noClass[] = "";
    if (RegCreateKeyExA(root, subkey, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                        &key, &disposition) != ERROR_SUCCESS)
        return 0;
    LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 (DWORD)strlen(text) + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 1 : 0;
}

int DetectPlatform() {
    const char caption[] = "OS Version";
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);  // 148
    if (!GetVersionExA(&version)) {
        ShowMessage(NULL, "Unable to get version info", caption, MB_OK);
        return 0;
    }
    if (version.dwPlatformId == VER_PLATFORM_WIN32s) {
        ShowMessage(NULL, "This application does not run under WIN32s!", caption, MB_OK);
        return 0;
    }
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
}

void RestartWindows(int isNt) {
    if (isNt != 1) {
        ForceRestart();
        return;
    }
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        token = NULL;
        ShowNotice("OpenProcessToken", kRebootCaption);
    }
    TOKEN_PRIVILEGES privileges;
    memset(&privileges, 0, sizeof(privileges));
    LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL);
    if (GetLastError() != ERROR_SUCCESS) ShowNotice("AdjustTokenPrivileges", kRebootCaption);
    if (token != NULL) CloseHandle(token);
    ForceRestart();
}

POINT CenteredPosition(int screenWidth, int screenHeight, int width, int height) {
    POINT position;
    position.x = CenteredOffset(screenWidth, width);
    position.y = CenteredOffset(screenHeight, height);
    return position;
}

void CenterOnScreen(HWND window) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) return;
    POINT at = CenteredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

BOOL CopyFileOver(const char* source, const char* target) {
    return CopyFileA(source, target, FALSE);
}
