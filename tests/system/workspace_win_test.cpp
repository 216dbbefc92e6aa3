// The workspace under Wine: its path, its reuse and its removal.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "system/settings.h"
#include "system/workspace.h"

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written;
    WriteFile(file, "data", 4, &written, NULL);
    CloseHandle(file);
    SetFileAttributesA(path.c_str(), attributes);
}

// A tree with read-only and hidden files, read-only directories and three
// levels, under `root`.
void MakeTree(const std::string& root) {
    CreateDirectoryA(root.c_str(), NULL);
    MakeFile(root + "\\plain.txt");
    MakeFile(root + "\\locked.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile(root + "\\hidden.sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA((root + "\\sub").c_str(), NULL);
    MakeFile(root + "\\sub\\inner.bin", FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((root + "\\sub\\deeper").c_str(), NULL);
    MakeFile(root + "\\sub\\deeper\\last.dat");
    CreateDirectoryA((root + "\\sub\\empty").c_str(), NULL);
    SetFileAttributesA((root + "\\sub\\empty").c_str(), FILE_ATTRIBUTE_READONLY);
}

std::string TempPath() {
    char path[MAX_PATH];
    DWORD length = GetTempPathA(sizeof(path), path);
    return std::string(path, length);
}

std::string CurrentDir() {
    char path[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(path), path);
    return path;
}

TEST(DeleteTree, RemovesEverythingAndRestoresThePath) {
    struct Row {
        const char* name;
        std::string path;  // as handed over
        std::string root;  // the tree
    } rows[] = {
        {"plain path", "C:\\tree-plain", "C:\\tree-plain"},
        {"trailing backslash", "C:\\tree-slash\\", "C:\\tree-slash"},
        {"spaces in names", "C:\\tree with space", "C:\\tree with space"},
    };
    for (const Row& row : rows) {
        MakeTree(row.root);
        MakeFile(row.root + "-sibling.txt");
        char buffer[kPathSize];
        memset(buffer, '#', sizeof(buffer));
        memcpy(buffer, row.path.c_str(), row.path.size() + 1);
        DeleteTree(buffer);
        EXPECT_EQ(row.path, std::string(buffer)) << row.name << ": path not restored";
        EXPECT_EQ('#', buffer[sizeof(buffer) - 1]) << row.name;
        EXPECT_FALSE(Exists(row.root)) << row.name << ": " << row.root << " is still there";
        EXPECT_TRUE(Exists(row.root + "-sibling.txt")) << row.name << ": deleted beside the tree";
        DeleteFileA((row.root + "-sibling.txt").c_str());
    }
}

TEST(DeleteTree, LeavesTheCurrentDirectoryEmptyInPlace) {
    MakeTree("C:\\tree-current");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\tree-current"));
    char buffer[kPathSize] = "C:\\tree-current";
    DeleteTree(buffer);
    // The current directory cannot be removed; everything in it is gone.
    EXPECT_FALSE(Exists("C:\\tree-current\\sub"));
    EXPECT_FALSE(Exists("C:\\tree-current\\locked.txt"));
    SetCurrentDirectoryA("C:\\");
    RemoveDirectoryA("C:\\tree-current");
}

TEST(Workspace, PreparedReusedAndRemoved) {
    const std::string temp = TempPath();
    const std::string workspace = temp + "QOZSETUP";
    ASSERT_EQ('\\', temp[temp.size() - 1]);
    MakeTree(workspace);  // an earlier run's workspace

    ASSERT_EQ(1, PrepareWorkspace());
    EXPECT_EQ(workspace, std::string(WorkspaceDir));
    EXPECT_EQ(workspace + "\\install.ini", std::string(ScriptPath));
    EXPECT_EQ(workspace, CurrentDir());
    EXPECT_TRUE(Exists(workspace + "\\sub\\inner.bin")) << "the earlier workspace was not reused";

    // As the extraction leaves it: with a trailing backslash.
    strcat(WorkspaceDir, "\\");
    RemoveWorkspace();
    EXPECT_FALSE(Exists(workspace));
    EXPECT_EQ(temp.substr(0, temp.size() - 1), CurrentDir());
}

TEST(Workspace, RefusesATemporaryPathTooLong) {
    // temp + "QOZSETUP" + "\\install.ini" must fit 259 characters.
    struct Row {
        size_t tempLength;  // with the trailing backslash
        int result;
    } rows[] = {{239, 1}, {240, 0}, {259, 0}};
    char saved[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", saved, sizeof(saved));
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    for (const Row& row : rows) {
        std::string dir = "C:\\t\\" + std::string(row.tempLength - 6, 'x');
        std::string workspace = dir + "\\QOZSETUP";
        SetEnvironmentVariableA("TMP", dir.c_str());
        ASSERT_EQ(row.tempLength, TempPath().size()) << "TMP is not used";
        CreateDirectoryA("C:\\t", NULL);
        CreateDirectoryA(dir.c_str(), NULL);
        strcpy(WorkspaceDir, "stale");
        strcpy(ScriptPath, "stale");

        EXPECT_EQ(row.result, PrepareWorkspace()) << row.tempLength;
        EXPECT_EQ(row.result ? workspace : "", std::string(WorkspaceDir)) << row.tempLength;
        EXPECT_EQ(row.result ? workspace + "\\install.ini" : "", std::string(ScriptPath))
            << row.tempLength;
        EXPECT_EQ(row.result == 1, Exists(workspace)) << row.tempLength;
        EXPECT_EQ(row.result ? workspace : "C:\\", CurrentDir()) << row.tempLength;
        SetCurrentDirectoryA("C:\\");
        RemoveDirectoryA(workspace.c_str());
        RemoveDirectoryA(dir.c_str());
    }
    SetEnvironmentVariableA("TMP", saved[0] ? saved : NULL);
}

}  // namespace
