// Script checks: the text, a walk over every line (sections and keys), the
// project keys, the file sections with their entry lines, the package
// plan's own diagnostics, and at last the files.
#include "tools/tarnvale/script_lint.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "core/entry_rules.h"
#include "core/install_path.h"
#include "core/license_text.h"
#include "core/profile_reader.h"
#include "core/script_vocabulary.h"
#include "tools/tarnvale/host_files.h"
#include "tools/tarnvale/script_text.h"

namespace {

using Words = std::vector<std::string>;

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string Folded(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Edits (insert, delete, replace, swap of two neighbours) from `a` to `b`.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// The known word that `written` nearly is, ASCII case ignored: within two
// edits (one for words of up to five characters), or a beginning of it of
// four characters or more ("*Default dir"). "" when there is none.
std::string Suggest(const std::string& written, const Words& known) {
    const std::string a = Folded(written);
    std::string best;
    size_t bestDistance = 0;
    for (const std::string& word : known) {
        const std::string b = Folded(word);
        const size_t distance = EditDistance(a, b);
        const bool beginning = a.size() >= 4 && b.size() > a.size() && b.compare(0, a.size(), a) == 0;
        if (distance > (b.size() > 5 ? 2u : 1u) && !beginning) continue;
        if (best.empty() || distance < bestDistance) {
            best = word;
            bestDistance = distance;
        }
    }
    return best;
}

// "\"Menu\" or \"Registry\"".
std::string WordList(const Words& words) {
    std::string list;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) list += i + 1 < words.size() ? ", " : " or ";
        list += Quoted(words[i]);
    }
    return list;
}

Words SectionNames() {
    Words words;
    for (const ScriptSection& s : kScriptSections) words.push_back(s.name);
    return words;
}

Words KeyNames(ScriptSectionKind section) {
    Words words;
    for (const ScriptKey& k : kScriptKeys)
        if (k.section == section) words.push_back(k.name);
    return words;
}

Words MacroWords(MacroUse use) {
    Words words;
    for (const DirMacroWord& m : kDirMacros)
        if (m.uses & use) words.push_back(m.text);
    return words;
}

Words StartupWords() {
    Words words;
    for (const StartupWord& w : kStartupKinds) words.push_back(w.text);
    return words;
}

Words OsFilterWords() {
    Words words;
    for (const OsFilterWord& f : kOsFilters)
        if (f.text[0]) words.push_back(f.text);
    return words;
}

Words FlagWords() {
    Words words;
    for (const ShortcutFlagWord& f : kShortcutFlags) words.push_back(f.text);
    return words;
}

// A file name as the script spells it, for the checks of the files.
struct Spelling {
    std::string name;
    int line;
    int column;
    std::string origin;
};

class ScriptLinter {
public:
    ScriptLinter(const std::string& script, LintResult* out)
        : s_(script), view_(ProfileOf(script)), out_(out) {}
    void Run();
    const std::vector<Spelling>& Spellings() const { return spellings_; }
    int FirstColumn(int line) const;

private:
    void Note(int line, int column, bool error, const std::string& text) {
        out_->diagnostics.push_back(LintDiagnostic{line, column, error, text});
    }
    int Column(const ProfileKey& key, size_t offset) const {
        return static_cast<int>(offset - key.lineStart) + 1;
    }
    std::string Name(const ProfileKey& key) const {
        return s_.substr(key.nameStart, key.nameEnd - key.nameStart);
    }
    std::string Value(const ProfileKey& key, size_t size) const { return CopyKeyValue(s_, key, size); }
    std::string WholeValue(const ProfileKey& key) const {
        return Value(key, key.valueEnd - key.valueStart + 2);
    }
    // Column of the value as read (past a quote that the read drops).
    int ValueColumn(const ProfileKey& key) const;
    bool CheckText();
    void WalkLines();
    void WalkKey(const ScriptSection* section, const ProfileKey& key);
    void NonAscii(const std::string& what, const std::string& text, int line, int column);
    bool CheckNumber(const std::string& section, const ProfileKey& key);
    void CheckProject();
    void CheckDirectories(const ProfileSection& project);
    void BadMacro(const std::string& what, const std::string& text, MacroUse use, int line,
                  int column);
    void BadKeyword(const std::string& what, const std::string& text, const Words& words,
                    const std::string& effect, bool error, int line, int column);
    void CheckFileSection(const ScriptSection& section);
    void CheckEntryLine(const ScriptSection& section, const std::string& origin,
                        const ProfileKey& key, const std::string& text);
    void CheckField(int column, const std::string& field, int line, int at);
    void CheckShortcut(const std::string& field, int line, int at);
    void CheckRunOnce(const std::string& field, int line, int at);
    void AddPlan();

