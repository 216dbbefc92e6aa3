#include "tools/tarnvale/install_plan.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "core/install_path.h"
#include "core/install_log.h"
#include "core/install_steps.h"
#include "core/run_text.h"
#include "core/script_vocabulary.h"
#include "core/target_dirs.h"
#include "tools/tarnvale/host_files.h"
#include "tools/tarnvale/package_plan.h"
#include "tools/tarnvale/script_text.h"

const char* const kPlanFolderNames[6] = {"windows", "system",   "program-files",
                                         "desktop", "programs", "startup"};

namespace {

const char kMachine[] = "HKLM\\";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string* FolderOf(PlanFolders* f, const std::string& name) {
    std::string* all[6] = {&f->windows, &f->system,   &f->programFiles,
                           &f->desktop, &f->programs, &f->startup};
    for (int i = 0; i < 6; ++i)
        if (name == kPlanFolderNames[i]) return all[i];
    return nullptr;
}

// A text formed by a core rule into a path-sized buffer; false when refused.
template <typename Rule>
bool Formed(std::string* out, size_t size, Rule rule) {
    std::vector<char> buffer(size);
    if (!rule(buffer.data(), size)) return false;
    *out = buffer.data();
    return true;
}

// One entry line of a file section, as the passes read it.
struct PlannedLine {
    const ScriptSection* section;
    int line;
    std::string origin;
    LineSteps steps;
};

class Planner {
public:
    Planner(const std::string& script, const PlanOptions& options)
        : script_(script), options_(options) {}
    InstallPlan Build();

private:
    void Add(const std::string& kind, int line, const std::string& origin,
             std::vector<std::pair<std::string, std::string>> fields) {
        plan_.steps.push_back(PlanStep{kind, line, origin, std::move(fields)});
    }
    void Skip(int line, const std::string& origin, const std::string& reason) {
        plan_.skipped.push_back(PlanSkip{line, origin, reason});
    }
    std::string Text(const char* section, const char* key, size_t size, int* line = nullptr) {
        return ReadScriptString(script_, section, key, size, line);
    }
    LineFolders Folders() const {
        return LineFolders{plan_.installDir.c_str(), plan_.folders.windows.c_str(),
                           plan_.folders.system.c_str(), plan_.lonWorks.c_str()};
    }
    // The folder of a directory macro, as ResolveDirMacro finds it; null
    // for a text that is no macro there.
    const std::string* MacroFolder(const char* text) const;
    void ResolveInstallDir();
    void ReadSection(const ScriptSection& section);
    void PlaceLine(PlannedLine& planned);
    void Shortcut(const PlannedLine& planned, const char* where, const std::string& folder,
                  const char* name, const char* workDir);
    void ActivateLine(const PlannedLine& planned);
    void Close();
    void WriteProductValues();
    void CountSizes();

