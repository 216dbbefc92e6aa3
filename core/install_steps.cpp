// The steps of the install worked out from texts: entry lines, shortcuts,
// one-time programs, and the texts written to links and the registry.
#include "core/install_steps.h"

#include <string.h>

#include "core/bounded_text.h"

namespace {

const char* QuoteFor(const char* program) { return strchr(program, ' ') ? "\"" : ""; }

size_t PathLimit(size_t size) { return size < (size_t)kRulePathSize ? size : (size_t)kRulePathSize; }

}  // namespace

int FormProgramPath(char* out, size_t size, const char* program) {
    const char* parts[3] = {QuoteFor(program), program, QuoteFor(program)};
    return JoinParts(out, size, parts, 3);
}

int FormCommandLine(const char* program, const char* tail, char* out, size_t size) {
    const char* parts[5] = {QuoteFor(program), program, QuoteFor(program), " ", tail};
    return JoinParts(out, size, parts, 5);
}

int FormLinkPath(char* out, size_t size, const char* folder, const char* name) {
    const size_t limit = PathLimit(size);
    if (!JoinText(out, limit, folder, "\\", name)) return 0;
    char lower[kRulePathSize];
    CopyText(lower, sizeof(lower), out);
    for (char* c = lower; *c; ++c)
        if (*c >= 'A' && *c <= 'Z') *c = (char)(*c - 'A' + 'a');
    if (strstr(lower, ".lnk") || AppendText(out, limit, ".lnk")) return 1;
    out[0] = '\0';
    return 0;
}

int FormUninstallKey(char* out, size_t size, const char* name) {
    return JoinText(out, size, kUninstallKeyBase, name, NULL);
}

int FormUninstallString(char* out, size_t size, const char* installDir,
                        const char* uninstaller) {
    const char* parts[6] = {"\"", installDir, "\\", uninstaller, "\" ", installDir};
    return JoinParts(out, size, parts, 6);
}

int FormSectionBase(const ScriptSection& section, const EntryLine& entry,
                    const LineFolders& folders, char* out, size_t size) {
    const char* base = NULL;
    switch (section.kind) {
    case kSectionNormal:
        base = DirMacroOf(entry.BaseDir, kUseBaseDir) == kMacroDefaultDirectory ? folders.installDir
                                                                                 : entry.BaseDir;
        break;
    case kSectionWindows:
        base = folders.windowsDir;
        break;
    case kSectionSystem:
        base = folders.systemDir;
        break;
    case kSectionLonWorks:
        // Without the platform's path the file would land below the root
        // of the current drive.
        if (folders.lonWorksPath[0] != '\0') base = folders.lonWorksPath;
        break;
    default:  // the sections of named keys have no lines
        break;
    }
    if (base != NULL && CopyText(out, size, base)) return 1;
    if (size > 0) out[0] = '\0';
    return 0;
}

LineVerdict PlanEntryLine(const ScriptSection& section, const char* text, int isWinNT,
                          const LineFolders& folders, LineSteps* steps) {
    steps->sectionDir[0] = steps->targetPath[0] = '\0';
    const int parsed = ParseEntryLine(text, section.hasBaseDir, &steps->entry);
    if (text[0] == '\0') return kLineEmpty;
    if (!parsed) return kLineUnparsed;
    const EntryLine& entry = steps->entry;
    if (!MatchesOsFilter(entry.OsFilter, isWinNT)) return kLineFiltered;
    char base[kRulePathSize];
    if (!FormSectionBase(section, entry, folders, base, sizeof(base))) return kLineNoLonWorks;
    if (!FormSectionDir(steps->sectionDir, sizeof(steps->sectionDir), base, entry.SubDir) ||
        !FormTargetPath(steps->targetPath, sizeof(steps->targetPath), steps->sectionDir,
                        entry.FileName)) {
        steps->sectionDir[0] = '\0';
        return kLineTooLong;
    }
    return kLineCarried;
}

const char* RefusalText(LineVerdict verdict) {
    if (verdict == kLineNoLonWorks) return "The LonWorks path is not set(";
    if (verdict == kLineTooLong) return "The target path is too long(";
    return NULL;
}

ShortcutVerdict PlanShortcuts(const ScriptSection& section, const LineSteps& steps,
                              const LineFolders& folders, ShortcutSteps* out) {
    const EntryLine& entry = steps.entry;
    out->workDir[0] = out->startupDir[0] = '\0';
    out->startup = kStartupNone;
    out->startupName = entry.FileName;
    out->flags = ParseShortcutSpec(entry.ShortcutSpec, out->name, sizeof(out->name));
    if (out->flags < 0) {
        out->flags = 0;
        return kShortcutsNone;
    }
    char base[kRulePathSize];
    if (!FormSectionBase(section, entry, folders, base, sizeof(base)) ||
        !FormWorkDir(out->workDir, sizeof(out->workDir), base, entry.SubDir))
        return kShortcutsTooLong;
    out->startup = StartupKindOf(entry.StartupMode);
    out->startupName = StartupName(out->name, entry.FileName);
    if (section.kind == kSectionNormal)
        FormWorkDir(out->startupDir, sizeof(out->startupDir), folders.installDir, entry.SubDir);
    else
        CopyText(out->startupDir, sizeof(out->startupDir), out->workDir);
    return kShortcutsReady;
}

int RunOnceArguments(const RunOnceRequest& request, const char* macroDir, char* out,
                     size_t size) {
    int run = 0;
    switch (request.Kind) {
    case kRunOnceNoArgs:
        run = CopyText(out, size, "");
        break;
    case kRunOnceArgs:
        run = CopyText(out, size, request.Args);
        break;
    case kRunOnceMacroFile:  // an empty or unknown macro runs nothing
        run = macroDir != NULL && FormTargetPath(out, size, macroDir, request.FileName);
        break;
    case kRunOnceNone:
        break;
    }
    if (!run && size > 0) out[0] = '\0';
    return run;
}
