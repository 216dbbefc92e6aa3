// Small helpers of the Wine tests of the windows in ui/.
#ifndef TARNVALE_TESTS_WINE_UI_TEST_SUPPORT_H
#define TARNVALE_TESTS_WINE_UI_TEST_SUPPORT_H

#include <windows.h>

#include <string>

// The test program itself: it carries the stub's resources.
inline HINSTANCE Instance() {
    return GetModuleHandleA(NULL);
}

inline std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

inline std::string ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

// Dispatches the thread's messages until `done()` holds or `limitMs` has
// passed. Returns the last value of `done()`.
template <typename Done>
bool PumpUntil(Done done, DWORD limitMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= limitMs) return done();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

// Dispatches whatever is queued, including the paints it causes.
inline void PumpPending() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

#endif
