// The installation directory check, in its drive and UNC forms.
#include <gtest/gtest.h>

#include "core/install_path.h"

namespace {

struct PathRow {
    const char* path;
    int result;
};

const PathRow kRows[] = {
    // Drive form: typed key by key, the warning stops at the fourth key.
    {"", 0},
    {"C", 0},
    {"C:", 0},
    {"C:\\", 0},
    {"C:\\x", 1},
    {"C:\\Program Files\\Tarnvale", 1},  // 5
    {"D:\\", 0},
    {"C:\\\\", 0},
    {"C:x", 0},
    {"C:/x", 0},
    {"x\\y", 0},  // 10
    {"relative", 0},
    {"9:\\x", 1},  // the first character need not be a letter
    {":\\x", 0},
    {"\\x", 0},
    // UNC form: a folder below the share passes.
    {"\\\\", 0},  // 15
    {"\\\\server", 0},
    {"\\\\server\\share", 0},
    {"\\\\server\\share\\", 0},
    {"\\\\server\\share\\folder", 1},
    {"\\\\server\\share\\folder\\", 1},  // 20
    {"\\\\server\\share\\a\\b", 1},
    {"\\\\server\\share\\a\\b\\c\\d\\e\\f", 2},
    {"\\\\\\\\\\", 1},
};

TEST(IsValidInstallPath, DriveAndUncForms) {
    for (size_t i = 0; i < sizeof(kRows) / sizeof(kRows[0]); ++i) {
        EXPECT_EQ(IsValidInstallPath(kRows[i].path), kRows[i].result)
            << "row " << i << ": [" << kRows[i].path << "]";
    }
}

}  // namespace
