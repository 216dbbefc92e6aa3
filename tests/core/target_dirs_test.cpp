// Directory macros and the default installation directory's join.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/target_dirs.h"

namespace {

struct MacroRow {
    const char* text;
    DirMacro macro;
};

const MacroRow kMacroRows[] = {
    {"*Program files", kMacroProgramFiles},
    {"*System", kMacroSystem},
    {"*LonWorks directory", kMacroLonWorks},
    {"*Windows", kMacroWindows},
    {"*Program Files", kNotAMacro},  // other letter case: a directory name
    // 5
    {"*program files", kNotAMacro},
    {"*SYSTEM", kNotAMacro},
    {"*Windows ", kNotAMacro},
    {" *Windows", kNotAMacro},
    {"*Default directory", kNotAMacro},
    // 10
    {"C:\\Apps", kNotAMacro},
    {"", kNotAMacro},
};

TEST(DirMacroOf, ExactTextOnly) {
    for (const MacroRow& row : kMacroRows)
        EXPECT_EQ(row.macro, DirMacroOf(row.text)) << "\"" << row.text << "\"";
}

struct JoinRow {
    const char* name;
    std::string base;
    std::string sub;
    int result;
    std::string expected;
};

const JoinRow kJoinRows[] = {
    {"leading backslash", "C:\\Program Files", "\\My Product", 1, "C:\\Program Files\\My Product"},
    {"no backslash glues the names", "C:\\Apps", "Tool", 1, "C:\\AppsTool"},
    {"empty base", "", "\\My Product", 1, "\\My Product"},
    {"empty sub", "D:\\Data", "", 1, "D:\\Data"},
    {"both empty", "", "", 1, ""},
    // 5
    {"259 in all fits", std::string(200, 'b'), std::string(59, 's'), 1,
     std::string(200, 'b') + std::string(59, 's')},
    {"260 refused", std::string(200, 'b'), std::string(60, 's'), 0, ""},
    {"259 base and a sub", std::string(259, 'b'), "\\x", 0, ""},
};

TEST(JoinInstallDir, FitsOrIsEmpty) {
    for (const JoinRow& row : kJoinRows) {
        char out[262];
        memset(out, 'X', sizeof(out));
        int result = JoinInstallDir(out + 1, 260, row.base.c_str(), row.sub.c_str());
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.expected, std::string(out + 1)) << row.name;
        EXPECT_EQ('X', out[0]) << row.name;
        EXPECT_EQ('X', out[261]) << row.name;
    }
}

}  // namespace
