// Test driver for Wine: starts a program and works its windows as a user
// would, from a script of commands read on standard input.
//
//   window-probe.exe --temp-path          prints GetTempPathA's result
//   window-probe.exe --idle SECONDS       waits, then prints "idle done"
//   window-probe.exe < SCRIPT             runs SCRIPT
//
// Script: one command per line, words split at blanks, "a b" is one word.
// Times are in seconds (default 20). WINDOW below is the current window,
// the one the last `wait` found; ID is a control id of it, or "-" for the
// window itself.
//
//   env NAME VALUE        set for the programs started afterwards
//   start PROGRAM [ARG]   start PROGRAM; it writes to this program's output
//   wait CLASS CAPTION [T]  wait for a visible top-level window of PROGRAM
//                         ("*" matches anything; "" an empty caption);
//                         prints "window CLASS [CAPTION]"
//   suspend | resume      stop or go on with PROGRAM's first thread
//   text ID               prints "text ID [TEXT]"
//   checked ID            prints "checked ID 0|1"
//   place                 prints "place centred", "place work-area" or
//                         "place X Y W H" for WINDOW on the screen
//   exists CLASS CAPTION  prints "exists CLASS [CAPTION] yes|no"
//   click ID              posts BM_CLICK
//   settext ID TEXT       sends WM_SETTEXT
//   key escape|return|tab|space   posts the key to the focused window
//   close                 posts WM_CLOSE to WINDOW
//   gone [T]              waits until WINDOW is destroyed; prints "gone"
//   sync NAME [T]         meets the running script (sync_point.h)
//   answer [T]            until PROGRAM ends: prints each new visible
//                         window as "window [CAPTION] text [TEXT]" (TEXT:
//                         control 0xFFFF, the text of a message box) and
//                         presses its OK; then as `exit`
//   exit [T]              waits for PROGRAM to end; prints "exit CODE"
//   page [T]              waits until WINDOW shows a child dialog (a wizard
//                         page), which becomes WINDOW; prints "page"
//   frame                 WINDOW becomes its top-level window; prints "frame"
//   state ID enabled|disabled [T]  waits until the control is so; prints
//                         "state ID enabled|disabled"
//   lines ID              prints "lines ID last [TEXT]", the last line of
//                         list box ID
//   edittext ID           prints "edittext ID [TEXT]", the text of an edit
//   listed ID N [T]       waits until list box ID holds N lines or more;
//                         prints "listed ID N"
//   bar ID N [T]          waits until progress bar ID is at N; prints
//                         "bar ID at N"
//   answering click ID [T]
//   answering settext ID TEXT [T]  sends BM_CLICK or WM_SETTEXT to the
//                         control from a second thread; until the send
//                         returns, every window of PROGRAM that comes up is
//                         printed as `answer` prints it and its OK pressed;
//                         then prints "sent click ID" or "sent settext ID [TEXT]"
//   declining click ID [T]
//   declining settext ID TEXT [T]  the same, pressing Cancel instead of OK
//
// A command that fails prints "FAIL ..." and ends the script; PROGRAM is
// then stopped. Exit code 0 when the script ran to its end, 1 when a
// command failed, 2 on a bad command line or script.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "sync_point.h"

