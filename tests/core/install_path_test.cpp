// The installation directory check, in its drive and UNC forms. The paths
// that a user types on the directory page (C, C:, C:\, C:\C, \\server\share
// and below) are worked through the real wizard by tests/wine/wizard_test;
// these are the other edges of the rule.
#include <gtest/gtest.h>

#include "core/install_path.h"

namespace {

TEST(IsValidInstallPath, DriveAndUncForms) {
    const struct { const char* path; int result; } rows[] = {
        {"", 0}, {"C:\\x", 1}, {"C:\\\\", 0}, {"C:x", 0}, {"C:/x", 0}, {"x\\y", 0},
        {"9:\\x", 1},  // the first character need not be a letter
        {":\\x", 0}, {"\\x", 0}, {"\\\\", 0}, {"\\\\server", 0}, {"\\\\server\\share\\folder\\", 1},
        {"\\\\server\\share\\a\\b", 1}, {"\\\\server\\share\\a\\b\\c\\d\\e\\f", 2},  // backslashes / 5
        {"\\\\\\\\\\", 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsValidInstallPath(row.path), row.result) << "[" << row.path << "]";
}

TEST(IsFullInstallPath, RootsPassRelativePathsDoNot) {
    const struct { const char* path; int result; } rows[] = {
        {"", 0}, {"C", 0}, {"C:", 0}, {"C:x", 0}, {"relinst", 0}, {"\\x", 0}, {"\\", 0},
        {"\\\\x", 1}, {"\\\\\\x", 0}, {"C:\\", 1}, {"C:\\x", 1}, {"\\\\server", 1}, {"\\\\server\\share", 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsFullInstallPath(row.path), row.result) << "[" << row.path << "]";
}

}  // namespace
