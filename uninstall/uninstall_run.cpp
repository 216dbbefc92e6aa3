#include "uninstall/uninstall_run.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include "core/bounded_text.h"
#include "core/file_io.h"
#include "core/install_log.h"
#include "core/install_steps.h"
#include "core/password_rules.h"
#include "core/run_text.h"
#include "core/script_vocabulary.h"
#include "engine/install_undo.h"
#include "resources/resource_ids.h"
#include "shell/programs.h"
#include "system/install_log_file.h"
#include "system/system_helpers.h"
#include "ui/password_dialog.h"
#include "ui/ui.h"

namespace {

const char kCaption[] = "Uninstall";
const char kPasswordValue[] = "Uninstall Password";
// What the run sequence writes under the product key after an install.
const char* const kProductValues[] = {"Path", "Version", kPasswordValue};
// A log larger than this is no install log.
// How long a plug-in may take to deregister before its file is removed.
const unsigned long kPluginWaitMs = 60000;

enum { kMessageSize = 2048 };

// Shows `a`, `b` and `c` joined under `caption` (unless `run.silent`);
// returns `exit`.
int Tell(const Uninstallation& run, int exit, const char* caption, const char* a, const char* b,
         const char* c) {
    char text[kMessageSize + kPathSize];
    if (!run.silent && JoinText(text, sizeof(text), a, b, c))
        ShowMessage(NULL, text, caption, MB_OK);
    return exit;
}

// The message of a log that UndoInstallLog would not undo: kUninstallNothing.
int TellLogFailure(const Uninstallation& run, int undoResult) {
    return Tell(run, kUninstallNothing, kCaption,
                undoResult == kUndoNoLog ? "The install log is missing or cannot be read("
                                         : "The install log is damaged(",
                run.logPath, "). Nothing was removed.");
}

void IgnoreRecord(void*, const InstallLogRecord&) {}

// kUndoDone when the log at `path` is whole, else kUndoNoLog or
// kUndoDamagedLog: what UndoInstallLog would answer, before anything is
// undone.
int CheckInstallLog(const char* path) {
    size_t size = 0;
    char* text = ReadInstallLogText(path, &size);
    if (text == NULL) return kUndoNoLog;
    const int result = ReadInstallLog(text, size, IgnoreRecord, NULL) < 0 ? kUndoDamagedLog : kUndoDone;
    free(text);
    return result;
}

// The `length` bytes at `offset` of `path` into `bytes`: how many were read.
size_t ReadBytesAt(const char* path, int64_t offset, unsigned char* bytes, int32_t length) {
    FileHandle file = FileOpenRead(path);
    if (file == kNoFile) return 0;
    int32_t got = FileSeekStart(file, offset) ? FileRead(file, bytes, length) : 0;
    FileClose(file);
    return got > 0 ? (size_t)got : 0;
}

// The product's password: the record in this program's bytes 78..98 (a copy
// of the uninstaller carries it too), else the hidden file's. Returns 1 with
// `stored` set, or 0 when neither holds a record.
int LookUpPassword(const char* name, char stored[kPasswordTextSize]) {
    char path[kRecordPathSize];
    unsigned char bytes[kPasswordRecordSize];
    size_t got = 0;
    if (ModuleFilePath(path, sizeof(path)))
        got = ReadBytesAt(path, kUninstallerRecordAt, bytes, kPasswordRecordSize);
    if (HoldsPasswordRecord(bytes, got)) return StoredPasswordFromRecord(bytes, got, stored);
    got = FormatHiddenRecordPath(path, sizeof(path), SystemDir, name)
              ? ReadBytesAt(path, 0, bytes, kPasswordRecordSize)
              : 0;
    return StoredPasswordFromRecord(bytes, got, stored);
}

// The progress window and what could not be undone.
struct Progress {
    HWND window;
    char leftOver[kMessageSize];
    int cut;  // a line did not fit into `leftOver`
};

INT_PTR CALLBACK ProgressProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void Pump(HWND window) {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        if (!IsDialogMessageA(window, &message)) DispatchMessageA(&message);
}

void OpenProgress(Progress* progress, const char* name) {
    RegisterDialogControls();
    progress->window = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_UNINSTALLING), NULL,
                                          ProgressProcedure, 0);
    if (progress->window == NULL) return;
    char text[kPathSize + 16];
    if (JoinText(text, sizeof(text), "Removing ", name, "..."))
        SetDlgItemTextA(progress->window, IDC_UNINSTALL_TEXT, text);
    CenterOnScreen(progress->window);
    Pump(progress->window);
}

void ShowProgress(void* context, int done, int total) {
    Progress* progress = static_cast<Progress*>(context);
    if (progress->window == NULL) return;
    const int position = total > 0 ? (int)((int64_t)done * 100 / total) : 100;
    SendDlgItemMessageA(progress->window, IDC_UNINSTALL_BAR, PBM_SETPOS, (WPARAM)position, 0);
    Pump(progress->window);
}

void NoteLeftOver(void* context, const char* text) {
    Progress* progress = static_cast<Progress*>(context);
    const char* parts[] = {progress->leftOver, text, "\n"};
    if (!progress->cut && !JoinParts(progress->leftOver, sizeof(progress->leftOver), parts, 3)) {
        progress->cut = 1;
        AppendText(progress->leftOver, sizeof(progress->leftOver), "...\n");
    }
}

