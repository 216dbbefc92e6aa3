// tarnvale lint: each mistake of the table is named at its line with its
// severity; the example package is clean; and the command's forms: the
// FILE:LINE:COL lines and counts, the --files hint, --json, --werror,
// --version, the exit codes, and a build that refuses an erroneous script.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <string>

#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"
#include "tools/tarnvale/lint_report.h"
#include "tools/tarnvale/script_lint.h"

namespace {

const std::string kHead = "[INSTALL PROJECT]\nNAME=P\nMAIN DIRECTORY=*Program files\nSUB DIRECTORY=\\P\n";

// A script whose line 7 is [NORMAL] 1 = `fields`.
std::string Line(const std::string& fields) {
    return kHead + "[NORMAL]\nFILES=1\n1=" + fields + "\n[UNINSTALL]\nNAME=u.exe\n";
}

struct LintRow { const char* name; std::string script; int line; bool error; const char* says; };

const LintRow kRows[] = {
    {"[NORMALL]", kHead + "[NORMALL]\nFILES=0\n", 5, true, "did you mean [NORMAL]?"},
    {"[INSTALL_PROJECT]", "[INSTALL_PROJECT]\nNAME=P\n", 1, true, "did you mean [INSTALL PROJECT]?"},
    {"LICENCE FILE=", kHead + "LICENCE FILE=\n", 5, true, "did you mean LICENSE FILE?"},
    {"*DESKTOP*", Line("*Default directory,,a.exe,A:*DESKTOP*,,,,,"), 7, true, "shortcut macro \"*DESKTOP*\""},
    /* 5 */ {"*Default dir", Line("*Default dir,,a.exe,,,,,,"), 7, true, "did you mean \"*Default directory\"?"},
    {"Registy", Line("*Default directory,,a.exe,A,Registy,,,,"), 7, true, "did you mean \"Registry\"?"},
    {"comma in a shortcut name", Line("*Default directory,,a.exe,A, B:*DT*,,,,,"), 7, true, "has 10 fields"},
    {"FILES=6 with five lines", kHead + "[LW]\nFILES=6\n1=,a.exe,,,,,,\n2=,a.exe,,,,,,\n3=,a.exe,,,,,,\n"
     "4=,a.exe,,,,,,\n5=,a.exe,,,,,,\n", 6, true, "line 6 is missing"},
    {"empty script", "", 1, true, "the script is empty"},
    /* 10 */ {"UTF-16 script", std::string("\xFF\xFE[\0I\0", 6), 1, true, "UTF-16"},
    {"ELF binary", std::string("\x7F" "ELF\x01\x01\x01\0\0\0", 10), 1, true, "an ELF executable"},
    {"NUL byte", kHead + std::string("X=\0\n", 4), 5, true, "NUL bytes"},
    {"no section", "NAME=P\n", 1, true, "no [INSTALL PROJECT]"},
    {"no NAME", "[INSTALL PROJECT]\nMAIN DIRECTORY=C:\\P\n", 1, true, "has no NAME"},
    /* 15 */ {"empty NAME", "[INSTALL PROJECT]\nMAIN DIRECTORY=C:\\P\nNAME=\n", 3, true, "[INSTALL PROJECT] NAME is empty"},
    {"no FILES", kHead + "[WINDOWS]\n1=,a.exe,,,,,,\n", 5, true, "has no FILES"},
    {"FILES not a number", kHead + "[SYSTEM]\nFILES=all\n", 6, true, "FILES=\"all\" is not a number"},
    {"empty line key", kHead + "[LW]\nFILES=1\n1=\n", 7, true, "[LW] 1 is empty"},
    {"too few fields", Line("*Default directory,,a.exe,,,,,"), 7, true, "has 8 fields"},
    /* 20 */ {"OS filter in lower case", Line("*Default directory,,a.exe,,,,win-nt,,"), 7, true, "\"WIN-NT\"? (case counts)"},
    {"flag without a colon", Line("*Default directory,,a.exe,A*DT*,,,,,"), 7, true, "without a \":\""},
    {"colon without a flag", Line("*Default directory,,a.exe,A:,,,,,"), 7, true, "no flag after it"},
    {"macro of the other use", Line("*Windows,,a.exe,,,,,,"), 7, true, "not understood here"},
    {"unknown run-once macro", Line("*Default directory,,a.exe,,,,,RUN ONCE@*Nowhere&x,"), 7, true, "\"*Nowhere\""},
    /* 25 */ {"MINOR VERSION", kHead + "MINOR VERSION=v2\n", 5, true, "MINOR VERSION=\"v2\" is not a number"},
    {"UNINSTALLATION PROTECTION", kHead + "UNINSTALLATION PROTECTION=on\n", 5, true, "is not a number"},
    {"repeated section", kHead + "[install project]\n", 5, true, "repeats the section of line 1"},
    {"header without ]", kHead + "[NORMAL\n", 5, true, "without \"]\""},
    {"plan error: a folder in a name", Line("*Default directory,,bin\\a.exe,,,,,,"), 7, true, "a.exe"},
    /* 30 */ {"unknown key far from all", kHead + "COLOUR=red\n", 5, false, "unknown key \"COLOUR\""},
    {"key of another section", kHead + "FILES=2\n", 5, false, "is a key of [NORMAL]"},
    {"unknown section far from all", kHead + "[Uninstaller Settings]\n", 5, false, "never reads it"},
    {"leaving the installation directory", Line("*Default directory,Data\\..\\..,a.exe,,,,,,"), 7, false, "(\"..\")"},
    {"non-ASCII name", "[INSTALL PROJECT]\nNAME=Caf\xE9\nMAIN DIRECTORY=C:\\P\n", 2, false, "non-ASCII"},
    /* 35 */ {"BaseDir not a full path", Line(",,a.exe,,,,,,"), 7, false, "nor a full path"},
    {"number read in part", kHead + "REBOOT=1 please\n", 5, false, "is read as 1"},
    {"run-once that runs nothing", Line("*Default directory,,a.exe,,,,,RUN ONCE-x,"), 7, false, "runs nothing"},
    {"plan warning: key above FILES", kHead + "[WINDOWS]\nFILES=1\n1=,a.exe,,,,,,\n2=,a.exe,,,,,,\n", 8, false,
     "above FILES=1"},
    {"licence empty", kHead + "LICENSE FILE=empty.txt\n", 5, false, "is empty: the licence page"},
    /* 40 */ {"licence not text", kHead + "LICENSE FILE=l16.txt\n", 5, false, "is not text: it is UTF-16"},
    {"licence not ASCII", kHead + "LICENSE FILE=latin.txt\n", 5, false, "licence page shows them"},
    {"spellings of different files", kHead + "[WINDOWS]\nFILES=2\n1=,bar.tpl,,,,,,\n2=,BAR.TPL,,,,,,\n", 8, true,
     "differ only in case"},
    {"missing file", kHead + "[WINDOWS]\nFILES=2\n1=,a.exe,,,,,,\n2=,absent.dll,,,,,,\n", 8, true,
     "\"absent.dll\" not found"},
};

TEST(ScriptLint, EachMistakeAtItsLine) {
    TempDir dir;
    for (const auto& f : std::vector<std::pair<std::string, std::string>>{
             {"a.exe", "a"}, {"u.exe", "u"}, {"empty.txt", "\r\n"}, {"l16.txt", std::string("\xFF\xFEO\0K\0", 6)},
             {"latin.txt", "Caf\xE9\n"}, {"bar.tpl", "bar"}, {"BAR.TPL", "BAR"}})
        WriteAll(dir.File(f.first), f.second);
    for (const LintRow& row : kRows) {
        const LintResult result = LintPackage(row.script, dir.Path().string(), true);
        std::string all;
        const LintDiagnostic* found = nullptr;
        for (const LintDiagnostic& d : result.diagnostics) {
            all += std::to_string(d.line) + ":" + std::to_string(d.column) + ": " + d.text + "\n";
            if (!found && d.text.find(row.says) != std::string::npos) found = &d;
        }
        ASSERT_TRUE(found) << row.name << "\n" << all;
        EXPECT_EQ(row.line, found->line) << row.name << "\n" << all;
        EXPECT_EQ(row.error, found->error) << row.name << "\n" << all;
        EXPECT_EQ(row.error ? 1 : 0, result.Count(true)) << row.name << ": one error for one mistake\n" << all;
    }
}

struct RunResult { int status; std::string out, err; };

RunResult Tool(const TempDir& dir, const std::string& args) {
    const std::string command = std::string("'") + TARNVALE_TOOL_PATH + "' " + args + " >'" +
                                dir.File("out") + "' 2>'" + dir.File("err") + "'";
    const int raw = std::system(command.c_str());
    return RunResult{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll<std::string>(dir.File("out")),
                     ReadAll<std::string>(dir.File("err"))};
}

TEST(ScriptLint, CommandForms) {
    TempDir dir;
    const std::string example = std::string(TARNVALE_EXAMPLES_DIR) + "/install.ini";
    RunResult r = Tool(dir, "lint '" + example + "' --files '" + TARNVALE_EXAMPLES_DIR + "/files' --werror");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(example + ": 0 errors, 0 warnings\n", r.err);
    EXPECT_NE(std::string::npos, r.out.find("12 of 12 files found")) << r.out;

    r = Tool(dir, "lint '" + example + "'");  // --files forgotten: one hint, not one error per file
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find(example + ":13:1: error: no file that the script names")) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(": 1 error, 0 warnings\n")) << r.err;

    WriteAll(dir.File("s.ini"), std::string("[INSTALL PROJECT]\nNAME=\nK\xE9Y=1\n"));
    r = Tool(dir, "lint '" + dir.File("s.ini") + "' --json");
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("", r.err);
    EXPECT_NE(std::string::npos, r.out.find("\"line\": 2, \"column\": 6, \"severity\": \"error\", \"text\": "
                                            "\"[INSTALL PROJECT] NAME is empty")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("\"line\": 3, \"column\": 1, \"severity\": \"warning\", \"text\": "
                                            "\"unknown key \\\"K\\u00e9Y\\\"")) << r.out;

    WriteAll(dir.File("w.ini"), kHead + "COLOUR=red\n");
    EXPECT_EQ(0, Tool(dir, "lint '" + dir.File("w.ini") + "'").status);
    r = Tool(dir, "lint '" + dir.File("w.ini") + "' --werror");
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find("w.ini:5:1: error: unknown key")) << r.err;

    EXPECT_EQ(2, Tool(dir, "lint").status);
    EXPECT_EQ(2, Tool(dir, "lint a.ini --no-such-option").status);
    r = Tool(dir, "--version");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(0u, r.out.find("tarnvale ")) << r.out;

    // build runs the same checks: an error stops it, --force builds all the same.
    WriteAll(dir.File("stub.exe"), TestProgram(512));
    WriteAll(dir.File("a.exe"), std::string("a"));
    WriteAll(dir.File("u.exe"), std::string("u"));
    WriteAll(dir.File("b.ini"), Line("*Default directory,,a.exe,A,Registy,,,,"));
    const std::string build = "build '" + dir.File("b.ini") + "' --stub '" + dir.File("stub.exe") + "' -o ";
    r = Tool(dir, build + "'" + dir.File("setup.exe") + "'");
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find("b.ini:7:31: error: [NORMAL] 1: unknown startup kind")) << r.err;
    EXPECT_FALSE(fs::exists(dir.File("setup.exe")));
    EXPECT_EQ(0, Tool(dir, build + "'" + dir.File("setup.exe") + "' --force").status);
}

}  // namespace
