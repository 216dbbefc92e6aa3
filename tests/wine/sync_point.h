// Meeting points between a Windows test program and the shell script that
// runs it: the program creates C:\sync\NAME.ready and waits for the
// script's C:\sync\NAME.go (harness.sh: await_ready and release).
#ifndef TARNVALE_TESTS_WINE_SYNC_POINT_H
#define TARNVALE_TESTS_WINE_SYNC_POINT_H

#include <windows.h>
#include <stdarg.h>
#include <stdio.h>

// Prints for the script that reads the program's output, at once.
inline void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

// Announces `name` and waits `seconds` at most for the go-ahead: 1 if it came.
inline int MeetAt(const char* name, int seconds) {
    char ready[MAX_PATH], go[MAX_PATH];
    snprintf(ready, sizeof(ready), "C:\\sync\\%s.ready", name);
    snprintf(go, sizeof(go), "C:\\sync\\%s.go", name);
    CreateDirectoryA("C:\\sync", NULL);
    HANDLE marker = CreateFileA(ready, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (marker == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(marker);
    for (int waited = 0; waited < seconds * 1000; waited += 20) {
        if (GetFileAttributesA(go) != INVALID_FILE_ATTRIBUTES) return 1;
        Sleep(20);
    }
    return 0;
}

#endif
