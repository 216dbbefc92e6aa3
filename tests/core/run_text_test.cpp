// The run's texts in fixed buffers: joined exactly, refused rather than cut.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/run_text.h"

namespace {

const size_t kPath = 260;

// A buffer of `size` bytes between sentinels, so a write past either end
// shows.
struct Guarded {
    explicit Guarded(size_t size) : size(size), bytes(size + 2, '#') {}
    char* Out() { return &bytes[1]; }
    bool Intact() const { return bytes.front() == '#' && bytes.back() == '#'; }
    size_t size;
    std::string bytes;
};

struct TextRow {
    const char* name;
    int (*format)(char*, size_t, const std::string&);
    std::string input;
    size_t size;
    int result;
    std::string expected;  // "" when refused
};

int Workspace(char* out, size_t size, const std::string& temp) {
    return FormatWorkspaceDir(out, size, temp.c_str());
}
int Script(char* out, size_t size, const std::string& workspace) {
    return FormatScriptPath(out, size, workspace.c_str());
}
int Key(char* out, size_t size, const std::string& name) {
    return FormatProductKey(out, size, name.c_str());
}

// A temporary path of `length` characters ending in a backslash.
std::string Temp(size_t length) { return "C:\\" + std::string(length - 4, 't') + "\\"; }

// The longest temporary path whose workspace leaves room for the script
// path: temp + "QOZSETUP" + "\\install.ini" + terminator = 260 bytes.
const size_t kLongestTemp = kPath - 1 - 8 - 12;

const TextRow kRows[] = {
    {"workspace keeps one backslash", Workspace, "C:\\users\\me\\Temp\\", kPath, 1,
     "C:\\users\\me\\Temp\\QOZSETUP"},
    {"workspace adds a missing backslash", Workspace, "C:\\Temp", kPath, 1, "C:\\Temp\\QOZSETUP"},
    {"workspace of an empty temp path", Workspace, "", kPath, 0, ""},
    {"workspace at the longest temp path", Workspace, Temp(kLongestTemp), kPath, 1,
     Temp(kLongestTemp) + "QOZSETUP"},
    {"workspace one beyond", Workspace, Temp(kLongestTemp + 1), kPath, 0, ""},
    // 5
    {"workspace of a temp path of 259", Workspace, Temp(259), kPath, 0, ""},
    {"script path", Script, "C:\\Temp\\QOZSETUP", kPath, 1, "C:\\Temp\\QOZSETUP\\install.ini"},
    {"script path filling 259", Script, std::string(259 - 12, 'w'), kPath, 1,
     std::string(259 - 12, 'w') + "\\install.ini"},
    {"script path of 260", Script, std::string(260 - 12, 'w'), kPath, 0, ""},
    {"product key", Key, "My Product", kPath, 1, "SOFTWARE\\My Product"},
    // 10
    {"product key of an empty NAME", Key, "", kPath, 1, "SOFTWARE\\"},
    {"product key of a NAME of 250", Key, std::string(250, 'n'), kPath, 1,
     "SOFTWARE\\" + std::string(250, 'n')},
    {"product key of a NAME of 251", Key, std::string(251, 'n'), kPath, 0, ""},
    {"product key of a NAME of 259", Key, std::string(259, 'n'), kPath, 0, ""},
};

TEST(RunText, PathsFitOrAreRefused) {
    for (const TextRow& row : kRows) {
        Guarded buffer(row.size);
        memset(buffer.Out(), 'X', row.size);  // stale contents must not survive
        int result = row.format(buffer.Out(), row.size, row.input);
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.expected, std::string(buffer.Out())) << row.name;
        EXPECT_TRUE(buffer.Intact()) << row.name << ": write outside the buffer";
    }
}

struct VersionRow {
    const char* name;
    int major;
    int minor;
    size_t size;
    int result;
    const char* expected;
};

const VersionRow kVersionRows[] = {
    {"plain", 1, 2, kVersionTextSize, 1, "1.2"},
    {"zeros (missing keys)", 0, 0, kVersionTextSize, 1, "0.0"},
    {"negative", -1, 10, kVersionTextSize, 1, "-1.10"},
    {"largest", 2147483647, 2147483647, 2 * kVersionTextSize, 1, "2147483647.2147483647"},
    {"19 characters fit", -2147483647 - 1, 1234567, kVersionTextSize, 1, "-2147483648.1234567"},
    // 5
    {"20 characters refused", -2147483647 - 1, 12345678, kVersionTextSize, 0, ""},
    {"two extremes refused", -2147483647 - 1, -2147483647 - 1, kVersionTextSize, 0, ""},
    {"exact fit of a small buffer", 10, 20, 6, 1, "10.20"},
    {"one byte short", 10, 20, 5, 0, ""},
};

TEST(RunText, VersionText) {
    for (const VersionRow& row : kVersionRows) {
        Guarded buffer(row.size);
        memset(buffer.Out(), 'X', row.size);
        int result = FormatVersionText(buffer.Out(), row.size, row.major, row.minor);
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_STREQ(row.expected, buffer.Out()) << row.name;
        EXPECT_TRUE(buffer.Intact()) << row.name << ": write outside the buffer";
    }
}

}  // namespace
