#include "tools/tarnvale/package_plan.h"

#include <strings.h>

#include <algorithm>
#include <map>

#include "core/entry_line.h"
#include "core/entry_rules.h"
#include "core/script_vocabulary.h"
#include "core/sfx_archive.h"
#include "core/sfx_writer.h"
#include "tools/tarnvale/script_text.h"

const char kScriptEntryName[] = "install.ini";

namespace {

// A long but ordinary workspace: the temporary folder of a 20-character
// user name on the 95 family or NT 4/2000/XP, and the workspace folder.
const char kLongWorkspace[] =
    "C:\\Documents and Settings\\abcdefghijklmnopqrst\\Local Settings\\Temp\\QOZSETUP";
const size_t kMaxPath = 259;

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// The value of `key` as a read with a buffer larger than the value gives it.
std::string WholeValue(const std::string& script, const ProfileKey& key) {
    return CopyKeyValue(script, key, key.valueEnd - key.valueStart + 2);
}

class PlanBuilder {
public:
    explicit PlanBuilder(const std::string& script) : script_(script) {}
    PackagePlan Build();

private:
    void Note(int line, bool error, const std::string& text) {
        plan_.diagnostics.push_back(Diagnostic{line, error, text});
    }
    void AddLicence();
    void AddSection(const ScriptSection& section);
    void AddLine(const ScriptSection& section, int32_t number, const ProfileKey& key);
    void AddUninstaller();
    void ReadSize();
    // Index of the entry for `name`, adding it when new.
    size_t Entry(const std::string& name, EntryKind kind, int line, const std::string& origin);
    void CheckNames();

