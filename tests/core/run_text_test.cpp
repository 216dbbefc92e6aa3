// The run's texts in fixed buffers at their limits: joined exactly,
// refused rather than cut. The ordinary texts of a run, and a temporary
// path of 239 and 240 characters, are checked on the real program by
// tests/wine/run_probe_test and extract_payload_test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/run_text.h"

namespace {

TEST(RunText, TextsFitOrAreRefused) {
    const std::string w247(247, 'w'), w248(248, 'w'), n250(250, 'n'), n251(251, 'n');
    const int least = -2147483647 - 1;
    // Rows without a text function format the version `major`.`minor`.
    const struct {
        const char* name;
        int (*format)(char* out, size_t size, const char* text);
        std::string text;
        int major, minor;
        size_t size;
        int result;
        std::string expected;  // "" when refused
    } rows[] = {
        {"workspace adds a missing backslash", FormatWorkspaceDir, "C:\\Temp", 0, 0, 260, 1, "C:\\Temp\\QOZSETUP"},
        {"workspace of an empty temp path", FormatWorkspaceDir, "", 0, 0, 260, 0, ""},
        {"script path filling 259", FormatScriptPath, w247, 0, 0, 260, 1, w247 + "\\install.ini"},
        {"script path of 260", FormatScriptPath, w248, 0, 0, 260, 0, ""},
        {"product key of a NAME of 250", FormatProductKey, n250, 0, 0, 260, 1, "SOFTWARE\\" + n250},
        /* 5 */ {"product key of a NAME of 251", FormatProductKey, n251, 0, 0, 260, 0, ""},
        {"version of 19 characters", nullptr, "", least, 1234567, kVersionTextSize, 1, "-2147483648.1234567"},
        {"version of 20 characters", nullptr, "", least, 12345678, kVersionTextSize, 0, ""},
        {"version in a buffer one byte short", nullptr, "", 10, 20, 5, 0, ""},
    };
    for (const auto& row : rows) {
        // Stale bytes between two sentinels: neither may survive.
        std::string bytes(row.size + 2, '#');
        memset(&bytes[1], 'X', row.size);
        int result = row.format ? row.format(&bytes[1], row.size, row.text.c_str())
                                : FormatVersionText(&bytes[1], row.size, row.major, row.minor);
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.expected, std::string(&bytes[1])) << row.name;
        EXPECT_TRUE(bytes.front() == '#' && bytes.back() == '#')
            << row.name << ": written outside the buffer";
    }
}

}  // namespace
