#include "system/install_log_file.h"

#include <windows.h>

#include "core/bounded_text.h"
#include "system/settings.h"
#include "system/target_dirs_win32.h"

namespace {

HANDLE LogFile = INVALID_HANDLE_VALUE;
char LogPath[kPathSize];
char BackupDir[kPathSize];
// The number of the last backup made in this run.
int BackupCount;

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

}  // namespace

int StartInstallLog(const char* installDir) {
    CloseInstallLog();
    BackupCount = 0;
    MadeDirs made;
    made.count = 0;
    CreateDirChainTelling(installDir, NoteMadeDir, &made);
    if (!JoinText(LogPath, sizeof(LogPath), installDir, "\\", kInstallLogName) ||
        !JoinText(BackupDir, sizeof(BackupDir), installDir, "\\", kBackupFolderName))
        return 0;
    LogFile = CreateFileA(LogPath, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, NULL);
    if (LogFile == INVALID_HANDLE_VALUE) return 0;
    WriteLine(kInstallLogHeader);
    WriteLine("\r\n");
    for (int i = 0; i < made.count; ++i) LogInstallRecord(kLogDir, made.dirs[i], NULL, NULL);
    return 1;
}

const char* InstallLogPath() { return LogPath; }
const char* InstallBackupDir() { return BackupDir; }

void CreateLoggedDir(const char* dir) {
    if (GetFileAttributesA(dir) != INVALID_FILE_ATTRIBUTES) return;
    LogInstallRecord(kLogDir, dir, NULL, NULL);
    CreateDirectoryA(dir, NULL);
}

int InstallLogOpen() { return LogFile != INVALID_HANDLE_VALUE; }

void LogInstallRecord(InstallLogKind kind, const char* path, const char* second, const char* third) {
    if (LogFile == INVALID_HANDLE_VALUE) return;
    InstallLogRecord record;
    record.kind = kind;
    CopyText(record.path, sizeof(record.path), path ? path : "");
    CopyText(record.second, sizeof(record.second), second ? second : "");
    CopyText(record.third, sizeof(record.third), third ? third : "");
    char line[kLogLineSize];
    if (FormatLogRecord(record, line, sizeof(line))) WriteLine(line);
}

int LogFileToWrite(const char* path) {
    if (LogFile == INVALID_HANDLE_VALUE) return 1;
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
    LogInstallRecord(kLogValue, "HKLM", key, name);
}

void CloseInstallLog() {
    if (LogFile != INVALID_HANDLE_VALUE) CloseHandle(LogFile);
    LogFile = INVALID_HANDLE_VALUE;
}