    const std::string& s_;
    ProfileText view_;
    LintResult* out_;
    std::vector<size_t> lineStarts_{0};   // by line number
    std::set<std::string> suggested_;     // "SECTION" and "SECTION/KEY" that a near miss stood for
    std::vector<Spelling> spellings_;
    std::string origin_;                  // of the entry line being checked: "[NORMAL] 3"
    const ScriptSection* section_ = nullptr;
};

int ScriptLinter::FirstColumn(int line) const {
    if (line <= 0 || static_cast<size_t>(line) >= lineStarts_.size()) return 1;
    size_t at = lineStarts_[line];
    while (at < s_.size() && (s_[at] == ' ' || s_[at] == '\t')) ++at;
    return static_cast<int>(at - lineStarts_[line]) + 1;
}

int ScriptLinter::ValueColumn(const ProfileKey& key) const {
    const std::string read = WholeValue(key);
    const bool shifted = s_.compare(key.valueStart, read.size(), read) != 0;
    return Column(key, key.valueStart) + (shifted ? 1 : 0);
}

bool ScriptLinter::CheckText() {
    if (s_.empty()) {
        Note(1, 1, true, "the script is empty");
        return false;
    }
    size_t at = 0;
    const std::string reason = NotTextReason(s_, &at);
    if (reason.empty()) return true;
    int line = 1, column = 1;
    for (size_t i = 0; i < at; ++i) {
        const bool lineEnd = s_[i] == '\n' || (s_[i] == '\r' && (i + 1 >= s_.size() || s_[i + 1] != '\n'));
        line += lineEnd ? 1 : 0;
        column = lineEnd ? 1 : column + 1;
    }
    Note(line, column, true, "the script is not a text file: " + reason +
                                 "; save it as plain text in the system's ANSI code page");
    return false;
}

void ScriptLinter::WalkLines() {
    const ScriptSection* section = nullptr;
    bool inSection = false, outsideNoted = false;
    std::map<std::string, int> sections;  // folded name -> line
    ProfileLine l;
    int number = 1;
    for (size_t pos = ProfileTextStart(&view_); pos < s_.size(); ++number) {
        lineStarts_.push_back(pos);
        pos = ProfileReadLine(&view_, pos, number, &l);
        const std::string name = Name(l.key);
        const int column = FirstColumn(number);
        if (l.kind == kProfileIgnored) {
            Note(number, column, true,
                 "\"[\" without \"]\" starts no section: the keys below it stay in the section "
                 "above");
        } else if (l.kind == kProfileKey && name[0] != ';') {
            if (inSection) {
                WalkKey(section, l.key);
            } else if (!outsideNoted) {
                Note(number, column, false,
                     Quoted(name) + " stands before every section: the setup program never reads it");
                outsideNoted = true;
            }
        } else if (l.kind == kProfileSection) {
            inSection = true;
            section = nullptr;
            const std::string label = "[" + name + "]";
            auto seen = sections.find(Folded(name));
            if (name.empty()) {
                Note(number, column, false, "\"[]\" names no section: the keys below it are never read");
            } else if (seen != sections.end()) {
                Note(number, column, true, label + " repeats the section of line " +
                                               std::to_string(seen->second) +
                                               ": the setup program reads only the first, so the "
                                               "keys below are never read");
            } else {
                sections[Folded(name)] = number;
                section = FindScriptSection(name.c_str());
                const std::string near = section ? "" : Suggest(name, SectionNames());
                if (!near.empty()) {
                    Note(number, column, true, "unknown section " + label + "; did you mean [" + near + "]?");
                    suggested_.insert(Folded(near));
                } else if (!section) {
                    Note(number, column, false, "unknown section " + label + ": the setup program never reads it");
                }
            }
        }
    }
}

