// Stand-ins for the settings and message helpers that the wizard's pages
// use, for the test programs that show the pages on their own. Messages
// are recorded, not shown, so nothing waits for a user.
#ifndef TARNVALE_TESTS_WINE_UI_FAKE_WIZARD_H
#define TARNVALE_TESTS_WINE_UI_FAKE_WIZARD_H

#include <windows.h>

struct FakeMessageCalls {
    int count;
    char lastText[256];
    char lastCaption[256];
};

extern FakeMessageCalls FakeMessages;

#endif
