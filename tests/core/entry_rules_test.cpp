// Entry-line field rules: shortcut flags and names, one-time programs,
// entry points, the OS filter and the paths of a line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/entry_rules.h"

namespace {

const int PG = ShortcutFlagProgramGroup;
const int DT = ShortcutFlagDesktop;

struct ShortcutRow {
    const char* field;
    int flags;
    const char* name;
};

const ShortcutRow kShortcutRows[] = {
    {"Tools:*DT*", DT, "Tools"},
    {"Tools", 0, "Tools"},
    {"My Product:*PG**DT*", PG | DT, "My Product"},
    {"My Product:*PG*", PG, "My Product"},
    {"", 0, ""},
    // 5
    {":*DT*", DT, ""},                    // empty name stays empty
    {"A:B:*PG*", PG, "A"},                // first colon
    {"Drive C: tools", 0, "Drive C: tools"},  // no flag: colon kept
    {"Tools:*dt*", 0, "Tools:*dt*"},      // flags are case-sensitive
    {"*DT*Tools", DT, ""},                // flag first, no colon
    // 10
    {"Tools*DT*", DT, "Tools"},           // no colon: text before the flag
    {"Tools*PG*x*DT*", PG | DT, "Tools"},
    {"Tools*DT*x*PG*", PG | DT, "Tools"},
    {"Tools:*D T*", 0, "Tools:*D T*"},
};

TEST(EntryRules, ShortcutSpec) {
    for (const ShortcutRow& row : kShortcutRows) {
        char name[kRulePathSize + 1];
        memset(name, '#', sizeof(name));
        int flags = ParseShortcutSpec(row.field, name, kRulePathSize);
        EXPECT_EQ(row.flags, flags) << "\"" << row.field << "\"";
        EXPECT_STREQ(row.name, name) << "\"" << row.field << "\"";
        EXPECT_EQ('#', name[kRulePathSize]) << "\"" << row.field << "\"";
    }
}

TEST(EntryRules, ShortcutNameTooLongIsRefused) {
    char name[5] = "old";
    EXPECT_EQ(-1, ParseShortcutSpec("Tools:*DT*", name, sizeof(name)));
    EXPECT_STREQ("", name);
    EXPECT_EQ(DT, ParseShortcutSpec("Tool:*DT*", name, sizeof(name)));
    EXPECT_STREQ("Tool", name);
}

struct RunOnceRow {
    const char* name;
    std::string field;
    RunOnceKind kind;
    std::string args;
    std::string macro;
    std::string file;
};

const std::string kTag = "RUN ONCE";

const RunOnceRow kRunOnceRows[] = {
    {"empty", "", kRunOnceNone, "", "", ""},
    {"7 characters", "RUN ONC", kRunOnceNone, "", "", ""},
    {"tag alone", kTag, kRunOnceNoArgs, "", "", ""},
    {"tag is not examined", "xxxxxxxx", kRunOnceNoArgs, "", "", ""},
    {"hash alone", kTag + "#", kRunOnceArgs, "", "", ""},
    // 5
    {"args up to percent", kTag + "#-install%-remove", kRunOnceArgs, "-install", "", ""},
    {"args to the end", kTag + "#-a -b", kRunOnceArgs, "-a -b", "", ""},
    {"first percent", kTag + "#a%b%c", kRunOnceArgs, "a", "", ""},
    {"percent at once", kTag + "#%x", kRunOnceArgs, "", "", ""},
    {"hash kept in args", kTag + "##1", kRunOnceArgs, "#1", "", ""},
    // 10
    {"at-sign form", kTag + "@*System&viewer.dll", kRunOnceMacroFile, "", "*System", "viewer.dll"},
    {"no ampersand", kTag + "@*Windows", kRunOnceMacroFile, "", "*Windows", ""},
    {"first ampersand", kTag + "@*System&a&b", kRunOnceMacroFile, "", "*System", "a&b"},
    {"empty macro", kTag + "@&x.dll", kRunOnceMacroFile, "", "", "x.dll"},
    {"at sign alone", kTag + "@", kRunOnceMacroFile, "", "", ""},
    // 15
    {"other 9th character", kTag + "x", kRunOnceNone, "", "", ""},
    {"blank 9th character", kTag + " #-a", kRunOnceNone, "", "", ""},
    {"percent not a mark", kTag + "%a", kRunOnceNone, "", "", ""},
    {"args of 259", kTag + "#" + std::string(259, 'a'), kRunOnceArgs, std::string(259, 'a'), "", ""},
    {"args of 260 refused", kTag + "#" + std::string(260, 'a'), kRunOnceNone, "", "", ""},
    // 20
    {"file of 260 refused", kTag + "@*System&" + std::string(260, 'f'), kRunOnceNone, "", "", ""},
};

TEST(EntryRules, RunOnceSpec) {
    for (const RunOnceRow& row : kRunOnceRows) {
        RunOnceRequest request;
        memset(&request, 'X', sizeof(request));
        strcpy(request.Args, "stale");
        RunOnceKind kind = ParseRunOnceSpec(row.field.c_str(), &request);
        EXPECT_EQ(row.kind, kind) << row.name;
        EXPECT_EQ(row.kind, request.Kind) << row.name;
        EXPECT_EQ(row.args, request.Args) << row.name;
        EXPECT_EQ(row.macro, request.Macro) << row.name;
        EXPECT_EQ(row.file, request.FileName) << row.name;
    }
}

struct ExportRow {
    const char* field;
    int result;
    const char* name;
};

const ExportRow kExportRows[] = {
    {"DllRegisterServer/DllUnregisterServer", 1, "DllRegisterServer"},
    {"Start,Now/Stop,Now", 1, "Start,Now"},
    {"Install/", 1, "Install"},
    {"a/b/c", 1, "a"},
    {"", 0, ""},
    // 5
    {"DllRegisterServer", 0, ""},  // no slash: nothing is called
    {"/DllUnregisterServer", 0, ""},
    {" /x", 1, " "},
};

TEST(EntryRules, EntryPoints) {
    for (const ExportRow& row : kExportRows) {
        char name[kRulePathSize] = "stale";
        EXPECT_EQ(row.result, EntryExportName(row.field, name, sizeof(name))) << row.field;
        EXPECT_STREQ(row.name, name) << row.field;
    }
    char small[4] = "old";
    EXPECT_EQ(0, EntryExportName("Start/Stop", small, sizeof(small)));
    EXPECT_STREQ("", small);
}

struct FilterRow {
    const char* filter;
    int onNt;
    int on95;
};

const FilterRow kFilterRows[] = {
    {"", 1, 1},
    {"WIN-NT", 1, 0},
    {"WIN-95", 0, 1},
    {"win-nt", 0, 0},
    {"Win-95", 0, 0},
    // 5
    {"WIN-NT ", 0, 0},
    {" ", 0, 0},
    {"WIN-98", 0, 0},
};

TEST(EntryRules, OsFilter) {
    for (const FilterRow& row : kFilterRows) {
        EXPECT_EQ(row.onNt, MatchesOsFilter(row.filter, 1)) << "\"" << row.filter << "\" on NT";
        EXPECT_EQ(row.on95, MatchesOsFilter(row.filter, 0)) << "\"" << row.filter << "\" on 95";
    }
}

enum PathForm { kSectionDir, kTargetPath, kWorkDir };

struct PathRow {
    const char* name;
    PathForm form;
    std::string first;
    std::string second;
    int result;
    std::string expected;
};

const std::string kInstall = "C:\\Program Files\\My Product";

const PathRow kPathRows[] = {
    {"section dir with sub", kSectionDir, kInstall, "Data", 1, kInstall + "\\Data"},
    {"section dir without sub", kSectionDir, kInstall, "", 1, kInstall},
    {"sub of several levels", kSectionDir, "C:\\windows", "a\\b", 1, "C:\\windows\\a\\b"},
    {"target path", kTargetPath, kInstall + "\\Data", "app.exe", 1, kInstall + "\\Data\\app.exe"},
    {"work dir with sub", kWorkDir, kInstall, "Data", 1, kInstall + "\\Data"},
    // 5
    {"work dir without sub ends in backslash", kWorkDir, kInstall, "", 1, kInstall + "\\"},
    {"empty base", kSectionDir, "", "Data", 1, "\\Data"},
    {"259 fits", kTargetPath, std::string(200, 'd'), std::string(58, 'f'), 1,
     std::string(200, 'd') + "\\" + std::string(58, 'f')},
    {"260 refused", kTargetPath, std::string(200, 'd'), std::string(59, 'f'), 0, ""},
    {"work dir of 260 refused", kWorkDir, std::string(259, 'd'), "", 0, ""},
    // 10
    {"section dir of 259 without sub", kSectionDir, std::string(259, 'd'), "", 1,
     std::string(259, 'd')},
    {"section dir of 260 refused", kSectionDir, std::string(260, 'd'), "", 0, ""},
};

int Form(PathForm form, char* out, size_t size, const char* first, const char* second) {
    switch (form) {
    case kSectionDir: return FormSectionDir(out, size, first, second);
    case kTargetPath: return FormTargetPath(out, size, first, second);
    case kWorkDir: return FormWorkDir(out, size, first, second);
    }
    return -1;
}

TEST(EntryRules, LinePaths) {
    for (const PathRow& row : kPathRows) {
        // A larger buffer than 260 must not lift the limit.
        char out[kRulePathSize + 40];
        memset(out, '#', sizeof(out));
        int result = Form(row.form, out + 1, kRulePathSize + 38, row.first.c_str(),
                          row.second.c_str());
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.expected, std::string(out + 1)) << row.name;
        EXPECT_EQ('#', out[0]) << row.name;
        EXPECT_EQ('#', out[kRulePathSize + 1]) << row.name << ": write past 260 bytes";
    }
}

TEST(EntryRules, LinePathsIntoTheirOwnBase) {
    char path[kRulePathSize] = "C:\\Apps";
    ASSERT_EQ(1, FormSectionDir(path, sizeof(path), path, "Tool"));
    ASSERT_EQ(1, FormTargetPath(path, sizeof(path), path, "t.exe"));
    EXPECT_STREQ("C:\\Apps\\Tool\\t.exe", path);
}

TEST(EntryRules, ScriptDecimal) {
    const struct {
        const char* text;
        int value;
    } rows[] = {
        {"123456", 123456}, {"  42", 42},       {"+7", 7},
        {"-15", -15},       {"12abc", 12},      {"abc", 0},
        {"", 0},            {"- 5", 0},         {"2147483647", 2147483647},
        {"2147483648", 2147483647},             {"-2147483648", -2147483647 - 1},
        {"99999999999999999999", 2147483647},   {"\t9", 9},
    };
    for (const auto& row : rows) EXPECT_EQ(row.value, ScriptDecimal(row.text)) << row.text;
}

}  // namespace