void ScriptLinter::WalkKey(const ScriptSection* section, const ProfileKey& key) {
    if (section == nullptr) return;  // an unknown or repeated section: told once, at its header
    const std::string name = Name(key), label = "[" + std::string(section->name) + "]";
    const int column = Column(key, key.nameStart);
    if (section->lineSize > 0) {
        if (EntryLineNumber(name.c_str())) return;  // read by CheckFileSection
        if (name.find_first_not_of("0123456789") == std::string::npos) {
            Note(key.line, column, false, label + " key " + name + " is never read: line keys are 1 "
                                          "to FILES, written without leading zeros");
            return;
        }
    }
    const ScriptKey* known = FindScriptKey(section->kind, name.c_str());
    if (known) {
        ProfileKey first;
        ProfileFindKey(&view_, section->name, known->name, &first);
        if (first.line != key.line)
            Note(key.line, column, false, label + " " + known->name + " repeats line " +
                                              std::to_string(first.line) + ": only the first is read");
        else if (known->type != kKeyUnread)
            NonAscii(label + " " + known->name, WholeValue(key), key.line, ValueColumn(key));
        return;
    }
    const std::string near = Suggest(name, KeyNames(section->kind));
    if (!near.empty()) {
        Note(key.line, column, true, "unknown key " + Quoted(name) + " in " + label +
                                         "; did you mean " + near + "?");
        suggested_.insert(Folded(section->name) + "/" + Folded(near));
        return;
    }
    for (const ScriptKey& other : kScriptKeys) {
        if (other.section != section->kind && ProfileNamesEqual(other.name, name.c_str())) {
            Note(key.line, column, false, Quoted(name) + " is a key of [" + ScriptSectionOf(other.section).name +
                                              "], not of " + label + ": the setup program never reads it here");
            return;
        }
    }
    Note(key.line, column, false, "unknown key " + Quoted(name) + " in " + label +
                                      ": the setup program never reads it");
}

void ScriptLinter::NonAscii(const std::string& what, const std::string& text, int line, int column) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            Note(line, column + static_cast<int>(i), false,
                 what + " holds non-ASCII characters: the setup program reads them in the ANSI "
                        "code page of the system it runs on");
            return;
        }
    }
}

bool ScriptLinter::CheckNumber(const std::string& section, const ProfileKey& key) {
    const std::string what = section + " " + Name(key), whole = WholeValue(key);
    const std::string read = Value(key, kProfileIntBuffer);
    size_t at = read.find_first_not_of(" \t");
    if (at != std::string::npos && (read[at] == '+' || read[at] == '-')) ++at;
    if (at >= read.size() || read[at] < '0' || read[at] > '9') {
        Note(key.line, ValueColumn(key), true, what + "=" + Quoted(whole) +
                                                   " is not a number: the setup program reads 0");
        return false;
    }
    const std::string number = std::to_string(ProfileParseInt(read.c_str()));
    if (whole != number)
        Note(key.line, ValueColumn(key), false, what + "=" + Quoted(whole) + " is read as " + number);
    return true;
}

void ScriptLinter::CheckProject() {
    ProfileSection project;
    const std::string label = "[" + std::string(kProjectSection) + "]";
    if (!ProfileFindSection(&view_, kProjectSection, &project)) {
        if (!suggested_.count(Folded(kProjectSection)))
            Note(1, 1, true, "no " + label + " section: the setup program needs at least its NAME");
        return;
    }
    const std::string named = "the product's registry key, program group and uninstall entry are named after it";
    ProfileKey key;
    if (!ProfileFindKey(&view_, kProjectSection, kNameKey, &key)) {
        if (!suggested_.count(Folded(kProjectSection) + "/" + kNameKey))
            Note(project.line, FirstColumn(project.line), true, label + " has no NAME: " + named);
    } else if (Value(key, kScriptTextSize).empty()) {
        Note(key.line, ValueColumn(key), true, label + " NAME is empty: " + named);
    }
    for (const ScriptKey& k : kScriptKeys)
        if (k.section == kSectionProject && k.type == kKeyNumber &&
            ProfileFindKey(&view_, kProjectSection, k.name, &key))
            CheckNumber(label, key);
    CheckDirectories(project);
}

