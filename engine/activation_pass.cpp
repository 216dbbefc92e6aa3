// The activation pass: plug-ins, one-time programs and library entry
// points, line by line, once every file of every section is in place.
#include "engine/install_engine.h"
#include "core/bounded_text.h"
#include "system/install_log_file.h"
#include "system/target_dirs_win32.h"
#include "shell/programs.h"

namespace {

// The one-time program of a line, if its RunOnceSpec asks for one.
void RunOnce(const PreparedLine& line) {
    RunOnceRequest request;
    if (ParseRunOnceSpec(line.entry.RunOnceSpec, &request) == kRunOnceNone) return;
    // An empty or unknown macro names no directory: nothing is run or shown.
    char dir[kPathSize];
    const char* macroDir = ResolveDirMacro(request.Macro, dir, sizeof(dir)) ? dir : NULL;
    char arguments[kPathSize];
    if (RunOnceArguments(request, macroDir, arguments, sizeof(arguments))) {
        LogInstallRecord(kLogProgram, line.targetPath, NULL, NULL);
        RunOnceProgram(line.sectionDir, line.targetPath, arguments);
    }
}

// The library's entry point; a library that does not load or lacks the
// export gets a line of its own.
void CallEntry(InstallRun* run, const PreparedLine& line, const char* exportName) {
    char uninstallName[kPathSize];
    if (EntryUninstallName(line.entry.EntryPoints, uninstallName, sizeof(uninstallName)))
        LogInstallRecord(kLogEntry, line.targetPath, uninstallName, NULL);
    LibraryCall call = CallLibraryEntry(line.targetPath, exportName);
    if (call == kLibraryNotLoaded)
        AddLogLine3(run, "The library cannot be loaded(", line.entry.FileName, ")");
    if (call == kLibraryNoExport) {
        char text[kPathSize + 40];
        JoinText(text, sizeof(text), "The library has no entry point ", exportName, "(");
        AddLogLine3(run, text, line.entry.FileName, ")");
    }
}

// One line of the activation pass: plug-in, one-time program, entry point,
// in that order. Refused lines were reported by the file pass already.
void ActivateLine(InstallRun* run, const SectionInfo&, PreparedLine* line) {
    if (IsPluginMark(line->entry.PluginMark)) {
        LogInstallRecord(kLogPlugin, line->targetPath, NULL, NULL);
        RegisterPlugin(line->targetPath, 1);
    }
    RunOnce(*line);
    char exportName[kPathSize];
    if (EntryExportName(line->entry.EntryPoints, exportName, sizeof(exportName)))
        CallEntry(run, *line, exportName);
}

}  // namespace

int RunActivationPass(InstallRun* run) { return ForEachLine(run, 0, ActivateLine); }
