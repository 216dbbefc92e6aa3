// What the fields of an entry line ask for: the shortcut flags and name,
// the start-up name, the one-time program, the library entry point, the OS
// filter, and the paths that a line's section directory gives.
//
//   ShortcutSpec   name[":" flags]        flags "*PG*" and/or "*DT*", anywhere
//   RunOnceSpec    TAG8                   run, no arguments
//                  TAG8 "#" args ["%" …]  run with `args`
//                  TAG8 "@" macro ["&" file]
//   EntryPoints    install "/" uninstall  only the install export is called
//
// The flags, marks and filters come from core/script_vocabulary.h and are
// compared exactly, case included. Portable: no platform headers; every
// output is a caller's buffer with its size, and a text that does not fit
// is refused, never cut.
#ifndef TARNVALE_CORE_ENTRY_RULES_H
#define TARNVALE_CORE_ENTRY_RULES_H

#include <stddef.h>

#include "core/script_vocabulary.h"

enum {
    kRulePathSize = 260  // MAX_PATH: at most 259 characters and the terminator
};

// --- ShortcutSpec -------------------------------------------------------

// Sets the shortcut flags (kShortcutFlags) of `field` and writes the shortcut name into `name`
// (`size` bytes). Returns the flags (0, 1, 2 or 3), or -1 when the name does
// not fit (then `name` is empty).
//   - No flag: the name is the whole field.
//   - A flag and a ":": the name is the text before the first ":".
//   - A flag and no ":": the name is the text before the first flag, so
//     "Tools*DT*" names the shortcut "Tools" and "*DT*" gives the empty name.
//     The whole field would carry the "*" of the flag into the shortcut's
//     file name, which Windows refuses; the text before the flag is what the
//     author meant to be cut off at the missing colon.
int ParseShortcutSpec(const char* field, char* name, size_t size);

// The name of the "Menu" shortcut and of the "Registry" value: `shortcutName`
// (the name from ParseShortcutSpec) when it is not empty, else `fileName`.
const char* StartupName(const char* shortcutName, const char* fileName);

// --- RunOnceSpec --------------------------------------------------------

struct RunOnceRequest {
    RunOnceKind Kind;
    char Args[kRulePathSize];      // kRunOnceArgs: from position 10 up to the first "%"
    char Macro[kRulePathSize];     // kRunOnceMacroFile: from position 10 up to the first "&"
    char FileName[kRulePathSize];  // kRunOnceMacroFile: after that "&"; empty without one
};

// Reads `field` (positions count from 1; characters 1 to 8 are a tag that is
// not examined; the forms are kRunOnceForms) into `request`, every text of
// which is set afresh:
//   shorter than 8            kRunOnceNone
//   exactly 8                 kRunOnceNoArgs
//   9th "#"                   kRunOnceArgs, Args = 10.. up to the first "%" or the end
//   9th "@"                   kRunOnceMacroFile, Macro = 10.. up to the first "&" or
//                             the end, FileName = the rest after that "&"
//   any other 9th character   kRunOnceNone
// Whether the macro is known (and not empty) is for the caller to decide
// with ResolveDirMacro. A part of 260 characters or more gives kRunOnceNone.
// Returns request->Kind.
RunOnceKind ParseRunOnceSpec(const char* field, RunOnceRequest* request);

// --- EntryPoints --------------------------------------------------------

// Writes the export to call into `name` (`size` bytes): the text before the
// first "/". Returns 1 when there is an export to call; 0, with `name`
// empty, when the field is empty, holds no "/", has nothing before it, or
// the name does not fit.
// A field without "/" calls nothing: a [SYSTEM] line read only up to its
// 79th character can lose the slash and the end of the install name, and a
// cut name could be another export of the library.
int EntryExportName(const char* entryPoints, char* name, size_t size);

// The uninstall export: the text after the first "/" of `entryPoints`.
// Returns 1, or 0 with `name` empty when there is none or it does not fit.
int EntryUninstallName(const char* entryPoints, char* name, size_t size);

// --- [INFO] SIZE ---------------------------------------------------------

// The decimal number that begins `text`: leading blanks and one sign
// allowed, conversion stops at the first other character, no digits give
// 0. A value beyond the 32-bit range gives the nearest end of the range.
int ScriptDecimal(const char* text);

// --- Paths of a line ----------------------------------------------------
// Each writes at most `size` bytes, and at most kRulePathSize whatever
// `size` says. A result of 260 characters or more is refused: the function
// returns 0 and leaves `out` empty. `out` may be the same buffer as the
// first text, but not as the second.

// SectionDir: `base`, then "\\" and `subDir` only when `subDir` is not empty.
int FormSectionDir(char* out, size_t size, const char* base, const char* subDir);

// TargetPath (and the like): `dir` + "\\" + `fileName`.
int FormTargetPath(char* out, size_t size, const char* dir, const char* fileName);

// ShortcutWorkDir: `base` + "\\" + `subDir`, with the backslash even when
// `subDir` is empty (then the result ends in "\\").
int FormWorkDir(char* out, size_t size, const char* base, const char* subDir);

#endif
