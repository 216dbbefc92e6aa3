// Stand-ins for the setup program's settings and for the system helpers
// that the windows of ui/ call, for the programs that show those windows on
// their own (ui_dialogs_test, ui_showcase). Messages are recorded, not
// shown, so nothing waits for a user; a restart is never requested.
#ifndef TARNVALE_TESTS_WINE_UI_FAKE_SYSTEM_H
#define TARNVALE_TESTS_WINE_UI_FAKE_SYSTEM_H

#include <windows.h>

struct FakeSystemCalls {
    int messages;  // ShowMessage and ShowNotice calls
    char lastText[256];
    char lastCaption[256];
};

extern FakeSystemCalls FakeCalls;

#endif
