// Command-line parsing and the exit codes shared by every command.
#ifndef TARNVALE_TOOLS_COMMAND_LINE_H
#define TARNVALE_TOOLS_COMMAND_LINE_H

#include <map>
#include <set>
#include <string>
#include <vector>

enum ExitCode {
    kExitOk = 0,       // the operation or check succeeded
    kExitFailed = 1,   // the operation failed or the check found problems
    kExitUsage = 2     // the command line is wrong
};

// The exit-code paragraph every --help prints.
extern const char kExitCodeHelp[];

struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // option -> its argument
    std::set<std::string> flags;
    bool help = false;
};

// Parses argv[first..argc). `valueOptions` take an argument ("-o X",
// "--files X" or "--files=X"); `flagOptions` take none; "--help" and "-h"
// set `help`; "--" ends the options. Returns false with `error` set on an
// unknown option, a missing argument or an option given twice.
bool ParseArgs(int argc, char** argv, int first, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions, ParsedArgs* out, std::string* error);

// Prints "tarnvale <command>: <text>" to stderr, then a hint to use --help,
// and returns kExitUsage.
int UsageError(const char* command, const std::string& text);

#endif
