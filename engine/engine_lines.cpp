// The section table and the preparation of one entry line, shared by the
// file pass and the activation pass.
#include "engine/install_engine.h"

#include <string.h>

#include "core/bounded_text.h"
#include "core/entry_rules.h"
#include "engine/install_messages.h"
#include "system/target_dirs_win32.h"

namespace {

}  // namespace

int SectionFileCount(const SectionInfo& section) {
    return (int)GetPrivateProfileIntA(section.name, kFilesKey, 0, ScriptPath);
}

int SectionBase(const SectionInfo& section, const EntryLine& entry, char* out, size_t size) {
    switch (section.kind) {
    case kSectionNormal:
        return CopyText(out, size,
                         DirMacroOf(entry.BaseDir, kUseBaseDir) == kMacroDefaultDirectory
                             ? InstallDir
                             : entry.BaseDir);
    case kSectionWindows:
        return CopyText(out, size, WindowsDir);
    case kSectionSystem:
        return CopyText(out, size, SystemDir);
    case kSectionLonWorks:
        return ReadLonWorksPath(out, size);
    default:  // the sections of named keys have no lines
        break;
    }
    out[0] = '\0';
    return 0;
}

LineState PrepareLine(InstallRun* run, const SectionInfo& section, int number,
                      PreparedLine* line, int report) {
    char text[kScriptTextSize];
    char key[kDecimalTextSize];
    FormatDecimal(key, number);
    GetPrivateProfileStringA(section.name, key, "", text, (DWORD)section.lineSize, ScriptPath);
    if (text[0] == '\0') return kLineSkipped;
    if (!ParseEntryLine(text, section.hasBaseDir, &line->entry)) return kLineSkipped;
    if (!MatchesOsFilter(line->entry.OsFilter)) return kLineSkipped;

    char base[kPathSize];
    if (!SectionBase(section, line->entry, base, sizeof(base))) {
        // Only [LW] can have no base: without the LonWorks platform's path
        // the file would land below the root of the current drive.
        if (report) AddLogLine3(run, "The LonWorks path is not set(", line->entry.FileName, ")");
        return kLineRefused;
    }
    if (!FormSectionDir(line->sectionDir, sizeof(line->sectionDir), base, line->entry.SubDir) ||
        !FormTargetPath(line->targetPath, sizeof(line->targetPath), line->sectionDir,
                        line->entry.FileName)) {
        if (report) AddLogLine3(run, "The target path is too long(", line->entry.FileName, ")");
        return kLineRefused;
    }
    return kLineReady;
}

int FormSourcePath(char* out, size_t size, const char* fileName) {
    size_t length = strlen(WorkspaceDir);
    const char* separator = length > 0 && WorkspaceDir[length - 1] == '\\' ? "" : "\\";
    const char* parts[3] = {WorkspaceDir, separator, fileName};
    return JoinParts(out, size, parts, 3);
}

void AddLogLine(InstallRun* run, const char* text) {
    SendMessageA(run->page, WM_INSTALL_LINE, 0, (LPARAM)text);
}

void AddLogLine3(InstallRun* run, const char* before, const char* subject, const char* after) {
    char line[600];
    const char* parts[3] = {before, subject, after};
    if (JoinParts(line, sizeof(line), parts, 3)) AddLogLine(run, line);
}

int InstallCancelled() {
    return WasUserCancelled();
}

int ForEachLine(InstallRun* run, int report, LineAction action) {
    PreparedLine line;
    for (int s = 0; s < kFileSectionCount; ++s) {
        const SectionInfo& section = kScriptSections[s];
        int count = SectionFileCount(section);
        for (int number = 1; number <= count; ++number) {
            if (InstallCancelled()) return 0;
            if (PrepareLine(run, section, number, &line, report) == kLineReady)
                action(run, section, &line);
        }
    }
    return 1;
}
