// Undoing an install from its log (core/install_log.h): the install's
// rollback after Cancel and the uninstaller share it.
#ifndef TARNVALE_ENGINE_INSTALL_UNDO_H
#define TARNVALE_ENGINE_INSTALL_UNDO_H

#include <stddef.h>

#include "core/install_log.h"

struct UndoReports {
    void* context;
    // A line about something that was not undone (a program already run,
    // a file that could not be deleted); may be NULL.
    void (*line)(void* context, const char* text);
    // After each record: `done` of `total`; may be NULL.
    void (*progress)(void* context, int done, int total);
    // Undoes a plug-in's registration or calls a library's uninstall export
    // (`plugin` and `entry` records), as an uninstaller does. NULL in a
    // rollback: those are then only reported as not undone.
    void (*deregister)(void* context, const InstallLogRecord& record);
};

enum UndoResult {
    kUndoDone = 0,
    kUndoNoLog = -1,      // the log is missing or cannot be read: nothing was undone
    kUndoDamagedLog = -2  // the log is not an install log: nothing was undone
};

// Reads the log at `logPath` whole, deletes it, then undoes its records from
// the last to the first: created files are deleted, replaced files get their
// backup (from `backupDir`) back, registry values are deleted, directories
// the install made are removed when empty (never a tree: a file the install
// did not make keeps its folder). Plug-ins and library entry points go to
// `reports.deregister`; one-time programs are reported as not undone. The
// backup folder goes when it is empty. Returns kUndoDone or a failure above.
// Only the records after the first `from` bytes are undone (a rollback of
// a reinstall): the log is then cut back to them rather than deleted.
int UndoInstallLog(const char* logPath, size_t from, const char* backupDir,
                   const UndoReports& reports);

#endif
