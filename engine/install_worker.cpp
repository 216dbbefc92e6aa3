// The install worker: its start, the two passes, the closing steps, and
// the decoder's reports turned into messages to the installing page.
#include "engine/install_worker.h"

#include <string.h>

#include "core/bounded_text.h"
#include "core/entry_rules.h"
#include "core/install_path.h"
#include "core/lzss_decoder.h"
#include "engine/install_engine.h"
#include "engine/install_messages.h"
#include "engine/install_undo.h"
#include "system/install_log_file.h"
#include "system/system_helpers.h"
#include "system/target_dirs_win32.h"
#include "shell/shortcuts.h"

namespace {

// The worker's decoder. One worker runs per process, and the decoder's
// buffers are too large for the thread's stack.
LzssDecoder Decoder;

// The worker thread, kept until WaitForInstallWorker has seen it end.
HANDLE WorkerThread;

// --- Progress: the decoder's reports become messages to the page --------

// Last position given to each bar (InstallBar), and when. Bar positions
// are posted, in order, only when they change, and at most once per
// kBarInterval for each bar (a position of 100, and the one that ends a
// file, always go): a fast decode would otherwise post thousands a second,
// and the user-interface thread takes input only once its posted messages
// are handled, so a click on Cancel would wait behind them.
struct BarState {
    int last[2];
    DWORD lastTick[2];
};

const DWORD kBarInterval = 20;  // milliseconds

BarState Bars;

void PostBarPos(InstallRun* run, InstallBar bar, int position, int always) {
    if (Bars.last[bar] == position) return;
    DWORD now = GetTickCount();
    if (!always && position != 100 && Bars.last[bar] >= 0 && now - Bars.lastTick[bar] < kBarInterval)
        return;
    Bars.last[bar] = position;
    Bars.lastTick[bar] = now;
    PostMessageA(run->page, WM_INSTALL_BAR, (WPARAM)bar, (LPARAM)position);
}

void AddLine(void* run, const char* text) { AddLogLine((InstallRun*)run, text); }

// A Cancel stops a large file within about a megabyte, not at its end.
int StopOnCancel(void*) { return WasUserCancelled(); }

// The page sets the file bar to 0 itself.
void StartFile(void* run) {
    PostMessageA(((InstallRun*)run)->page, WM_INSTALL_FILE, 0, 0);
    Bars.last[kInstallFileBar] = 0;
    Bars.lastTick[kInstallFileBar] = GetTickCount();
}

void SetFileBar(void* run, int position) {
    PostBarPos((InstallRun*)run, kInstallFileBar, position, 0);
}

void SetTotalBar(void* run, int position, int last) {
    PostBarPos((InstallRun*)run, kInstallTotalBar, position, last);
}

// --- Start and closing steps ---------------------------------------------

void ReadScriptText(const char* section, const char* key, char* out, DWORD size) {
    GetPrivateProfileStringA(section, key, "", out, size, ScriptPath);
}

// Start of the worker: button 1 disabled, the decoder's reports bound to
// the page, the first line. The program group follows once InstallDir is
// known to be usable.
void StartRun(InstallRun* run, HWND page, const LzssProgress* reports) {
    memset(run, 0, sizeof(*run));
    run->page = page;
    PostMessageA(page, WM_INSTALL_BEGIN, 0, 0);
    Bars.last[kInstallTotalBar] = Bars.last[kInstallFileBar] = -1;

    run->decoder = &Decoder;
    Decoder.progress = reports;
    Decoder.doneBytes = 0;
    char size[kInfoSizeTextSize];
    ReadScriptText(kInfoSection, kSizeKey, size, sizeof(size));
    Decoder.grandTotal = ScriptDecimal(size);

    AddLogLine(run, "------ Start installing ------");
}

// The uninstaller, its registration and the copy of the script.
void RegisterInstall(InstallRun* run) {
    AddLogLine(run, "------ Registering information ------");

    // The uninstaller's entry is taken from the workspace by its full
    // path, which does not depend on the shared current directory.
    char entryName[kUninstallNameSize];
    char source[kPathSize];
    char target[kPathSize];
    ReadScriptText(kUninstallSection, kNameKey, entryName, sizeof(entryName));
    // No earlier line need have made InstallDir (a package may install only
    // into the system folders, or carry only its uninstaller).
    CreateDirChain(InstallDir);
    if (!FormSourcePath(source, sizeof(source), entryName))
        AddLogLine3(run, "The source path is too long(", entryName, ")");
    else if (!FormTargetPath(target, sizeof(target), InstallDir, entryName))
        AddLogLine3(run, RefusalText(kLineTooLong), entryName, ")");
    else if (LogFileToWrite(target))
        run->decoder->UnpackFile(source, target);

    // A key or value that would not fit is not written at all, rather than
    // cut into another product's key or a wrong command.
    char name[kPathSize];
    char key[kPathSize];
    ReadScriptText(kProjectSection, kNameKey, name, sizeof(name));
    if (FormUninstallKey(key, sizeof(key), name)) {
        LogMachineValue(key, kDisplayNameValue);
        SetRegString(HKEY_LOCAL_MACHINE, key, kDisplayNameValue, name);

        char uninstallName[kPathSize];
        char command[kPathSize];
        ReadScriptText(kUninstallSection, kNameKey, uninstallName, sizeof(uninstallName));
        // The program's path is quoted, so that Windows never starts a
        // "C:\Program.exe" for it; the argument stays as it is.
        if (FormUninstallString(command, sizeof(command), InstallDir, uninstallName)) {
            LogMachineValue(key, kUninstallStringValue);
            SetRegString(HKEY_LOCAL_MACHINE, key, kUninstallStringValue, command);
        }
    }

    char copy[kPathSize];
    if (FormTargetPath(copy, sizeof(copy), InstallDir, kScriptCopyName) && LogFileToWrite(copy))
        CopyFileOver(ScriptPath, copy);
    AddLogLine(run, "---- Completed installation ----");
}

// After Cancel: what this run made is taken back, newest first. Programs it
// started cannot be; they are named in the list box.
void RollBack(InstallRun* run) {
    CloseInstallLog();
    const UndoReports reports = {run, AddLine, NULL, NULL};
    UndoInstallLog(InstallLogPath(), InstallLogRunStart(), InstallBackupDir(), reports);
}

}  // namespace

