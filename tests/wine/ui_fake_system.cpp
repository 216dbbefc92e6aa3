#include "tests/wine/ui_fake_system.h"

#include <string.h>

#include "resources/resource_ids.h"
#include "system/settings.h"
#include "system/system_helpers.h"

// The settings that the windows read.
int IsWinNT;
char ProjectName[kPathSize];

FakeSystemCalls FakeCalls;

void ResetFakeCalls() {
    memset(&FakeCalls, 0, sizeof(FakeCalls));
}

// Records the call, then centres and shows the window by the same rule as
// the real helper, so that the windows also look right in screenshots.
void CenterOnScreen(HWND window) {
    ++FakeCalls.centreCalls;
    FakeCalls.centredWindow = window;
    FakeCalls.restartNowWasChecked = IsDlgButtonChecked(window, IDC_RESTART_NOW) == BST_CHECKED;
    RECT rect;
    GetWindowRect(window, &rect);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void RestartWindows(int isNt) {
    ++FakeCalls.restartCalls;
    FakeCalls.restartFlag = isNt;
}
