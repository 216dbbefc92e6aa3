#include "tests/wine/ui_fake_system.h"

#include "system/settings.h"
#include "system/system_helpers.h"
#include "system/workspace.h"

// The settings that the windows read and write.
HINSTANCE AppInstance;
int IsWinNT;
char ProjectName[kPathSize];
char ScriptPath[kPathSize];
char InstallDir[kPathSize];
volatile LONG UserCancelled;
volatile LONG InstallCompleted;

FakeSystemCalls FakeCalls;

// Centres and shows the window as the real helper does, so that the
// windows also look right in screenshots.
void CenterOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void RestartWindows(int) {}

// The workspace of these tests is their current directory.
int WorkspaceFilePath(char* out, size_t size, const char* name) {
    return lstrlenA(name) < (int)size && lstrcpynA(out, name, (int)size) != NULL;
}

int ShowMessage(HWND, const char* text, const char* caption, UINT) {
    ++FakeCalls.messages;
    lstrcpynA(FakeCalls.lastText, text, sizeof(FakeCalls.lastText));
    lstrcpynA(FakeCalls.lastCaption, caption, sizeof(FakeCalls.lastCaption));
    return IDOK;
}

int ShowNotice(const char* text, const char* caption) {
    return ShowMessage(NULL, text, caption, MB_OK);
}
