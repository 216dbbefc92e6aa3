// The file pass: every line's file decoded into its directory, then its
// shortcuts and its start-up entry.
#include "core/entry_rules.h"
#include "core/lzss_decoder.h"
#include "engine/install_engine.h"
#include "system/target_dirs_win32.h"
#include "shell/shortcuts.h"

namespace {

const char kTooLong[] = "The target path is too long(";

// The shortcuts and the start-up entry of a placed line.
void MakeShortcuts(InstallRun* run, const SectionInfo& section, PreparedLine* line) {
    const EntryLine& entry = line->entry;
    char name[kPathSize];
    int flags = ParseShortcutSpec(entry.ShortcutSpec, name, sizeof(name));
    if (flags < 0) return;

    // ShortcutWorkDir: the section's base (for [LW] the LonWorks path, read
    // once more) + "\\" + SubDir.
    char base[kPathSize];
    char workDir[kPathSize];
    if (!SectionBase(section, entry, base, sizeof(base)) ||
        !FormWorkDir(workDir, sizeof(workDir), base, entry.SubDir)) {
        AddLogLine3(run, kTooLong, entry.FileName, ")");
        return;
    }

    if ((flags & ShortcutFlagProgramGroup) && run->programGroupDir[0] != '\0')
        CreateFolderShortcut(line->targetPath, "", name, workDir, run->programGroupDir);
    if (flags & ShortcutFlagDesktop) CreateDesktopShortcut(line->targetPath, "", name, workDir);

    const char* startupName = StartupName(name, entry.FileName);
    const StartupKind startup = StartupKindOf(entry.StartupMode);
    if (startup == kStartupMenu) {
        // [NORMAL]: below InstallDir whatever BaseDir says.
        char startupDir[kPathSize];
        const char* dir = workDir;
        if (section.kind == kSectionNormal) {
            if (!FormWorkDir(startupDir, sizeof(startupDir), InstallDir, entry.SubDir)) {
                AddLogLine3(run, kTooLong, entry.FileName, ")");
                return;
            }
            dir = startupDir;
        }
        CreateStartupShortcut(line->targetPath, dir, startupName);
    } else if (startup == kStartupRegistry) {
        AddRunEntry(line->targetPath, startupName);
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
    // A failed decode is logged by the decoder; the line's shortcuts are
    // still made and point at the missing file.
    run->decoder->UnpackFile(source, line->targetPath);
    MakeShortcuts(run, section, line);
}

}  // namespace

int RunFilePass(InstallRun* run) { return ForEachLine(run, 1, PlaceLine); }
