// The activation pass: plug-ins, one-time programs and library entry
// points, line by line, once every file of every section is in place.
#include "core/entry_rules.h"
#include "engine/install_engine.h"
#include "system/target_dirs_win32.h"
#include "shell/programs.h"

namespace {

// The one-time program of a line, if its RunOnceSpec asks for one.
void RunOnce(const PreparedLine& line) {
    RunOnceRequest request;
    switch (ParseRunOnceSpec(line.entry.RunOnceSpec, &request)) {
    case kRunOnceNone:
        return;
    case kRunOnceNoArgs:
        RunOnceProgram(line.sectionDir, line.targetPath, "");
        return;
    case kRunOnceArgs:
        RunOnceProgram(line.sectionDir, line.targetPath, request.Args);
        return;
    case kRunOnceMacroFile: {
        // An empty or unknown macro runs nothing and shows nothing.
        char dir[kPathSize];
        char argument[kPathSize];
        if (request.Macro[0] == '\0' || !ResolveDirMacro(request.Macro, dir, sizeof(dir))) return;
        if (!FormTargetPath(argument, sizeof(argument), dir, request.FileName)) return;
        RunOnceProgram(line.sectionDir, line.targetPath, argument);
        return;
    }
    }
}

// One line of the activation pass: plug-in, one-time program, entry point,
// in that order. Refused lines were reported by the file pass already.
void ActivateLine(InstallRun*, const SectionInfo&, PreparedLine* line) {
    if (IsPluginMark(line->entry.PluginMark)) RegisterPlugin(line->targetPath, 1);
    RunOnce(*line);
    char exportName[kPathSize];
    if (EntryExportName(line->entry.EntryPoints, exportName, sizeof(exportName)))
        CallLibraryEntry(line->targetPath, exportName);
}

}  // namespace

int RunActivationPass(InstallRun* run) { return ForEachLine(run, 0, ActivateLine); }
