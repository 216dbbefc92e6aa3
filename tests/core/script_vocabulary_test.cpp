// The script's vocabulary that the entry-line split, the engine and the
// package tool read: lookups, and rows that must agree.
#include <gtest/gtest.h>

#include <string>

#include "core/entry_line.h"
#include "core/profile_reader.h"
#include "core/script_vocabulary.h"

namespace {

// The lookups as numbers; -1 for a name that is not found.
int SectionKind(const char* t) { return FindScriptSection(t) ? FindScriptSection(t)->kind : -1; }
int KeySize(ScriptSectionKind s, const char* t) { return FindScriptKey(s, t) ? FindScriptKey(s, t)->size : -1; }
int ProjectKeySize(const char* t) { return KeySize(kSectionProject, t); }
int UninstallKeySize(const char* t) { return KeySize(kSectionUninstall, t); }
int DirectoryMacro(const char* t) { return DirMacroOf(t, kUseDirectory); }
int BaseDirMacro(const char* t) { return DirMacroOf(t, kUseBaseDir); }
int Startup(const char* t) { return StartupKindOf(t); }
int OsFilterFamilies(const char* t) { return MatchesOsFilter(t, 1) * 2 + MatchesOsFilter(t, 0); }

struct LookupCase { const char* text; int expected; };
struct LookupGroup { const char* what; int (*lookup)(const char*); LookupCase cases[6]; };

// Names are found as the profile reads find them; keywords only as written.
const LookupGroup kLookups[] = {
    {"section", SectionKind, {{"NORMAL", kSectionNormal}, {" install project ", kSectionProject},
                              {"Lw", kSectionLonWorks}, {"[INFO]", -1}, {"NORMALS", -1}}},
    {"[INSTALL PROJECT] key", ProjectKeySize,
     {{"license file", kScriptTextSize}, {"Reboot", kProfileIntBuffer}, {"SIZE", -1}}},
    {"[UNINSTALL] key", UninstallKeySize, {{"name", kUninstallNameSize}, {"FILES", -1}}},
    {"macro of a directory", DirectoryMacro,
     {{"*Program files", kMacroProgramFiles}, {"*LonWorks directory", kMacroLonWorks},
      {"*Program Files", kNotAMacro}, {"*SYSTEM", kNotAMacro}, {" *Windows", kNotAMacro},
      {"*Default directory", kNotAMacro}}},
    {"macro of BaseDir", BaseDirMacro, {{"*Default directory", kMacroDefaultDirectory},
                                        {"*default directory", kNotAMacro}, {"*Windows", kNotAMacro}}},
    {"startup kind", Startup, {{"Menu", kStartupMenu}, {"Registry", kStartupRegistry},
                               {"menu", kStartupNone}, {"Menu ", kStartupNone}}},
    {"plug-in mark", IsPluginMark, {{"PLUGIN", 1}, {"Plugin", 0}, {"", 0}}},
    {"OS filter: NT 2, 95 1", OsFilterFamilies, {{"", 3}, {"WIN-NT", 2}, {"WIN-95", 1}, {"win-nt", 0},
                                                  {"WIN-NT ", 0}, {"WIN-98", 0}}},
    {"entry-line key", EntryLineNumber, {{"1", 1}, {"2147483647", 2147483647}, {"2147483648", 0},
                                         {"01", 0}, {"1a", 0}, {"", 0}}},
};

TEST(ScriptVocabulary, Lookups) {
    for (const LookupGroup& group : kLookups) {
        for (const LookupCase& c : group.cases) {
            if (c.text == nullptr) break;  // the cases end at the first without a text
            EXPECT_EQ(c.expected, group.lookup(c.text)) << group.what << " \"" << c.text << "\"";
        }
    }
}

// Every row is found by its own lookup (a row with no name, or one that an
// earlier row of the same name hides, is not), and file sections lead.
TEST(ScriptVocabulary, EveryRowIsReachable) {
    for (int i = 0; i < kScriptSectionCount; ++i) {
        const ScriptSection& s = kScriptSections[i];
        ASSERT_TRUE(s.name) << "section row " << i;
        EXPECT_EQ(&s, FindScriptSection(s.name)) << s.name;
        EXPECT_EQ(&s, &ScriptSectionOf(s.kind)) << s.name;
        EXPECT_EQ(i < kFileSectionCount, s.lineSize > 0) << s.name << ": file sections come first";
        EXPECT_LE(s.lineSize, kScriptTextSize) << s.name << ": the engine reads lines into 260 bytes";
    }
    for (int i = 0; i < kScriptKeyCount; ++i) {
        ASSERT_TRUE(kScriptKeys[i].name) << "key row " << i;
        EXPECT_EQ(&kScriptKeys[i], FindScriptKey(kScriptKeys[i].section, kScriptKeys[i].name))
            << kScriptKeys[i].name;
    }
    for (const DirMacroWord& m : kDirMacros)
        EXPECT_EQ(m.macro, DirMacroOf(m.text, m.uses & kUseDirectory ? kUseDirectory : kUseBaseDir)) << m.text;
    for (const OsFilterWord& f : kOsFilters) EXPECT_EQ(f.onNt, MatchesOsFilter(f.text, 1)) << f.text;
}

// Every startup kind and OS filter survives a line: it fits its column and
// reads back as itself.
TEST(ScriptVocabulary, KeywordsFitTheirColumns) {
    for (const StartupWord& w : kStartupKinds) {
        for (const OsFilterWord& f : kOsFilters) {
            const std::string line = ",f.exe,," + std::string(w.text) + ",," + f.text + ",,";
            EntryLine entry;
            ASSERT_EQ(1, ParseEntryLine(line.c_str(), 0, &entry)) << line;
            EXPECT_EQ(w.kind, StartupKindOf(entry.StartupMode)) << line;
            EXPECT_EQ(f.on95, MatchesOsFilter(entry.OsFilter, 0)) << line;
        }
    }
}

}  // namespace
