// Plug-ins, one-time programs and library entry points under Wine, with
// shell_recorder.exe and shell_entry.dll (built beside this program), which
// record how they were started or called in the file TARNVALE_SHELL_RECORD.
// The install engine's run (tests/wine/engine_test) starts each kind once;
// these are what it does not reach: a decoy that an unquoted path would
// start, a directory that cannot be entered, launch failures, missing
// exports, and the bounded texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>

#include <fstream>
#include <iterator>
#include <string>

#include "shell/programs.h"
#include "system/settings.h"

namespace {

const char kRecord[] = "C:\\shell record.txt";
const char kWorkspace[] = "C:\\shell workspace";
const char kRunDir[] = "C:\\shell run dir";
// A recorder under a folder with a blank, and a decoy where the unquoted
// command line would start first ("C:\Shell" + ".exe").
const char kBlankPath[] = "C:\\Shell Test\\recorder.exe";
const char kDecoy[] = "C:\\Shell.exe";

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, sizeof path);
    return std::string(path).substr(0, std::string(path).find_last_of('\\'));
}

std::string CurrentDir() {
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    return dir;
}

// The text of `path` once it appears (within `seconds`), or "<missing>".
std::string WaitForText(const char* path, int seconds) {
    for (int tick = 0; tick < seconds * 20 && GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES; ++tick) Sleep(50);
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) : "<missing>";
}

class Programs : public testing::Test {
protected:
    void SetUp() override {
        const std::string recorder = ProgramFolder() + "\\shell_recorder.exe";
        CreateDirectoryA("C:\\Shell Test", NULL);
        CreateDirectoryA(kWorkspace, NULL);
        CreateDirectoryA(kRunDir, NULL);
        for (const char* copy : {kBlankPath, kDecoy})
            ASSERT_TRUE(CopyFileA(recorder.c_str(), copy, FALSE)) << recorder << " to " << copy;
        SetEnvironmentVariableA("TARNVALE_SHELL_RECORD", kRecord);
        lstrcpyA(WorkspaceDir, kWorkspace);
        SetCurrentDirectoryA(kWorkspace);
        DeleteFileA(kRecord);
    }
};

TEST_F(Programs, StartedByTheirQuotedPath) {
    const std::string started = "command=\"C:\\Shell Test\\recorder.exe\" ";
    const std::string module = "\nmodule=C:\\Shell Test\\recorder.exe\n";
    SetCurrentDirectoryA(kRunDir);
    RegisterPlugin(kBlankPath, 1);
    EXPECT_EQ(started + "/regplugin" + module + "show=0\ncwd=" + kRunDir + "\n", WaitForText(kRecord, 15))
        << "plug-in";
    EXPECT_EQ(kRunDir, CurrentDir()) << "plug-in: current directory changed";

    DeleteFileA(kRecord);
    RunOnceProgram("C:\\no such run dir", kBlankPath, "");
    EXPECT_EQ(kWorkspace, CurrentDir()) << "one-time program: workspace not current again";
    EXPECT_EQ(started + module + "show=1\ncwd=" + kRunDir + "\n", WaitForText(kRecord, 15))
        << "one-time program whose directory is missing: started where the run stood";
}

// The caption of the message box that AnswerBox waits for, and the text it
// read there.
const char* BoxCaption;
std::string BoxText;

// Thread timer, served by the message box's own loop: reads the box and
// presses OK.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", BoxCaption);
    if (box == NULL) return;
    KillTimer(NULL, timer);
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    BoxText = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// Wine's WinExec reports every program it cannot find as 2, a missing
// folder too: result 3 is covered by LaunchFailureText's own table.
TEST_F(Programs, LaunchFailuresShowTheirMessage) {
    FILE* bad = fopen("C:\\shell run dir\\bad.exe", "wb");
    ASSERT_TRUE(bad && fputs("not a program", bad) >= 0 && fclose(bad) == 0);
    for (bool plugin : {true, false}) {
        BoxCaption = plugin ? "Plugin Error" : "Run Once Error";
        BoxText = "<no box>";
        UINT_PTR timer = SetTimer(NULL, 0, 50, AnswerBox);
        if (plugin)
            RegisterPlugin("C:\\shell run dir\\none.exe", 1);
        else
            RunOnceProgram(kRunDir, "C:\\shell run dir\\bad.exe", "");
        KillTimer(NULL, timer);
        EXPECT_EQ(plugin ? "The specified file was not found."
                         : "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).",
                  BoxText)
            << BoxCaption;
        EXPECT_EQ(kWorkspace, CurrentDir()) << BoxCaption;
    }
}

TEST_F(Programs, CallLibraryEntryCallsTheExportAndUnloads) {
    const std::string library = ProgramFolder() + "\\shell_entry.dll";
    // A library that needs a DLL of its own, with and without that DLL
    // beside it; neither folder is searched by default.
    const std::string linked = ProgramFolder() + "\\shell_entry_linked.dll";
    CreateDirectoryA("C:\\shell lib", NULL);
    CreateDirectoryA("C:\\shell lib alone", NULL);
    ASSERT_TRUE(CopyFileA(linked.c_str(), "C:\\shell lib\\linked.dll", FALSE) &&
                CopyFileA(linked.c_str(), "C:\\shell lib alone\\linked.dll", FALSE) &&
                CopyFileA((ProgramFolder() + "\\beside\\shell_entry_text.dll").c_str(),
                          "C:\\shell lib\\shell_entry_text.dll", FALSE));
    const struct { const char* row; std::string path; const char* name; const char* recorded; LibraryCall call; } rows[] = {
        {"export called", library, "ShellEntry", "ShellEntry called\n", kLibraryCalled},
        {"missing export", library, "NoSuchEntry", "<missing>", kLibraryNoExport},
        {"missing library", ProgramFolder() + "\\no_such_library.dll", "ShellEntry", "<missing>", kLibraryNotLoaded},
        {"its DLL missing", "C:\\shell lib alone\\linked.dll", "ShellEntry", "<missing>", kLibraryNotLoaded},
        {"its DLL beside it", "C:\\shell lib\\linked.dll", "ShellEntry", "ShellEntry called\n", kLibraryCalled},
    };
    for (const auto& row : rows) {
        DeleteFileA(kRecord);
        EXPECT_EQ(row.call, CallLibraryEntry(row.path.c_str(), row.name)) << row.row;
        EXPECT_EQ(row.recorded, WaitForText(kRecord, 0)) << row.row;
        EXPECT_EQ(NULL, GetModuleHandleA(row.path.c_str())) << row.row << ": still loaded";
    }
}

TEST(LaunchFailureText, MapsFourResults) {
    const struct { unsigned result; const char* runOncePath; size_t size; const char* text; } rows[] = {
        {0, NULL, 0, "The system is out of memory or resources."},
        {3, NULL, 0, "The specified path was not found."},
        {3, "C:\\a\\p.exe", 64, "The specified path was not found.(C:\\a\\p.exe)"},
        {3, "C:\\a much longer path\\p.exe", 40, NULL},  // no room
        {5, NULL, 0, NULL}, {31, NULL, 0, NULL},
        {32, "C:\\a\\p.exe", 64, NULL},  // started
    };
    for (const auto& row : rows) {
        char buffer[80];
        memset(buffer, '#', sizeof buffer);
        EXPECT_STREQ(row.text, LaunchFailureText(row.result, row.runOncePath, buffer, row.size))
            << "result " << row.result << ", size " << row.size;
        EXPECT_EQ('#', buffer[row.size]) << "result " << row.result << ": written past the buffer";
    }
}

}  // namespace
