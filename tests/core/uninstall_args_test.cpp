// The uninstaller's command line: "UninstallString" quoted or not, "/S"
// before or after the directory, and the copy's line, which must come back
// as it was formed.
#include <gtest/gtest.h>

#include <string>

#include "core/uninstall_args.h"

namespace {

TEST(UninstallArgs, TakesTheRestOfTheLineAsTheDirectory) {
    const std::string tooLong = "u.exe C:\\" + std::string(260, 'd');
    const struct { const char* name; std::string line; int ok, silent, isCopy; const char* dir; } rows[] = {
        {"registered", "\"C:\\Program Files\\A\\u.exe\" C:\\Program Files\\A", 1, 0, 0, "C:\\Program Files\\A"},
        {"/S first", "\"C:\\A\\u.exe\" /S C:\\A", 1, 1, 0, "C:\\A"},
        {"/S last, quoted, blanks", "\"C:\\A\\u.exe\"  \"C:\\My A\\\"  /s ", 1, 1, 0, "C:\\My A"},
        {"a root keeps its backslash", "u.exe C:\\", 1, 0, 0, "C:\\"},
        /* 4 */ {"no directory", "u.exe", 1, 0, 0, ""},
        {"/S inside a word", "u.exe C:\\A/S", 1, 0, 0, "C:\\A/S"},
        {"copy", "\"C:\\T\\tvu1.tmp\" /~1F,a0 /S C:\\X", 1, 1, 1, "C:\\X"},
        {"copy option without its process", "u.exe /~1F C:\\X", 0, 0, 0, ""},
        {"copy handle of 17 digits", "u.exe /~12345678901234567,1 C:\\X", 0, 0, 0, ""},
        /* 9 */ {"directory too long", tooLong, 0, 0, 0, ""},
    };
    for (const auto& row : rows) {
        UninstallArgs args;
        EXPECT_EQ(row.ok, ParseUninstallArgs(row.line.c_str(), &args)) << row.name;
        EXPECT_EQ(row.silent, args.silent) << row.name;
        EXPECT_EQ(row.isCopy, args.isCopy) << row.name;
        EXPECT_STREQ(row.dir, args.installDir) << row.name;
    }
}

TEST(UninstallArgs, CopyLineComesBackAsFormed) {
    const struct { uint64_t pipe, process; int silent; const char* dir; } rows[] = {
        {0x1F, 0xA0, 1, "C:\\Program Files\\A"}, {0, UINT64_MAX, 0, "D:\\"}};
    for (const auto& row : rows) {
        char line[kUninstallCommandSize];
        ASSERT_EQ(1, FormatCopyCommandLine(line, sizeof(line), "C:\\T\\tvu1.tmp", row.pipe,
                                           row.process, row.silent, row.dir));
        UninstallArgs args;
        ASSERT_EQ(1, ParseUninstallArgs(line, &args)) << line;
        EXPECT_EQ(row.pipe, args.decisionPipe) << line;
        EXPECT_EQ(row.process, args.launcher) << line;
        EXPECT_EQ(row.silent, args.silent) << line;
        EXPECT_STREQ(row.dir, args.installDir) << line;
    }
    char small[24] = "unchanged";
    EXPECT_EQ(0, FormatCopyCommandLine(small, sizeof(small), "C:\\T\\tvu1.tmp", 1, 2, 0, "C:\\X"));
    EXPECT_STREQ("", small);
}

}  // namespace
