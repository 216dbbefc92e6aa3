// Test program for Wine: starts a program and answers its message boxes,
// or reports the temporary path that programs of the prefix get.
//
//   window-probe.exe --temp-path
//       prints GetTempPathA's result
//   window-probe.exe --run PROGRAM [SECONDS]
//       starts PROGRAM and watches its visible top-level windows until it
//       ends. For each new one it prints
//           window [CAPTION] text [TEXT]
//       where TEXT is the message-box text (control 0xFFFF), and presses
//       OK (WM_COMMAND IDOK). When PROGRAM ends it prints "exit CODE". After
//       SECONDS (default 20) it prints "timeout" and ends PROGRAM instead.
//
// Exit code 0 when PROGRAM ended by itself, 1 on a timeout or when it could
// not be started, 2 on a bad command line.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const int kPollMs = 50;
const int kMaxWindows = 16;

struct Watch {
    DWORD processId;
    HWND seen[kMaxWindows];
    int seenCount;
};

bool AlreadySeen(const Watch& watch, HWND window) {
    for (int i = 0; i < watch.seenCount; ++i)
        if (watch.seen[i] == window) return true;
    return false;
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM param) {
    Watch* watch = reinterpret_cast<Watch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != watch->processId || !IsWindowVisible(window) || AlreadySeen(*watch, window))
        return TRUE;
    if (watch->seenCount < kMaxWindows) watch->seen[watch->seenCount++] = window;

    char caption[256] = "";
    char text[1024] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    HWND label = GetDlgItem(window, 0xFFFF);
    if (label != NULL) GetWindowTextA(label, text, sizeof(text));
    printf("window [%s] text [%s]\n", caption, text);
    fflush(stdout);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}

int RunAndAnswer(const char* program, int seconds) {
    char commandLine[MAX_PATH + 3];
    if (_snprintf(commandLine, sizeof(commandLine), "\"%s\"", program) < 0) return 2;
    commandLine[sizeof(commandLine) - 1] = '\0';

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process)) {
        printf("cannot start %s (error %lu)\n", program, (unsigned long)GetLastError());
        return 1;
    }

    Watch watch;
    memset(&watch, 0, sizeof(watch));
    watch.processId = process.dwProcessId;
    int result = 1;
    for (int waited = 0; waited < seconds * 1000; waited += kPollMs) {
        EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&watch));
        if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            printf("exit %lu\n", (unsigned long)code);
            result = 0;
            break;
        }
    }
    if (result != 0) {
        printf("timeout\n");
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--temp-path") == 0) {
        char path[MAX_PATH];
        DWORD length = GetTempPathA(sizeof(path), path);
        if (length == 0 || length >= sizeof(path)) return 1;
        printf("%s\n", path);
        return 0;
    }
    if ((argc == 3 || argc == 4) && strcmp(argv[1], "--run") == 0) {
        int seconds = argc == 4 ? atoi(argv[3]) : 20;
        return RunAndAnswer(argv[2], seconds > 0 ? seconds : 20);
    }
    fprintf(stderr, "usage: window-probe --temp-path | --run PROGRAM [SECONDS]\n");
    return 2;
}
