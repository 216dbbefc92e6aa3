// The install log of the running install (core/install_log.h): opened by
// the install worker, and written to by whatever creates something while it
// is open. Records go out whole, one WriteFile each, in the order things
// happen; each is written before the thing it names is made, so that a log
// cut short never misses something that exists.
#ifndef TARNVALE_SYSTEM_INSTALL_LOG_FILE_H
#define TARNVALE_SYSTEM_INSTALL_LOG_FILE_H

#include "core/install_log.h"

// Makes `installDir` (with the directories above it that are missing),
// creates the log in it (kInstallLogName, replacing an earlier one) with its
// header and a "dir" record for each directory just made, and keeps the
// backups of replaced files in its kBackupFolderName. Returns 1, or 0 when
// the log cannot be created (nothing is logged then).
int StartInstallLog(const char* installDir);

// The log's path and the backup folder of the last StartInstallLog.
const char* InstallLogPath();
const char* InstallBackupDir();

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

// Logs a registry value about to be written under HKEY_LOCAL_MACHINE.
void LogMachineValue(const char* key, const char* name);

void CloseInstallLog();

#endif
