// The steps of the install worked out from texts: which lines are carried
// out and where they go, the shortcuts' working directories, and the
// command lines and link paths. (The one-time program's argument:
// tests/tools/install_plan_test.cpp and tests/wine/engine_test.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/install_steps.h"

namespace {

const std::string kLong(255, 'x');  // a sub-directory that takes some paths past 259

// section: index into kScriptSections; lonWorks: "LonWorks Path"; the
// paths empty where they are not formed
struct LineRow { int section; std::string text; int nt; const char* lonWorks; LineVerdict verdict;
                 std::string target, workDir, startupDir; };

const LineRow kLineRows[] = {
    {0, "*Default directory,Sub,a.exe,N:*DT*,Menu,,,,", 1, "", kLineCarried, "C:\\P\\Sub\\a.exe", "C:\\P\\Sub", "C:\\P\\Sub"},
    // A literal base: the "Menu" shortcut still works below InstallDir.
    {0, "D:\\L,Sub,a.exe,,Menu,,,,", 1, "", kLineCarried, "D:\\L\\Sub\\a.exe", "D:\\L\\Sub", "C:\\P\\Sub"},
    {0, "*Windows,,a.exe,,,,,,", 1, "", kLineCarried, "*Windows\\a.exe", "*Windows\\", "C:\\P\\"},
    {1, ",a.exe,,,,WIN-95,,", 1, "", kLineFiltered, "", "", ""},
    /* 5 */ {1, ",a.exe,,,,WIN-95,,", 0, "", kLineCarried, "C:\\W\\a.exe", "C:\\W\\", "C:\\W\\"},
    {2, "Sub,a.exe,,,,,,", 0, "", kLineCarried, "C:\\W\\S\\Sub\\a.exe", "C:\\W\\S\\Sub", "C:\\W\\S\\Sub"},
    {3, ",a.exe,,,,,,", 1, "", kLineNoLonWorks, "", "", ""},
    {3, ",a.exe,,,,,,", 1, "L:", kLineCarried, "L:\\a.exe", "L:\\", "L:\\"},
    {0, "", 1, "", kLineEmpty, "", "", ""},
    /* 10 */ {0, ",,a.exe,,,,,", 1, "", kLineUnparsed, "", "", ""},
    {1, kLong + ",a.exe,,,,,,", 1, "", kLineTooLong, "", "", ""},
    // The file fits below an empty BaseDir; below InstallDir it would not.
    {0, "," + kLong + ",a,,Menu,,,,", 0, "", kLineCarried, "\\" + kLong + "\\a", "\\" + kLong, ""},
};

TEST(InstallSteps, LinesAndShortcuts) {
    for (const LineRow& row : kLineRows) {
        const LineFolders folders = {"C:\\P", "C:\\W", "C:\\W\\S", row.lonWorks};
        const ScriptSection& section = kScriptSections[row.section];
        LineSteps steps;
        ShortcutSteps shortcuts;
        SCOPED_TRACE(row.text);
        ASSERT_EQ(row.verdict, PlanEntryLine(section, row.text.c_str(), row.nt, folders, &steps));
        EXPECT_EQ(row.target, steps.targetPath);
        if (row.verdict != kLineCarried) continue;
        EXPECT_EQ(kShortcutsReady, PlanShortcuts(section, steps, folders, &shortcuts));
        EXPECT_EQ(row.workDir, shortcuts.workDir);
        EXPECT_EQ(row.startupDir, shortcuts.startupDir);
    }
}

// The texts the install writes: quoted program paths, the ".lnk" rule, the
// uninstall command; a text that does not fit is refused whole (null).
struct TextRow { const char* name; size_t size; int (*form)(char*, size_t); const char* expected; };

const TextRow kTextRows[] = {
    {"command line", 64, [](char* o, size_t n) { return FormCommandLine("C:\\a\\p.exe", "", o, n); }, "C:\\a\\p.exe "},
    {"quoted command line", 11, [](char* o, size_t n) { return FormCommandLine("C:\\a b", "x", o, n); }, "\"C:\\a b\" x"},
    {"command line too long", 10, [](char* o, size_t n) { return FormCommandLine("C:\\a b", "x", o, n); }, nullptr},
    {"Run value", 64, [](char* o, size_t n) { return FormProgramPath(o, n, "C:\\a b\\t.exe"); }, "\"C:\\a b\\t.exe\""},
    /* 5 */ {"link", 64, [](char* o, size_t n) { return FormLinkPath(o, n, "C:\\D", "App"); }, "C:\\D\\App.lnk"},
    {"link named .LNK", 64, [](char* o, size_t n) { return FormLinkPath(o, n, "C:\\D", "N.LNK"); }, "C:\\D\\N.LNK"},
    {"folder with .lnk", 64, [](char* o, size_t n) { return FormLinkPath(o, n, "C:\\t.lnkd", "A"); }, "C:\\t.lnkd\\A"},
    {"no room for .lnk", 12, [](char* o, size_t n) { return FormLinkPath(o, n, "C:\\D", "App"); }, nullptr},
    {"uninstall", 64, [](char* o, size_t n) { return FormUninstallString(o, n, "C:\\P", "u.exe"); }, "\"C:\\P\\u.exe\" C:\\P"},
};

TEST(InstallSteps, Texts) {
    for (const TextRow& row : kTextRows) {
        char out[80];
        memset(out, '#', sizeof(out));
        EXPECT_EQ(row.expected ? 1 : 0, row.form(out, row.size)) << row.name;
        EXPECT_STREQ(row.expected ? row.expected : "", out) << row.name;
        EXPECT_EQ('#', out[row.size]) << row.name << ": written past the buffer";
    }
}

}  // namespace
