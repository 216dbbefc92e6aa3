// The default installation directory's join: no separator added, nothing
// cut. (The directory macros are looked up in script_vocabulary_test.cpp.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/target_dirs.h"

namespace {

struct JoinRow { const char* name; std::string base, sub; int result; std::string expected; };

const JoinRow kJoinRows[] = {
    {"leading backslash", "C:\\Program Files", "\\My Product", 1, "C:\\Program Files\\My Product"},
    {"no backslash glues the names", "C:\\Apps", "Tool", 1, "C:\\AppsTool"},
    {"empty base", "", "\\My Product", 1, "\\My Product"},
    {"both empty", "", "", 1, ""},
    /* 5 */ {"259 in all fits", std::string(200, 'b'), std::string(59, 's'), 1,
     std::string(200, 'b') + std::string(59, 's')},
    {"260 refused", std::string(200, 'b'), std::string(60, 's'), 0, ""},
    {"259 base and a sub", std::string(259, 'b'), "\\x", 0, ""},
};

TEST(JoinInstallDir, FitsOrIsEmpty) {
    for (const JoinRow& row : kJoinRows) {
        char out[262];
        memset(out, 'X', sizeof(out));
        EXPECT_EQ(row.result, JoinInstallDir(out + 1, 260, row.base.c_str(), row.sub.c_str())) << row.name;
        EXPECT_EQ(row.expected, std::string(out + 1)) << row.name;
        EXPECT_EQ('X', out[0]) << row.name;
        EXPECT_EQ('X', out[261]) << row.name;
    }
}

}  // namespace
