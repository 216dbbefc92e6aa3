// Stand-ins for the setup program's settings and for the two system
// helpers that the windows of ui/ call, for the test programs that show
// those windows on their own. The fakes record their calls; the restart is
// never requested from Windows.
#ifndef TARNVALE_TESTS_WINE_UI_FAKE_SYSTEM_H
#define TARNVALE_TESTS_WINE_UI_FAKE_SYSTEM_H

#include <windows.h>

struct FakeSystemCalls {
    int centreCalls;
    HWND centredWindow;        // window of the last CenterOnScreen call
    int restartNowWasChecked;  // state of 1021 in that window at that call
    int restartCalls;
    int restartFlag;           // argument of the last RestartWindows call
};

extern FakeSystemCalls FakeCalls;

// Forgets every recorded call.
void ResetFakeCalls();

#endif
