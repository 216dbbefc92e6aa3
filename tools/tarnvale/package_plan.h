// Package plan: what an install script makes of a package. Which payload
// entries it needs, which of them the installer decompresses, and how many
// bytes the install decodes on each Windows family. Shared by build, list
// and verify, so that all three see the script as the installer does.
#ifndef TARNVALE_TOOLS_PACKAGE_PLAN_H
#define TARNVALE_TOOLS_PACKAGE_PLAN_H

#include <cstdint>
#include <string>
#include <vector>

// The entry name of the install script inside every package.
extern const char kScriptEntryName[];

enum class EntryKind {
    kScript,      // install.ini, stored as it is
    kLicence,     // [INSTALL PROJECT] LICENSE FILE, stored as it is
    kCompressed   // named by a file line or [UNINSTALL] NAME: an LZSS stream
};

struct PlanEntry {
    std::string name;    // as the script first spells it
    EntryKind kind;
    int line;            // script line that first names it; 0 for the script
    std::string origin;  // where the script names it, e.g. "[NORMAL] 3"
};

// One entry line that the file pass decompresses.
struct PlanLine {
    std::string origin;  // "[SYSTEM] 2"
    int line;
    size_t entry;        // index into PackagePlan::entries
    bool onNt;           // carried out on the NT family
    bool on95;           // carried out on the Windows 95 family
};

struct Diagnostic {
    int line;            // 0 when no single line is to blame
    bool error;          // false: a warning
    std::string text;
};

// [INFO] SIZE as the author wrote it.
struct SizeSetting {
    bool present = false;
    int line = 0;
    std::string text;    // as read with the installer's 50-character buffer
    int64_t value = 0;   // as the installer converts it
};

struct PackagePlan {
    // Package order: install.ini, the licence, the compressed entries in the
    // order the file pass first names them, the uninstaller last.
    std::vector<PlanEntry> entries;
    std::vector<PlanLine> lines;
    int uninstaller = -1;  // entry of [UNINSTALL] NAME, -1 when it is empty
    int uninstallLine = 0;
    SizeSetting size;
    std::vector<Diagnostic> diagnostics;

    bool HasErrors() const;
    // Index of the entry named `name` ignoring ASCII case, or -1.
    int Find(const std::string& name) const;
};

// Reads `script` with the installer's buffer sizes and builds its plan.
// Problems that make a package unusable are error diagnostics (a name that
// cannot be an entry, a name both raw and compressed, more than 1000
// entries, an uninstaller name the installer would cut); doubtful lines are
// warnings. Never fails otherwise.
PackagePlan MakePackagePlan(const std::string& script);

// Bytes the install decodes: every planned line on the family it runs on,
// plus the uninstaller once. `decoded[i]` is the decoded length of entry i
// (raw entries are not looked at).
struct SizeTotals {
    uint64_t nt = 0;
    uint64_t win95 = 0;
    uint64_t Larger() const { return nt > win95 ? nt : win95; }
};
SizeTotals ComputeSizeTotals(const PackagePlan& plan, const std::vector<uint64_t>& decoded);

// Whether two entry names are the same file on Windows (ASCII case ignored).
bool SameEntryName(const std::string& a, const std::string& b);

#endif
