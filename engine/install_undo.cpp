#include "engine/install_undo.h"

#include <windows.h>
#include <stdlib.h>

#include "core/bounded_text.h"
#include "system/install_log_file.h"
#include "system/settings.h"

namespace {

struct Undo {
    const char* backupDir;
    const UndoReports* reports;
    int done;
    int total;
    int kept;  // the records before `from`, visited last: left alone
};

void Report(const Undo& undo, const char* before, const char* subject, const char* after) {
    char text[kPathSize + 64];
    if (undo.reports->line && JoinText(text, sizeof(text), before, subject, after))
        undo.reports->line(undo.reports->context, text);
}

void DeleteMachineValue(const char* key, const char* name) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueA(handle, name);
    RegCloseKey(handle);
}

void DeleteFileAnyway(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

void UndoRecord(void* context, const InstallLogRecord& record) {
    Undo& undo = *static_cast<Undo*>(context);
    if (undo.done == undo.total) return;
    switch (record.kind) {
    case kLogDir:
        // Only an empty directory goes: whatever else is in it stays.
        RemoveDirectoryA(record.path);
        break;
    case kLogFile:
        DeleteFileAnyway(record.path);
        if (GetFileAttributesA(record.path) != INVALID_FILE_ATTRIBUTES)
            Report(undo, "Unable to remove the file(", record.path, ")");
        break;
    case kLogReplaced: {
        char backup[kPathSize];
        SetFileAttributesA(record.path, FILE_ATTRIBUTE_NORMAL);
        if (!JoinText(backup, sizeof(backup), undo.backupDir, "\\", record.second) ||
            !MoveFileExA(backup, record.path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
            Report(undo, "Unable to restore the earlier file(", record.path, ")");
        break;
    }
    case kLogValue:
        // Values of the machine only: the install writes no others.
        if (lstrcmpA(record.path, "HKLM") == 0) DeleteMachineValue(record.second, record.third);
        break;
    case kLogPlugin:
    case kLogEntry:
        if (undo.reports->deregister)
            undo.reports->deregister(undo.reports->context, record);
        else
            Report(undo,
                   record.kind == kLogPlugin ? "The plug-in stays registered("
                                             : "The library's entry point was called(",
                   record.path, ")");
        break;
    case kLogProgram:
        Report(undo, "The program was started and cannot be undone(", record.path, ")");
        break;
    case kLogKindCount:
        break;
    }
    ++undo.done;
    if (undo.reports->progress) undo.reports->progress(undo.reports->context, undo.done, undo.total);
}

void CountRecord(void* context, const InstallLogRecord&) { ++*static_cast<int*>(context); }

// Cuts the log back to its first `size` bytes.
void CutLog(const char* path, size_t size) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    if (SetFilePointer(file, (LONG)size, NULL, FILE_BEGIN) == (DWORD)size) SetEndOfFile(file);
    CloseHandle(file);
}

}  // namespace

int UndoInstallLog(const char* logPath, size_t from, const char* backupDir, const UndoReports& reports) {
    size_t size = 0;
    char* text = ReadInstallLogText(logPath, &size);
    if (text == NULL) return kUndoNoLog;
    Undo undo = {backupDir, &reports, 0, 0, 0};
    if (ReadInstallLog(text, size, CountRecord, &undo.total) < 0 || from > size ||
        (from > 0 && ReadInstallLog(text, from, CountRecord, &undo.kept) < 0)) {
        free(text);
        return kUndoDamagedLog;
    }
    undo.total -= undo.kept;
    // The log goes first, so that the directory that holds it may go too;
    // an earlier install's records stay.
    if (from > 0)
        CutLog(logPath, from);
    else
        DeleteFileAnyway(logPath);
    ReadInstallLog(text, size, UndoRecord, &undo);
    RemoveDirectoryA(backupDir);
    free(text);
    return kUndoDone;
}