namespace {

const int kDefaultSeconds = 20;
const int kMaxWords = 8;
const int kMaxSeen = 32;

struct Driver {
    PROCESS_INFORMATION process;
    bool started;
    HWND window;
    HWND seen[kMaxSeen];
    int seenCount;
};

Driver driver;

bool Matches(const char* pattern, const char* text) {
    return strcmp(pattern, "*") == 0 || strcmp(pattern, text) == 0;
}

// A visible window of the started program.
bool ShownByProgram(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == driver.process.dwProcessId && IsWindowVisible(window);
}

struct Search {
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK VisitForSearch(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    if (!ShownByProgram(window)) return TRUE;
    char className[256] = "";
    char caption[256] = "";
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, caption, sizeof(caption));
    if (!Matches(search->className, className) || !Matches(search->caption, caption)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindProgramWindow(const char* className, const char* caption) {
    Search search = {className, caption, NULL};
    EnumWindows(VisitForSearch, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Seconds(int count, char** words, int at) {
    int value = count > at ? atoi(words[at]) : 0;
    return value > 0 ? value : kDefaultSeconds;
}

bool ProgramEnded(DWORD waitMs) {
    return WaitForSingleObject(driver.process.hProcess, waitMs) == WAIT_OBJECT_0;
}

HWND Control(const char* id) {
    if (strcmp(id, "-") == 0) return driver.window;
    return GetDlgItem(driver.window, atoi(id));
}

// An inheritable copy of a standard handle, so the started program writes
// into the same output.
HANDLE Inheritable(DWORD which) {
    HANDLE copy = NULL;
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(which), GetCurrentProcess(), &copy, 0, TRUE,
                    DUPLICATE_SAME_ACCESS);
    return copy;
}

bool Start(int count, char** words) {
    char commandLine[1024] = "";
    size_t used = 0;
    for (int i = 1; i < count; ++i) {
        int written = _snprintf(commandLine + used, sizeof(commandLine) - used, "%s\"%s\"",
                                i > 1 ? " " : "", words[i]);
        if (written < 0 || (size_t)written >= sizeof(commandLine) - used) return false;
        used += written;
    }
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inheritable(STD_INPUT_HANDLE);
    startup.hStdOutput = Inheritable(STD_OUTPUT_HANDLE);
    startup.hStdError = Inheritable(STD_ERROR_HANDLE);
    if (!CreateProcessA(words[1], commandLine, NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                        &driver.process)) {
        Say("FAIL cannot start %s (error %lu)\n", words[1], (unsigned long)GetLastError());
        return false;
    }
    driver.started = true;
    return true;
}

bool Wait(int count, char** words) {
    const char* caption = count > 2 ? words[2] : "*";
    DWORD limit = Seconds(count, words, 3) * 1000;
    // A short poll, so that a window that is up only briefly is caught.
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit; Sleep(2)) {
        HWND window = FindProgramWindow(words[1], caption);
        if (window != NULL) {
            driver.window = window;
            Say("window %s [%s]\n", words[1], caption);
            return true;
        }
    }
    Say("FAIL no window %s [%s] within %lu s\n", words[1], caption, (unsigned long)limit / 1000);
    return false;
}

void Place() {
    RECT frame;
    RECT workArea;
    GetWindowRect(driver.window, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    if (EqualRect(&frame, &workArea))
        Say("place work-area\n");
    else if (frame.left == (GetSystemMetrics(SM_CXSCREEN) - width) / 2 &&
             frame.top == (GetSystemMetrics(SM_CYSCREEN) - height) / 2)
        Say("place centred\n");
    else
        Say("place %ld %ld %d %d\n", frame.left, frame.top, width, height);
}

bool Key(const char* name) {
    static const struct {
        const char* name;
        WPARAM key;
    } kKeys[] = {
        {"escape", VK_ESCAPE}, {"return", VK_RETURN}, {"tab", VK_TAB}, {"space", VK_SPACE}};
    for (size_t i = 0; i < sizeof(kKeys) / sizeof(kKeys[0]); ++i) {
        if (strcmp(name, kKeys[i].name) != 0) continue;
        GUITHREADINFO thread;
        memset(&thread, 0, sizeof(thread));
        thread.cbSize = sizeof(thread);
        HWND target = driver.window;
        if (GetGUIThreadInfo(driver.process.dwThreadId, &thread) && thread.hwndFocus != NULL)
            target = thread.hwndFocus;
        PostMessageA(target, WM_KEYDOWN, kKeys[i].key, 1);
        PostMessageA(target, WM_KEYUP, kKeys[i].key, 0xC0000001);
        return true;
    }
    Say("FAIL unknown key %s\n", name);
    return false;
}

bool Gone(int count, char** words) {
    DWORD limit = Seconds(count, words, 1) * 1000;
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit; Sleep(10)) {
        if (!IsWindow(driver.window)) {
            Say("gone\n");
            return true;
        }
    }
    Say("FAIL the window is still there after %lu s\n", (unsigned long)limit / 1000);
    return false;
}

bool AlreadySeen(HWND window) {
    for (int i = 0; i < driver.seenCount; ++i)
        if (driver.seen[i] == window) return true;
    if (driver.seenCount < kMaxSeen) driver.seen[driver.seenCount++] = window;
    return false;
}

// Prints `window` as "window [CAPTION] text [TEXT]" (TEXT: control 0xFFFF,
// the text of a message box) and presses its `button`.
void PressButton(HWND window, WORD button) {
    char caption[256] = "";
    char text[1024] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    HWND label = GetDlgItem(window, 0xFFFF);
    if (label != NULL) GetWindowTextA(label, text, sizeof(text));
    Say("window [%s] text [%s]\n", caption, text);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

BOOL CALLBACK AnswerWindow(HWND window, LPARAM) {
    if (ShownByProgram(window) && !AlreadySeen(window)) PressButton(window, IDOK);
    return TRUE;
}

// `answer` (answering) and `exit`: wait for the program's end.
bool Exit(int count, char** words, bool answering) {
    DWORD limit = Seconds(count, words, 1) * 1000;
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit;) {
        if (answering) EnumWindows(AnswerWindow, 0);
        if (ProgramEnded(50)) {
            DWORD code = 0;
            GetExitCodeProcess(driver.process.hProcess, &code);
            Say("exit %lu\n", (unsigned long)code);
            return true;
        }
    }
    Say("FAIL the program still runs after %lu s\n", (unsigned long)limit / 1000);
    return false;
}

BOOL CALLBACK FindPage(HWND child, LPARAM param) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof(className));
    if (strcmp(className, "#32770") != 0 || !IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

bool Page(int count, char** words) {
    DWORD limit = Seconds(count, words, 1) * 1000;
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit; Sleep(2)) {
        HWND page = NULL;
        EnumChildWindows(driver.window, FindPage, reinterpret_cast<LPARAM>(&page));
        if (page != NULL) {
            driver.window = page;
            Say("page\n");
            return true;
        }
    }
    Say("FAIL no page in the window within %lu s\n", (unsigned long)limit / 1000);
    return false;
}

bool State(int count, char** words) {
    bool enabled = strcmp(words[2], "enabled") == 0;
    if (!enabled && strcmp(words[2], "disabled") != 0) {
        Say("FAIL unknown state %s\n", words[2]);
        return false;
    }
    DWORD limit = Seconds(count, words, 3) * 1000;
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit; Sleep(10)) {
        HWND control = Control(words[1]);
        if (control != NULL && (IsWindowEnabled(control) != FALSE) == enabled) {
            Say("state %s %s\n", words[1], words[2]);
            return true;
        }
    }
    Say("FAIL control %s is not %s after %lu s\n", words[1], words[2],
        (unsigned long)limit / 1000);
    return false;
}

// Texts of another process's controls are read in UTF-16: Wine hands the
// narrow forms of these messages back unconverted across processes.
void Narrow(const WCHAR* wide, char* out, int size) {
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, out, size, NULL, NULL)) out[0] = '\0';
}

