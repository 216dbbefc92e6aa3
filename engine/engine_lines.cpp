// The section table and the preparation of one entry line, shared by the
// file pass and the activation pass.
#include "engine/install_engine.h"

#include <string.h>

#include "core/bounded_text.h"
#include "engine/install_messages.h"
#include "system/target_dirs_win32.h"
#include "system/workspace.h"

int SectionFileCount(const SectionInfo& section) {
    return (int)GetPrivateProfileIntA(section.name, kFilesKey, 0, ScriptPath);
}

void CurrentFolders(const SectionInfo& section, LineFolders* folders, char* lonWorks) {
    lonWorks[0] = '\0';
    if (section.kind == kSectionLonWorks) ReadLonWorksPath(lonWorks, kPathSize);
    folders->installDir = InstallDir;
    folders->windowsDir = WindowsDir;
    folders->systemDir = SystemDir;
    folders->lonWorksPath = lonWorks;
}

LineState PrepareLine(InstallRun* run, const SectionInfo& section, int number,
                      PreparedLine* line, int report) {
    char text[kScriptTextSize];
    char key[kDecimalTextSize];
    FormatDecimal(key, number);
    GetPrivateProfileStringA(section.name, key, "", text, (DWORD)section.lineSize, ScriptPath);
    LineFolders folders;
    char lonWorks[kPathSize];
    CurrentFolders(section, &folders, lonWorks);
    const LineVerdict verdict = PlanEntryLine(section, text, IsWinNT, folders, line);
    if (verdict == kLineCarried) return kLineReady;
    if (RefusalText(verdict) == NULL) return kLineSkipped;
    if (report) AddLogLine3(run, RefusalText(verdict), line->entry.FileName, ")");
    return kLineRefused;
}

int FormSourcePath(char* out, size_t size, const char* fileName) {
    return WorkspaceFilePath(out, size, fileName);
}

void AddLogLine(InstallRun* run, const char* text) {
    // Posted with a copy the page frees, so that the worker never waits for
    // the list box; sent when there is no memory for the copy.
    const int size = lstrlenA(text) + 1;
    char* copy = static_cast<char*>(LocalAlloc(LMEM_FIXED, (SIZE_T)size));
    if (copy == NULL) {
        SendMessageA(run->page, WM_INSTALL_LINE, 0, (LPARAM)text);
        return;
    }
    memcpy(copy, text, (size_t)size);
    if (!PostMessageA(run->page, WM_INSTALL_LINE, 1, (LPARAM)copy)) LocalFree(copy);
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
