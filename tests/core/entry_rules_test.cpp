// Entry-line field rules: shortcut flags and names, one-time programs,
// entry points, the SIZE conversion and the paths of a line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/entry_rules.h"

namespace {

const int PG = ShortcutFlagProgramGroup;
const int DT = ShortcutFlagDesktop;

struct ShortcutRow { const char* field; size_t size; int flags; const char* name; };  // size: name's buffer

const ShortcutRow kShortcutRows[] = {
    {"Tools:*DT*", 260, DT, "Tools"}, {"Tools", 260, 0, "Tools"}, {":*DT*", 260, DT, ""},
    {"My Product:*PG**DT*", 260, PG | DT, "My Product"}, {"A:B:*PG*", 260, PG, "A"},  // the first colon
    /* 6 */ {"Drive C: tools", 260, 0, "Drive C: tools"}, {"Tools:*dt*", 260, 0, "Tools:*dt*"},
    // No colon: the name ends at the first flag.
    /* 8 */ {"*DT*Tools", 260, DT, ""}, {"Tools*DT*", 260, DT, "Tools"},
    /* 10 */ {"Tools*PG*x*DT*", 260, PG | DT, "Tools"}, {"Tools*DT*x*PG*", 260, PG | DT, "Tools"},
    /* 12 */ {"Tools:*DT*", 5, -1, ""}, {"Tool:*DT*", 5, DT, "Tool"},  // a name of 5 does not fit
};

TEST(EntryRules, ShortcutSpec) {
    for (const ShortcutRow& row : kShortcutRows) {
        char name[kRulePathSize + 1];
        memset(name, '#', sizeof(name));
        EXPECT_EQ(row.flags, ParseShortcutSpec(row.field, name, row.size)) << row.field;
        EXPECT_STREQ(row.name, name) << row.field;
        EXPECT_EQ('#', name[row.size]) << row.field;
    }
}

struct RunOnceRow { const char* name; std::string field; RunOnceKind kind; std::string args, macro, file; };

const std::string kTag = "RUN ONCE";

const RunOnceRow kRunOnceRows[] = {
    {"7 characters", "RUN ONC", kRunOnceNone, "", "", ""},
    {"tag alone", kTag, kRunOnceNoArgs, "", "", ""},
    {"tag is not examined", "xxxxxxxx", kRunOnceNoArgs, "", "", ""},
    {"hash alone", kTag + "#", kRunOnceArgs, "", "", ""},
    /* 5 */ {"args up to the first percent", kTag + "#-install%-remove%x", kRunOnceArgs, "-install", "", ""},
    {"args to the end", kTag + "#-a -b", kRunOnceArgs, "-a -b", "", ""},
    {"at-sign form", kTag + "@*System&viewer.dll", kRunOnceMacroFile, "", "*System", "viewer.dll"},
    {"no ampersand", kTag + "@*Windows", kRunOnceMacroFile, "", "*Windows", ""},
    {"first ampersand", kTag + "@*System&a&b", kRunOnceMacroFile, "", "*System", "a&b"},
    /* 10 */ {"empty macro", kTag + "@&x.dll", kRunOnceMacroFile, "", "", "x.dll"},
    {"other 9th character", kTag + " #-a", kRunOnceNone, "", "", ""},
    {"args of 259", kTag + "#" + std::string(259, 'a'), kRunOnceArgs, std::string(259, 'a'), "", ""},
    {"args of 260 refused", kTag + "#" + std::string(260, 'a'), kRunOnceNone, "", "", ""},
    {"file of 260 refused", kTag + "@*System&" + std::string(260, 'f'), kRunOnceNone, "", "", ""},
};

TEST(EntryRules, RunOnceSpec) {
    for (const RunOnceRow& row : kRunOnceRows) {
        RunOnceRequest request;
        memset(&request, 'X', sizeof(request));
        strcpy(request.Args, "stale");
        EXPECT_EQ(row.kind, ParseRunOnceSpec(row.field.c_str(), &request)) << row.name;
        EXPECT_EQ(row.kind, request.Kind) << row.name;
        EXPECT_EQ(row.args, request.Args) << row.name;
        EXPECT_EQ(row.macro, request.Macro) << row.name;
        EXPECT_EQ(row.file, request.FileName) << row.name;
    }
}

TEST(EntryRules, EntryPoints) {
    const struct { const char* field; size_t size; int result; const char* name; } rows[] = {
        {"DllRegisterServer/DllUnregisterServer", 260, 1, "DllRegisterServer"},
        {"Start,Now/Stop,Now", 260, 1, "Start,Now"}, {"a/b/c", 260, 1, "a"}, {" /x", 260, 1, " "},
        {"", 260, 0, ""}, {"DllRegisterServer", 260, 0, ""},  // no slash: nothing is called
        {"/DllUnregisterServer", 260, 0, ""}, {"Start/Stop", 4, 0, ""}, {"Sta/Stop", 4, 1, "Sta"},
    };
    for (const auto& row : rows) {
        char name[kRulePathSize] = "stale";
        EXPECT_EQ(row.result, EntryExportName(row.field, name, row.size)) << row.field;
        EXPECT_STREQ(row.name, name) << row.field;
    }
}

TEST(EntryRules, ScriptDecimal) {
    const struct { const char* text; int value; } rows[] = {
        {"123456", 123456}, {"  42", 42}, {"+7x", 7}, {"-15", -15}, {"abc", 0}, {"0x10", 0}, {"", 0}, {"- 5", 0},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"99999999999999999999", 2147483647}, {"\t9", 9},
    };
    for (const auto& row : rows) EXPECT_EQ(row.value, ScriptDecimal(row.text)) << row.text;
}