void Lines(const char* id) {
    HWND list = Control(id);
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    WCHAR wide[1024] = L"";
    if (count > 0 && SendMessageW(list, LB_GETTEXTLEN, count - 1, 0) < 1024)
        SendMessageW(list, LB_GETTEXT, count - 1, (LPARAM)wide);
    char last[1024];
    Narrow(wide, last, sizeof(last));
    Say("lines %s last [%s]\n", id, last);
}

bool Listed(int count, char** words) {
    LRESULT wanted = atoi(words[2]);
    DWORD limit = Seconds(count, words, 3) * 1000;
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit; Sleep(5)) {
        if (SendMessageW(Control(words[1]), LB_GETCOUNT, 0, 0) >= wanted) {
            Say("listed %s %s\n", words[1], words[2]);
            return true;
        }
    }
    Say("FAIL list box %s has not %s lines after %lu s\n", words[1], words[2],
        (unsigned long)limit / 1000);
    return false;
}

bool BarAt(int count, char** words) {
    LRESULT wanted = atoi(words[2]);
    DWORD limit = Seconds(count, words, 3) * 1000;
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit; Sleep(10)) {
        if (SendMessageW(Control(words[1]), PBM_GETPOS, 0, 0) == wanted) {
            Say("bar %s at %s\n", words[1], words[2]);
            return true;
        }
    }
    Say("FAIL bar %s is not at %s after %lu s\n", words[1], words[2], (unsigned long)limit / 1000);
    return false;
}

void EditText(const char* id) {
    WCHAR wide[1024] = L"";
    SendMessageW(Control(id), WM_GETTEXT, 1024, (LPARAM)wide);
    char text[1024];
    Narrow(wide, text, sizeof(text));
    Say("edittext %s [%s]\n", id, text);
}

// `answering`: the send runs on this thread while the main thread answers.
struct Sending {
    HWND control;
    UINT message;
    const char* text;
};