    const std::string& script_;
    PackagePlan plan_;
};

size_t PlanBuilder::Entry(const std::string& name, EntryKind kind, int line,
                          const std::string& origin) {
    int found = plan_.Find(name);
    if (found >= 0) {
        const PlanEntry& old = plan_.entries[found];
        bool oldRaw = old.kind != EntryKind::kCompressed;
        bool newRaw = kind != EntryKind::kCompressed;
        if (oldRaw != newRaw)
            Note(line, true, origin + ": " + Quoted(name) + " is also " + old.origin +
                                 ", which is stored uncompressed; one entry cannot be both");
        return static_cast<size_t>(found);
    }
    plan_.entries.push_back(PlanEntry{name, kind, line, origin});
    return plan_.entries.size() - 1;
}

void PlanBuilder::AddLicence() {
    ProfileText view = ProfileOf(script_);
    ProfileKey key;
    if (!ProfileFindKey(&view, kProjectSection, kLicenseFileKey, &key)) return;
    const int line = key.line;
    std::string licence = CopyKeyValue(script_, key, kScriptTextSize);
    if (licence.empty()) return;
    if (WholeValue(script_, key).size() > licence.size())
        Note(line, false, "[INSTALL PROJECT] LICENSE FILE is read only up to its " +
                              std::to_string(kScriptTextSize - 1) + "th character");
    if (SameEntryName(licence, kScriptEntryName)) {
        Note(line, false, "[INSTALL PROJECT] LICENSE FILE is the install script itself");
        return;
    }
    Entry(licence, EntryKind::kLicence, line, "[INSTALL PROJECT] LICENSE FILE");
}

void PlanBuilder::AddLine(const ScriptSection& section, int32_t number, const ProfileKey& key) {
    const std::string origin = "[" + std::string(section.name) + "] " + std::to_string(number);
    std::string text = CopyKeyValue(script_, key, static_cast<size_t>(section.lineSize));
    if (text.empty()) return;  // the installer passes over empty lines
    if (WholeValue(script_, key).size() > text.size())
        Note(key.line, false, origin + ": the installer reads only the first " +
                                  std::to_string(section.lineSize - 1) + " characters");

    // A line the installer skips for its fields (too few of them, a keyword
    // column too long) or its OsFilter is an error of the script's checks
    // (script_lint.cpp); here it only decodes nothing.
    EntryLine entry;
    if (!ParseEntryLine(text.c_str(), section.hasBaseDir, &entry)) return;
    bool nt = MatchesOsFilter(entry.OsFilter, 1) != 0;
    bool w95 = MatchesOsFilter(entry.OsFilter, 0) != 0;
    size_t index = Entry(entry.FileName, EntryKind::kCompressed, key.line, origin);
    plan_.lines.push_back(PlanLine{origin, key.line, index, nt, w95});
}

void PlanBuilder::AddSection(const ScriptSection& section) {
    const int32_t files = ReadScriptInt(script_, section.name, kFilesKey, nullptr);
    const std::map<int32_t, ProfileKey> numbered = NumberedKeys(
        script_, section.name, files, [&](const ProfileKey& key, const std::string& name, UnreadKey why) {
            Note(key.line, false,
                 "[" + std::string(section.name) + "] key " + name +
                     (why == UnreadKey::kAboveFiles
                          ? " is above FILES=" + std::to_string(files) + " and is never read"
                          : " repeats; only its first line is read"));
        });
    for (const auto& item : numbered) AddLine(section, item.first, item.second);
}

void PlanBuilder::AddUninstaller() {
    ProfileText view = ProfileOf(script_);
    ProfileKey key;
    std::string name, whole;
    int line = 0;
    if (ProfileFindKey(&view, kUninstallSection, kNameKey, &key)) {
        line = key.line;
        name = CopyKeyValue(script_, key, kUninstallNameSize);
        whole = WholeValue(script_, key);
    }
    plan_.uninstallLine = line;
    if (name.empty()) {
        Note(line, false, "[UNINSTALL] NAME is empty: the installer places no uninstaller");
        return;
    }
    if (whole.size() > name.size()) {
        const std::string most = std::to_string(kUninstallNameSize - 1);
        Note(line, true, "[UNINSTALL] NAME is longer than " + most + " characters: the installer "
                         "would place the uninstaller under its first " + most +
                         " and register the whole name");
        return;
    }
    plan_.uninstaller = static_cast<int>(
        Entry(name, EntryKind::kCompressed, line, "[UNINSTALL] NAME"));
}

void PlanBuilder::ReadSize() {
    ProfileText view = ProfileOf(script_);
    ProfileKey key;
    if (!ProfileFindKey(&view, kInfoSection, kSizeKey, &key)) return;
    plan_.size.present = true;
    plan_.size.line = key.line;
    plan_.size.text = CopyKeyValue(script_, key, kInfoSizeTextSize);
    plan_.size.value = ScriptDecimal(plan_.size.text.c_str());
}

void PlanBuilder::CheckNames() {
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "COM1", "COM2", "COM3",
                                           "COM4", "COM5", "COM6", "COM7", "COM8", "COM9",
                                           "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6",
                                           "LPT7", "LPT8", "LPT9"};
    for (const PlanEntry& e : plan_.entries) {
        if (e.kind == EntryKind::kScript) continue;
        const std::string who = e.origin + ": " + Quoted(e.name) + ": ";
        std::string problem = SfxNameProblem(e.name);
        if (problem.empty()) {
            for (unsigned char c : e.name) {
                if (c < 32 || std::string("<>\"|?*").find(static_cast<char>(c)) != std::string::npos)
                    problem = "the name holds a character Windows does not allow in file names";
            }
        }
        std::string stem = e.name.substr(0, e.name.find('.'));
        for (const char* device : kDevices) {
            if (problem.empty() && strcasecmp(stem.c_str(), device) == 0)
                problem = "the name is a Windows device name";
        }
        if (!problem.empty()) {
            Note(e.line, true, who + problem);
            continue;
        }
        char last = e.name.back();
        if (last == ' ' || last == '.')
            Note(e.line, false, who + "Windows drops a trailing blank or dot from file names");
        if (sizeof(kLongWorkspace) - 1 + 1 + e.name.size() > kMaxPath)
            Note(e.line, false, who + "in a workspace such as " + kLongWorkspace +
                                    " the path would pass " + std::to_string(kMaxPath) +
                                    " characters");
    }
    if (plan_.entries.size() > static_cast<size_t>(kSfxMaxEntries)) {
        const PlanEntry& first = plan_.entries[kSfxMaxEntries];
        Note(first.line, true, "the package would hold " + std::to_string(plan_.entries.size()) +
                                   " entries; at most " + std::to_string(kSfxMaxEntries) +
                                   " fit (" + first.origin + " is the first one too many)");
    }
}

PackagePlan PlanBuilder::Build() {
    plan_.entries.push_back(PlanEntry{kScriptEntryName, EntryKind::kScript, 0, "the install script"});
    AddLicence();
    for (int i = 0; i < kFileSectionCount; ++i) AddSection(kScriptSections[i]);
    AddUninstaller();
    ReadSize();
    CheckNames();
    std::stable_sort(plan_.diagnostics.begin(), plan_.diagnostics.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    return plan_;
}

}  // namespace

bool SameEntryName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

bool PackagePlan::HasErrors() const {
    for (const Diagnostic& d : diagnostics) {
        if (d.error) return true;
    }
    return false;
}

int PackagePlan::Find(const std::string& name) const {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (SameEntryName(entries[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

PackagePlan MakePackagePlan(const std::string& script) { return PlanBuilder(script).Build(); }

SizeTotals ComputeSizeTotals(const PackagePlan& plan, const std::vector<uint64_t>& decoded) {
    SizeTotals totals;
    for (const PlanLine& line : plan.lines) {
        uint64_t bytes = line.entry < decoded.size() ? decoded[line.entry] : 0;
        if (line.onNt) totals.nt += bytes;
        if (line.on95) totals.win95 += bytes;
    }
    if (plan.uninstaller >= 0 && static_cast<size_t>(plan.uninstaller) < decoded.size()) {
        totals.nt += decoded[plan.uninstaller];
        totals.win95 += decoded[plan.uninstaller];
    }
    return totals;
}
