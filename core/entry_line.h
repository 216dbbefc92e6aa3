// Entry lines of the file sections [NORMAL], [WINDOWS], [SYSTEM] and [LW].
//
//   [NORMAL]   BaseDir,SubDir,FileName,ShortcutSpec,StartupMode,PluginMark,OsFilter,RunOnceSpec,EntryPoints
//   others             SubDir,FileName,ShortcutSpec,StartupMode,PluginMark,OsFilter,RunOnceSpec,EntryPoints
//
// Every comma separates, except in the last field (EntryPoints), which takes
// the rest of the line, commas included. Fields are neither trimmed nor
// unquoted. The columns' names and buffers are listed in kEntryColumns
// (core/script_vocabulary.h), which the split walks.
#ifndef TARNVALE_CORE_ENTRY_LINE_H
#define TARNVALE_CORE_ENTRY_LINE_H

#include <stddef.h>

enum {
    kEntryFieldSize = 260,   // MAX_PATH: at most 259 characters, as long as a line
    kEntryKeywordSize = 20   // StartupMode and OsFilter: at most 19 characters
};

// One parsed entry line; every buffer is NUL-terminated.
struct EntryLine {
    char BaseDir[kEntryFieldSize];         // [NORMAL] only; empty elsewhere
    char SubDir[kEntryFieldSize];
    char FileName[kEntryFieldSize];
    char ShortcutSpec[kEntryFieldSize];
    char StartupMode[kEntryKeywordSize];
    char PluginMark[kEntryFieldSize];
    char OsFilter[kEntryKeywordSize];
    char RunOnceSpec[kEntryFieldSize];
    char EntryPoints[kEntryFieldSize];
};

// Splits `text` into the fields of `entry`: 9 fields when `hasBaseDir` is set
// ([NORMAL]), else 8 with BaseDir left empty. Returns 1 when the line held
// all its separators and every field fits its buffer; 0 otherwise, and then
// every field of `entry` is empty (a line is refused whole, never cut into a
// different value). `text` is not changed.
int ParseEntryLine(const char* text, int hasBaseDir, EntryLine* entry);

#endif
