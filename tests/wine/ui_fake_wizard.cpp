#include "tests/wine/ui_fake_wizard.h"

#include <string.h>

#include "system/settings.h"
#include "system/system_helpers.h"

// The settings that the wizard reads and writes.
HINSTANCE AppInstance;
char ScriptPath[kPathSize];
char InstallDir[kPathSize];
int UserCancelled;

FakeMessageCalls FakeMessages;

namespace {

int Record(const char* text, const char* caption) {
    ++FakeMessages.count;
    lstrcpynA(FakeMessages.lastText, text, sizeof(FakeMessages.lastText));
    lstrcpynA(FakeMessages.lastCaption, caption, sizeof(FakeMessages.lastCaption));
    return IDOK;
}

}  // namespace

int ShowMessage(HWND, const char* text, const char* caption, UINT) {
    return Record(text, caption);
}

int ShowNotice(const char* text, const char* caption) {
    return Record(text, caption);
}