DWORD WINAPI InstallWorker(LPVOID page) {
    InstallRun run;
    const LzssProgress reports = {AddLine, StartFile, SetFileBar, SetTotalBar, &run, StopOnCancel};
    StartRun(&run, (HWND)page, &reports);
    // Whatever reaches here, nothing goes below a path that is not full.
    if (!IsFullInstallPath(InstallDir)) {
        AddLogLine3(&run, "The installation directory is not a full path(", InstallDir, ")");
        PostMessageA(run.page, WM_INSTALL_END, 0, 0);
    } else {
        // Everything the install makes from here on is logged, so that a
        // Cancel can take it back and the uninstaller can remove it.
        StartInstallLog(InstallDir);
        CreateProgramGroup(ProjectName, run.programGroupDir);
        // A cancelled wizard stops the passes at the next line; nothing is
        // started or registered after that, and its windows are gone.
        if (RunFilePass(&run) && RunActivationPass(&run)) {
            RegisterInstall(&run);
            CloseInstallLog();
            MarkInstallCompleted();
            PostMessageA(run.page, WM_INSTALL_END, 0, 0);
        } else {
            RollBack(&run);
        }
    }
    Decoder.progress = NULL;
    return (DWORD)WasUserCancelled();
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
    // Only "messages are waiting" goes on: the thread's end, and a wait that
    // failed (which would fail again at once), both leave. A worker that has
    // ended already is not pumped for: what waits then is the backdrop's
    // repaint where the frame was, which the restart dialog's loop does, or
    // which the backdrop's end a few milliseconds later makes moot.
    while (WaitForSingleObject(WorkerThread, 0) == WAIT_TIMEOUT &&
           MsgWaitForMultipleObjects(1, &WorkerThread, FALSE, INFINITE, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
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
