#include "tools/tarnvale/command_line.h"

#include <cstdio>

const char kExitCodeHelp[] =
    "Exit codes:\n"
    "  0  success\n"
    "  1  the operation failed or the check found problems (messages on stderr)\n"
    "  2  usage error\n";

bool ParseArgs(int argc, char** argv, int first, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions, ParsedArgs* out, std::string* error) {
    bool optionsDone = false;
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsDone || arg.size() < 2 || arg[0] != '-') {
            out->positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            out->help = true;
            continue;
        }
        std::string name = arg, value;
        bool inlineValue = false;
        size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        if (flagOptions.count(name) && !inlineValue) {
            out->flags.insert(name);
            continue;
        }
        if (!valueOptions.count(name)) {
            *error = "unknown option " + arg;
            return false;
        }
        if (!inlineValue) {
            if (i + 1 >= argc) {
                *error = "option " + name + " needs an argument";
                return false;
            }
            value = argv[++i];
        }
        if (out->values.count(name)) {
            *error = "option " + name + " is given twice";
            return false;
        }
        out->values[name] = value;
    }
    return true;
}

int UsageError(const char* command, const std::string& text) {
    std::fprintf(stderr, "tarnvale %s: %s\n", command, text.c_str());
    std::fprintf(stderr, "Try 'tarnvale %s --help'.\n", command);
    return kExitUsage;
}
