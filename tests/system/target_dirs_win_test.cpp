// Directory macros, the default installation directory, the LonWorks path,
// the OS filter and directory chains under Wine, with the registry values
// they read set and removed case by case.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "system/target_dirs_win32.h"
#include "system/settings.h"
#include "system/system_helpers.h"

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Sets (or with a null `text`, deletes) a string value under HKLM.
void SetValue(const char* subkey, const char* name, const char* text, DWORD type = REG_SZ) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &key, NULL));
    if (text)
        RegSetValueExA(key, name, 0, type, (const BYTE*)text, (DWORD)strlen(text) + 1);
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

std::string ProgramFilesValue() {
    char value[MAX_PATH] = "";
    DWORD size = sizeof(value);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    RegQueryValueExA(key, "ProgramFilesDir", NULL, NULL, (BYTE*)value, &size);
    RegCloseKey(key);
    return value;
}

std::string Macro(const char* text, int* result) {
    char out[kPathSize + 1];
    memset(out, '#', sizeof(out));
    strcpy(out, "untouched");
    *result = ResolveDirMacro(text, out, kPathSize);
    EXPECT_EQ('#', out[kPathSize]) << text << ": write past the buffer";
    return out;
}

class TargetDirs : public ::testing::Test {
protected:
    void SetUp() override {
        programFiles = ProgramFilesValue();
        ASSERT_FALSE(programFiles.empty());
    }
    void TearDown() override {
        SetValue(kCurrentVersion, "ProgramFilesDir", programFiles.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, LONWORKS_KEY);
    }
    std::string programFiles;
};

TEST_F(TargetDirs, Macros) {
    char windows[MAX_PATH];
    char system[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof(windows));
    GetSystemDirectoryA(system, sizeof(system));
    const std::string long259(259, 'L');
    struct Row {
        const char* name;
        const char* programFiles;  // null: value removed
        DWORD programFilesType;
        const char* lonWorks;  // null: key removed
        const char* text;
        int result;
        std::string expected;
    } rows[] = {
        {"Program Files from the registry", "D:\\Programme", REG_SZ, NULL, "*Program files", 1,
         "D:\\Programme"},
        {"Program Files without the value", NULL, REG_SZ, NULL, "*Program files", 1,
         "C:\\Program Files"},
        {"Program Files of another type", "E:\\Expanded", REG_EXPAND_SZ, NULL, "*Program files", 1,
         "C:\\Program Files"},
        {"Windows", "D:\\P", REG_SZ, NULL, "*Windows", 1, windows},
        {"System", "D:\\P", REG_SZ, NULL, "*System", 1, system},
        // 5
        {"LonWorks", "D:\\P", REG_SZ, "C:\\LonWorks", "*LonWorks directory", 1, "C:\\LonWorks"},
        {"LonWorks missing", "D:\\P", REG_SZ, NULL, "*LonWorks directory", 1, ""},
        {"LonWorks of 259", "D:\\P", REG_SZ, long259.c_str(), "*LonWorks directory", 1, long259},
        {"other case is no macro", "D:\\P", REG_SZ, NULL, "*program files", 0, "untouched"},
        {"a path is no macro", "D:\\P", REG_SZ, NULL, "C:\\Apps", 0, "untouched"},
    };
    for (const Row& row : rows) {
        SetValue(kCurrentVersion, "ProgramFilesDir", row.programFiles, row.programFilesType);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, LONWORKS_KEY);
        if (row.lonWorks) SetValue(LONWORKS_KEY, LONWORKS_VALUE, row.lonWorks);
        int result = -1;
        std::string out = Macro(row.text, &result);
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.expected, out) << row.name;
    }
}

TEST_F(TargetDirs, LonWorksPathTooLongIsEmpty) {
    // 260 characters and the terminator: QueryRegString refuses 261 bytes.
    SetValue(LONWORKS_KEY, LONWORKS_VALUE, std::string(260, 'L').c_str());
    char out[kPathSize] = "stale";
    ReadLonWorksPath(out, sizeof(out));
    EXPECT_STREQ("", out);
}

TEST_F(TargetDirs, DefaultInstallDir) {
    SetValue(kCurrentVersion, "ProgramFilesDir", "C:\\Program Files");
    const std::string main200(200, 'm');
    struct Row {
        const char* name;
        std::string main;
        std::string sub;
        std::string expected;
    } rows[] = {
        {"Program Files and a product", "*Program files", "\\My Product",
         "C:\\Program Files\\My Product"},
        {"other case taken literally", "*Program Files", "\\My Product",
         "*Program Files\\My Product"},
        {"empty main", "", "\\My Product", "\\My Product"},
        {"no backslash glues", "C:\\Apps", "Tool", "C:\\AppsTool"},
        {"Windows and a folder", "*Windows", "\\Fonts", "C:\\windows\\Fonts"},
        // 5
        {"259 fits", main200, std::string(59, 's'), main200 + std::string(59, 's')},
        {"260 is refused, not cut", main200, std::string(60, 's'), ""},
    };
    for (const Row& row : rows) {
        strcpy(MainDirSetting, row.main.c_str());
        strcpy(SubDirSetting, row.sub.c_str());
        strcpy(InstallDir, "stale");
        ResolveDefaultInstallDir();
        EXPECT_EQ(row.expected, std::string(InstallDir)) << row.name;
    }
}

