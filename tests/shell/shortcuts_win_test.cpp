// Shortcuts, the program group, startup entries and Run values against the
// real shell under Wine. The shortcuts stay in place: shell_links_test reads
// them back with lnkinfo from outside the prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "system/system_helpers.h"
#include "shell/shortcuts.h"

namespace {

const char kTarget[] = "C:\\shell target\\app.exe";
const char kWorkDir[] = "C:\\shell target";
const char kArguments[] = "-x \"two words\"";
const char kLinkFolder[] = "C:\\shell links";
const char kLnkFolder[] = "C:\\shell links\\tools.lnkdir";

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeTarget() {
    CreateDirectoryA(kWorkDir, NULL);
    HANDLE file = CreateFileA(kTarget, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
}

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, csidl, NULL, 0, path);
    return path;
}

struct LinkRow {
    const char* row;
    const char* folder;
    std::string name;
    std::string savedAs;  // file name expected in the folder; "" for none
    std::string absentAs; // a file name that must not appear
};

TEST(Shortcuts, FolderShortcutFollowsTheLnkRule) {
    MakeTarget();
    CreateDirectoryA(kLinkFolder, NULL);
    CreateDirectoryA(kLnkFolder, NULL);
    // "C:\shell links\" is 15 characters: a name of 240 gives 259 with
    // ".lnk", the longest path that is saved.
    const std::string longest(240, 'L');
    const std::string tooLong(241, 'T');
    const LinkRow kRows[] = {
        {"plain name gets .lnk", kLinkFolder, "App", "App.lnk", "App"},
        {"name ending in .LNK", kLinkFolder, "Upper.LNK", "Upper.LNK", "Upper.LNK.lnk"},
        {"name ending in .lnk", kLinkFolder, "lower.lnk", "lower.lnk", "lower.lnk.lnk"},
        {".lnk inside the name", kLinkFolder, "a.LnK.b", "a.LnK.b", "a.LnK.b.lnk"},
        {"folder holding .lnk", kLnkFolder, "Tool", "Tool", "Tool.lnk"},
        // 5
        {"259 characters saved", kLinkFolder, longest, longest + ".lnk", longest},
        {"260 characters refused", kLinkFolder, tooLong, "", tooLong + ".lnk"},
    };
    for (const LinkRow& row : kRows) {
        std::string base = std::string(row.folder) + "\\";
        EXPECT_EQ(1, CreateFolderShortcut(kTarget, kArguments, row.name.c_str(), kWorkDir,
                                          row.folder))
            << row.row;
        if (row.savedAs.empty()) {
            EXPECT_FALSE(Exists(base + row.name)) << row.row;
        } else {
            EXPECT_TRUE(Exists(base + row.savedAs)) << row.row << ": no " << row.savedAs;
        }
        EXPECT_FALSE(Exists(base + row.absentAs)) << row.row << ": found " << row.absentAs;
    }
    DeleteFileA((std::string(kLinkFolder) + "\\" + longest + ".lnk").c_str());
}

TEST(Shortcuts, DesktopShortcutReportsTheSave) {
    MakeTarget();
    const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(S_OK, CreateDesktopShortcut(kTarget, kArguments, "Desk App", kWorkDir));
    EXPECT_TRUE(Exists(desktop + "\\Desk App.lnk")) << desktop;

    // desktop, backslash, name and ".lnk": exactly 260 characters.
    const std::string tooLong(MAX_PATH - 5 - desktop.size(), 'D');
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE),
              CreateDesktopShortcut(kTarget, "", tooLong.c_str(), kWorkDir));
}

TEST(Shortcuts, StartupShortcutGoesToCommonStartup) {
    MakeTarget();
    char folder[MAX_PATH] = "sentinel";
    ASSERT_EQ(ERROR_SUCCESS, ReadShellFolder("Common Startup", folder, sizeof folder));
    const std::string expected = SpecialFolder(CSIDL_COMMON_STARTUP);
    EXPECT_STRCASEEQ(expected.c_str(), folder);
    EXPECT_EQ(1, CreateStartupShortcut(kTarget, kWorkDir, "Startup App"));
    EXPECT_TRUE(Exists(std::string(folder) + "\\Startup App.lnk")) << folder;

    char missing[MAX_PATH] = "sentinel";
    EXPECT_EQ(ERROR_SUCCESS, ReadShellFolder("No Such Folder", missing, sizeof missing));
    EXPECT_STREQ("", missing);
}

TEST(Shortcuts, KeepTheThreadsOleState) {
    MakeTarget();
    ASSERT_EQ(S_OK, OleInitialize(NULL));
    EXPECT_EQ(1, CreateFolderShortcut(kTarget, "", "Inside OLE", kWorkDir, kLinkFolder));
    EXPECT_TRUE(Exists(std::string(kLinkFolder) + "\\Inside OLE.lnk"));
    // Still initialised once: a second initialisation reports S_FALSE.
    EXPECT_EQ(S_FALSE, OleInitialize(NULL));
    OleUninitialize();
    OleUninitialize();
    EXPECT_EQ(S_OK, OleInitialize(NULL));
    OleUninitialize();
}

TEST(ProgramGroup, CreatedOnceUnderPrograms) {
    const std::string expected = SpecialFolder(CSIDL_PROGRAMS) + "\\Shell Group";
    for (int call = 1; call <= 2; ++call) {
        char path[MAX_PATH];
        memset(path, 'x', sizeof path);
        EXPECT_EQ(1, CreateProgramGroup("Shell Group", path)) << "call " << call;
        EXPECT_STREQ(expected.c_str(), path) << "call " << call;
        DWORD attributes = GetFileAttributesA(expected.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_DIRECTORY))
            << "call " << call;
    }
    char path[MAX_PATH] = "sentinel";
    EXPECT_EQ(1, CreateProgramGroup(std::string(MAX_PATH, 'G').c_str(), path));
    EXPECT_STREQ("", path);
}

TEST(AddRunEntry, WritesTheCommandUnchanged) {
    struct Row {
        const char* row;
        const char* name;
        const char* command;
    };
    const Row kRows[] = {
        {"first value", "Shell Run App", "C:\\Program Files\\Shell\\first.exe"},
        {"replaced value", "Shell Run App", "C:\\Program Files\\Shell\\app.exe"},
        {"no blank", "Shell Run Plain", "C:\\Shell\\plain.exe"},
    };
    for (const Row& row : kRows) {
        EXPECT_EQ(1, AddRunEntry(row.command, row.name)) << row.row;
        char* stored = QueryRegString(HKEY_LOCAL_MACHINE, kRunKey, row.name);
        EXPECT_STREQ(row.command, stored ? stored : "null") << row.row;
        free(stored);
    }
}

}  // namespace
