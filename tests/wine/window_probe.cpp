// Test driver for Wine: starts a program and works its windows as a user
// would, from a script on standard input; it prints only what fails.
//   window-probe.exe --temp-path        GetTempPathA's result
//   window-probe.exe --reg KEY NAME...  REG_SZ values of HKLM\KEY, " | "
//       between them: "<missing>", or "<unterminated>" (no terminating zero)
//   window-probe.exe --folders          the folders an install uses, NAME=PATH
//       a line, as `tarnvale plan --folder` takes them
//   window-probe.exe < SCRIPT
// SCRIPT: a command a line, words split at blanks, "a b" one word. WINDOW
// is what the last `wait` found; ID a control of it or of a visible child
// dialog (a wizard page), "-" WINDOW itself. Waits give up after 60 s.
//   env NAME VALUE           for the program started afterwards
//   start PROGRAM [ARG...]
//   start-reg KEY NAME [ARG...]  the command line in HKLM\KEY's value NAME
//   wait CLASS CAPTION       for a visible top-level window of PROGRAM
//   adopt CLASS CAPTION      the same of any program, which becomes PROGRAM
//   check ID WHAT VALUE      WHAT of the control is VALUE: text (line breaks
//                            as \n), enabled (0|1), bar (position), lines
//                            (of a list box), newest (1 when a list box shows
//                            its last line), focus (id of the focused control)
//   await ID WHAT VALUE      waits until it is (lines: VALUE or more)
//   click ID [EXPECT...]     BM_CLICK, WM_SETTEXT, sent from a thread of
//   type ID TEXT [EXPECT...] its own: each dialog (a visible top-level
//   exit [EXPECT...]         #32770 of PROGRAM with a caption) that comes up
//                            until the send returns (PROGRAM ends with exit
//                            code 0) must meet an EXPECT, "[cancel:]CAPTION
//                            [|TEXT]" (TEXT a message box's), and is
//                            answered with OK or Cancel
//   ends CODE [EXPECT...]    exit, PROGRAM ending with exit code CODE
//   key escape|tab           posted to PROGRAM's focused control
//   close                    posts WM_CLOSE to WINDOW
//   sync NAME                meets the shell script (sync_point.h)
//   mark NAME                prints "NAME MS KIB": milliseconds since `start`,
//                            the highest peak working set of PROGRAM seen
// A failure prints "FAIL line N: ...", stops PROGRAM and ends the script.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shlobj.h>
#include <stdlib.h>
#include <string.h>

#include "sync_point.h"

namespace {

const DWORD kLimitMs = 60000;
const int kTextSize = 1024;

PROCESS_INFORMATION program;
HWND current;
int lineNumber;
LARGE_INTEGER started;
SIZE_T peakSeen;

// Each poll looks at PROGRAM's peak working set: once it has ended, the
// system no longer tells.
void SamplePeak() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(program.hProcess, &counters, sizeof(counters)) &&
        counters.PeakWorkingSetSize > peakSeen)
        peakSeen = counters.PeakWorkingSetSize;
}

bool Fail(const char* format, const char* a = "", const char* b = "", const char* c = "",
          const char* d = "") {
    Say("FAIL line %d: ", lineNumber);
    Say(format, a, b, c, d);
    Say("\n");
    return false;
}

bool Is(const char* a, const char* b) {
    return strcmp(a, b) == 0;
}

// Read in UTF-16: Wine hands the narrow form back unconverted across
// processes.
void ReadText(HWND window, char* out) {
    WCHAR wide[kTextSize] = L"";
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_GETTEXT, kTextSize, (LPARAM)wide, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    char narrow[kTextSize];
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, kTextSize, NULL, NULL)) narrow[0] = 0;
    int at = 0;
    for (const char* c = narrow; *c != '\0' && at < kTextSize - 2; ++c) {
        if (*c == '\n') out[at++] = '\\';
        if (*c != '\r') out[at++] = *c == '\n' ? 'n' : *c;
    }
    out[at] = '\0';
}