TEST_F(TargetDirs, LonWorksPathTellsMissingFromPresent) {
    struct Row {
        const char* name;
        int keyPresent;
        const char* value;  // null: no value
        int result;
        const char* expected;
    } rows[] = {
        {"value present", 1, "C:\\LonWorks", 1, "C:\\LonWorks"},
        {"key without the value", 1, NULL, 0, ""},
        {"no key", 0, NULL, 0, ""},
        {"empty value", 1, "", 0, ""},
    };
    for (const Row& row : rows) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, LONWORKS_KEY);
        if (row.keyPresent) {
            ASSERT_EQ(1, SetRegString(HKEY_LOCAL_MACHINE, LONWORKS_KEY, "Other", "x")) << row.name;
        }
        if (row.value) {
            ASSERT_EQ(1, SetRegString(HKEY_LOCAL_MACHINE, LONWORKS_KEY, LONWORKS_VALUE, row.value))
                << row.name;
        }
        char out[kPathSize] = "stale";
        EXPECT_EQ(row.result, ReadLonWorksPath(out, sizeof(out))) << row.name;
        EXPECT_STREQ(row.expected, out) << row.name;
    }
}

TEST(OsFilter, FollowsIsWinNT) {
    const int saved = IsWinNT;
    const struct {
        const char* filter;
        int isWinNT;
        int expected;
    } rows[] = {
        {"WIN-NT", 1, 1}, {"WIN-NT", 0, 0}, {"WIN-95", 0, 1}, {"WIN-95", 1, 0},
        {"", 0, 1},       {"", 1, 1},       {"win-nt", 1, 0},
    };
    for (const auto& row : rows) {
        IsWinNT = row.isWinNT;
        EXPECT_EQ(row.expected, MatchesOsFilter(row.filter))
            << "\"" << row.filter << "\" with IsWinNT " << row.isWinNT;
    }
    IsWinNT = saved;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

// Each case starts from a fresh folder holding only "Apps" (as D:\Apps).
class DirChain : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(sizeof(temp), temp));
        root = std::string(temp) + "tarnvale_chain";
        RemoveTree(root);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), NULL));
        apps = root + "\\Apps";
        ASSERT_TRUE(CreateDirectoryA(apps.c_str(), NULL));
    }
    void TearDown() override { RemoveTree(root); }
    std::string root;
    std::string apps;
};

TEST_F(DirChain, CreatesMissingLevels) {
    struct Row {
        const char* name;
        std::string path;
        std::vector<std::string> made;
    } rows[] = {
        {"several levels", "\\Tool\\Data", {"\\Tool", "\\Tool\\Data"}},
        {"one level", "\\One", {"\\One"}},
        {"trailing backslash", "\\Tool2\\Data\\", {"\\Tool2", "\\Tool2\\Data"}},
        {"four levels", "\\a\\b\\c\\d", {"\\a", "\\a\\b", "\\a\\b\\c", "\\a\\b\\c\\d"}},
    };
    for (const Row& row : rows) {
        for (const std::string& dir : row.made)
            ASSERT_FALSE(Exists(apps + dir)) << row.name << ": " << dir << " before";
        EXPECT_EQ(1, CreateDirChain((apps + row.path).c_str())) << row.name;
        for (const std::string& dir : row.made) {
            DWORD attributes = GetFileAttributesA((apps + dir).c_str());
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                        (attributes & FILE_ATTRIBUTE_DIRECTORY))
                << row.name << ": " << dir << " missing";
        }
    }
}

TEST_F(DirChain, ExistingPathCreatesNothing) {
    // Apps\Gone\..\Kept names the existing Apps\Kept: the walk must not
    // run, or it would make Apps\Gone.
    ASSERT_TRUE(CreateDirectoryA((apps + "\\Kept").c_str(), NULL));
    EXPECT_EQ(1, CreateDirChain((apps + "\\Gone\\..\\Kept").c_str()));
    EXPECT_FALSE(Exists(apps + "\\Gone"));
    EXPECT_EQ(1, CreateDirChain(apps.c_str()));
    EXPECT_TRUE(Exists(apps + "\\Kept"));
}

TEST_F(DirChain, LongPathIsRefusedNotCut) {
    const std::string top = apps + "\\Top";
    struct Row {
        const char* name;
        size_t length;
        int result;
    } rows[] = {
        {"259 characters", 259, 1},
        {"260 characters", 260, 0},
        {"300 characters", 300, 0},
    };
    for (const Row& row : rows) {
        RemoveTree(top);
        // Top, then one level of "x" up to the length asked for.
        std::string path = top + "\\";
        ASSERT_LT(path.size(), row.length) << row.name;
        path += std::string(row.length - path.size(), 'x');
        EXPECT_EQ(row.result, CreateDirChain(path.c_str())) << row.name;
        EXPECT_EQ(row.result == 1, Exists(top)) << row.name;
    }
}

}  // namespace
