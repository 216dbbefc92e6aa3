// Shortcuts and the program group against the real shell under Wine, for
// what the install engine's run does not show: tests/wine/engine_test reads
// its shortcuts (targets, working directories, names ending in .LNK or
// holding .LnK) and its Run value back from outside the prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>

#include "shell/shortcuts.h"

namespace {

const char kTarget[] = "C:\\shell target\\app.exe";
const char kWorkDir[] = "C:\\shell target";
const char kLinkFolder[] = "C:\\shell links";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, csidl, NULL, 0, path);
    return path;
}

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(kWorkDir, NULL);
        CreateDirectoryA(kLinkFolder, NULL);
        HANDLE file = CreateFileA(kTarget, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
    }
};

TEST_F(Shortcuts, LnkRuleAndTheLengthLimit) {
    const std::string lnkFolder = std::string(kLinkFolder) + "\\tools.lnkdir";
    CreateDirectoryA(lnkFolder.c_str(), NULL);
    // "C:\shell links\" is 15 characters: a name of 240 gives 259 with ".lnk".
    const std::string longest(240, 'L'), tooLong(241, 'T');
    // Saved as `savedAs` ("" for none); `absentAs` must not appear.
    const struct { const char* row; std::string folder, name, savedAs, absentAs; } rows[] = {
        {"folder holding .lnk: no suffix", lnkFolder, "Tool", "Tool", "Tool.lnk"},
        {"259 characters saved", kLinkFolder, longest, longest + ".lnk", longest},
        {"260 characters refused", kLinkFolder, tooLong, "", tooLong + ".lnk"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(1, CreateFolderShortcut(kTarget, "", row.name.c_str(), kWorkDir, row.folder.c_str())) << row.row;
        const std::string base = row.folder + "\\";
        EXPECT_TRUE(row.savedAs.empty() ? !Exists(base + row.name) : Exists(base + row.savedAs))
            << row.row << ": saved as [" << row.savedAs << "]?";
        EXPECT_FALSE(Exists(base + row.absentAs)) << row.row << ": " << row.absentAs;
    }

    // The desktop, a backslash, the name and ".lnk": exactly 260 characters.
    const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    const std::string name(MAX_PATH - 5 - desktop.size(), 'D');
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE),
              CreateDesktopShortcut(kTarget, "", name.c_str(), kWorkDir));

    char missing[MAX_PATH] = "sentinel";
    EXPECT_EQ(ERROR_SUCCESS, ReadShellFolder("No Such Folder", missing, sizeof missing));
    EXPECT_STREQ("", missing) << "a shell folder that is not set";
}

TEST_F(Shortcuts, KeepTheThreadsOleState) {
    ASSERT_EQ(S_OK, OleInitialize(NULL));
    EXPECT_EQ(1, CreateFolderShortcut(kTarget, "", "Inside OLE", kWorkDir, kLinkFolder));
    EXPECT_TRUE(Exists(std::string(kLinkFolder) + "\\Inside OLE.lnk"));
    // Still initialised once: a second initialisation reports S_FALSE.
    EXPECT_EQ(S_FALSE, OleInitialize(NULL));
    OleUninitialize();
    OleUninitialize();
    EXPECT_EQ(S_OK, OleInitialize(NULL)) << "uninitialised once too often";
    OleUninitialize();
}

// Both ways to a folder give the shell's own path: the direct one, taken
// wherever the shell has it, and the item list, all that the first shells
// offer.
TEST(SpecialFolder, BothWaysGiveTheShellsPath) {
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY}) {
        char direct[MAX_PATH] = "", items[MAX_PATH] = "";
        ASSERT_EQ(1, SpecialFolderPath(csidl, direct)) << csidl;
        ASSERT_EQ(1, SpecialFolderPathFromItems(csidl, items)) << csidl;
        EXPECT_EQ(SpecialFolder(csidl), direct) << csidl;
        EXPECT_STREQ(direct, items) << csidl;
    }
    char path[MAX_PATH] = "";
    EXPECT_EQ(0, SpecialFolderPathFromItems(0x7F, path)) << "a folder the shell does not know";
}

// The folder itself, with shortcuts in it, is read by tests/wine/engine_test.
TEST(ProgramGroup, SamePathOnASecondCall) {
    const std::string expected = SpecialFolder(CSIDL_PROGRAMS) + "\\Shell Group";
    for (int call = 1; call <= 2; ++call) {
        char path[MAX_PATH];
        memset(path, 'x', sizeof path);
        EXPECT_EQ(1, CreateProgramGroup("Shell Group", path)) << "call " << call;
        EXPECT_STREQ(expected.c_str(), path) << "call " << call;
    }
    char path[MAX_PATH] = "sentinel";
    EXPECT_EQ(1, CreateProgramGroup(std::string(MAX_PATH, 'G').c_str(), path));
    EXPECT_STREQ("", path) << "a group path that does not fit";
}

}  // namespace