void ScriptLinter::CheckDirectories(const ProfileSection& project) {
    ProfileKey mainKey, subKey;
    const bool hasMain = ProfileFindKey(&view_, kProjectSection, kMainDirectoryKey, &mainKey);
    const bool hasSub = ProfileFindKey(&view_, kProjectSection, kSubDirectoryKey, &subKey);
    const std::string main = hasMain ? Value(mainKey, kScriptTextSize) : "";
    const std::string sub = hasSub ? Value(subKey, kScriptTextSize) : "";
    const int line = hasMain ? mainKey.line : project.line;
    const int column = hasMain ? ValueColumn(mainKey) : FirstColumn(project.line);
    if (!main.empty() && main[0] == kDirMacroLead && !DirMacroOf(main.c_str(), kUseDirectory)) {
        BadMacro("[INSTALL PROJECT] MAIN DIRECTORY", main, kUseDirectory, line, column);
        return;
    }
    if (!DirMacroOf(main.c_str(), kUseDirectory) && !IsFullInstallPath((main + sub).c_str()))
        Note(line, column, false, "the default installation directory " + Quoted(main + sub) +
                                      " (MAIN DIRECTORY, then SUB DIRECTORY) is not a full path: "
                                      "the user has to type one");
    if (!main.empty() && !sub.empty() && sub[0] != '\\')
        Note(subKey.line, ValueColumn(subKey), false,
             "[INSTALL PROJECT] SUB DIRECTORY is appended to MAIN DIRECTORY as written: begin it "
             "with a backslash (\\" + sub + ")");
}

void ScriptLinter::BadMacro(const std::string& what, const std::string& text, MacroUse use,
                            int line, int column) {
    const Words allowed = MacroWords(use);
    const MacroUse other = use == kUseBaseDir ? kUseDirectory : kUseBaseDir;
    std::string message;
    if (DirMacroOf(text.c_str(), other)) {
        message = what + ": the directory macro " + Quoted(text) + " is not understood here, only " +
                  WordList(allowed);
    } else {
        const std::string near = Suggest(text, allowed);
        message = what + ": unknown directory macro " + Quoted(text) +
                  (near.empty() ? "; the macros here are " + WordList(allowed)
                                : "; did you mean " + Quoted(near) + "?");
    }
    Note(line, column, true, message);
}

void ScriptLinter::BadKeyword(const std::string& what, const std::string& text, const Words& words,
                              const std::string& effect, bool error, int line, int column) {
    const std::string near = Suggest(text, words);
    std::string message = origin_ + ": unknown " + what + " " + Quoted(text) +
                          (effect.empty() ? "" : " (" + effect + ")");
    if (near.empty())
        message += "; it is " + WordList(words) + ", written exactly so";
    else
        message += "; did you mean " + Quoted(near) + "?" + (Folded(near) == Folded(text) ? " (case counts)" : "");
    Note(line, column, error, message);
}

