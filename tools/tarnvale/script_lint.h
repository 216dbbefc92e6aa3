// The checks of an install script and of the files it names, shared by
// `tarnvale lint` and `tarnvale build`. Every word they know comes from
// core/script_vocabulary.h; the script is read with the profile reader, so
// a check sees each value as the setup program will.
//
//   errors    what makes the install differ from what the author wrote: a
//             script that is not text, no NAME, a near miss of a section,
//             key or keyword, a wrong FILES, a line with the wrong number
//             of fields, a number that is not one, a file that is missing
//             or that two spellings of one name would mix up
//   warnings  what is legal but doubtful: an unknown name far from every
//             known one (a carried uninstaller may read its own keys), a
//             folder that leaves the installation directory, non-ASCII
//             text, an empty licence, and the package plan's own warnings
#ifndef TARNVALE_TOOLS_SCRIPT_LINT_H
#define TARNVALE_TOOLS_SCRIPT_LINT_H

#include <string>
#include <vector>

#include "tools/tarnvale/package_plan.h"

struct LintDiagnostic {
    int line;      // 1-based; a problem of the whole file is put at 1
    int column;    // 1-based byte column in that line
    bool error;    // false: a warning
    std::string text;
};

struct LintResult {
    std::vector<LintDiagnostic> diagnostics;  // in line and column order
    PackagePlan plan;                         // of the script as it stands
    // Per plan entry, the file that provides it; empty for install.ini and
    // for a file that was not found.
    std::vector<std::string> sources;
    int entryLines = 0;   // entry lines the file sections hold (1..FILES)
    // The uninstaller that stands in for [UNINSTALL] NAME, which the files
    // lack; empty when they hold it.
    std::string suppliedUninstaller;

    int Count(bool errors) const;
};

// Checks the script alone: its text, sections, keys and entry lines, and
// the package plan's diagnostics.
LintResult LintScript(const std::string& script);

// LintScript, then the files: each one the script names looked up in
// `filesDir` as the build looks it up, a licence that is empty or not text,
// two spellings of one name that find different contents. When none of the
// files is found and `filesGiven` is false, one error suggests --files
// instead of one error per line. [UNINSTALL] NAME, when `filesDir` holds no
// file of that name, is `uninstaller` (if that is a file; empty: none).
LintResult LintPackage(const std::string& script, const std::string& filesDir, bool filesGiven,
                       const std::string& uninstaller = "");

// Why `bytes` are not a text file ("UTF-16", "an ELF executable", ...), or
// "" when they are. `where` (may be null) receives the offset of the first
// byte that tells.
std::string NotTextReason(const std::string& bytes, size_t* where);

#endif