    const std::string& script_;
    const PlanOptions& options_;
    InstallPlan plan_;
    std::vector<PlannedLine> lines_;  // carried out, in the order of both passes
    std::string programGroup_;
};

const std::string* Planner::MacroFolder(const char* text) const {
    switch (DirMacroOf(text, kUseDirectory)) {
    case kMacroProgramFiles: return &plan_.folders.programFiles;
    case kMacroSystem: return &plan_.folders.system;
    case kMacroLonWorks: return &plan_.lonWorks;
    case kMacroWindows: return &plan_.folders.windows;
    default: return nullptr;
    }
}

void Planner::ResolveInstallDir() {
    if (options_.installDirGiven) {
        plan_.installDir = options_.installDir;
        plan_.installDirFrom = "--install-dir";
        return;
    }
    const std::string main = Text(kProjectSection, kMainDirectoryKey, kScriptTextSize);
    const std::string sub = Text(kProjectSection, kSubDirectoryKey, kScriptTextSize);
    const std::string* folder = MacroFolder(main.c_str());
    const std::string base = folder ? *folder : main;
    if (!Formed(&plan_.installDir, kScriptTextSize, [&](char* out, size_t size) {
            return JoinInstallDir(out, size, base.c_str(), sub.c_str());
        }))
        plan_.installDir.clear();
    plan_.installDirFrom = "MAIN DIRECTORY " + Quoted(main) + (folder ? " (" + *folder + ")" : "") +
                           " and SUB DIRECTORY " + Quoted(sub);
}

void Planner::ReadSection(const ScriptSection& section) {
    const std::string name = "[" + std::string(section.name) + "] ";
    const int32_t files = ReadScriptInt(script_, section.name, kFilesKey, nullptr);
    const std::map<int32_t, ProfileKey> numbered = NumberedKeys(
        script_, section.name, files, [&](const ProfileKey& key, const std::string& keyName, UnreadKey why) {
            Skip(key.line, name + keyName,
                 why == UnreadKey::kAboveFiles ? "above FILES=" + std::to_string(files) + ": never read"
                                               : "a repeated key: only its first line is read");
        });
    int32_t expected = 1;
    auto gap = [&](int32_t last) {
        if (expected > last) return;
        Skip(0, name + std::to_string(expected) + (last > expected ? " to " + std::to_string(last) : ""),
             "no such key: passed over");
    };
    for (const auto& item : numbered) {
        gap(item.first - 1);
        expected = item.first + 1;
        PlannedLine planned{&section, item.second.line, name + std::to_string(item.first), {}};
        const std::string text = CopyKeyValue(script_, item.second, static_cast<size_t>(section.lineSize));
        const LineVerdict verdict =
            PlanEntryLine(section, text.c_str(), options_.nt ? 1 : 0, Folders(), &planned.steps);
        const EntryLine& entry = planned.steps.entry;
        const size_t commas = static_cast<size_t>(std::count(text.begin(), text.end(), ','));
        const size_t needed = static_cast<size_t>(kEntryColumnCount - 1 - FirstEntryColumn(section));
        switch (verdict) {
        case kLineCarried:
            lines_.push_back(planned);
            break;
        case kLineEmpty:
            Skip(planned.line, planned.origin, "the line is empty");
            break;
        case kLineUnparsed:
            Skip(planned.line, planned.origin,
                 commas < needed ? "it has " + std::to_string(commas) + " of its " +
                                       std::to_string(needed) + " commas"
                                 : "StartupMode or OsFilter is longer than " +
                                       std::to_string(kEntryKeywordSize - 1) + " characters");
            break;
        case kLineFiltered:
            Skip(planned.line, planned.origin,
                 MatchesOsFilter(entry.OsFilter, options_.nt ? 0 : 1)
                     ? "OsFilter " + Quoted(entry.OsFilter) + ": only on the other family"
                     : "OsFilter " + Quoted(entry.OsFilter) + " matches no system");
            break;
        case kLineNoLonWorks:
        case kLineTooLong:
            Skip(planned.line, planned.origin,
                 RefusalText(verdict) + std::string(entry.FileName) + ")");
            break;
        }
    }
    gap(files);
}

void Planner::Shortcut(const PlannedLine& planned, const char* where, const std::string& folder,
                       const char* name, const char* workDir) {
    std::string link;
    if (folder.empty() || !Formed(&link, kRulePathSize, [&](char* out, size_t size) {
            return FormLinkPath(out, size, folder.c_str(), name);
        })) {
        Skip(planned.line, planned.origin, std::string("the ") + where + " shortcut " +
                                               Quoted(name) + " has no folder or its path is too long: not saved");
        return;
    }
    Add("shortcut", planned.line, planned.origin,
        {{"where", where}, {"link", link}, {"target", planned.steps.targetPath}, {"workDir", workDir}});
}

void Planner::PlaceLine(PlannedLine& planned) {
    const EntryLine& entry = planned.steps.entry;
    Add("file", planned.line, planned.origin,
        {{"source", entry.FileName}, {"target", planned.steps.targetPath}});
    ShortcutSteps shortcuts;
    const ShortcutVerdict verdict = PlanShortcuts(*planned.section, planned.steps, Folders(), &shortcuts);
    const std::string tooLong = RefusalText(kLineTooLong) + std::string(entry.FileName) + ")";
    if (verdict != kShortcutsReady) {
        Skip(planned.line, planned.origin, (verdict == kShortcutsTooLong ? tooLong : "the shortcut name is too long") +
                                               ": no shortcuts or start-up entry");
        return;
    }
    if (shortcuts.flags & ShortcutFlagProgramGroup)
        Shortcut(planned, "program group", programGroup_, shortcuts.name, shortcuts.workDir);
    if (shortcuts.flags & ShortcutFlagDesktop)
        Shortcut(planned, "desktop", plan_.folders.desktop, shortcuts.name, shortcuts.workDir);
    if (shortcuts.startup == kStartupMenu) {
        if (shortcuts.startupDir[0] == '\0')
            Skip(planned.line, planned.origin, tooLong + ": no start-up shortcut");
        else
            Shortcut(planned, "startup", plan_.folders.startup, shortcuts.startupName, shortcuts.startupDir);
    } else if (shortcuts.startup == kStartupRegistry) {
        std::string data;
        if (Formed(&data, kRulePathSize, [&](char* out, size_t size) {
                return FormProgramPath(out, size, planned.steps.targetPath);
            }))
            Add("run value", planned.line, planned.origin,
                {{"key", kMachine + std::string(kRunKey)}, {"name", shortcuts.startupName}, {"data", data}});
        else
            Skip(planned.line, planned.origin, "the Run value's data is too long: not written");
    } else if (entry.StartupMode[0] != '\0') {
        Skip(planned.line, planned.origin, "StartupMode " + Quoted(entry.StartupMode) +
                                               " is neither \"Menu\" nor \"Registry\": no start-up entry");
    }
}

void Planner::ActivateLine(const PlannedLine& planned) {
    const EntryLine& entry = planned.steps.entry;
    const char* target = planned.steps.targetPath;
    auto program = [&](const char* what, const char* directory, const char* tail) {
        std::string line;
        if (Formed(&line, kCommandLineSize, [&](char* out, size_t size) {
                return FormCommandLine(target, tail, out, size);
            }))
            Add("program", planned.line, planned.origin,
                {{"what", what}, {"program", target}, {"directory", directory}, {"commandLine", line}});
        else
            Skip(planned.line, planned.origin, std::string("the ") + what + " command line is too long: not started");
    };
    if (IsPluginMark(entry.PluginMark))
        program("plug-in", "", kRegisterPluginOption);
    else if (entry.PluginMark[0] != '\0')
        Skip(planned.line, planned.origin, "PluginMark " + Quoted(entry.PluginMark) + " is not " +
                                               Quoted(kPluginMark) + ": no plug-in registration");

    RunOnceRequest request;
    const size_t length = std::string(entry.RunOnceSpec).size();
    if (ParseRunOnceSpec(entry.RunOnceSpec, &request) != kRunOnceNone) {
        const std::string* folder = MacroFolder(request.Macro);
        char arguments[kRulePathSize];
        if (RunOnceArguments(request, folder ? folder->c_str() : nullptr, arguments, sizeof(arguments)))
            program("one-time", planned.steps.sectionDir, arguments);
        else
            Skip(planned.line, planned.origin, "RunOnceSpec " + Quoted(entry.RunOnceSpec) + ": " +
                                                   (folder ? "the argument is too long"
                                                           : Quoted(request.Macro) + " is not a directory macro") +
                                                   ": nothing is run");
    } else if (length > 0) {
        Skip(planned.line, planned.origin,
             "RunOnceSpec " + Quoted(entry.RunOnceSpec) + ": " +
                 (length < kRunOnceTagLength ? "shorter than " + std::to_string(kRunOnceTagLength) + " characters"
                                             : "no \"#\" or \"@\" form after the tag, or a part too long") +
                 ": nothing is run");
    }

    char exportName[kRulePathSize];
    if (EntryExportName(entry.EntryPoints, exportName, sizeof(exportName)))
        Add("entry point", planned.line, planned.origin, {{"library", target}, {"export", exportName}});
    else if (entry.EntryPoints[0] != '\0')
        Skip(planned.line, planned.origin, "EntryPoints " + Quoted(entry.EntryPoints) +
                                               " names no export before a \"/\": nothing is called");
}

void Planner::Close() {
    int line = 0;
    const std::string entryName = Text(kUninstallSection, kNameKey, kUninstallNameSize, &line);
    const std::string origin = "[UNINSTALL] NAME";
    std::string target;
    if (entryName.empty())
        Skip(line, origin, "no uninstaller is named: its decoding fails and is logged");
    else if (Formed(&target, kRulePathSize, [&](char* out, size_t size) {
                 return FormTargetPath(out, size, plan_.installDir.c_str(), entryName.c_str());
             }))
        Add("uninstaller", line, origin, {{"source", entryName}, {"target", target}});
    else
        Skip(line, origin, RefusalText(kLineTooLong) + entryName + ")");

    int nameLine = 0;
    const std::string name = Text(kProjectSection, kNameKey, kScriptTextSize, &nameLine);
    const std::string uninstaller = Text(kUninstallSection, kNameKey, kScriptTextSize);
    std::string key, command;
    if (!Formed(&key, kRulePathSize, [&](char* out, size_t size) {
            return FormUninstallKey(out, size, name.c_str());
        })) {
        Skip(nameLine, "[INSTALL PROJECT] NAME", "the uninstall key would be too long: not written");
    } else {
        Add("registry value", nameLine, "[INSTALL PROJECT] NAME",
            {{"key", kMachine + key}, {"name", kDisplayNameValue}, {"data", name}});
        if (Formed(&command, kRulePathSize, [&](char* out, size_t size) {
                return FormUninstallString(out, size, plan_.installDir.c_str(), uninstaller.c_str());
            }))
            Add("registry value", line, origin,
                {{"key", kMachine + key}, {"name", kUninstallStringValue}, {"data", command}});
        else
            Skip(line, origin, "\"UninstallString\" would be too long: not written");
    }
    if (Formed(&target, kRulePathSize, [&](char* out, size_t size) {
            return FormTargetPath(out, size, plan_.installDir.c_str(), kScriptCopyName);
        }))
        Add("script copy", 0, "the install script", {{"target", target}});
}

void Planner::WriteProductValues() {
    int line = 0;
    const std::string name = Text(kProjectSection, kNameKey, kScriptTextSize, &line);
    std::string key, version;
    const std::string origin = "[INSTALL PROJECT] NAME";
    if (!Formed(&key, kScriptTextSize, [&](char* out, size_t size) {
            return FormatProductKey(out, size, name.c_str());
        })) {
        Skip(line, origin, "the product key would be too long: \"Path\" and \"Version\" are not written");
        return;
    }
    Add("registry value", line, origin, {{"key", kMachine + key}, {"name", "Path"}, {"data", plan_.installDir}});
    int versionLine = 0;
    const int major = ReadScriptInt(script_, kProjectSection, kMajorVersionKey, &versionLine);
    const int minor = ReadScriptInt(script_, kProjectSection, kMinorVersionKey, nullptr);
    if (Formed(&version, kVersionTextSize, [&](char* out, size_t size) {
            return FormatVersionText(out, size, major, minor);
        }))
        Add("registry value", versionLine, "[INSTALL PROJECT] MAJOR VERSION",
            {{"key", kMachine + key}, {"name", "Version"}, {"data", version}});
    int protectionLine = 0;
    if (ReadScriptInt(script_, kProjectSection, kProtectionKey, &protectionLine) != 0)
        Add("registry value", protectionLine, "[INSTALL PROJECT] UNINSTALLATION PROTECTION",
            {{"key", kMachine + key}, {"name", "Uninstall Password"}});
}

void Planner::CountSizes() {
    if (options_.filesDir.empty()) {
        plan_.filesProblem = "no --files folder given";
        return;
    }
    std::map<std::string, uint64_t> found;
    auto sizeOf = [&](const std::string& name, bool isUninstaller, uint64_t* bytes) {
        std::string path, problem;
        if (!FindFileOr(options_.filesDir, name, isUninstaller ? options_.uninstaller : "", &path,
                        &problem)) {
            if (plan_.filesProblem.empty()) plan_.filesProblem = Quoted(name) + " " + problem;
            return false;
        }
        *bytes = static_cast<uint64_t>(std::max<int64_t>(0, RegularFileSize(path)));
        return true;
    };
    for (const PlanStep& step : plan_.steps) {
        uint64_t bytes = 0;
        if ((step.kind == "file" || step.kind == "uninstaller") &&
            sizeOf(step.Field("source"), step.kind == "uninstaller", &bytes))
            plan_.decodedBytes += bytes;
    }
    const PackagePlan package = MakePackagePlan(script_);
    std::vector<uint64_t> sizes(package.entries.size(), 0);
    for (size_t i = 0; i < package.entries.size(); ++i)
        if (package.entries[i].kind == EntryKind::kCompressed)
            sizeOf(package.entries[i].name, static_cast<int>(i) == package.uninstaller, &sizes[i]);
    plan_.buildSize = ComputeSizeTotals(package, sizes).Larger();
    plan_.filesKnown = plan_.filesProblem.empty();
}

InstallPlan Planner::Build() {
    plan_.nt = options_.nt;
    plan_.folders = options_.folders;
    plan_.lonWorks = options_.lonWorks;
    ResolveInstallDir();
    const int full = IsFullInstallPath(plan_.installDir.c_str());
    if (!full) {
        Skip(0, "every file section",
             "The installation directory is not a full path(" + plan_.installDir + ")");
    } else {
        // The log of what the install makes, which Cancel and the
        // uninstaller undo; files it replaces are kept beside it.
        std::string log;
        if (Formed(&log, kRulePathSize, [&](char* out, size_t size) {
                return FormTargetPath(out, size, plan_.installDir.c_str(), kInstallLogName);
            }))
            Add("install log", 0, "the install", {{"target", log}});
        const std::string name = Text(kProjectSection, kNameKey, kScriptTextSize);
        if (!Formed(&programGroup_, kRulePathSize, [&](char* out, size_t size) {
                return FormTargetPath(out, size, plan_.folders.programs.c_str(), name.c_str());
            }))
            Skip(0, "the program group", "its path is too long: no program-group shortcuts");
        else
            Add("folder", 0, "the program group", {{"path", programGroup_}});
        for (int s = 0; s < kFileSectionCount; ++s) ReadSection(kScriptSections[s]);
        for (PlannedLine& planned : lines_) PlaceLine(planned);
        for (const PlannedLine& planned : lines_) ActivateLine(planned);
        Close();
    }
    WriteProductValues();
    int sizeLine = 0;
    plan_.sizeText = Text(kInfoSection, kSizeKey, kInfoSizeTextSize, &sizeLine);
    plan_.sizeValue = ScriptDecimal(plan_.sizeText.c_str());
    CountSizes();
    std::stable_sort(plan_.skipped.begin(), plan_.skipped.end(),
                     [](const PlanSkip& a, const PlanSkip& b) { return a.line < b.line; });
    return plan_;
}

// --- Output ----------------------------------------------------------------

// A JSON string. Bytes above 127 (the script's ANSI code page) are written
// as the Latin-1 characters of the same number.
std::string Json(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Platform(bool nt) { return nt ? "nt" : "9x"; }

std::string Where(int line) { return line > 0 ? std::to_string(line) : ""; }

// The table's text for a step.
std::string Describe(const PlanStep& s) {
    if (s.kind == "folder") return s.Field("path");
    if (s.kind == "file" || s.kind == "uninstaller") return s.Field("target") + "  <- " + s.Field("source");
    if (s.kind == "shortcut")
        return s.Field("link") + "  -> " + s.Field("target") + "  in " + s.Field("workDir") + " (" +
               s.Field("where") + ")";
    if (s.kind == "run value" || s.kind == "registry value")
        return s.Field("key") + "  " + Quoted(s.Field("name")) + " = " +
               (s.fields.size() > 2 ? s.Field("data") : "(the password the user registers)");
    if (s.kind == "program")
        return s.Field("commandLine") + "  (" + s.Field("what") +
               (s.Field("directory").empty() ? "" : ", in " + s.Field("directory")) + ")";
    if (s.kind == "entry point") return s.Field("export") + " of " + s.Field("library");
    return s.Field("target");  // script copy, install log
}

}  // namespace

std::string PlanStep::Field(const std::string& name) const {
    for (const auto& field : fields)
        if (field.first == name) return field.second;
    return "";
}

PlanFolders TypicalFolders(bool nt, const std::string& user) {
    const std::string profile = "C:\\users\\" + user;
    PlanFolders f;
    f.windows = "C:\\WINDOWS";
    f.system = nt ? "C:\\WINDOWS\\system32" : "C:\\WINDOWS\\SYSTEM";
    f.programFiles = "C:\\Program Files";
    f.desktop = profile + "\\Desktop";
    f.programs = profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
    f.startup = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp";
    return f;
}

bool SetPlanFolder(PlanFolders* folders, const std::string& name, const std::string& path) {
    std::string* folder = FolderOf(folders, name);
    if (folder) *folder = path;
    return folder != nullptr;
}

InstallPlan MakeInstallPlan(const std::string& script, const PlanOptions& options) {
    return Planner(script, options).Build();
}

std::string PlanJson(const InstallPlan& plan) {
    PlanFolders folders = plan.folders;
    std::string out = "{\n  \"platform\": " + Json(Platform(plan.nt)) + ",\n  \"folders\": {";
    for (int i = 0; i < 6; ++i)
        out += std::string(i ? ", " : "") + Json(kPlanFolderNames[i]) + ": " +
               Json(*FolderOf(&folders, kPlanFolderNames[i]));
    out += ", \"lonworks\": " + Json(plan.lonWorks) + "},\n  \"installDir\": " + Json(plan.installDir) +
           ",\n  \"installDirFrom\": " + Json(plan.installDirFrom) + ",\n  \"steps\": [";
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        const PlanStep& s = plan.steps[i];
        out += std::string(i ? "," : "") + "\n    {\"kind\": " + Json(s.kind) +
               ", \"line\": " + std::to_string(s.line) + ", \"origin\": " + Json(s.origin);
        for (const auto& field : s.fields) out += ", " + Json(field.first) + ": " + Json(field.second);
        out += "}";
    }
    out += "\n  ],\n  \"skipped\": [";
    for (size_t i = 0; i < plan.skipped.size(); ++i) {
        const PlanSkip& s = plan.skipped[i];
        out += std::string(i ? "," : "") + "\n    {\"line\": " + std::to_string(s.line) +
               ", \"origin\": " + Json(s.origin) + ", \"reason\": " + Json(s.reason) + "}";
    }
    out += "\n  ],\n  \"size\": {\"script\": " + Json(plan.sizeText) + ", \"value\": " +
           std::to_string(plan.sizeValue);
    if (plan.filesKnown)
        out += ", \"decoded\": " + std::to_string(plan.decodedBytes) +
               ", \"build\": " + std::to_string(plan.buildSize);
    return out + "}\n}\n";
}

