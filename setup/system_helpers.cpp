#include "setup/system_helpers.h"

int ShowMessage(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxExA(owner, text, caption, style, kMessageLanguage);
}
