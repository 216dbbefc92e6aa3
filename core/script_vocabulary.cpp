// The script's vocabulary: one row per word, and the lookups over them.
#include "core/script_vocabulary.h"

#include <stddef.h>
#include <string.h>

#include "core/entry_line.h"
#include "core/profile_reader.h"

// The file sections first, in the order of both passes; each line goes
// below the section's directory (engine/engine_lines.cpp, SectionBase).
//   name               kind               BaseDir  line buffer
const ScriptSection kScriptSections[kScriptSectionCount] = {
    {"NORMAL",          kSectionNormal,    1,       kScriptTextSize},  // BaseDir
    {"WINDOWS",         kSectionWindows,   0,       kScriptTextSize},  // the Windows directory
    {"SYSTEM",          kSectionSystem,    0,       kSystemLineSize},  // the system directory
    {"LW",              kSectionLonWorks,  0,       kScriptTextSize},  // the LonWorks Path
    {kProjectSection,   kSectionProject,   0,       0},
    {kInfoSection,      kSectionInfo,      0,       0},
    {kUninstallSection, kSectionUninstall, 0,       0},
};

//   section            key                       type         buffer
const ScriptKey kScriptKeys[kScriptKeyCount] = {
    {kSectionProject,   kNameKey,                 kKeyText,    kScriptTextSize},
    {kSectionProject,   kMainDirectoryKey,        kKeyText,    kScriptTextSize},  // macro or path
    {kSectionProject,   kSubDirectoryKey,         kKeyText,    kScriptTextSize},
    {kSectionProject,   kMajorVersionKey,         kKeyNumber,  kProfileIntBuffer},
    {kSectionProject,   kMinorVersionKey,         kKeyNumber,  kProfileIntBuffer},
    {kSectionProject,   kProtectionKey,           kKeyNumber,  kProfileIntBuffer},
    {kSectionProject,   kRebootKey,               kKeyNumber,  kProfileIntBuffer},
    {kSectionProject,   kLicenseFileKey,          kKeyText,    kScriptTextSize},
    {kSectionProject,   "DESCRIPTION",            kKeyUnread,  0},
    {kSectionProject,   "UNINSTALLED_AND_REBOOT", kKeyUnread,  0},
    {kSectionInfo,      kSizeKey,                 kKeyDecimal, kInfoSizeTextSize},
    {kSectionInfo,      "DISKS",                  kKeyUnread,  0},
    {kSectionNormal,    kFilesKey,                kKeyNumber,  kProfileIntBuffer},  // lines 1..N
    {kSectionWindows,   kFilesKey,                kKeyNumber,  kProfileIntBuffer},
    {kSectionSystem,    kFilesKey,                kKeyNumber,  kProfileIntBuffer},
    {kSectionLonWorks,  kFilesKey,                kKeyNumber,  kProfileIntBuffer},
    {kSectionUninstall, kNameKey,                 kKeyText,    kUninstallNameSize},  // 260 later
};

// In the order of EntryColumnIndex.
#define COLUMN(field) {#field, offsetof(EntryLine, field), sizeof(EntryLine::field)}
const EntryColumn kEntryColumns[kEntryColumnCount] = {
    COLUMN(BaseDir),       // [NORMAL] only: "*Default directory" or a literal directory
    COLUMN(SubDir),        // below the section's directory; empty: the directory itself
    COLUMN(FileName),      // the payload entry and the installed file
    COLUMN(ShortcutSpec),  // name[":" flags]
    COLUMN(StartupMode),   // a startup kind
    COLUMN(PluginMark),    // the plug-in mark
    COLUMN(OsFilter),      // an OS filter
    COLUMN(RunOnceSpec),   // tag, then a run-once form
    COLUMN(EntryPoints),   // install "/" uninstall; takes the rest of the line
};
#undef COLUMN

//   text                   macro                   understood in
const DirMacroWord kDirMacros[kDirMacroCount] = {
    {"*Program files",      kMacroProgramFiles,     kUseDirectory},  // "ProgramFilesDir"
    {"*System",             kMacroSystem,           kUseDirectory},  // the system directory
    {"*LonWorks directory", kMacroLonWorks,         kUseDirectory},  // "LonWorks Path"
    {"*Windows",            kMacroWindows,          kUseDirectory},  // the Windows directory
    {"*Default directory",  kMacroDefaultDirectory, kUseBaseDir},    // InstallDir as chosen
};

const ShortcutFlagWord kShortcutFlags[kShortcutFlagCount] = {
    {"*PG*", ShortcutFlagProgramGroup},
    {"*DT*", ShortcutFlagDesktop},
};

const StartupWord kStartupKinds[kStartupKindCount] = {
    {"Menu", kStartupMenu},
    {"Registry", kStartupRegistry},
};

//   text     NT 95
const OsFilterWord kOsFilters[kOsFilterCount] = {
    {"",       1, 1},  // every system
    {"WIN-NT", 1, 0},
    {"WIN-95", 0, 1},
};

static_assert(sizeof(kRunOnceTag) - 1 == kRunOnceTagLength, "the tag scripts write fills the tag");

const RunOnceForm kRunOnceForms[kRunOnceFormCount] = {
    {'#', kRunOnceArgs, '%'},       // "#" arguments ["%" ...]: the text after "%" is not used
    {'@', kRunOnceMacroFile, '&'},  // "@" macro ["&" file]
};

const ScriptSection* FindScriptSection(const char* name) {
    for (int i = 0; i < kScriptSectionCount; ++i)
        if (ProfileNamesEqual(kScriptSections[i].name, name)) return &kScriptSections[i];
    return NULL;
}

const ScriptSection& ScriptSectionOf(ScriptSectionKind kind) {
    int i = 0;
    while (i + 1 < kScriptSectionCount && kScriptSections[i].kind != kind) ++i;
    return kScriptSections[i];
}

int EntryLineNumber(const char* key) {
    if (key[0] < '1' || key[0] > '9' || strlen(key) > 10) return 0;
    long long value = 0;
    for (const char* at = key; *at; ++at) {
        if (*at < '0' || *at > '9') return 0;
        value = value * 10 + (*at - '0');
    }
    return value <= 2147483647 ? (int)value : 0;
}

const ScriptKey* FindScriptKey(ScriptSectionKind section, const char* name) {
    for (int i = 0; i < kScriptKeyCount; ++i)
        if (kScriptKeys[i].section == section && ProfileNamesEqual(kScriptKeys[i].name, name))
            return &kScriptKeys[i];
    return NULL;
}

int FirstEntryColumn(const ScriptSection& section) { return section.hasBaseDir ? 0 : 1; }

DirMacro DirMacroOf(const char* text, MacroUse use) {
    for (int i = 0; i < kDirMacroCount; ++i)
        if ((kDirMacros[i].uses & use) && strcmp(text, kDirMacros[i].text) == 0)
            return kDirMacros[i].macro;
    return kNotAMacro;
}

StartupKind StartupKindOf(const char* text) {
    for (int i = 0; i < kStartupKindCount; ++i)
        if (strcmp(text, kStartupKinds[i].text) == 0) return kStartupKinds[i].kind;
    return kStartupNone;
}

int IsPluginMark(const char* text) { return strcmp(text, kPluginMark) == 0; }

int MatchesOsFilter(const char* filter, int isWinNT) {
    for (int i = 0; i < kOsFilterCount; ++i)
        if (strcmp(filter, kOsFilters[i].text) == 0)
            return isWinNT ? kOsFilters[i].onNt : kOsFilters[i].on95;
    return 0;
}