// Visible windows of the program: by class and caption, or the dialogs
// with a caption not yet known (caption null), which become known.
struct Search {
    const char* className;
    const char* caption;
    HWND found;
    int count;
    HWND known[64];
    bool anyProgram;  // a window of any program but this one
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    char seenClass[256] = "", seenCaption[256] = "";
    // Cheapest test first: each question about another process's window
    // is a call to the server that the measured program waits behind.
    GetWindowThreadProcessId(window, &owner);
    if ((search->anyProgram ? owner == GetCurrentProcessId() : owner != program.dwProcessId) ||
        !IsWindowVisible(window))
        return TRUE;
    GetClassNameA(window, seenClass, sizeof(seenClass));
    if (!Is(search->className, seenClass)) return TRUE;
    GetWindowTextA(window, seenCaption, sizeof(seenCaption));
    if (!(search->caption ? Is(search->caption, seenCaption) : seenCaption[0] != '\0'))
        return TRUE;
    for (int i = 0; search->caption == NULL && i < search->count; ++i)
        if (search->known[i] == window) return TRUE;
    search->found = window;
    if (search->count < 64) search->known[search->count++] = window;
    return search->caption != NULL;
}

HWND Find(Search* search) {
    search->found = NULL;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(search));
    return search->found;
}

int wantedId;
HWND wantedControl;

BOOL CALLBACK FindVisibleControl(HWND window, LPARAM) {
    if (GetDlgCtrlID(window) != wantedId || !IsWindowVisible(window)) return TRUE;
    wantedControl = window;
    return FALSE;
}

HWND Control(const char* id) {
    if (Is(id, "-")) return current;
    wantedId = atoi(id);
    wantedControl = GetDlgItem(current, wantedId);
    if (wantedControl == NULL) EnumChildWindows(current, FindVisibleControl, 0);
    return wantedControl;
}

HWND Focused() {
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    return GetGUIThreadInfo(program.dwThreadId, &thread) ? thread.hwndFocus : NULL;
}

// `check` (once) and `await` (until it holds).
bool Check(char** words, bool waiting) {
    const char* what = words[2];
    char actual[kTextSize] = "<no control>";
    for (DWORD start = GetTickCount();; Sleep(2), SamplePeak()) {
        HWND control = Control(words[1]);
        LRESULT number = 0;
        if (control == NULL) {
        } else if (Is(what, "text")) {
            ReadText(control, actual);
        } else if (Is(what, "enabled")) {
            number = IsWindowEnabled(control) ? 1 : 0;
        } else if (Is(what, "bar") || Is(what, "lines")) {
            number = SendMessageW(control, what[0] == 'b' ? PBM_GETPOS : LB_GETCOUNT, 0, 0);
        } else if (Is(what, "newest")) {
            RECT area = {};
            GetClientRect(control, &area);
            const LRESULT last = SendMessageW(control, LB_GETCOUNT, 0, 0) - 1;
            const LRESULT top = SendMessageW(control, LB_GETTOPINDEX, 0, 0);
            const LRESULT height = SendMessageW(control, LB_GETITEMHEIGHT, 0, 0);
            number = last >= top && height > 0 && last < top + area.bottom / height ? 1 : 0;
        } else if (Is(what, "focus")) {
            number = Focused() ? GetDlgCtrlID(Focused()) : 0;
        } else {
            return Fail("no property %s", what);
        }
        if (control != NULL && !Is(what, "text")) wsprintfA(actual, "%ld", (long)number);
        bool atLeast = Is(what, "lines") && number >= atoi(words[3]);
        if (control != NULL && (atLeast || Is(actual, words[3]))) return true;
        if (!waiting || GetTickCount() - start > kLimitMs) break;
    }
    return Fail("%s of %s is [%s], expected [%s]", what, words[1], actual, words[3]);
}

// Answers `dialog` as the first unmet EXPECT that it meets asks, and marks
// that one met by emptying it; cancels it and fails when none does.
bool Answer(HWND dialog, char** expects, int count) {
    char caption[256] = "", text[kTextSize] = "", seen[kTextSize + 256];
    GetWindowTextA(dialog, caption, sizeof(caption));
    if (GetDlgItem(dialog, 0xFFFF)) ReadText(GetDlgItem(dialog, 0xFFFF), text);
    wsprintfA(seen, "%s|%s", caption, text);
    for (int i = 0; i < count; ++i) {
        bool cancel = strncmp(expects[i], "cancel:", 7) == 0;
        const char* wanted = expects[i] + (cancel ? 7 : 0);
        if (expects[i][0] == '\0' || (!Is(wanted, caption) && !Is(wanted, seen))) continue;
        expects[i][0] = '\0';
        return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(cancel ? IDCANCEL : IDOK, 0), 0) != 0;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    return Fail("unexpected dialog [%s] text [%s]", caption, text);
}

