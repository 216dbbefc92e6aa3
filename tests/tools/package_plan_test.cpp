// Package plan: entry order, SIZE totals per family, line widths, refused
// scripts, and the SIZE edit that keeps every other byte.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/script_vocabulary.h"
#include "tools/tarnvale/package_plan.h"
#include "tools/tarnvale/script_text.h"

namespace {

const std::map<std::string, uint64_t> kBytes = {
    {"a.exe", 100}, {"b.dll", 300}, {"c.txt", 5}, {"u.exe", 10}, {"x.dat", 50}};

SizeTotals TotalsOf(const PackagePlan& plan) {
    std::vector<uint64_t> sizes;
    for (const PlanEntry& e : plan.entries) sizes.push_back(kBytes.count(e.name) ? kBytes.at(e.name) : 0);
    return ComputeSizeTotals(plan, sizes);
}

// A [SYSTEM] line of more than 79 characters whose 7th comma lies beyond 79.
const std::string kLongSpec(80, 's');

struct SizeRow { const char* name; std::string script; uint64_t nt, win95; };

const SizeRow kSizeRows[] = {
    {"two lines naming one file count twice",
     "[NORMAL]\nFILES=2\n1=,,a.exe,,,,,,\n2=,,A.EXE,,,,,,\n[UNINSTALL]\nNAME=u.exe\n", 210, 210},
    {"filters: the families differ", "[NORMAL]\nFILES=3\n1=,,a.exe,,,,WIN-NT,,\n2=,,b.dll,,,,WIN-95,,\n"
                                     "3=,,c.txt,,,,,,\n[UNINSTALL]\nNAME=u.exe\n", 115, 315},
    {"a filter in lower case runs nowhere", "[WINDOWS]\nFILES=1\n1=,x.dat,,,,win-nt,,\n", 0, 0},
    {"uninstaller also named by a line", "[LW]\nFILES=1\n1=,u.exe,,,,,,\n[UNINSTALL]\nNAME=u.exe\n", 20, 20},
    /* 5 */ {"SYSTEM line cut before its separators", "[SYSTEM]\nFILES=1\n1=,a.exe," + kLongSpec + ",,,,,\n", 0, 0},
    {"keys above FILES and missing numbers", "[NORMAL]\nFILES=2\n3=,,b.dll,,,,,,\n2=,,c.txt,,,,,,\n", 5, 5},
    {"unparsable and empty lines skipped", "[NORMAL]\nFILES=3\n1=,,a.exe,,,,,\n2=\n3=,,c.txt,,,,,,\n", 5, 5},
    {"FILES below one", "[NORMAL]\nFILES=-1\n1=,,a.exe,,,,,,\n", 0, 0},
};

TEST(PackagePlan, SizeTotals) {
    for (const SizeRow& row : kSizeRows) {
        PackagePlan plan = MakePackagePlan(row.script);
        SizeTotals totals = TotalsOf(plan);
        EXPECT_EQ(row.nt, totals.nt) << row.name;
        EXPECT_EQ(row.win95, totals.win95) << row.name;
        EXPECT_FALSE(plan.HasErrors()) << row.name;
    }
}

// Each file section's lines are read with the setup program's width: a
// line of width - 1 characters whole, one character more cut in its last
// field, with a warning, and still planned.
TEST(PackagePlan, LineWidthsOfEachSection) {
    for (int i = 0; i < kFileSectionCount; ++i) {
        const ScriptSection& section = kScriptSections[i];
        const std::string fields = std::string(section.hasBaseDir ? "," : "") + ",x.dat,,,,,,";
        for (int extra = 0; extra < 2; ++extra) {
            const std::string line = fields + std::string(section.lineSize - 1 + extra - fields.size(), 'e');
            PackagePlan plan = MakePackagePlan("[" + std::string(section.name) + "]\nFILES=1\n1=" + line + "\n");
            std::string notes;
            for (const Diagnostic& d : plan.diagnostics) notes += d.text + "\n";
            EXPECT_EQ(1u, plan.lines.size()) << section.name << " +" << extra << ": " << notes;
            EXPECT_EQ(extra == 1, notes.find("reads only the first " + std::to_string(section.lineSize - 1) +
                                             " characters") != std::string::npos)
                << section.name << " +" << extra << ": " << notes;
        }
    }
}

TEST(PackagePlan, EntryOrderAndKinds) {
    PackagePlan plan = MakePackagePlan(
        "[INSTALL PROJECT]\r\nLICENSE FILE=licence.txt\r\n[UNINSTALL]\r\nNAME=u.exe\r\n"
        "[SYSTEM]\r\nFILES=1\r\n1=,c.txt,,,,,,\r\n[NORMAL]\r\nFILES=3\r\n2=,,a.exe,,,,,,\r\n"
        "1=,,b.dll,,,,,,\r\n3=,,B.DLL,,,,,,\r\n");
    std::vector<std::string> names;
    for (const PlanEntry& e : plan.entries) names.push_back(e.name);
    EXPECT_EQ((std::vector<std::string>{"install.ini", "licence.txt", "b.dll", "a.exe", "c.txt", "u.exe"}),
              names);
    ASSERT_EQ(6u, plan.entries.size());
    EXPECT_EQ(EntryKind::kLicence, plan.entries[1].kind);
    EXPECT_EQ(EntryKind::kCompressed, plan.entries[5].kind);
    EXPECT_EQ(11, plan.entries[2].line);
    EXPECT_EQ(5, plan.uninstaller);
}

struct RefusedRow { const char* name; std::string script; int line; };  // line: the error's

const RefusedRow kRefusedRows[] = {
    {"licence also compressed", "[INSTALL PROJECT]\nLICENSE FILE=l.txt\n[NORMAL]\nFILES=1\n1=,,L.TXT,,,,,,\n", 5},
    {"script name compressed", "[WINDOWS]\nFILES=1\n1=,Install.ini,,,,,,\n", 3},
    {"name with a folder", "[NORMAL]\nFILES=1\n1=,,bin\\a.exe,,,,,,\n", 3},
    {"device name", "[NORMAL]\nFILES=1\n1=,,aux.txt,,,,,,\n", 3},
    /* 5 */ {"empty file name", "[NORMAL]\nFILES=1\n1=,,,,,,,,\n", 3},
    {"uninstaller name the installer cuts", "[UNINSTALL]\nNAME=" + std::string(80, 'u') + "\n", 2},
};

TEST(PackagePlan, RefusedScripts) {
    for (const RefusedRow& row : kRefusedRows) {
        PackagePlan plan = MakePackagePlan(row.script);
        ASSERT_TRUE(plan.HasErrors()) << row.name;
        int line = -1;
        for (const Diagnostic& d : plan.diagnostics) line = d.error ? d.line : line;
        EXPECT_EQ(row.line, line) << row.name;
    }
    std::string script = "[NORMAL]\nFILES=1000\n";
    for (int i = 1; i <= 1000; ++i) script += std::to_string(i) + "=,,f" + std::to_string(i) + ",,,,,,\n";
    EXPECT_TRUE(MakePackagePlan(script).HasErrors()) << "1001 entries with install.ini";
    script.replace(script.find("FILES=1000"), 10, "FILES=999");
    EXPECT_FALSE(MakePackagePlan(script).HasErrors()) << "1000 entries with install.ini";
}

struct RewriteRow { const char *name, *before, *after; };  // after: with SIZE 345

const RewriteRow kRewriteRows[] = {
    {"value replaced, CR LF kept", "; x\r\n[INFO]\r\nSIZE=12\r\nDISKS=1\r\n", "; x\r\n[INFO]\r\nSIZE=345\r\nDISKS=1\r\n"},
    {"blanks and quotes around the value", "[INFO]\n  size =  \"12\"  \n", "[INFO]\n  size =  345  \n"},
    {"key without equals", "[INFO]\nSIZE\nDISKS=1", "[INFO]\nSIZE=345\nDISKS=1"},
    {"key added to the section", "[A]\r\n[Info]\r\nDISKS=1\r\n", "[A]\r\n[Info]\r\nSIZE=345\r\nDISKS=1\r\n"},
    /* 5 */ {"section appended", "[A]\nk=v\n", "[A]\nk=v\n[INFO]\nSIZE=345\n"},
    {"section appended after a last line", "[A]\r\nk=v", "[A]\r\nk=v\r\n[INFO]\r\nSIZE=345\r\n"},
    {"section header ends the text", "[A]\n[INFO]", "[A]\n[INFO]\nSIZE=345"},
    {"first of two keys", "[INFO]\nSIZE=1\nSIZE=2\n", "[INFO]\nSIZE=345\nSIZE=2\n"},
    {"first of two sections", "[INFO]\nDISKS=1\n[INFO]\nSIZE=1\n", "[INFO]\nSIZE=345\nDISKS=1\n[INFO]\nSIZE=1\n"},
};

TEST(ScriptText, SetInfoSizeKeepsOtherBytes) {
    for (const RewriteRow& row : kRewriteRows) {
        std::string out, error;
        ASSERT_TRUE(SetInfoSize(row.before, 345, &out, &error)) << row.name << ": " << error;
        EXPECT_EQ(row.after, out) << row.name;
    }
}

}  // namespace
