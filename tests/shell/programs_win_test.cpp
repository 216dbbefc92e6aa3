// Plug-ins, one-time programs and library entry points under Wine, with
// shell_recorder.exe and shell_entry.dll (built beside this program), which
// record how they were started or called in the file TARNVALE_SHELL_RECORD.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "system/settings.h"
#include "shell/programs.h"
#include "tests/shell/shell_test_support.h"

namespace {

const char kRecord[] = "C:\\shell record.txt";
const char kWorkspace[] = "C:\\shell workspace";
const char kRunDir[] = "C:\\shell run dir";
// A recorder under a folder with a blank, and a decoy where the unquoted
// command line would start first ("C:\Shell" + ".exe").
const char kBlankPath[] = "C:\\Shell Test\\recorder.exe";
const char kDecoy[] = "C:\\Shell.exe";
const char kPlainPath[] = "C:\\ShellPlain\\recorder.exe";

class Programs : public testing::Test {
protected:
    void SetUp() override {
        const std::string recorder = ProgramFolder() + "\\shell_recorder.exe";
        CreateDirectoryA("C:\\Shell Test", NULL);
        CreateDirectoryA("C:\\ShellPlain", NULL);
        CreateDirectoryA(kWorkspace, NULL);
        CreateDirectoryA(kRunDir, NULL);
        ASSERT_TRUE(CopyFileA(recorder.c_str(), kBlankPath, FALSE)) << recorder;
        ASSERT_TRUE(CopyFileA(recorder.c_str(), kPlainPath, FALSE));
        ASSERT_TRUE(CopyFileA(recorder.c_str(), kDecoy, FALSE));
        SetEnvironmentVariableA("TARNVALE_SHELL_RECORD", kRecord);
        lstrcpyA(WorkspaceDir, kWorkspace);
        SetCurrentDirectoryA(kWorkspace);
        DeleteFileA(kRecord);
    }
};

std::string CurrentDir() {
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    return dir;
}

std::string Expected(const std::string& command, const char* module, int show,
                     const std::string& cwd) {
    return "command=" + command + "\nmodule=" + module + "\nshow=" + std::to_string(show) +
           "\ncwd=" + cwd + "\n";
}

TEST_F(Programs, RegisterPluginStartsHiddenWithQuotedPath) {
    struct Row {
        const char* row;
        const char* path;
        int flag;
        std::string command;
    };
    const Row kRows[] = {
        {"register, path with blank", kBlankPath, 1, "\"C:\\Shell Test\\recorder.exe\" /regplugin"},
        {"deregister, path with blank", kBlankPath, 0,
         "\"C:\\Shell Test\\recorder.exe\" /deregplugin"},
        {"register, plain path", kPlainPath, 1, "C:\\ShellPlain\\recorder.exe /regplugin"},
    };
    for (const Row& row : kRows) {
        DeleteFileA(kRecord);
        SetCurrentDirectoryA(kRunDir);
        RegisterPlugin(row.path, row.flag);
        EXPECT_EQ(Expected(row.command, row.path, SW_HIDE, kRunDir), WaitForText(kRecord, 15))
            << row.row;
        EXPECT_EQ(kRunDir, CurrentDir()) << row.row;
    }
}

TEST_F(Programs, RunOnceProgramRunsInItsDirectoryAndRestoresTheWorkspace) {
    struct Row {
        const char* row;
        const char* dir;
        const char* path;
        const char* arguments;
        std::string command;
        const char* cwd;
    };
    const Row kRows[] = {
        {"arguments kept as given", kRunDir, kBlankPath, "a  \"b c\" /x",
         "\"C:\\Shell Test\\recorder.exe\" a  \"b c\" /x", kRunDir},
        {"empty arguments keep the blank", kRunDir, kBlankPath, "",
         "\"C:\\Shell Test\\recorder.exe\" ", kRunDir},
        {"plain path", kRunDir, kPlainPath, "-q", "C:\\ShellPlain\\recorder.exe -q", kRunDir},
        {"missing directory", "C:\\no such run dir", kPlainPath, "-q",
         "C:\\ShellPlain\\recorder.exe -q", kWorkspace},
    };
    for (const Row& row : kRows) {
        DeleteFileA(kRecord);
        RunOnceProgram(row.dir, row.path, row.arguments);
        EXPECT_EQ(kWorkspace, CurrentDir()) << row.row;
        EXPECT_EQ(Expected(row.command, row.path, SW_SHOWNORMAL, row.cwd),
                  WaitForText(kRecord, 15))
            << row.row;
    }
}

struct LaunchCall {
    bool plugin;
    const char* path;
};

void Launch(void* context) {
    LaunchCall* call = (LaunchCall*)context;
    if (call->plugin)
        RegisterPlugin(call->path, 1);
    else
        RunOnceProgram(kRunDir, call->path, "");
}

TEST_F(Programs, LaunchFailuresShowTheirMessage) {
    HANDLE bad = CreateFileA("C:\\shell run dir\\bad.exe", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                             0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, bad);
    DWORD written;
    WriteFile(bad, "not a program", 13, &written, NULL);
    CloseHandle(bad);
    // Wine's WinExec reports every program it cannot find as 2, a missing
    // folder too: result 3 is covered by LaunchFailureText's own table.
    struct Row {
        const char* row;
        LaunchCall call;
        const char* caption;
        const char* text;
    };
    const Row kRows[] = {
        {"plug-in file missing", {true, "C:\\shell run dir\\none.exe"}, "Plugin Error",
         "The specified file was not found."},
        {"plug-in invalid", {true, "C:\\shell run dir\\bad.exe"}, "Plugin Error",
         "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
        {"run-once file missing", {false, "C:\\shell run dir\\none.exe"}, "Run Once Error",
         "The specified file was not found."},
        {"run-once invalid", {false, "C:\\shell run dir\\bad.exe"}, "Run Once Error",
         "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
    };
    for (const Row& row : kRows) {
        LaunchCall call = row.call;
        ShownBox box = RunAndAnswer(Launch, &call, row.caption, 15);
        EXPECT_TRUE(box.shown) << row.row;
        EXPECT_EQ(row.text, box.text) << row.row;
        EXPECT_EQ(kWorkspace, CurrentDir()) << row.row;
    }
}

TEST_F(Programs, CallLibraryEntryCallsTheExportOnce) {
    const std::string library = ProgramFolder() + "\\shell_entry.dll";
    struct Row {
        const char* row;
        std::string path;
        const char* name;
        const char* recorded;
    };
    const Row kRows[] = {
        {"export called", library, "ShellEntry", "ShellEntry called\n"},
        {"missing export", library, "NoSuchEntry", "<missing>"},
        {"missing library", ProgramFolder() + "\\no_such_library.dll", "ShellEntry", "<missing>"},
    };
    for (const Row& row : kRows) {
        DeleteFileA(kRecord);
        CallLibraryEntry(row.path.c_str(), row.name);
        EXPECT_EQ(row.recorded, ReadText(kRecord)) << row.row;
        EXPECT_EQ(NULL, GetModuleHandleA(row.path.c_str())) << row.row << ": still loaded";
    }
}

TEST(LaunchFailureText, MapsFourResults) {
    const char kLongPath[] = "C:\\a much longer path\\p.exe";
    struct Row {
        const char* row;
        unsigned result;
        const char* runOncePath;
        size_t size;
        const char* text;
    };
    const Row kRows[] = {
        {"0", 0, NULL, 0, "The system is out of memory or resources."},
        {"2", 2, NULL, 0, "The specified file was not found."},
        {"3 plug-in", 3, NULL, 0, "The specified path was not found."},
        {"3 run-once", 3, "C:\\a\\p.exe", 64, "The specified path was not found.(C:\\a\\p.exe)"},
        {"3 run-once, no room", 3, kLongPath, 40, NULL},
        // 5
        {"5", 5, NULL, 0, NULL},
        {"11", 11, NULL, 0, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
        {"31", 31, NULL, 0, NULL},
        {"32", 32, "C:\\a\\p.exe", 64, NULL},
        {"33", 33, NULL, 0, NULL},
    };
    for (const Row& row : kRows) {
        char buffer[80];
        memset(buffer, '#', sizeof buffer);
        const char* text = LaunchFailureText(row.result, row.runOncePath, buffer, row.size);
        EXPECT_STREQ(row.text, text) << row.row;
    }
}

TEST(FormCommandLine, QuotesAPathWithABlankAndNeverCuts) {
    struct Row {
        const char* row;
        const char* program;
        const char* tail;
        size_t size;
        int result;
        const char* line;
    };
    const Row kRows[] = {
        {"plain", "C:\\a\\p.exe", "/regplugin", 64, 1, "C:\\a\\p.exe /regplugin"},
        {"blank quoted", "C:\\Program Files\\p.exe", "x", 64, 1, "\"C:\\Program Files\\p.exe\" x"},
        {"empty tail", "C:\\a\\p.exe", "", 64, 1, "C:\\a\\p.exe "},
        {"exact fit", "C:\\a b", "x", 11, 1, "\"C:\\a b\" x"},
        {"one short", "C:\\a b", "x", 10, 0, ""},
    };
    for (const Row& row : kRows) {
        char line[72];
        memset(line, '#', sizeof line);
        EXPECT_EQ(row.result, FormCommandLine(row.program, row.tail, line, row.size)) << row.row;
        EXPECT_STREQ(row.line, line) << row.row;
        EXPECT_EQ('#', line[row.size]) << row.row << ": wrote past the end";
    }
}

}  // namespace