// Answers the dialogs that come up until `until` is signalled.
bool Watch(HANDLE until, char** expects, int count) {
    Search dialogs = {"#32770", NULL, NULL, 0, {}, false};
    while (Find(&dialogs) != NULL) {
    }
    for (DWORD start = GetTickCount(); GetTickCount() - start < kLimitMs; SamplePeak()) {
        if (WaitForSingleObject(until, 5) == WAIT_OBJECT_0) {
            for (int i = 0; i < count; ++i)
                if (expects[i][0] != '\0') return Fail("no dialog %s came up", expects[i]);
            return true;
        }
        HWND dialog = Find(&dialogs);
        if (dialog != NULL && !Answer(dialog, expects, count)) return false;
    }
    return Fail("still waiting after 60 s");
}

HWND sendTo;
UINT sendMessage;
const char* sendText;
HANDLE sendAsked, sendDone;  // auto-reset events of the sending thread

// One thread, started with the script, makes every send: a thread started
// for each would put its start-up between a `mark` and the click.
DWORD WINAPI SendOnThread(LPVOID) {
    while (WaitForSingleObject(sendAsked, INFINITE) == WAIT_OBJECT_0) {
        SendMessageA(sendTo, sendMessage, 0, (LPARAM)sendText);
        SetEvent(sendDone);
    }
    return 0;
}

// A send that never returns leaves its thread blocked; the script then
// ends with PROGRAM stopped.
bool Send(char** words, int count, UINT message, const char* text) {
    if ((sendTo = Control(words[1])) == NULL) return Fail("no control %s", words[1]);
    sendMessage = message, sendText = text;
    SetEvent(sendAsked);
    int skip = text != NULL ? 3 : 2;
    return Watch(sendDone, words + skip, count - skip);
}

// The program inherits the standard handles: it writes into the same output.
// `start` quotes every word; `start-reg` takes the value as it is.
bool Start(char** words, int count) {
    char commandLine[kTextSize] = "";
    const bool fromRegistry = Is(words[0], "start-reg");
    int first = 1;
    if (fromRegistry) {
        HKEY key = NULL;
        DWORD type = 0, size = sizeof(commandLine) - 1;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, words[1], 0, KEY_READ, &key) != 0 ||
            RegQueryValueExA(key, words[2], NULL, &type, (BYTE*)commandLine, &size) != 0 ||
            type != REG_SZ)
            return Fail("no value %s of %s", words[2], words[1]);
        RegCloseKey(key);
        commandLine[size] = '\0';
        first = 3;
    }
    const char* quote = fromRegistry ? "" : "\"";
    for (int i = first; i < count && strlen(commandLine) + strlen(words[i]) + 4 < kTextSize; ++i)
        strcat(strcat(strcat(strcat(commandLine, commandLine[0] ? " " : ""), quote), words[i]), quote);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    QueryPerformanceCounter(&started);
    return CreateProcessA(fromRegistry ? NULL : words[1], commandLine, NULL, NULL, TRUE, 0, NULL,
                          NULL, &startup, &program) ||
           Fail("cannot start %s", commandLine);
}

// Runs one command: 1 when it ran, 0 when it failed, 2 when it is none.
int Run(char** words, int count) {
    const char* command = words[0];
    bool before = Is(command, "env") || Is(command, "start") || Is(command, "start-reg") ||
                  Is(command, "sync");
    if (!before && program.hProcess == NULL) return Fail("%s before start", command);
    if (Is(command, "env") && count == 3) return SetEnvironmentVariableA(words[1], words[2]);
    if (Is(command, "start") && count >= 2) return Start(words, count);
    if (Is(command, "start-reg") && count >= 3) return Start(words, count);
    if (Is(command, "sync") && count == 2)
        return MeetAt(words[1], kLimitMs / 1000) || Fail("no meeting at %s", words[1]);
    if ((Is(command, "wait") || Is(command, "adopt")) && count == 3) {
        Search search = {words[1], words[2], NULL, 0, {}, Is(command, "adopt")};
        for (DWORD start = GetTickCount(); GetTickCount() - start < kLimitMs; Sleep(2))
            if ((current = Find(&search)) != NULL) break;
        if (current == NULL) return Fail("no window %s [%s]", words[1], words[2]);
        if (!search.anyProgram) return 1;
        program.dwThreadId = GetWindowThreadProcessId(current, &program.dwProcessId);
        program.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                       FALSE, program.dwProcessId);
        return program.hProcess != NULL || Fail("cannot open the program of [%s]", words[2]);
    }
    if (Is(command, "exit") || (Is(command, "ends") && count >= 2)) {
        const int skip = Is(command, "ends") ? 2 : 1;
        DWORD code = 1, wanted = skip == 2 ? (DWORD)atoi(words[1]) : 0;
        if (!Watch(program.hProcess, words + skip, count - skip)) return 0;
        GetExitCodeProcess(program.hProcess, &code);
        char text[24];
        wsprintfA(text, "%lu", (unsigned long)code);
        return code == wanted || Fail("exit code %s, expected %s", text, skip == 2 ? words[1] : "0");
    }
    if (Is(command, "mark") && count == 2) {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        SamplePeak();
        return Say("%s %lu %lu\n", words[1],
                   (unsigned long)((now.QuadPart - started.QuadPart) * 1000 / frequency.QuadPart),
                   (unsigned long)(peakSeen / 1024)), 1;
    }
    if (Is(command, "key") && count == 2) {
        WPARAM key = Is(words[1], "escape") ? VK_ESCAPE : VK_TAB;
        HWND target = Focused() ? Focused() : current;
        return PostMessageA(target, WM_KEYDOWN, key, 1) &&
               PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    }
    if (current == NULL) return Fail("%s before wait", command);
    if (Is(command, "check") && count == 4) return Check(words, false);
    if (Is(command, "await") && count == 4) return Check(words, true);
    if (Is(command, "click") && count >= 2) return Send(words, count, BM_CLICK, NULL);
    if (Is(command, "type") && count >= 3) return Send(words, count, WM_SETTEXT, words[2]);
    if (Is(command, "close") && count == 1) return PostMessageA(current, WM_CLOSE, 0, 0);
    return 2;
}

