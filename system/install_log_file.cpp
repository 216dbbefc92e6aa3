#include "system/install_log_file.h"

#include <windows.h>
#include <stdlib.h>

#include "core/bounded_text.h"
#include "system/settings.h"
#include "system/target_dirs_win32.h"

namespace {

HANDLE LogFile;  // NULL while no log is open
char LogPath[kPathSize];
char BackupDir[kPathSize];
// The highest backup number in the log: this run's next backup gets the
// one after it.
int BackupCount;
// Where this run's records start: 0 for a new log, else the end of an
// earlier install's records that this run continues.
size_t RunStart;

// The directories above and at the installation directory that the start
// made, before the log could exist.
struct MadeDirs {
    char dirs[16][kPathSize];
    int count;
};

void NoteMadeDir(void* made, const char* dir) {
    MadeDirs* list = static_cast<MadeDirs*>(made);
    if (list->count < 16) CopyText(list->dirs[list->count++], kPathSize, dir);
}

void WriteLine(const char* text) {
    DWORD written;
    WriteFile(LogFile, text, lstrlenA(text), &written, NULL);
}

int OpenLog(DWORD disposition) {
    HANDLE file = CreateFileA(LogPath, GENERIC_WRITE, FILE_SHARE_READ, NULL, disposition,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    LogFile = file == INVALID_HANDLE_VALUE ? NULL : file;
    return LogFile != NULL;
}

void NoteBackupNumber(void* highest, const InstallLogRecord& record) {
    if (record.kind != kLogReplaced) return;
    int number = 0;
    for (const char* digit = record.second; *digit >= '0' && *digit <= '9' && number < 100000000; ++digit)
        number = number * 10 + (*digit - '0');
    if (number > *static_cast<int*>(highest)) *static_cast<int*>(highest) = number;
}

// Opens the log of an earlier install in the folder to go on after its
// last whole record; 0 when there is none that can be read.
int ContinueEarlierLog() {
    size_t size = 0;
    char* text = ReadInstallLogText(LogPath, &size);
    size_t whole = 0;
    if (text != NULL && ReadInstallLog(text, size, NoteBackupNumber, &BackupCount) >= 0) {
        whole = size;
        while (whole > 0 && text[whole - 1] != '\n') --whole;
    }
    free(text);
    if (whole == 0) return 0;
    if (!OpenLog(OPEN_EXISTING)) return 0;
    // A line cut short by a crash is not continued into a damaged one.
    if (SetFilePointer(LogFile, (LONG)whole, NULL, FILE_BEGIN) != (DWORD)whole || !SetEndOfFile(LogFile)) {
        CloseInstallLog();
        return 0;
    }
    RunStart = whole;
    return 1;
}

}  // namespace

char* ReadInstallLogText(const char* path, size_t* size) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return NULL;
    DWORD high = 0;
    const DWORD length = GetFileSize(file, &high);
    char* text = NULL;
    DWORD got = 0;
    if (high == 0 && length < kInstallLogLimit) text = static_cast<char*>(malloc(length + 1));
    if (text != NULL && (!ReadFile(file, text, length, &got, NULL) || got != length)) {
        free(text);
        text = NULL;
    }
    CloseHandle(file);
    if (text == NULL) return NULL;
    text[length] = '\0';
    *size = length;
    return text;
}

int StartInstallLog(const char* installDir) {
    CloseInstallLog();
    BackupCount = 0;
    RunStart = 0;
    MadeDirs made;
    made.count = 0;
    CreateDirChainTelling(installDir, NoteMadeDir, &made);
    if (!JoinText(LogPath, sizeof(LogPath), installDir, "\\", kInstallLogName) ||
        !JoinText(BackupDir, sizeof(BackupDir), installDir, "\\", kBackupFolderName))
        return 0;
    if (!ContinueEarlierLog()) {
        BackupCount = 0;
        if (!OpenLog(CREATE_ALWAYS)) return 0;
        WriteLine(kInstallLogHeader);
        WriteLine("\r\n");
    }
    for (int i = 0; i < made.count; ++i) LogInstallRecord(kLogDir, made.dirs[i], NULL, NULL);
    return 1;
}

const char* InstallLogPath() { return LogPath; }
size_t InstallLogRunStart() { return RunStart; }
const char* InstallBackupDir() { return BackupDir; }

void CreateLoggedDir(const char* dir) {
    if (GetFileAttributesA(dir) != INVALID_FILE_ATTRIBUTES) return;
    LogInstallRecord(kLogDir, dir, NULL, NULL);
    CreateDirectoryA(dir, NULL);
}

int InstallLogOpen() { return LogFile != NULL; }

void LogInstallRecord(InstallLogKind kind, const char* path, const char* second, const char* third) {
    if (LogFile == NULL) return;
    InstallLogRecord record;
    record.kind = kind;
    CopyText(record.path, sizeof(record.path), path ? path : "");
    CopyText(record.second, sizeof(record.second), second ? second : "");
    CopyText(record.third, sizeof(record.third), third ? third : "");
    char line[kLogLineSize];
    if (FormatLogRecord(record, line, sizeof(line))) WriteLine(line);
}

int LogFileToWrite(const char* path) {
    if (LogFile == NULL) return 1;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        LogInstallRecord(kLogFile, path, NULL, NULL);
        return 1;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 1;  // the write fails on its own
    char number[kDecimalTextSize];
    char backup[kPathSize];
    FormatDecimal(number, BackupCount + 1);
    CreateLoggedDir(BackupDir);
    if (!JoinText(backup, sizeof(backup), BackupDir, "\\", number) || !CopyFileA(path, backup, FALSE))
        return 0;
    ++BackupCount;
    LogInstallRecord(kLogReplaced, path, number, NULL);
    return 1;
}

void LogMachineValue(const char* key, const char* name) {
    // A reinstall's values that the earlier install wrote are in its part
    // of the log already: a Cancel of the reinstall must leave them.
    HKEY handle;
    if (RunStart > 0 &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &handle) == ERROR_SUCCESS) {
        const LONG found = RegQueryValueExA(handle, name, NULL, NULL, NULL, NULL);
        RegCloseKey(handle);
        if (found == ERROR_SUCCESS) return;
    }
    LogInstallRecord(kLogValue, "HKLM", key, name);
}

void CloseInstallLog() {
    if (LogFile != NULL) CloseHandle(LogFile);
    LogFile = NULL;
}