void ScriptLinter::CheckFileSection(const ScriptSection& section) {
    ProfileSection header;
    if (!ProfileFindSection(&view_, section.name, &header)) return;
    const std::string label = "[" + std::string(section.name) + "]";
    ProfileKey filesKey;
    if (!ProfileFindKey(&view_, section.name, kFilesKey, &filesKey)) {
        if (!suggested_.count(Folded(section.name) + "/" + kFilesKey))
            Note(header.line, FirstColumn(header.line), true,
                 label + " has no FILES: the setup program installs none of its lines");
        return;
    }
    if (!CheckNumber(label, filesKey)) return;
    const int32_t files = ProfileParseInt(Value(filesKey, kProfileIntBuffer).c_str());
    const std::map<int32_t, ProfileKey> numbered = NumberedKeys(s_, section.name, files, nullptr);
    std::string missing;  // "4, 6 to 9"
    int ranges = 0;
    int64_t next = 1, count = 0;
    auto addRange = [&](int64_t from, int64_t to) {
        count += to - from + 1;
        if (++ranges <= 4)
            missing += (missing.empty() ? "" : ", ") + std::to_string(from) +
                       (to > from ? " to " + std::to_string(to) : "");
        else if (ranges == 5)
            missing += ", ...";
    };
    for (const auto& item : numbered) {
        if (item.first > next) addRange(next, item.first - 1);
        next = item.first + 1;
    }
    if (next <= files) addRange(next, files);
    if (count > 0)
        Note(filesKey.line, ValueColumn(filesKey), true,
             label + " FILES=" + std::to_string(files) + ", but " +
                 (count == 1 ? "line " + missing + " is missing: the setup program passes over it"
                             : "lines " + missing + " are missing: the setup program passes over them"));
    for (const auto& item : numbered) {
        ++out_->entryLines;
        const std::string origin = label + " " + std::to_string(item.first);
        const std::string text = Value(item.second, static_cast<size_t>(section.lineSize));
        if (text.empty())
            Note(item.second.line, ValueColumn(item.second), true,
                 origin + " is empty: the setup program passes over it");
        else
            CheckEntryLine(section, origin, item.second, text);
    }
}

void ScriptLinter::CheckEntryLine(const ScriptSection& section, const std::string& origin,
                                  const ProfileKey& key, const std::string& text) {
    const int base = ValueColumn(key);
    std::vector<size_t> starts{0};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == kEntryFieldSeparator) starts.push_back(i + 1);
    const int first = FirstEntryColumn(section);
    const size_t needed = static_cast<size_t>(kEntryColumnCount - first);
    if (starts.size() != needed) {
        std::string columns;
        for (int c = first; c < kEntryColumnCount; ++c)
            columns += std::string(c > first ? "," : "") + kEntryColumns[c].name;
        Note(key.line, base, true,
             origin + " has " + std::to_string(starts.size()) + " fields, but a [" + section.name +
                 "] line has " + std::to_string(needed) + ": " + columns +
                 (starts.size() > needed ? "; a comma inside a field (a shortcut name, say) shifts "
                                           "every column after it"
                                         : "; the setup program skips this line"));
        return;
    }
    origin_ = origin;
    section_ = &section;
    NonAscii(origin, text, key.line, base);
    starts.push_back(text.size() + 1);
    for (size_t i = 0; i < needed; ++i) {
        const std::string field = text.substr(starts[i], starts[i + 1] - starts[i] - 1);
        CheckField(first + static_cast<int>(i), field, key.line, base + static_cast<int>(starts[i]));
    }
}

void ScriptLinter::CheckField(int column, const std::string& field, int line, int at) {
    switch (column) {
    case kColumnBaseDir:
        if (DirMacroOf(field.c_str(), kUseBaseDir)) break;
        if (!field.empty() && field[0] == kDirMacroLead)
            BadMacro(origin_ + ": BaseDir", field, kUseBaseDir, line, at);
        else if (!IsFullInstallPath(field.c_str()))
            Note(line, at, false, origin_ + ": BaseDir " + Quoted(field) + " is neither " +
                                      WordList(MacroWords(kUseBaseDir)) +
                                      " nor a full path: the file would go below the setup "
                                      "program's current folder or drive");
        break;
    case kColumnSubDir:
        if (("\\" + field + "\\").find("\\..\\") != std::string::npos)
            Note(line, at, false, origin_ + ": SubDir " + Quoted(field) + " leaves the folder of its " +
                                      (section_->hasBaseDir ? "BaseDir" : "section") + " (\"..\")");
        else if (!field.empty() && (field.front() == '\\' || field.back() == '\\'))
            Note(line, at, false, origin_ + ": SubDir " + Quoted(field) +
                                      " begins or ends with a backslash; the setup program adds it");
        break;
    case kColumnFileName:
        spellings_.push_back(Spelling{field, line, at, origin_});
        break;
    case kColumnShortcutSpec:
        CheckShortcut(field, line, at);
        break;
    case kColumnStartupMode:
        if (!field.empty() && StartupKindOf(field.c_str()) == kStartupNone)
            BadKeyword("startup kind", field, StartupWords(), "", true, line, at);
        break;
    case kColumnPluginMark:
        if (!field.empty() && !IsPluginMark(field.c_str()))
            BadKeyword("plug-in mark", field, {kPluginMark}, "the file is not started as a plug-in",
                       false, line, at);
        break;
    case kColumnOsFilter:
        if (!MatchesOsFilter(field.c_str(), 1) && !MatchesOsFilter(field.c_str(), 0))
            BadKeyword("OS filter", field, OsFilterWords(), "the line would never be carried out",
                       true, line, at);
        break;
    case kColumnRunOnceSpec:
        CheckRunOnce(field, line, at);
        break;
    default: {  // EntryPoints
        char name[kRulePathSize];
        if (!field.empty() && !EntryExportName(field.c_str(), name, sizeof(name)))
            Note(line, at, false, origin_ + ": EntryPoints " + Quoted(field) +
                                      " calls nothing: write install export/uninstall export, "
                                      "as in DllRegisterServer/DllUnregisterServer");
    }
    }
}

