// tarnvale plan: what the install of a script will do, before it runs.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "tools/tarnvale/command_line.h"
#include "tools/tarnvale/commands.h"
#include "tools/tarnvale/host_files.h"
#include "tools/tarnvale/install_plan.h"

namespace {

const char kPlanHelp[] =
    "Usage: tarnvale plan SCRIPT [--files DIR] [--platform nt|9x] [--install-dir DIR]\n"
    "                    [--lonworks PATH] [--folder NAME=PATH]... [--json]\n"
    "\n"
    "Shows what the setup program will do with SCRIPT, in its order: every file\n"
    "with its target path, the program group, shortcuts (the .lnk file and its\n"
    "target), Run values, programs started with their command lines, library\n"
    "entry points called, the uninstaller, every registry value written, [INFO]\n"
    "SIZE, and every line or part of a line that is passed over, with the reason.\n"
    "It follows the setup program's own rules; docs/SCRIPT.md describes them.\n"
    "\n"
    "  --files DIR         folder of the package's files (default: the script's\n"
    "                      folder): gives the bytes the install decodes\n"
    "  --platform nt|9x    the NT family (default) or the Windows 95 family:\n"
    "                      OsFilter, and the system folder\n"
    "  --install-dir DIR   the directory the user chooses (default: MAIN DIRECTORY\n"
    "                      and SUB DIRECTORY as the setup program resolves them)\n"
    "  --lonworks PATH     the LonWorks platform's \"LonWorks Path\" (default: none,\n"
    "                      so [LW] lines are refused)\n"
    "  --folder NAME=PATH  a folder of the target system, given as often as needed:\n"
    "                      windows (C:\\WINDOWS), system (C:\\WINDOWS\\system32, or\n"
    "                      C:\\WINDOWS\\SYSTEM on 9x), program-files (C:\\Program Files),\n"
    "                      desktop, programs and startup (the profile's Desktop, its\n"
    "                      Start Menu\\Programs, and the all-users StartUp folder,\n"
    "                      as Wine lays them out)\n"
    "  --json              print the plan as JSON\n"
    "\n";

}  // namespace

int RunPlan(int argc, char** argv, int first) {
    // --folder may be given many times: taken out before the common parse.
    std::vector<char*> rest(argv, argv + first);
    std::vector<std::string> folders;
    for (int i = first; i < argc; ++i) {
        if (std::strcmp(argv[i], "--folder") == 0 && i + 1 < argc)
            folders.push_back(argv[++i]);
        else if (std::strncmp(argv[i], "--folder=", 9) == 0)
            folders.push_back(argv[i] + 9);
        else
            rest.push_back(argv[i]);
    }
    ParsedArgs args;
    std::string error;
    if (!ParseArgs(static_cast<int>(rest.size()), rest.data(), first,
                   {"--files", "--platform", "--install-dir", "--lonworks"}, {"--json"}, &args, &error))
        return UsageError("plan", error);
    if (args.help) {
        std::printf("%s%s", kPlanHelp, kExitCodeHelp);
        return kExitOk;
    }
    if (args.positional.size() != 1) return UsageError("plan", "expected exactly one SCRIPT");
    const std::string platform = args.values.count("--platform") ? args.values["--platform"] : "nt";
    if (platform != "nt" && platform != "9x")
        return UsageError("plan", "--platform is nt or 9x, not '" + platform + "'");

    PlanOptions options;
    options.nt = platform == "nt";
    // Wine names the profile after the login name.
    const passwd* account = getpwuid(getuid());
    const char* user = account ? account->pw_name : std::getenv("USER");
    options.folders = TypicalFolders(options.nt, user && *user ? user : "user");
    for (const std::string& folder : folders) {
        const size_t eq = folder.find('=');
        if (eq == std::string::npos ||
            !SetPlanFolder(&options.folders, folder.substr(0, eq), folder.substr(eq + 1)))
            return UsageError("plan", "--folder takes NAME=PATH with NAME one of windows, system, "
                                      "program-files, desktop, programs, startup; not '" + folder + "'");
    }
    options.installDirGiven = args.values.count("--install-dir") > 0;
    options.installDir = args.values["--install-dir"];
    options.lonWorks = args.values["--lonworks"];
    const std::string scriptPath = args.positional[0];
    options.filesDir = args.values.count("--files") ? args.values["--files"] : DirName(scriptPath);
    options.uninstaller = DefaultUninstaller();

    std::string script;
    if (!ReadWholeFile(scriptPath, &script, &error)) {
        std::fprintf(stderr, "tarnvale plan: error: %s\n", error.c_str());
        return kExitFailed;
    }
    const InstallPlan plan = MakeInstallPlan(script, options);
    const std::string text = args.flags.count("--json") ? PlanJson(plan) : PlanTable(plan);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
}
