// tarnvale: builds and inspects setup packages.
#include <cstdio>
#include <cstring>

#include "tools/tarnvale/command_line.h"
#include "tools/tarnvale/commands.h"

namespace {

const char kHelp[] =
    "Usage: tarnvale COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  build SCRIPT -o SETUP.EXE [--files DIR] [--stub STUB]\n"
    "                              build a package from an install script\n"
    "  lint SCRIPT [--files DIR] [--werror] [--json]\n"
    "                              check an install script and its files\n"
    "  list SETUP.EXE              list the entries of a package\n"
    "  extract SETUP.EXE -o DIR [--decode]\n"
    "                              copy the entries out of a package\n"
    "  verify SETUP.EXE            check a package\n"
    "  plan SCRIPT [--files DIR] [--platform nt|9x] [--install-dir DIR] [--json]\n"
    "                              show what the install of a script will do\n"
    "\n"
    "'tarnvale COMMAND --help' describes one command; 'tarnvale --version' prints\n"
    "the version. docs/SCRIPT.md describes the install script.\n"
    "\n";

struct Command {
    const char* name;
    int (*run)(int argc, char** argv, int first);
};

const Command kCommands[] = {
    {"build", RunBuild},
    {"lint", RunLint},
    {"list", RunList},
    {"extract", RunExtract},
    {"verify", RunVerify},
    {"plan", RunPlan},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "%s%s", kHelp, kExitCodeHelp);
        return kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        std::printf("%s%s", kHelp, kExitCodeHelp);
        return kExitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarnvale %s\n", TARNVALE_VERSION);
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc, argv, 2);
    }
    std::fprintf(stderr, "tarnvale: unknown command '%s'\nTry 'tarnvale --help'.\n", argv[1]);
    return kExitUsage;
}
