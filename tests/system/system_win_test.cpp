// The system layer against the real registry and file system under Wine,
// at the edges that the setup program's runs do not reach: registry values
// of 260 and 261 bytes, missing or of another type; chains and trees that
// would be cut, walk through ".." or follow a directory link. Every case
// works in keys and folders of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "system/settings.h"
#include "system/system_helpers.h"
#include "system/target_dirs_win32.h"
#include "system/workspace.h"

namespace {

const char kTestKey[] = "SOFTWARE\\Tarnvale Tests";

std::string Take(char* text) {
    std::string copy = text ? "[" + std::string(text) + "]" : "null";
    free(text);
    return copy;
}

// Stores `bytes` exactly as value `name` of HKLM\`subkey`; a null `bytes`
// deletes the value.
void Store(const char* subkey, const char* name, DWORD type, const std::string* bytes) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    LONG status = bytes ? RegSetValueExA(key, name, 0, type, (const BYTE*)bytes->data(), (DWORD)bytes->size())
                        : RegDeleteValueA(key, name);
    RegCloseKey(key);
    ASSERT_TRUE(status == ERROR_SUCCESS || (!bytes && status == ERROR_FILE_NOT_FOUND)) << subkey << " " << name;
}

TEST(QueryRegString, ReadsAtMost260Bytes) {
    const std::string s259(259, 's'), b260(260, 'b');
    // `bytes` stored exactly, terminator included where wanted; "[text]" or "null" read.
    const struct { const char* name; DWORD type; std::string bytes, expected; } rows[] = {
        {"260 bytes with terminator", REG_SZ, s259 + '\0', "[" + s259 + "]"},
        {"261 bytes with terminator", REG_SZ, s259 + "s" + '\0', "null"},
        {"260 bytes without terminator", REG_BINARY, b260, "[" + b260 + "]"},
        {"261 bytes without terminator", REG_BINARY, b260 + "b", "null"},
        {"empty", REG_SZ, std::string("", 1), "[]"},
        /* 5 */ {"type not tested", REG_DWORD, std::string("ABC\0", 4), "[ABC]"},
        {"no bytes at all", REG_BINARY, std::string(), "[]"},
    };
    for (const auto& row : rows) {
        Store(kTestKey, "Value", row.type, &row.bytes);
        EXPECT_EQ(row.expected, Take(QueryRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value")))
            << row.name;
    }
    EXPECT_EQ("null", Take(QueryRegString(HKEY_LOCAL_MACHINE, kTestKey, "missing value")));
    EXPECT_EQ("null", Take(QueryRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnvale None", "x")));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
}

TEST(SetRegString, StoresTheTerminator) {
    const std::string nested = std::string(kTestKey) + "\\New\\Deeper";
    const struct { const char* name; std::string subkey, text; } rows[] = {
        {"empty text", kTestKey, ""},
        {"creates the parents", nested, "x"},
        {"259 characters", kTestKey, std::string(259, 'l')},
    };
    for (const auto& row : rows) {
        const char* subkey = row.subkey.c_str();
        EXPECT_EQ(1, SetRegString(HKEY_LOCAL_MACHINE, subkey, "Value", row.text.c_str())) << row.name;
        // The raw bytes: RegGetValue would add a missing terminator itself.
        std::string back(600, '\x7f');
        DWORD type = 0, size = (DWORD)back.size();
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key));
        RegQueryValueExA(key, "Value", NULL, &type, (BYTE*)&back[0], &size);
        RegCloseKey(key);
        back.resize(size);
        EXPECT_EQ((DWORD)REG_SZ, type) << row.name;
        EXPECT_EQ(row.text + '\0', back) << row.name << ": " << size << " bytes stored";
    }
    EXPECT_EQ(0, SetRegString(reinterpret_cast<HKEY>(0x1234), "SOFTWARE", "Path", "x"));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
}

TEST(TargetDirs, MacrosAndTheLonWorksPathAtTheirEdges) {
    const char* current = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    char* saved = QueryRegString(HKEY_LOCAL_MACHINE, current, "ProgramFilesDir");
    ASSERT_TRUE(saved != NULL);
    const std::string expanded = std::string("E:\\Expanded", 12), empty("", 1);
    const std::string l259 = std::string(259, 'L') + '\0', l260 = std::string(260, 'L') + '\0';
    // A null programFiles removes the value, a null lonWorks the key; the
    // text "lw" reads the LonWorks path, any other resolves as a macro.
    const struct { const char* name; const std::string* programFiles; DWORD type; const std::string* lonWorks;
                   const char* text; int result; std::string expected; } rows[] = {
        {"Program Files without the value", NULL, REG_SZ, NULL, "*Program files", 1, "C:\\Program Files"},
        {"Program Files of another type", &expanded, REG_EXPAND_SZ, NULL, "*Program files", 1, "C:\\Program Files"},
        {"other case is no macro", NULL, REG_SZ, NULL, "*program files", 0, "untouched"},
        {"LonWorks of 259", NULL, REG_SZ, &l259, "*LonWorks directory", 1, l259.c_str()},
        {"LonWorks of 260", NULL, REG_SZ, &l260, "*LonWorks directory", 1, ""},
        /* 5 */ {"LonWorks path of 260", NULL, REG_SZ, &l260, "lw", 0, ""},
        {"LonWorks path empty", NULL, REG_SZ, &empty, "lw", 0, ""},
    };
    for (const auto& row : rows) {
        Store(current, "ProgramFilesDir", row.type, row.programFiles);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, LONWORKS_KEY);
        if (row.lonWorks) Store(LONWORKS_KEY, LONWORKS_VALUE, REG_SZ, row.lonWorks);
        char out[kPathSize + 1];
        memset(out, '#', sizeof(out));
        strcpy(out, "untouched");
        int result = strcmp(row.text, "lw") == 0 ? ReadLonWorksPath(out, kPathSize)
                                                 : ResolveDirMacro(row.text, out, kPathSize);
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.expected, std::string(out)) << row.name;
        EXPECT_EQ('#', out[kPathSize]) << row.name << ": written past the buffer";
    }
    SetRegString(HKEY_LOCAL_MACHINE, current, "ProgramFilesDir", saved);
    free(saved);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, LONWORKS_KEY);
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(CreateDirChain, MakesEachMissingLevelOrNothing) {
    const std::string apps = "C:\\chain";
    CreateDirectoryA(apps.c_str(), NULL);
    CreateDirectoryA((apps + "\\Kept").c_str(), NULL);
    // Paths of exactly 259 and 260 characters.
    const std::string fits = "\\Long\\" + std::string(259 - apps.size() - 6, 'x');
    const std::string over = "\\Over\\" + std::string(260 - apps.size() - 6, 'x');
    // Each path lies below C:\chain.
    const struct { const char* name; std::string path; int result; std::vector<std::string> made, absent; } rows[] = {
        {"four levels", "\\a\\b\\c\\d", 1, {"\\a", "\\a\\b", "\\a\\b\\c", "\\a\\b\\c\\d"}, {}},
        {"trailing backslash", "\\Tool\\Data\\", 1, {"\\Tool", "\\Tool\\Data"}, {}},
        // Gone\..\Kept names the existing Kept: no walk, or it would make Gone.
        {"existing path through ..", "\\Gone\\..\\Kept", 1, {}, {"\\Gone"}},
        {"259 characters", fits, 1, {fits}, {}},
        {"260 characters: refused, not cut", over, 0, {}, {"\\Over"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.result, CreateDirChain((apps + row.path).c_str())) << row.name;
        for (const std::string& dir : row.made)
            EXPECT_TRUE(IsDirectory(apps + dir)) << row.name << ": " << dir << " missing";
        for (const std::string& dir : row.absent)
            EXPECT_FALSE(IsDirectory(apps + dir)) << row.name << ": " << dir << " made";
    }
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const char* path, DWORD attributes = FILE_ATTRIBUTE_NORMAL, const std::string& text = "") {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
    SetFileAttributesA(path, attributes);
}

// Wine cannot make a directory link from the Windows side (its
// CreateSymbolicLink does nothing, and junctions are refused), but it shows
// a host symbolic link to a directory as a directory reparse point. The
// host's ln makes one at `dir`\`name` pointing to `target`, a host path
// relative to `dir`.
bool MakeDirectoryLink(const std::string& dir, const char* name, const char* target) {
    std::string command = std::string("Z:\\bin\\ln -s ") + target + " " + name;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &startup, &process)) return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // A host process cannot be waited for: look for the link instead.
    const DWORD linked = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    for (int tick = 0; tick < 100; ++tick) {
        DWORD attributes = GetFileAttributesA((dir + "\\" + name).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & linked) == linked;
        Sleep(50);
    }
    return false;
}

