// tarnvale lint: the build's checks of a script and its files, without
// building.
#include <cstdio>
#include <string>

#include "tools/tarnvale/command_line.h"
#include "tools/tarnvale/commands.h"
#include "tools/tarnvale/host_files.h"
#include "tools/tarnvale/lint_report.h"
#include "tools/tarnvale/script_lint.h"

namespace {

const char kLintHelp[] =
    "Usage: tarnvale lint SCRIPT [--files DIR] [--werror] [--json]\n"
    "\n"
    "Checks an install script and the files it names, as tarnvale build does\n"
    "before it builds (docs/SCRIPT.md describes the script).\n"
    "\n"
    "  SCRIPT       the install script\n"
    "  --files DIR  folder of the files the script names (default: the script's\n"
    "               folder); without [UNINSTALL] NAME there, tarnvale build stores\n"
    "               tarnvale-uninstall.exe from beside this program\n"
    "  --werror     count warnings as errors\n"
    "  --json       print the diagnostics as a JSON array on stdout: objects with\n"
    "               file, line, column, severity (\"error\" or \"warning\") and text\n"
    "\n"
    "Diagnostics go to stderr as FILE:LINE:COL: error: TEXT (or warning:),\n"
    "followed by a line with their counts; what was checked goes to stdout.\n"
    "Errors are what would make the install differ from the script's intent;\n"
    "warnings are legal but doubtful.\n"
    "\n";

}  // namespace

int RunLint(int argc, char** argv, int first) {
    ParsedArgs args;
    std::string error;
    if (!ParseArgs(argc, argv, first, {"--files"}, {"--werror", "--json"}, &args, &error))
        return UsageError("lint", error);
    if (args.help) {
        std::printf("%s%s", kLintHelp, kExitCodeHelp);
        return kExitOk;
    }
    if (args.positional.size() != 1) return UsageError("lint", "expected exactly one SCRIPT");
    const std::string path = args.positional[0];
    const bool filesGiven = args.values.count("--files") > 0;
    const std::string filesDir = filesGiven ? args.values["--files"] : DirName(path);
    std::string script;
    if (!ReadWholeFile(path, &script, &error)) {
        std::fprintf(stderr, "tarnvale lint: error: %s\n", error.c_str());
        return kExitFailed;
    }
    LintResult result = LintPackage(script, filesDir, filesGiven, DefaultUninstaller());
    if (args.flags.count("--werror")) MakeWarningsErrors(&result.diagnostics);
    const bool failed = result.Count(true) > 0;
    if (args.flags.count("--json")) {
        std::fputs(DiagnosticsJson(path, result.diagnostics).c_str(), stdout);
        return failed ? kExitFailed : kExitOk;
    }
    size_t files = 0;
    for (const std::string& source : result.sources) files += source.empty() ? 0 : 1;
    std::printf("checked %s: %d entry lines, %zu of %zu files found in %s\n", path.c_str(),
                result.entryLines, files, result.sources.empty() ? 0 : result.sources.size() - 1,
                filesDir.c_str());
    if (!result.suppliedUninstaller.empty())
        std::printf("[UNINSTALL] NAME is not in %s: tarnvale build stores the Tarnvale uninstaller %s\n",
                    filesDir.c_str(), result.suppliedUninstaller.c_str());
    PrintDiagnostics(path, result.diagnostics, "");
    return failed ? kExitFailed : kExitOk;
}