DWORD WINAPI SendOnThread(LPVOID param) {
    Sending* sending = static_cast<Sending*>(param);
    SendMessageA(sending->control, sending->message, 0, (LPARAM)sending->text);
    return 0;
}

struct Answering {
    HWND known[kMaxSeen];
    int knownCount;
    HWND fresh;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM param) {
    Answering* answering = reinterpret_cast<Answering*>(param);
    if (!ShownByProgram(window)) return TRUE;
    for (int i = 0; i < answering->knownCount; ++i)
        if (answering->known[i] == window) return TRUE;
    if (answering->knownCount == kMaxSeen) return TRUE;
    answering->known[answering->knownCount++] = window;
    answering->fresh = window;
    return FALSE;
}

// `answering` presses OK on each window that comes up, `declining` Cancel.
bool Answer(int count, char** words, WORD button) {
    bool click = strcmp(words[1], "click") == 0;
    if ((click && count < 3) || (!click && (strcmp(words[1], "settext") != 0 || count < 4))) {
        Say("FAIL %s click ID | settext ID TEXT\n", words[0]);
        return false;
    }
    Sending sending = {Control(words[2]), click ? (UINT)BM_CLICK : (UINT)WM_SETTEXT,
                       click ? NULL : words[3]};
    DWORD limit = Seconds(count, words, click ? 3 : 4) * 1000;
    // Windows already up are not answered.
    Answering answering;
    memset(&answering, 0, sizeof(answering));
    do {
        answering.fresh = NULL;
        EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&answering));
    } while (answering.fresh != NULL);
    HANDLE thread = CreateThread(NULL, 0, SendOnThread, &sending, 0, NULL);
    if (thread == NULL) {
        Say("FAIL cannot start the sending thread\n");
        return false;
    }
    bool done = false;
    for (DWORD start = GetTickCount(); !done && GetTickCount() - start < limit;) {
        done = WaitForSingleObject(thread, 10) == WAIT_OBJECT_0;
        answering.fresh = NULL;
        EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&answering));
        if (answering.fresh == NULL) continue;
        HWND window = answering.fresh;
        PressButton(window, button);
        while (IsWindow(window) && GetTickCount() - start < limit) Sleep(10);
        done = false;
    }
    if (!done) {
        Say("FAIL the %s did not return within %lu s\n", words[1], (unsigned long)limit / 1000);
        // The thread is left blocked; the script ends here and stops PROGRAM.
        return false;
    }
    CloseHandle(thread);
    Say("sent %s %s%s%s%s\n", words[1], words[2], click ? "" : " [", click ? "" : words[3],
        click ? "" : "]");
    return true;
}

bool NeedsProgram(const char* command) {
    return strcmp(command, "env") != 0 && strcmp(command, "start") != 0 &&
           strcmp(command, "sync") != 0;
}

bool NeedsWindow(const char* command) {
    static const char* const kCommands[] = {"text", "checked", "place", "click",     "settext",
                                            "close", "gone",   "key",   "page",      "frame",
                                            "state", "lines", "answering", "edittext",
                                            "listed",  "bar",     "declining"};
    for (size_t i = 0; i < sizeof(kCommands) / sizeof(kCommands[0]); ++i)
        if (strcmp(command, kCommands[i]) == 0) return true;
    return false;
}