void ScriptLinter::CheckShortcut(const std::string& field, int line, int at) {
    if (field.empty()) return;
    const std::string form = "; write name:flags, as in \"Viewer:*PG**DT*\"";
    const size_t colon = field.find(kShortcutNameEnd);
    const std::string name = field.substr(0, colon);
    size_t bad = std::string::npos;  // offset of the first text that is not a flag
    if (colon == std::string::npos) {
        for (const ShortcutFlagWord& f : kShortcutFlags) {
            const size_t flag = field.find(f.text);
            if (flag != std::string::npos) {
                Note(line, at + static_cast<int>(flag), true,
                     origin_ + ": ShortcutSpec " + Quoted(field) + " holds the flag " + f.text +
                         " without a \":\" before it" + form);
                return;
            }
        }
        bad = field.find(kDirMacroLead);
    } else if (colon + 1 == field.size()) {
        Note(line, at + static_cast<int>(colon), true,
             origin_ + ": ShortcutSpec " + Quoted(field) + " has a \":\" but no flag after it" + form);
        return;
    } else {
        for (size_t pos = colon + 1; pos < field.size() && bad == std::string::npos;) {
            bad = pos;
            for (const ShortcutFlagWord& f : kShortcutFlags) {
                if (field.compare(pos, std::strlen(f.text), f.text) == 0) {
                    pos += std::strlen(f.text);
                    bad = std::string::npos;
                }
            }
        }
    }
    if (bad != std::string::npos) {
        const size_t end = field[bad] == kDirMacroLead ? field.find(kDirMacroLead, bad + 1) : std::string::npos;
        const std::string token = field.substr(bad, end == std::string::npos ? end : end - bad + 1);
        const std::string near = Suggest(token, FlagWords());
        Note(line, at + static_cast<int>(bad), true,
             origin_ + ": unknown shortcut macro " + Quoted(token) +
                 (near.empty() ? "; the macros are " + WordList(FlagWords()) + form
                               : "; did you mean " + Quoted(near) + "?"));
        return;
    }
    const size_t wrong = name.find_first_of("\\/:*?\"<>|\t");
    if (wrong != std::string::npos)
        Note(line, at + static_cast<int>(wrong), true,
             origin_ + ": the shortcut name " + Quoted(name) + " holds " + Quoted(name.substr(wrong, 1)) +
                 ", which a file name cannot hold");
    else if (name.empty())
        Note(line, at, false, origin_ + ": the shortcut name is empty: its file is named \".lnk\"");
}

