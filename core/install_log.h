// The install log, "Install.log" beside "Install.ini": what an install
// created, one record per line, in the order it happened. The install
// undoes it backwards when it is cancelled, and the uninstaller when it
// removes the product.
//
//   Tarnvale install log 1
//   dir<TAB>C:\Program Files\App
//   file<TAB>C:\Program Files\App\app.exe
//   replaced<TAB>C:\WINDOWS\app.ini<TAB>3
//   value<TAB>HKLM<TAB>SOFTWARE\MICROSOFT\WINDOWS\CURRENTVERSION\RUN<TAB>App
//   plugin<TAB>C:\Program Files\App\plugin.exe
//   entry<TAB>C:\Program Files\App\lib.dll<TAB>Uninstall
//   program<TAB>C:\Program Files\App\setup2.exe
//
// Each record ends in CR LF and is written whole in one call, so a log cut
// short (a crash, a full disk) is read up to its last whole line; a last
// line without its end is not a record. Texts are in the system's ANSI code
// page; paths and registry names hold no tab, CR or LF. A "replaced" file's
// earlier contents are kept as the file named by its number in the backup
// folder (kBackupFolderName beside the log once the install is complete).
//
// Portable core: no platform headers; fixed buffers.
#ifndef TARNVALE_CORE_INSTALL_LOG_H
#define TARNVALE_CORE_INSTALL_LOG_H

#include <stddef.h>

const char kInstallLogName[] = "Install.log";
const char kInstallLogHeader[] = "Tarnvale install log 1";
// The backups of replaced files, beside the log.
const char kBackupFolderName[] = "Install backup";

enum InstallLogKind {
    kLogDir,       // a directory the install made: removed when empty
    kLogFile,      // a file that did not exist before: deleted
    kLogReplaced,  // a file that existed: its backup goes back
    kLogValue,     // a registry value written: deleted
    kLogPlugin,    // a plug-in registered: run with "/deregplugin"
    kLogEntry,     // a library entry point called: its uninstall export is
    kLogProgram,   // a one-time program started: cannot be undone
    kLogKindCount
};

enum {
    kLogTextSize = 260,       // each field, terminator included
    kLogLineSize = 4 * 262    // a formatted record with its CR LF and terminator
};

struct InstallLogRecord {
    InstallLogKind kind;
    char path[kLogTextSize];   // dir, file, replaced, plugin, entry, program; for value: "HKLM" or "HKCU"
    char second[kLogTextSize]; // replaced: the backup's number; value: the key; entry: the export
    char third[kLogTextSize];  // value: the value's name
};

// The record as a line of the log, CR LF included. Returns 0 (and `out`
// empty) when a field holds a tab, CR or LF, or the line does not fit.
int FormatLogRecord(const InstallLogRecord& record, char* out, size_t size);

// Parses one line (without its line end). Returns 0 for a line that is no
// record: an unknown kind, a wrong number of fields, a field too long.
int ParseLogRecord(const char* line, size_t length, InstallLogRecord* record);

// The records of a whole log text of `size` bytes, undo order: `visit` is
// called once per record from the last to the first (`context` comes
// back). The whole text is checked before the first call. Returns the
// number of records, or -1, with no call, when the text does not start
// with the header line or holds a whole line that is no record: a damaged
// log, from which nothing is undone. A last line without its end is
// ignored, as is a CR before a line's LF.
int ReadInstallLog(const char* text, size_t size,
                   void (*visit)(void* context, const InstallLogRecord& record), void* context);

#endif
