// The install log of the running install (core/install_log.h): opened by
// the install worker, and written to by whatever creates something while it
// is open. Records go out whole, one WriteFile each, in the order things
// happen; each is written before the thing it names is made, so that a log
// cut short never misses something that exists.
#ifndef TARNVALE_SYSTEM_INSTALL_LOG_FILE_H
#define TARNVALE_SYSTEM_INSTALL_LOG_FILE_H

#include <stddef.h>

#include "core/install_log.h"

// The longest log that is read: far beyond any install's records.
const size_t kInstallLogLimit = 64 * 1024 * 1024;

// Makes `installDir` (with the directories above it that are missing),
// opens the log in it (kInstallLogName) and logs a "dir" record for each
// directory just made; the backups of replaced files go to its
// kBackupFolderName. The log of an earlier install there (a reinstall) is
// continued after its last whole record, so that the uninstaller removes
// both and a replaced file's first backup is never overwritten; a log that
// cannot be read is started anew. Returns 1, or 0 when the log cannot be
// opened (nothing is logged then).
int StartInstallLog(const char* installDir);

// The log's path and the backup folder of the last StartInstallLog, and the
// offset in the log where that run's records start (0: a new log).
const char* InstallLogPath();
const char* InstallBackupDir();
size_t InstallLogRunStart();

// A log file's whole text with a terminator (`size` bytes before it),
// malloc'd; NULL when it cannot be read or is kInstallLogLimit or longer.
char* ReadInstallLogText(const char* path, size_t* size);

// Creates the directory `dir` when nothing is there, logging it first.
void CreateLoggedDir(const char* dir);

// Whether a log is open.
int InstallLogOpen();

// Appends a record of `kind` with up to three fields (NULL for none).
// Nothing happens while no log is open.
void LogInstallRecord(InstallLogKind kind, const char* path, const char* second, const char* third);

// Logs that `path` is about to be written: "file" when nothing is there,
// else a copy of it goes to the backup folder (created when missing) under
// the next number and "replaced" is logged. Returns 0 when the earlier file
// could not be saved: it must then not be overwritten.
int LogFileToWrite(const char* path);

// Logs a registry value about to be written under HKEY_LOCAL_MACHINE; in a
// continued log, not one that is there already (the earlier install's).
void LogMachineValue(const char* key, const char* name);

void CloseInstallLog();

#endif
