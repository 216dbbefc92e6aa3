#include "engine/install_undo.h"

#include <windows.h>
#include <stdlib.h>

#include "core/bounded_text.h"
#include "system/settings.h"

namespace {

struct Undo {
    const char* backupDir;
    const UndoReports* reports;
    int done;
    int total;
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
        if (undo.reports->deregister)
            undo.reports->deregister(undo.reports->context, record);
        else
            Report(undo, "The plug-in stays registered(", record.path, ")");
        break;
    case kLogEntry:
        if (undo.reports->deregister)
            undo.reports->deregister(undo.reports->context, record);
        else
            Report(undo, "The library's entry point was called(", record.path, ")");
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

// The whole log, with a terminator; NULL when it cannot be read.
char* ReadWhole(const char* path, DWORD* size) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return NULL;
    DWORD high = 0;
    *size = GetFileSize(file, &high);
    char* text = NULL;
    DWORD got = 0;
    if (high == 0 && *size < 0x4000000) text = static_cast<char*>(malloc(*size + 1));
    if (text != NULL && (!ReadFile(file, text, *size, &got, NULL) || got != *size)) {
        free(text);
        text = NULL;
    }
    CloseHandle(file);
    if (text != NULL) text[*size] = '\0';
    return text;
}

}  // namespace

int UndoInstallLog(const char* logPath, const char* backupDir, const UndoReports& reports) {
    DWORD size = 0;
    char* text = ReadWhole(logPath, &size);
    if (text == NULL) return kUndoNoLog;
    Undo undo = {backupDir, &reports, 0, 0};
    if (ReadInstallLog(text, size, CountRecord, &undo.total) < 0) {
        free(text);
        return kUndoDamagedLog;
    }
    // The log goes first: the directory that holds it may then go too.
    DeleteFileAnyway(logPath);
    ReadInstallLog(text, size, UndoRecord, &undo);
    RemoveDirectoryA(backupDir);
    free(text);
    return kUndoDone;
}
