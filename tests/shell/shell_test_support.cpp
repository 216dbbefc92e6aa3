#include "tests/shell/shell_test_support.h"

#include <stdio.h>

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string ReadText(const std::string& path) {
    FILE* in = fopen(path.c_str(), "rb");
    if (!in) return "<missing>";
    std::string text;
    char chunk[512];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, in)) > 0) text.append(chunk, got);
    fclose(in);
    return text;
}

std::string WaitForText(const std::string& path, int seconds) {
    for (int tick = 0; tick < seconds * 20; ++tick) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(50);
    }
    return ReadText(path);
}

namespace {

struct ThreadCall {
    void (*call)(void*);
    void* context;
};

DWORD WINAPI RunCall(void* parameter) {
    ThreadCall* thread = (ThreadCall*)parameter;
    thread->call(thread->context);
    return 0;
}

}  // namespace

ShownBox RunAndAnswer(void (*call)(void*), void* context, const char* caption, int seconds) {
    ThreadCall thread = {call, context};
    HANDLE handle = CreateThread(NULL, 0, RunCall, &thread, 0, NULL);
    ShownBox box = {false, ""};
    for (int tick = 0; tick < seconds * 20; ++tick) {
        HWND window = FindWindowA("#32770", caption);
        if (window) {
            char text[512] = "";
            GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            box.shown = true;
            box.text = text;
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            break;
        }
        if (WaitForSingleObject(handle, 50) == WAIT_OBJECT_0) break;
    }
    WaitForSingleObject(handle, seconds * 1000);
    CloseHandle(handle);
    return box;
}
