// The install worker: its start, the two passes, the closing steps, and
// the codec's progress bound to the installing page's controls.
#include "engine/install_worker.h"

#include <commctrl.h>
#include <string.h>

#include "core/bounded_text.h"
#include "core/lzss_codec.h"
#include "resources/resource_ids.h"
#include "core/entry_rules.h"
#include "engine/install_engine.h"
#include "system/system_helpers.h"
#include "shell/shortcuts.h"

namespace {

const char kUninstallKeyBase[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\";

// The worker's codec. One worker runs per process, and the codec's
// buffers are too large for the thread's stack.
LzssCodec Codec;

// The worker thread, kept until WaitForInstallWorker has seen it end.
HANDLE WorkerThread;

// --- Progress: the codec's calls become messages to the page ------------

// Last position given to each bar, and when. Bar positions are posted, in
// order, only when they change, and at most once per kBarInterval for each
// bar (a position of 100, and one the codec would send at the end of a
// file, always go): a fast decode would otherwise post thousands a second,
// and the user-interface thread takes input only once its posted messages
// are handled, so a click on Cancel would wait behind them.
struct BarBinding {
    HWND bars[2];
    int last[2];
    DWORD lastTick[2];
};

const DWORD kBarInterval = 20;  // milliseconds

BarBinding Bars;

int BarIndex(HWND bar) { return bar == Bars.bars[0] ? 0 : 1; }

// Every position is posted, also those the codec asks to send: a sent
// message is handled before the posted ones still queued, and would let
// an older position overwrite a newer one.
void PostBarPos(HWND bar, int position, int always) {
    int index = BarIndex(bar);
    if (Bars.last[index] == position) return;
    DWORD now = GetTickCount();
    if (!always && position != 100 && Bars.last[index] >= 0 &&
        now - Bars.lastTick[index] < kBarInterval)
        return;
    Bars.last[index] = position;
    Bars.lastTick[index] = now;
    PostMessageA(bar, PBM_SETPOS, (WPARAM)position, 0);
}

void AddLineToList(void*, LzssControl list, const char* text) { AppendToList((HWND)list, text); }

void SetupBar(void*, LzssControl control) {
    HWND bar = (HWND)control;
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    Bars.last[BarIndex(bar)] = -1;
    PostBarPos(bar, 0, 1);
}

void SetBarPos(void*, LzssControl bar, int position, int sent) {
    PostBarPos((HWND)bar, position, sent);
}

const LzssProgress kPageProgress = {AddLineToList, SetupBar, SetBarPos, NULL};

// --- Start and closing steps ---------------------------------------------

void ReadScriptText(const char* section, const char* key, char* out, DWORD size) {
    GetPrivateProfileStringA(section, key, "", out, size, ScriptPath);
}

// Start of the worker, steps 1 to 6: button 1 disabled, the codec bound to
// the page, the first line, the program group.
void StartRun(InstallRun* run, HWND page) {
    memset(run, 0, sizeof(*run));
    run->page = page;
    run->logList = GetDlgItem(page, IDC_LOG_LIST);
    run->overallBar = GetDlgItem(page, IDC_TOTAL_BAR);
    run->fileBar = GetDlgItem(page, IDC_FILE_BAR);
    run->exitButton = GetDlgItem(GetParent(page), IDOK);
    EnableWindow(run->exitButton, FALSE);

    Bars.bars[0] = run->overallBar;
    Bars.bars[1] = run->fileBar;
    Bars.last[0] = Bars.last[1] = -1;

    run->codec = &Codec;
    Codec.doneBytes = 0;
    char size[50];
    ReadScriptText("INFO", "SIZE", size, sizeof(size));
    Codec.grandTotal = ScriptDecimal(size);
    Codec.logList = run->logList;
    Codec.overallBar = run->overallBar;
    Codec.fileBar = run->fileBar;
    Codec.progress = &kPageProgress;

    AddLogLine(run, "------ Start installing ------");
    CreateProgramGroup(ProjectName, run->programGroupDir);
}

// The uninstaller, its registration and the copy of the script.
void RegisterInstall(InstallRun* run) {
    AddLogLine(run, "------ Registering information ------");

    // The uninstaller's entry is taken from the workspace by its full
    // path, which does not depend on the shared current directory.
    char entryName[80];
    char source[kPathSize];
    char target[kPathSize];
    ReadScriptText("UNINSTALL", "NAME", entryName, sizeof(entryName));
    if (FormSourcePath(source, sizeof(source), entryName) &&
        FormTargetPath(target, sizeof(target), InstallDir, entryName))
        run->codec->UnpackFile(source, target);
    else
        AddLogLine3(run, "The target path is too long(", entryName, ")");

    // A key or value that would not fit is not written at all, rather than
    // cut into another product's key or a wrong command.
    char name[kPathSize];
    char key[kPathSize];
    ReadScriptText("INSTALL PROJECT", "NAME", name, sizeof(name));
    const char* keyParts[2] = {kUninstallKeyBase, name};
    if (JoinParts(key, sizeof(key), keyParts, 2)) {
        SetRegString(HKEY_LOCAL_MACHINE, key, "DisplayName", name);

        char uninstallName[kPathSize];
        char command[kPathSize];
        ReadScriptText("UNINSTALL", "NAME", uninstallName, sizeof(uninstallName));
        const char* commandParts[5] = {InstallDir, "\\", uninstallName, " ", InstallDir};
        if (JoinParts(command, sizeof(command), commandParts, 5))
            SetRegString(HKEY_LOCAL_MACHINE, key, "UninstallString", command);
    }

    char copy[kPathSize];
    if (FormTargetPath(copy, sizeof(copy), InstallDir, "Install.ini")) CopyFileOver(ScriptPath, copy);
    AddLogLine(run, "---- Completed installation ----");
}

}  // namespace

DWORD WINAPI InstallWorker(LPVOID page) {
    InstallRun run;
    StartRun(&run, (HWND)page);
    // A cancelled wizard stops the passes at the next line; nothing is
    // started or registered after that, and its windows are gone.
    if (RunFilePass(&run) && RunActivationPass(&run)) {
        RegisterInstall(&run);
        EnableWindow(run.exitButton, TRUE);
        PostBarPos(run.overallBar, 100, 1);
        PostBarPos(run.fileBar, 100, 1);
    }
    Codec.progress = NULL;
    return (DWORD)UserCancelled;
}

int StartInstallWorker(HWND page) {
    if (WorkerThread != NULL) return 0;
    DWORD id;
    WorkerThread = CreateThread(NULL, 0, InstallWorker, page, 0, &id);
    return WorkerThread != NULL;
}

void WaitForInstallWorker() {
    if (WorkerThread == NULL) return;
    int quit = 0;
    WPARAM quitCode = 0;
    while (MsgWaitForMultipleObjects(1, &WorkerThread, FALSE, INFINITE, QS_ALLINPUT) !=
           WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = 1;
                quitCode = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    CloseHandle(WorkerThread);
    WorkerThread = NULL;
    if (quit) PostQuitMessage((int)quitCode);
}