TEST(DeleteTree, EmptiesTheTreeWithoutFollowingLinks) {
    CreateDirectoryA("C:\\tree-kept", NULL);
    MakeFile("C:\\tree-kept\\kept.txt");
    MakeFile("C:\\tree-sibling.txt");
    CreateDirectoryA("C:\\tree", NULL);
    MakeFile("C:\\tree\\hidden.sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA("C:\\tree\\sub", NULL);
    MakeFile("C:\\tree\\sub\\locked.txt", FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA("C:\\tree\\sub", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(MakeDirectoryLink("C:\\tree", "link", "../tree-kept")) << "no directory link";

    char buffer[kPathSize];
    memset(buffer, '#', sizeof(buffer));
    strcpy(buffer, "C:\\tree\\");
    DeleteTree(buffer);
    EXPECT_STREQ("C:\\tree\\", buffer) << "path not restored";
    EXPECT_EQ('#', buffer[sizeof(buffer) - 1]);
    EXPECT_FALSE(Exists("C:\\tree\\hidden.sys"));
    EXPECT_FALSE(Exists("C:\\tree\\sub")) << "read-only folder left";
    EXPECT_TRUE(Exists("C:\\tree-kept\\kept.txt")) << "deleted through the link";
    EXPECT_TRUE(Exists("C:\\tree-sibling.txt")) << "deleted beside the tree";
    // Windows removes the link, and the tree after it; Wine cannot remove a
    // host link with RemoveDirectory, so both stay here.
}

// A second install copies its script over the first one's.
TEST(CopyFileOver, ReplacesAnExistingTarget) {
    MakeFile("C:\\old.ini");
    MakeFile("C:\\new.ini", FILE_ATTRIBUTE_NORMAL, "NAME=New");
    EXPECT_NE(0, CopyFileOver("C:\\new.ini", "C:\\old.ini"));
    EXPECT_EQ(0, CopyFileOver("C:\\missing.ini", "C:\\old.ini"));
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA("C:\\old.ini", GetFileExInfoStandard, &data));
    EXPECT_EQ(8u, data.nFileSizeLow) << "the earlier file was not replaced";
}

}  // namespace
