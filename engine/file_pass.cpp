// The file pass: every line's file decoded into its directory, then its
// shortcuts and its start-up entry.
#include "core/lzss_decoder.h"
#include "engine/install_engine.h"
#include "system/install_log_file.h"
#include "system/target_dirs_win32.h"
#include "shell/shortcuts.h"

namespace {

// The shortcuts and the start-up entry of a placed line.
void MakeShortcuts(InstallRun* run, const SectionInfo& section, PreparedLine* line) {
    // ShortcutWorkDir comes from the section's base as it is now (for [LW]
    // the LonWorks path, read once more).
    LineFolders folders;
    char lonWorks[kPathSize];
    CurrentFolders(section, &folders, lonWorks);
    ShortcutSteps steps;
    const ShortcutVerdict verdict = PlanShortcuts(section, *line, folders, &steps);
    if (verdict == kShortcutsNone) return;
    if (verdict == kShortcutsTooLong) {
        AddLogLine3(run, RefusalText(kLineTooLong), line->entry.FileName, ")");
        return;
    }

    if ((steps.flags & ShortcutFlagProgramGroup) && run->programGroupDir[0] != '\0')
        CreateFolderShortcut(line->targetPath, "", steps.name, steps.workDir, run->programGroupDir);
    if (steps.flags & ShortcutFlagDesktop)
        CreateDesktopShortcut(line->targetPath, "", steps.name, steps.workDir);

    if (steps.startup == kStartupMenu) {
        if (steps.startupDir[0] == '\0')
            AddLogLine3(run, RefusalText(kLineTooLong), line->entry.FileName, ")");
        else
            CreateStartupShortcut(line->targetPath, steps.startupDir, steps.startupName);
    } else if (steps.startup == kStartupRegistry) {
        AddRunEntry(line->targetPath, steps.startupName);
    }
}

// One line of the file pass: the directory chain, the file, then its
// shortcuts and start-up entry.
void PlaceLine(InstallRun* run, const SectionInfo& section, PreparedLine* line) {
    if (GetFileAttributesA(line->sectionDir) == INVALID_FILE_ATTRIBUTES)
        CreateDirChain(line->sectionDir);
    char source[kPathSize];
    if (!FormSourcePath(source, sizeof(source), line->entry.FileName)) {
        AddLogLine3(run, "The source path is too long(", line->entry.FileName, ")");
        return;
    }
    // An earlier file there is kept for the rollback and the uninstaller;
    // one that cannot be kept is not overwritten.
    if (!LogFileToWrite(line->targetPath)) {
        AddLogLine3(run, "The earlier file cannot be kept(", line->targetPath, ")");
        return;
    }
    // A failed decode is logged by the decoder; the line's shortcuts are
    // still made and point at the missing file.
    run->decoder->UnpackFile(source, line->targetPath);
    MakeShortcuts(run, section, line);
}

}  // namespace

int RunFilePass(InstallRun* run) { return ForEachLine(run, 1, PlaceLine); }