void ScriptLinter::CheckRunOnce(const std::string& field, int line, int at) {
    const std::string tag = "the first " + std::to_string(kRunOnceTagLength) +
                            " characters are a tag (\"" + kRunOnceTag + "\")";
    if (field.empty() || field.size() == static_cast<size_t>(kRunOnceTagLength)) return;
    if (field.size() < static_cast<size_t>(kRunOnceTagLength)) {
        Note(line, at, false, origin_ + ": RunOnceSpec " + Quoted(field) + " runs nothing: " + tag);
        return;
    }
    Words marks;
    for (const RunOnceForm& form : kRunOnceForms) {
        marks.push_back(std::string(1, form.mark));
        if (form.mark != field[kRunOnceTagLength]) continue;
        RunOnceRequest request;
        if (ParseRunOnceSpec(field.c_str(), &request) == kRunOnceMacroFile &&
            !DirMacroOf(request.Macro, kUseDirectory))
            BadMacro(origin_ + ": RunOnceSpec", request.Macro, kUseDirectory, line,
                     at + kRunOnceTagLength + 1);
        return;
    }
    Note(line, at + kRunOnceTagLength, false,
         origin_ + ": RunOnceSpec " + Quoted(field) + " runs nothing: its character " +
             std::to_string(kRunOnceTagLength + 1) + " is not " + WordList(marks) + ", and " + tag);
}

void ScriptLinter::AddPlan() {
    out_->plan = MakePackagePlan(s_);
    for (const Diagnostic& d : out_->plan.diagnostics) {
        const int line = d.line > 0 ? d.line : 1;
        Note(line, FirstColumn(line), d.error, d.text);
    }
    const char* const keys[][2] = {{kProjectSection, kLicenseFileKey}, {kUninstallSection, kNameKey}};
    ProfileKey key;
    for (const auto& k : keys) {
        if (ProfileFindKey(&view_, k[0], k[1], &key))
            spellings_.push_back(Spelling{Value(key, kScriptTextSize), key.line, ValueColumn(key),
                                          "[" + std::string(k[0]) + "] " + k[1]});
    }
}

void ScriptLinter::Run() {
    if (!CheckText()) return;
    WalkLines();
    CheckProject();
    for (int i = 0; i < kFileSectionCount; ++i) CheckFileSection(kScriptSections[i]);
    AddPlan();
}

void SortDiagnostics(LintResult* result) {
    std::stable_sort(result->diagnostics.begin(), result->diagnostics.end(),
                     [](const LintDiagnostic& a, const LintDiagnostic& b) {
                         return a.line != b.line ? a.line < b.line : a.column < b.column;
                     });
}

bool ReadFile(const std::string& path, std::string* bytes) {
    std::string error;
    return ReadWholeFile(path, bytes, &error);
}

