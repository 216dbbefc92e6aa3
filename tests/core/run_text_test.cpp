// The run's texts in fixed buffers at their limits: joined exactly,
// refused rather than cut. The ordinary texts of a run, and a temporary
// path of 239 and 240 characters, are checked on the real program by
// tests/wine/run_probe_test and extract_payload_test.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "core/run_text.h"

namespace {

TEST(RunText, TextsFitOrAreRefused) {
    const std::string w247(247, 'w'), w248(248, 'w'), n250(250, 'n'), n251(251, 'n');
    const int least = -2147483647 - 1;
    const struct {
        const char* name;
        std::function<int(char*, size_t)> format;
        size_t size;
        int result;
        std::string expected;  // "" when refused
    } rows[] = {
        {"workspace adds a missing backslash",
         [](char* out, size_t size) { return FormatWorkspaceDir(out, size, "C:\\Temp"); }, 260, 1,
         "C:\\Temp\\QOZSETUP"},
        {"workspace of an empty temp path",
         [](char* out, size_t size) { return FormatWorkspaceDir(out, size, ""); }, 260, 0, ""},
        {"script path filling 259",
         [&](char* out, size_t size) { return FormatScriptPath(out, size, w247.c_str()); }, 260, 1,
         w247 + "\\install.ini"},
        {"script path of 260",
         [&](char* out, size_t size) { return FormatScriptPath(out, size, w248.c_str()); }, 260, 0,
         ""},
        {"product key of a NAME of 250",
         [&](char* out, size_t size) { return FormatProductKey(out, size, n250.c_str()); }, 260, 1,
         "SOFTWARE\\" + n250},
        // 5
        {"product key of a NAME of 251",
         [&](char* out, size_t size) { return FormatProductKey(out, size, n251.c_str()); }, 260, 0,
         ""},
        {"version of 19 characters",
         [&](char* out, size_t size) { return FormatVersionText(out, size, least, 1234567); },
         kVersionTextSize, 1, "-2147483648.1234567"},
        {"version of 20 characters",
         [&](char* out, size_t size) { return FormatVersionText(out, size, least, 12345678); },
         kVersionTextSize, 0, ""},
        {"version in a buffer one byte short",
         [](char* out, size_t size) { return FormatVersionText(out, size, 10, 20); }, 5, 0, ""},
    };
    for (const auto& row : rows) {
        // Stale bytes between two sentinels: neither may survive.
        std::string bytes(row.size + 2, '#');
        memset(&bytes[1], 'X', row.size);
        EXPECT_EQ(row.result, row.format(&bytes[1], row.size)) << row.name;
        EXPECT_EQ(row.expected, std::string(&bytes[1])) << row.name;
        EXPECT_TRUE(bytes.front() == '#' && bytes.back() == '#')
            << row.name << ": written outside the buffer";
    }
}

}  // namespace