// Runs one command. Returns 1 to go on, 0 when it failed, 2 when the line
// is not a command.
int Run(int count, char** words) {
    const char* command = words[0];
    if (NeedsProgram(command) && !driver.started) {
        Say("FAIL %s before start\n", command);
        return 0;
    }
    if (NeedsWindow(command) && driver.window == NULL) {
        Say("FAIL %s before wait\n", command);
        return 0;
    }
    if (strcmp(command, "env") == 0 && count == 3)
        return SetEnvironmentVariableA(words[1], words[2]) ? 1 : 0;
    if (strcmp(command, "start") == 0 && count >= 2) return Start(count, words);
    if (strcmp(command, "wait") == 0 && count >= 2) return Wait(count, words);
    if (strcmp(command, "suspend") == 0) return SuspendThread(driver.process.hThread) != (DWORD)-1;
    if (strcmp(command, "resume") == 0) return ResumeThread(driver.process.hThread) != (DWORD)-1;
    if (strcmp(command, "text") == 0 && count == 2) {
        char text[1024] = "";
        GetWindowTextA(Control(words[1]), text, sizeof(text));
        Say("text %s [%s]\n", words[1], text);
        return 1;
    }
    if (strcmp(command, "checked") == 0 && count == 2) {
        LRESULT state = SendMessageA(Control(words[1]), BM_GETCHECK, 0, 0);
        Say("checked %s %d\n", words[1], state == BST_CHECKED ? 1 : 0);
        return 1;
    }
    if (strcmp(command, "place") == 0) return Place(), 1;
    if (strcmp(command, "exists") == 0 && count == 3) {
        Say("exists %s [%s] %s\n", words[1], words[2],
            FindProgramWindow(words[1], words[2]) ? "yes" : "no");
        return 1;
    }
    if (strcmp(command, "click") == 0 && count == 2)
        return PostMessageA(Control(words[1]), BM_CLICK, 0, 0) ? 1 : 0;
    if (strcmp(command, "settext") == 0 && count == 3)
        return SendMessageA(Control(words[1]), WM_SETTEXT, 0, (LPARAM)words[2]) ? 1 : 0;
    if (strcmp(command, "key") == 0 && count == 2) return Key(words[1]);
    if (strcmp(command, "close") == 0) return PostMessageA(driver.window, WM_CLOSE, 0, 0) ? 1 : 0;
    if (strcmp(command, "gone") == 0) return Gone(count, words);
    if (strcmp(command, "sync") == 0 && count >= 2) {
        if (MeetAt(words[1], Seconds(count, words, 2))) return 1;
        Say("FAIL no meeting at %s\n", words[1]);
        return 0;
    }
    if (strcmp(command, "answer") == 0) return Exit(count, words, true);
    if (strcmp(command, "exit") == 0) return Exit(count, words, false);
    if (strcmp(command, "page") == 0) return Page(count, words);
    if (strcmp(command, "frame") == 0) {
        driver.window = GetAncestor(driver.window, GA_ROOT);
        Say("frame\n");
        return 1;
    }
    if (strcmp(command, "state") == 0 && count >= 3) return State(count, words);
    if (strcmp(command, "lines") == 0 && count == 2) return Lines(words[1]), 1;
    if (strcmp(command, "edittext") == 0 && count == 2) return EditText(words[1]), 1;
    if (strcmp(command, "listed") == 0 && count >= 3) return Listed(count, words);
    if (strcmp(command, "bar") == 0 && count >= 3) return BarAt(count, words);
    if (strcmp(command, "answering") == 0 && count >= 3) return Answer(count, words, IDOK);
    if (strcmp(command, "declining") == 0 && count >= 3) return Answer(count, words, IDCANCEL);
    return 2;
}

// Splits `line` in place into at most kMaxWords words.
int Split(char* line, char** words) {
    int count = 0;
    char* at = line;
    while (count < kMaxWords) {
        while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
        if (*at == '\0') break;
        char end = ' ';
        if (*at == '"') end = *at++;
        words[count++] = at;
        while (*at != '\0' && *at != end &&
               (end == '"' || (*at != '\t' && *at != '\r' && *at != '\n')))
            ++at;
        if (*at == '\0') break;
        *at++ = '\0';
    }
    return count;
}

int RunScript(FILE* script) {
    char line[1024];
    int result = 0;
    for (int number = 1; result == 0 && fgets(line, sizeof(line), script); ++number) {
        char* words[kMaxWords];
        int count = Split(line, words);
        if (count == 0 || words[0][0] == '#') continue;
        int status = Run(count, words);
        if (status == 2) {
            Say("FAIL line %d: not a command: %s\n", number, words[0]);
            result = 2;
        } else if (status == 0) {
            result = 1;
        }
    }
    if (driver.started && !ProgramEnded(0)) {
        if (result == 0) Say("FAIL the program still runs at the end of the script\n");
        ResumeThread(driver.process.hThread);
        TerminateProcess(driver.process.hProcess, 1);
        if (result == 0) result = 1;
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--temp-path") == 0) {
        char path[MAX_PATH];
        DWORD length = GetTempPathA(sizeof(path), path);
        if (length == 0 || length >= sizeof(path)) return 1;
        Say("%s\n", path);
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "--idle") == 0) {
        Sleep(atoi(argv[2]) * 1000);
        Say("idle done\n");
        return 0;
    }
    if (argc == 1) return RunScript(stdin);
    fprintf(stderr, "usage: window-probe --temp-path | --idle SECONDS | < SCRIPT\n");
    return 2;
}