// The files' checks: each entry found, its spellings one file, the licence.
void CheckFiles(const ScriptLinter& linter, const std::string& filesDir, bool filesGiven,
                const std::string& uninstaller, LintResult* result) {
    const std::vector<PlanEntry>& entries = result->plan.entries;
    auto note = [&](int line, int column, bool error, const std::string& text) {
        result->diagnostics.push_back(LintDiagnostic{line, column, error, text});
    };
    result->sources.assign(entries.size(), "");
    std::set<int> refused;  // lines whose names the plan refuses: told once, by the plan
    for (const Diagnostic& d : result->plan.diagnostics)
        if (d.error) refused.insert(d.line);
    std::vector<std::pair<size_t, std::string>> missing;  // entry, why
    size_t wanted = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].kind == EntryKind::kScript || refused.count(entries[i].line)) continue;
        ++wanted;
        std::string problem;
        const bool isUninstaller = static_cast<int>(i) == result->plan.uninstaller;
        if (!FindFileOr(filesDir, entries[i].name, isUninstaller ? uninstaller : "",
                        &result->sources[i], &problem))
            missing.push_back({i, problem});
        else if (isUninstaller && result->sources[i] == uninstaller)
            result->suppliedUninstaller = uninstaller;
    }
    // The uninstaller that stands in for a missing one is not in the folder.
    const size_t supplied = result->suppliedUninstaller.empty() ? 0 : 1;
    if (!filesGiven && wanted > supplied && missing.size() + supplied == wanted) {
        const PlanEntry& e = entries[missing[0].first];
        note(e.line, linter.FirstColumn(e.line), true,
             "no file that the script names is in " + filesDir + " (the script's folder; " +
                 std::to_string(wanted) + " are named): name their folder with --files DIR");
        missing.clear();
    }
    for (const auto& m : missing) {
        const PlanEntry& e = entries[m.first];
        note(e.line, linter.FirstColumn(e.line), true, e.origin + ": file " + Quoted(e.name) + " " + m.second);
    }

    // Spellings of one name are one entry: the package would carry the
    // first one's bytes under all of them, so they must be one file here.
    std::set<std::string> told;
    for (const Spelling& s : linter.Spellings()) {
        const int index = result->plan.Find(s.name);
        std::string path, problem, mine, theirs;
        if (index < 0 || entries[index].name == s.name || result->sources[index].empty() ||
            !told.insert(s.name).second || !FindFileInDir(filesDir, s.name, &path, &problem) ||
            SameFile(path, result->sources[index]) || !ReadFile(path, &mine) ||
            !ReadFile(result->sources[index], &theirs) || mine == theirs)
            continue;
        const PlanEntry& e = entries[index];
        note(s.line, s.column, true,
             s.origin + ": " + Quoted(s.name) + " and " + Quoted(e.name) + " (" + e.origin +
                 ") differ only in case, which Windows does not tell apart, but here they are "
                 "different files: both would install the bytes of " + result->sources[index]);
    }

    for (size_t i = 0; i < entries.size(); ++i) {
        std::string bytes;
        if (entries[i].kind != EntryKind::kLicence || result->sources[i].empty() ||
            !ReadFile(result->sources[i], &bytes))
            continue;
        const std::string what = "the licence file " + Quoted(entries[i].name);
        const int line = entries[i].line, column = linter.FirstColumn(line);
        const std::string reason = NotTextReason(bytes, nullptr);
        if (!reason.empty()) {
            note(line, column, false, what + " is not text: " + reason);
            continue;
        }
        bytes.resize(bytes.empty() ? 0 : ReadAsText(&bytes[0], bytes.size()));  // as the page reads it
        if (bytes.find_first_not_of(" \t\r\n") == std::string::npos)
            note(line, column, false, what + " is empty: the licence page shows no text");
        else if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; }))
            note(line, column, false, what + " holds non-ASCII characters: the licence page shows "
                                             "them in the ANSI code page of the system it runs on");
    }
}

}  // namespace

int LintResult::Count(bool errors) const {
    return static_cast<int>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                          [errors](const LintDiagnostic& d) { return d.error == errors; }));
}

std::string NotTextReason(const std::string& bytes, size_t* where) {
    size_t ignored;
    if (where == nullptr) where = &ignored;
    *where = 0;
    const size_t n = bytes.size();
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)
        return "it is UTF-16 (it begins with a UTF-16 byte-order mark)";
    if (bytes.compare(0, 4, "\x7F" "ELF") == 0) return "it is an ELF executable";
    size_t nuls = 0, odd = 0, controls = 0, first = n;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 || (c != 0 && std::strchr("\t\n\r\v\f\x1a", c) != nullptr)) continue;
        nuls += c == 0;
        odd += c == 0 && i % 2;
        controls++;
        first = std::min(first, i);
    }
    *where = first;
    if (nuls > 0 && nuls * 4 >= n && (odd * 10 >= nuls * 9 || odd * 10 <= nuls))
        return "it is UTF-16 (every other byte is 0)";
    if (bytes.compare(0, 2, "MZ") == 0 && nuls > 0) return "it is a Windows executable";
    if (nuls > 0) return "it holds NUL bytes";
    if (controls * 20 > n) return "it holds binary data";
    *where = 0;
    return "";
}

LintResult LintScript(const std::string& script) {
    LintResult result;
    ScriptLinter(script, &result).Run();
    SortDiagnostics(&result);
    return result;
}

LintResult LintPackage(const std::string& script, const std::string& filesDir, bool filesGiven,
                       const std::string& uninstaller) {
    LintResult result;
    ScriptLinter linter(script, &result);
    linter.Run();
    CheckFiles(linter, filesDir, filesGiven, uninstaller, &result);
    SortDiagnostics(&result);
    return result;
}