std::string PlanTable(const InstallPlan& plan) {
    std::string out = "Install plan for the " + std::string(plan.nt ? "NT" : "95") + " family\n";
    out += "  installation directory  " + plan.installDir + "\n                          from " +
           plan.installDirFrom + "\n";
    PlanFolders folders = plan.folders;
    for (const char* name : kPlanFolderNames) {
        char label[32];
        std::snprintf(label, sizeof(label), "  %-22s  ", name);
        out += label + *FolderOf(&folders, name) + "\n";
    }
    out += "  LonWorks Path           " + (plan.lonWorks.empty() ? "(not set)" : plan.lonWorks) + "\n\n";
    out += " line  step            what\n";
    for (const PlanStep& s : plan.steps) {
        char head[32];
        std::snprintf(head, sizeof(head), "%5s  %-14s  ", Where(s.line).c_str(), s.kind.c_str());
        out += head + Describe(s) + "\n";
    }
    out += "\nSIZE: [INFO] SIZE reads " + Quoted(plan.sizeText) + " (" + std::to_string(plan.sizeValue) + ")";
    if (plan.filesKnown)
        out += "; this install decodes " + std::to_string(plan.decodedBytes) +
               " bytes; tarnvale build sets SIZE to " + std::to_string(plan.buildSize);
    else
        out += "; the bytes decoded are not known: " + plan.filesProblem;
    out += "\n";
    if (!plan.skipped.empty()) out += "\nPassed over:\n";
    for (const PlanSkip& s : plan.skipped) {
        char head[16];
        std::snprintf(head, sizeof(head), "%5s  ", Where(s.line).c_str());
        out += head + s.origin + ": " + s.reason + "\n";
    }
    return out;
}
