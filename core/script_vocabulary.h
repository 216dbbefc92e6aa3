// The words of the install script, in one place: its sections, the keys of
// each, the columns of an entry line, and the keywords that columns and
// keys hold. The setup program and the package tool both read them from
// here, so the two cannot drift apart.
//
//   [INSTALL PROJECT]  NAME, MAIN DIRECTORY, SUB DIRECTORY, MAJOR VERSION, ...
//   [INFO]             SIZE (and DISKS, which nothing reads)
//   [NORMAL]           FILES, "1" .. FILES: entry lines with a BaseDir column
//   [WINDOWS] [SYSTEM] [LW]
//                      FILES, "1" .. FILES: entry lines without it
//   [UNINSTALL]        NAME
//
// Section and key names are compared as the profile reads compare them
// (ASCII case ignored, blanks around them dropped); keywords inside values
// (macros, flags, startup kinds, the plug-in mark, OS filters) are
// compared exactly, case included.
//
// Every table is an array with its count, so that a checker can list the
// whole vocabulary. Portable core: no platform headers, no allocation.
#ifndef TARNVALE_CORE_SCRIPT_VOCABULARY_H
#define TARNVALE_CORE_SCRIPT_VOCABULARY_H

#include <stddef.h>

// --- Names ---------------------------------------------------------------

const char kProjectSection[] = "INSTALL PROJECT";
const char kInfoSection[] = "INFO";
const char kUninstallSection[] = "UNINSTALL";

// NAME: the product; in [UNINSTALL] the uninstaller's entry.
const char kNameKey[] = "NAME";
const char kMainDirectoryKey[] = "MAIN DIRECTORY";  // a directory macro or a path
const char kSubDirectoryKey[] = "SUB DIRECTORY";    // appended to it as written
const char kMajorVersionKey[] = "MAJOR VERSION";    // the product key's "Version"
const char kMinorVersionKey[] = "MINOR VERSION";
const char kProtectionKey[] = "UNINSTALLATION PROTECTION";  // not 0: an uninstall password
const char kRebootKey[] = "REBOOT";                 // not 0: offer a restart
const char kLicenseFileKey[] = "LICENSE FILE";      // the licence page's text; empty: no page
const char kSizeKey[] = "SIZE";                     // bytes the install decodes
const char kFilesKey[] = "FILES";                   // a file section's lines: "1" to FILES

// --- Buffer widths -------------------------------------------------------
// The buffer each value is read into, terminator included: a value is seen
// only up to one character less.

enum {
    kScriptTextSize = 260,    // text keys of [INSTALL PROJECT]; entry lines but [SYSTEM]'s
    kSystemLineSize = 80,     // [SYSTEM] entry lines: 79 characters
    kInfoSizeTextSize = 50,   // [INFO] SIZE, before it is converted
    kUninstallNameSize = 80   // [UNINSTALL] NAME where the uninstaller is unpacked
};

// --- Sections ------------------------------------------------------------

enum ScriptSectionKind {
    kSectionNormal,     // [NORMAL]: below each line's BaseDir
    kSectionWindows,    // [WINDOWS]: the Windows directory
    kSectionSystem,     // [SYSTEM]: the system directory
    kSectionLonWorks,   // [LW]: the LonWorks platform's directory
    kSectionProject,    // [INSTALL PROJECT]
    kSectionInfo,       // [INFO]
    kSectionUninstall   // [UNINSTALL]
};

struct ScriptSection {
    const char* name;        // as scripts write it, without the brackets
    ScriptSectionKind kind;
    int hasBaseDir;          // entry lines begin with the BaseDir column
    int lineSize;            // buffer of one entry line; 0: no entry lines
};

// The file sections come first, in the order of both install passes
// ([NORMAL] [WINDOWS] [SYSTEM] [LW]); the sections of named keys follow.
enum { kFileSectionCount = 4, kScriptSectionCount = 7 };
extern const ScriptSection kScriptSections[kScriptSectionCount];

// The section called `name` (ASCII case ignored, blanks around it
// dropped, as ProfileNamesEqual compares), or null.
const ScriptSection* FindScriptSection(const char* name);

// The row of `kind`.
const ScriptSection& ScriptSectionOf(ScriptSectionKind kind);

// The line number an entry-line key stands for: "1" to "2147483647",
// written without leading zeros; 0 for any other key.
int EntryLineNumber(const char* key);

// --- Keys ----------------------------------------------------------------

enum ScriptKeyType {
    kKeyText,     // read as text into `size` bytes
    kKeyNumber,   // read with the integer read (29 characters, core/profile_reader.h)
    kKeyDecimal,  // read as text into `size` bytes, then converted (ScriptDecimal)
    kKeyUnread    // carried by scripts; the setup program never reads it
};

struct ScriptKey {
    ScriptSectionKind section;
    const char* name;
    ScriptKeyType type;
    int size;  // buffer of the read; for [UNINSTALL] NAME the smaller of its two
};

enum { kScriptKeyCount = 17 };
extern const ScriptKey kScriptKeys[kScriptKeyCount];

// The key called `name` in `section`, compared as section names are, or
// null. Entry-line keys ("1", "2", ...) are not in the table: see
// EntryLineNumber.
const ScriptKey* FindScriptKey(ScriptSectionKind section, const char* name);