// A plug-in is waited for, so that its file can go after it; one that will
// not start, or a library that will not load, is named in the final message
// rather than in a box of its own (there is none under /S).
void Deregister(void* context, const InstallLogRecord& record) {
    const char* failure = NULL;
    if (record.kind == kLogPlugin) {
        if (!DeregisterPluginAndWait(record.path, kPluginWaitMs))
            failure = "The plug-in could not be started to deregister itself(";
    } else if (CallLibraryEntry(record.path, record.second) != kLibraryCalled) {
        failure = "The library's uninstall export could not be called(";
    }
    char text[kPathSize + 64];
    if (failure != NULL && JoinText(text, sizeof(text), failure, record.path, ")"))
        NoteLeftOver(context, text);
}

void DeleteValues(const char* key, const char* const* names, int count) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
    for (int i = 0; i < count; ++i) RegDeleteValueA(handle, names[i]);
    RegCloseKey(handle);
}

// Deletes the key when it holds no value and no key: never a tree (the
// Windows 95 family's RegDeleteKey would take the keys below it along).
void DeleteEmptyKey(const char* key) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
    DWORD keys = 1, values = 1;
    const LONG status = RegQueryInfoKeyA(handle, NULL, NULL, NULL, &keys, NULL, NULL, &values,
                                         NULL, NULL, NULL, NULL);
    RegCloseKey(handle);
    if (status == ERROR_SUCCESS && keys == 0 && values == 0) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
}

// The records of the run sequence: the product's values, unless its "Path"
// names another installation; the keys that are left empty; the hidden
// password file of a product that has a password.
void RemoveProductRecords(const Uninstallation& run) {
    char* path = QueryRegString(HKEY_LOCAL_MACHINE, run.productKey, kProductValues[0]);
    const int ours = path == NULL || path[0] == '\0' || lstrcmpiA(path, run.installDir) == 0;
    free(path);
    if (!ours) return;
    DeleteValues(run.productKey, kProductValues, 3);
    DeleteEmptyKey(run.productKey);
    char key[kPathSize];
    if (FormUninstallKey(key, sizeof(key), run.name)) DeleteEmptyKey(key);
    char hidden[kRecordPathSize];
    if (run.passwordSet && FormatHiddenRecordPath(hidden, sizeof(hidden), SystemDir, run.name)) {
        SetFileAttributesA(hidden, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(hidden);
    }
}

}  // namespace

int PrepareUninstall(int silent, const char* installDir, Uninstallation* run) {
    memset(run, 0, sizeof(*run));
    run->silent = silent;
    char script[kPathSize];
    if (!CopyText(run->installDir, sizeof(run->installDir), installDir) ||
        !JoinText(script, sizeof(script), installDir, "\\", kScriptCopyName) ||
        !JoinText(run->logPath, sizeof(run->logPath), installDir, "\\", kInstallLogName) ||
        !JoinText(run->backupDir, sizeof(run->backupDir), installDir, "\\", kBackupFolderName) ||
        !GetPrivateProfileStringA(kProjectSection, kNameKey, "", run->name, kScriptTextSize,
                                  script) ||
        !FormatProductKey(run->productKey, sizeof(run->productKey), run->name))
        return Tell(*run, kUninstallNothing, kCaption, "No product is installed in \"", installDir,
                    "\": its Install.ini is missing or names none. Nothing was removed.");

    const int log = CheckInstallLog(run->logPath);
    if (log != kUndoDone) return TellLogFailure(*run, log);

    char* code = QueryRegString(HKEY_LOCAL_MACHINE, run->productKey, kPasswordValue);
    run->passwordSet = code != NULL;
    free(code);
    if (run->passwordSet) {
        // A password cannot be asked for without a window.
        if (silent) return kUninstallRefused;
        char stored[kPasswordTextSize];
        if (!LookUpPassword(run->name, stored))
            return Tell(*run, kUninstallRefused, kCaption, "The uninstall password of ", run->name,
                        " cannot be found. Nothing was removed.");
        // An empty record asks for nothing, as in the setup program.
        PasswordDialog check;
        memcpy(check.matchText, stored, sizeof(check.matchText));
        if (stored[0] != '\0' && !check.show(IDD_PASSWORD_CHECK)) return kUninstallRefused;
    }

    char question[kPathSize + 64];
    if (!silent && (!JoinText(question, sizeof(question), "Remove ", run->name,
                              " and all of its components?") ||
                    ShowMessage(NULL, question, kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES))
        return kUninstallRefused;
    return kUninstallRemoved;
}

int RemoveProduct(const Uninstallation& run) {
    Progress progress;
    memset(&progress, 0, sizeof(progress));
    if (!run.silent) OpenProgress(&progress, run.name);
    const UndoReports reports = {&progress, NoteLeftOver, ShowProgress, Deregister};
    const int undone = UndoInstallLog(run.logPath, 0, run.backupDir, reports);
    if (undone == kUndoDone) RemoveProductRecords(run);
    if (progress.window != NULL) DestroyWindow(progress.window);
    if (undone != kUndoDone) return TellLogFailure(run, undone);
    const char* removed = progress.leftOver[0] == '\0'
                              ? " was removed from your computer."
                              : " was removed from your computer, except:\n\n";
    return Tell(run, kUninstallRemoved, run.name, run.name, removed, progress.leftOver);
}