int RunScript() {
    char line[1024];
    sendAsked = CreateEventA(NULL, FALSE, FALSE, NULL);
    sendDone = CreateEventA(NULL, FALSE, FALSE, NULL);
    int result = sendAsked == NULL || sendDone == NULL ||
                 CreateThread(NULL, 0, SendOnThread, NULL, 0, NULL) == NULL;
    if (result) Say("FAIL: cannot start the thread that sends\n");
    while (result == 0 && fgets(line, sizeof(line), stdin)) {
        ++lineNumber;
        char* words[12];
        int count = 0;
        for (char* at = line; count < 12;) {
            at += strspn(at, " \t\r\n");
            if (*at == '\0') break;
            const char* ends = *at == '"' ? "\"" : " \t\r\n";
            words[count++] = at + (*at == '"');
            at = words[count - 1] + strcspn(words[count - 1], ends);
            if (*at != '\0') *at++ = '\0';
        }
        if (count == 0) continue;
        int status = Run(words, count);
        if (status == 2) Fail("not a command: %s", words[0]);
        result = status != 1;
    }
    if (program.hProcess != NULL && WaitForSingleObject(program.hProcess, 0) != WAIT_OBJECT_0) {
        if (result == 0) result = !Fail("the program still runs at the end of the script");
        TerminateProcess(program.hProcess, 1);
    }
    return result;
}

int PrintValues(int count, char** names) {
    HKEY key = NULL;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, names[0], 0, KEY_READ, &key);
    for (int i = 1; i < count; ++i) {
        char data[kTextSize];
        DWORD type = 0, size = sizeof(data) - 1;
        bool found = key && RegQueryValueExA(key, names[i], NULL, &type, (BYTE*)data, &size) == 0 &&
                     type == REG_SZ;
        Say("%s%s", i > 1 ? " | " : "",
            !found ? "<missing>" : size == 0 || data[size - 1] != '\0' ? "<unterminated>" : data);
    }
    Say("\n");
    return 0;
}

// As the shell reports them, which is also where the setup program finds
// them (its own calls and the registry give the same folders).
int PrintFolders() {
    const struct { const char* name; int csidl; } folders[] = {
        {"windows", CSIDL_WINDOWS}, {"system", CSIDL_SYSTEM}, {"program-files", CSIDL_PROGRAM_FILES},
        {"desktop", CSIDL_DESKTOPDIRECTORY}, {"programs", CSIDL_PROGRAMS}, {"startup", CSIDL_COMMON_STARTUP}};
    char path[MAX_PATH];
    for (const auto& folder : folders)
        if (SHGetFolderPathA(NULL, folder.csidl, NULL, 0, path) == S_OK) Say("%s=%s\n", folder.name, path);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    char path[MAX_PATH];
    if (argc == 2 && Is(argv[1], "--temp-path") && GetTempPathA(MAX_PATH, path) < MAX_PATH)
        return Say("%s\n", path), 0;
    if (argc >= 4 && Is(argv[1], "--reg")) return PrintValues(argc - 2, argv + 2);
    if (argc == 2 && Is(argv[1], "--folders")) return PrintFolders();
    if (argc == 1) return RunScript();
    Say("usage: window-probe --temp-path | --reg KEY NAME... | --folders | < SCRIPT\n");
    return 2;
}