// --- Entry-line columns --------------------------------------------------
// [NORMAL] lines have all nine columns; the other file sections' lines
// start at the second (SubDir). The last column takes the rest of the
// line, commas included.

// The columns in line order: indexes into kEntryColumns.
enum EntryColumnIndex {
    kColumnBaseDir,
    kColumnSubDir,
    kColumnFileName,
    kColumnShortcutSpec,
    kColumnStartupMode,
    kColumnPluginMark,
    kColumnOsFilter,
    kColumnRunOnceSpec,
    kColumnEntryPoints
};

// Every comma of a line separates two columns (the last column excepted).
const char kEntryFieldSeparator = ',';

struct EntryColumn {
    const char* name;
    size_t offset;  // of its buffer in EntryLine (core/entry_line.h)
    size_t size;    // that buffer's size: the column holds size - 1 characters
};

enum { kEntryColumnCount = 9 };
extern const EntryColumn kEntryColumns[kEntryColumnCount];

// The first column of `section`'s lines: 0 with BaseDir, else 1.
int FirstEntryColumn(const ScriptSection& section);

// --- Directory macros ----------------------------------------------------

enum DirMacro {
    kNotAMacro = 0,
    kMacroProgramFiles,
    kMacroSystem,
    kMacroLonWorks,
    kMacroWindows,
    kMacroDefaultDirectory
};

// Every macro begins with it: a text that does is meant as a macro, and
// one that is not in the table below is a mistake, not a folder name.
const char kDirMacroLead = '*';

// Where a macro is understood.
enum MacroUse {
    kUseDirectory = 1,  // MAIN DIRECTORY and the "@" form of RunOnceSpec
    kUseBaseDir = 2     // the BaseDir column of [NORMAL]
};

struct DirMacroWord {
    const char* text;
    DirMacro macro;
    int uses;  // MacroUse bits
};

enum { kDirMacroCount = 5 };
extern const DirMacroWord kDirMacros[kDirMacroCount];

// Which macro `text` is where `use` (one MacroUse) reads it: the whole text,
// case included. kNotAMacro otherwise, and for a macro of the other use.
DirMacro DirMacroOf(const char* text, MacroUse use);

// --- ShortcutSpec flags --------------------------------------------------

enum {
    ShortcutFlagProgramGroup = 1,  // a shortcut in the program-group folder
    ShortcutFlagDesktop = 2        // a shortcut on the desktop
};

// The shortcut's name ends here when flags follow: name ":" flags.
const char kShortcutNameEnd = ':';

struct ShortcutFlagWord {
    const char* text;  // found anywhere in the column
    int flag;
};

enum { kShortcutFlagCount = 2 };
extern const ShortcutFlagWord kShortcutFlags[kShortcutFlagCount];

// --- StartupMode ---------------------------------------------------------

enum StartupKind {
    kStartupNone = 0,  // anything else, the empty text included
    kStartupMenu,      // a shortcut in the common Startup folder
    kStartupRegistry   // a value in the machine's Run key
};

struct StartupWord {
    const char* text;
    StartupKind kind;
};

enum { kStartupKindCount = 2 };
extern const StartupWord kStartupKinds[kStartupKindCount];

// The kind `text` names, exactly, or kStartupNone.
StartupKind StartupKindOf(const char* text);

// --- PluginMark ----------------------------------------------------------

const char kPluginMark[] = "PLUGIN";

// 1 when `text` is the plug-in mark, exactly.
int IsPluginMark(const char* text);

// --- OsFilter ------------------------------------------------------------

struct OsFilterWord {
    const char* text;
    int onNt;   // the line is carried out on the NT family
    int on95;   // ... and on the Windows 95 family
};

enum { kOsFilterCount = 3 };
extern const OsFilterWord kOsFilters[kOsFilterCount];

// 1 when a line with `filter` is carried out on a system of that family
// (`isWinNT` 1 for NT, 0 for 95): a filter of the table, exactly; every
// other text, other letter cases included, matches no system.
int MatchesOsFilter(const char* filter, int isWinNT);

// --- RunOnceSpec ---------------------------------------------------------
// Characters 1 to 8 are a tag that is not examined (scripts write "RUN
// ONCE"); the 9th character chooses the form.

enum RunOnceKind {
    kRunOnceNone = 0,   // nothing is run
    kRunOnceNoArgs,     // exactly the tag: run with no arguments
    kRunOnceArgs,       // run with the text up to `end`
    kRunOnceMacroFile   // run with a macro's directory, "\\" and the file after `end`
};

enum { kRunOnceTagLength = 8 };

// What scripts write as the tag (kRunOnceTagLength characters).
const char kRunOnceTag[] = "RUN ONCE";

struct RunOnceForm {
    char mark;  // the 9th character
    RunOnceKind kind;
    char end;   // ends the first part
};

enum { kRunOnceFormCount = 2 };
extern const RunOnceForm kRunOnceForms[kRunOnceFormCount];

// --- EntryPoints -----------------------------------------------------------

// Install export, this separator, uninstall export: "DllRegisterServer/
// DllUnregisterServer". Only the install export is called.
const char kEntryPointSeparator = '/';

#endif
