// Directory macros and the default installation directory under Wine, with
// the registry values they read set and removed case by case.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "script/target_dirs.h"
#include "setup/settings.h"

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

}  // namespace
