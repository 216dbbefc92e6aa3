// What the install does, worked out from the script's texts and a set of
// folders: whether an entry line is carried out and where its file goes,
// its shortcuts and start-up entry, the argument of its one-time program,
// and the texts that the install writes (command lines, link paths, the Run
// value, the uninstall registration). The install engine carries out what
// these give on the running system; `tarnvale plan` prints them for a
// platform's typical folders, so the two cannot disagree.
//
// Portable core: no platform headers; every output is a caller's buffer,
// and a text that does not fit is refused whole, never cut.
#ifndef TARNVALE_CORE_INSTALL_STEPS_H
#define TARNVALE_CORE_INSTALL_STEPS_H

#include <stddef.h>

#include "core/entry_line.h"
#include "core/entry_rules.h"
#include "core/script_vocabulary.h"

// --- Names the install writes --------------------------------------------

// Start-up programs of the machine (HKEY_LOCAL_MACHINE): one value each.
const char kRunKey[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
// The uninstall registration (HKEY_LOCAL_MACHINE): this, then NAME.
const char kUninstallKeyBase[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\";
const char kDisplayNameValue[] = "DisplayName";
const char kUninstallStringValue[] = "UninstallString";
// The copy of the script beside the uninstaller.
const char kScriptCopyName[] = "Install.ini";
// What a plug-in program is started with.
const char kRegisterPluginOption[] = "/regplugin";
const char kDeregisterPluginOption[] = "/deregplugin";

enum {
    // A command line for WinExec: a path of up to 259 characters, its
    // quotes, a blank and an argument text of a script line, with room.
    kCommandLineSize = 1024
};

// --- Texts ---------------------------------------------------------------

// `program`, in quotes when it holds a blank (Windows would otherwise start
// "C:\Program.exe" for "C:\Program Files\x.exe"): the data of a Run value.
int FormProgramPath(char* out, size_t size, const char* program);

// The command line of a started program: FormProgramPath, one blank, then
// `tail` unchanged (the blank is written also when `tail` is empty).
// Returns 1, or 0 with `out` empty when the line does not fit.
int FormCommandLine(const char* program, const char* tail, char* out, size_t size);

// A shortcut's file: `folder`, "\\", `name`, and ".lnk" unless a lower-cased
// copy of that path holds ".lnk" anywhere (a folder "tools.lnkdir" too).
// At most kRulePathSize bytes.
int FormLinkPath(char* out, size_t size, const char* folder, const char* name);

// kUninstallKeyBase + `name`.
int FormUninstallKey(char* out, size_t size, const char* name);

// "UninstallString": the uninstaller's path in quotes, a blank and the
// installation directory: "<installDir>\<uninstaller>" <installDir>.
int FormUninstallString(char* out, size_t size, const char* installDir,
                        const char* uninstaller);

// --- One entry line --------------------------------------------------------

// The folders that a line's section directory comes from.
struct LineFolders {
    const char* installDir;    // InstallDir as chosen in the wizard
    const char* windowsDir;
    const char* systemDir;
    const char* lonWorksPath;  // "LonWorks Path"; empty when there is none
};

enum LineVerdict {
    kLineEmpty,       // passed over in silence: the key is missing or empty,
    kLineUnparsed,    //   a separator is missing or a column does not fit,
    kLineFiltered,    //   or OsFilter leaves this OS family out
    kLineNoLonWorks,  // refused with a log line: [LW] without "LonWorks Path"
    kLineTooLong,     // refused with a log line: a path would pass 259 characters
    kLineCarried      // carried out by both passes
};

// A line as both passes see it.
struct LineSteps {
    EntryLine entry;
    char sectionDir[kRulePathSize];  // SectionDir
    char targetPath[kRulePathSize];  // TargetPath
};

// The base of SectionDir and of the shortcuts' working directory: [NORMAL]
// InstallDir when BaseDir is "*Default directory", else BaseDir as written;
// [WINDOWS], [SYSTEM] and [LW] their folder. Returns 0 with `out` empty
// when there is none ([LW] without a LonWorks path) or it does not fit.
int FormSectionBase(const ScriptSection& section, const EntryLine& entry,
                    const LineFolders& folders, char* out, size_t size);

// `text`, a line of `section` as read with the section's width, on a
// system of the NT family (`isWinNT` 1) or the 95 family (0): parsed,
// filtered, and given SectionDir and TargetPath. `steps->entry` holds the
// fields from kLineFiltered on; the paths only for kLineCarried.
LineVerdict PlanEntryLine(const ScriptSection& section, const char* text, int isWinNT,
                          const LineFolders& folders, LineSteps* steps);

// The start of a refused line's log line, which goes on with FileName and
// ")": "The LonWorks path is not set(" or "The target path is too long(".
// Null for a line that is not refused.
const char* RefusalText(LineVerdict verdict);

// --- Shortcuts and the start-up entry of a carried line ---------------------

enum ShortcutVerdict {
    kShortcutsNone,     // the shortcut name does not fit: nothing is made
    kShortcutsTooLong,  // no section base or ShortcutWorkDir too long: nothing is
                        // made, and the line is logged as the refusal kLineTooLong
    kShortcutsReady
};

struct ShortcutSteps {
    int flags;                       // ShortcutFlagProgramGroup, ShortcutFlagDesktop
    char name[kRulePathSize];        // of the program-group and desktop shortcuts
    char workDir[kRulePathSize];     // ShortcutWorkDir: base + "\\" + SubDir
    StartupKind startup;
    const char* startupName;         // the "Menu" shortcut's and the Run value's name
    // The "Menu" shortcut's working directory: for [NORMAL] InstallDir +
    // "\\" + SubDir whatever BaseDir says, else workDir. Empty when it does
    // not fit: that shortcut is then refused as kShortcutsTooLong is.
    char startupDir[kRulePathSize];
};

// The shortcuts of `steps`' line; `folders` as they are at this step (the
// engine reads the LonWorks path once more for it).
ShortcutVerdict PlanShortcuts(const ScriptSection& section, const LineSteps& steps,
                              const LineFolders& folders, ShortcutSteps* out);

// The argument text of a one-time program (ParseRunOnceSpec's `request`):
// empty for kRunOnceNoArgs, the arguments for kRunOnceArgs, and for
// kRunOnceMacroFile `macroDir` (the directory its macro names, null when it
// names none) + "\\" + the file name. Returns 1 when the program is run, 0
// (with `out` empty) when nothing is.
int RunOnceArguments(const RunOnceRequest& request, const char* macroDir, char* out,
                     size_t size);

#endif