struct PathRow {
    const char* name;
    int (*form)(char* out, size_t size, const char* first, const char* second);
    std::string first, second;
    int result;
    std::string expected;
};

const std::string kInstall = "C:\\Program Files\\My Product";
const std::string k200(200, 'd'), k259(259, 'd'), k260(260, 'd');

const PathRow kPathRows[] = {
    {"section dir with sub", FormSectionDir, kInstall, "a\\b", 1, kInstall + "\\a\\b"},
    {"section dir without sub", FormSectionDir, kInstall, "", 1, kInstall},
    {"target path", FormTargetPath, kInstall, "app.exe", 1, kInstall + "\\app.exe"},
    {"work dir without sub ends in backslash", FormWorkDir, kInstall, "", 1, kInstall + "\\"},
    /* 5 */ {"259 fits", FormTargetPath, k200, std::string(58, 'f'), 1, k200 + "\\" + std::string(58, 'f')},
    {"260 refused", FormTargetPath, k200, std::string(59, 'f'), 0, ""},
    {"work dir of 260 refused", FormWorkDir, k259, "", 0, ""},
    {"section dir of 259 without sub", FormSectionDir, k259, "", 1, k259},
    {"section dir of 260 refused", FormSectionDir, k260, "", 0, ""},
};

TEST(EntryRules, LinePaths) {
    for (const PathRow& row : kPathRows) {
        // A larger buffer than 260 must not lift the limit.
        char out[kRulePathSize + 40];
        memset(out, '#', sizeof(out));
        EXPECT_EQ(row.result, row.form(out + 1, kRulePathSize + 38, row.first.c_str(), row.second.c_str()))
            << row.name;
        EXPECT_EQ(row.expected, std::string(out + 1)) << row.name;
        EXPECT_EQ('#', out[0]) << row.name;
        EXPECT_EQ('#', out[kRulePathSize + 1]) << row.name << ": write past 260 bytes";
    }
    // Into their own base, as the engine forms SectionDir and TargetPath.
    char path[kRulePathSize] = "C:\\Apps";
    ASSERT_EQ(1, FormSectionDir(path, sizeof(path), path, "Tool"));
    ASSERT_EQ(1, FormTargetPath(path, sizeof(path), path, "t.exe"));
    EXPECT_STREQ("C:\\Apps\\Tool\\t.exe", path);
}

}  // namespace
