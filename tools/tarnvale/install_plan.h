// Install plan: what the setup program will do with a script on one Windows
// family, step by step and in its order, worked out by the same core rules
// that its install engine follows (core/install_steps.h, entry_rules.h,
// script_vocabulary.h) with the platform's typical folders in place of the
// running system's. `tarnvale plan` prints it as a table or as JSON.
#ifndef TARNVALE_TOOLS_INSTALL_PLAN_H
#define TARNVALE_TOOLS_INSTALL_PLAN_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The folders of the system the plan is made for. Each may be replaced by
// `--folder NAME=PATH`; the names are those of kPlanFolderNames.
struct PlanFolders {
    std::string windows, system, programFiles, desktop, programs, startup;
};

// "windows", "system", "program-files", "desktop", "programs", "startup".
extern const char* const kPlanFolderNames[6];

// The typical folders of the family: C:\WINDOWS with system32 (NT) or
// SYSTEM (95), C:\Program Files, and the shell folders of `user`'s profile
// as Wine lays it out for both families.
PlanFolders TypicalFolders(bool nt, const std::string& user);

// Sets the folder called `name` (kPlanFolderNames). False for another name.
bool SetPlanFolder(PlanFolders* folders, const std::string& name, const std::string& path);

struct PlanOptions {
    bool nt = true;               // the NT family; false: the 95 family
    PlanFolders folders;
    bool installDirGiven = false;
    std::string installDir;       // when not given: from MAIN and SUB DIRECTORY
    std::string lonWorks;         // "LonWorks Path"; empty: the platform is absent
    std::string filesDir;         // where the package's files are; empty: unknown
    std::string uninstaller;      // stands in for [UNINSTALL] NAME missing there
};

// One thing the install does. `fields` are named texts in a fixed order
// for each kind:
//   folder          path                          the program-group folder
//   file            source target                 a payload entry decoded
//   shortcut        where link target workDir     where: program group, desktop, startup
//   run value       key name data                 a value of the Run key
//   program         what program directory        what: plug-in, one-time; directory
//                   commandLine
//                                                 empty for a plug-in (not changed)
//   entry point     library export
//   uninstaller     source target
//   registry value  key name data                 data omitted when the user chooses it
//   script copy     target                        the script beside the uninstaller
struct PlanStep {
    std::string kind;
    int line = 0;        // script line it comes from; 0 for none
    std::string origin;  // "[NORMAL] 3", "[UNINSTALL] NAME", ...
    std::vector<std::pair<std::string, std::string>> fields;
    std::string Field(const std::string& name) const;
};

// A line, or a part of one, that the install passes over, and why.
struct PlanSkip {
    int line = 0;
    std::string origin;
    std::string reason;
};

struct InstallPlan {
    bool nt = true;
    PlanFolders folders;
    std::string lonWorks;
    std::string installDir;
    std::string installDirFrom;  // "--install-dir", or how the default was formed
    std::vector<PlanStep> steps;
    std::vector<PlanSkip> skipped;
    std::string sizeText;        // [INFO] SIZE as the installer reads it
    int sizeValue = 0;           // ... and converts it
    // With the files known: the bytes this install decodes (the progress
    // bar's full scale), and the SIZE that `tarnvale build` writes.
    bool filesKnown = false;
    uint64_t decodedBytes = 0;
    uint64_t buildSize = 0;
    std::string filesProblem;    // why the files are not known
};

InstallPlan MakeInstallPlan(const std::string& script, const PlanOptions& options);

std::string PlanJson(const InstallPlan& plan);
std::string PlanTable(const InstallPlan& plan);

#endif
