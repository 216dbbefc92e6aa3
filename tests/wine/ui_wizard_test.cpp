// The wizard's frame and pages on their own: the page change, the licence
// file as the edit shows it, the directory check and the guard on button 1.
// Messages go to the recording stand-ins of ui_fake_wizard; the install
// engine is worker_stand_in.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>

#include "resources/resource_ids.h"
#include "system/settings.h"
#include "tests/wine/ui_fake_wizard.h"
#include "tests/wine/ui_test_support.h"
#include "tests/wine/worker_stand_in.h"
#include "ui/ui.h"
#include "ui/wizard.h"

namespace {

// A scratch folder as the current directory, with install.ini naming
// `licence` as LICENSE FILE.
class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegisterDialogControls(), 1);
        AppInstance = Instance();
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        dir_ = std::string(temp) + "tarnvale-wizard-test";
        CreateDirectoryA(dir_.c_str(), NULL);
        ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
        strcpy(ScriptPath, (dir_ + "\\install.ini").c_str());
        strcpy(ProjectName, "Wizard Test");
        strcpy(InstallDir, "C:\\Apps\\Wizard Test");
        UserCancelled = 0;
        memset(&FakeMessages, 0, sizeof(FakeMessages));
    }
    void TearDown() override {
        if (frame_ != NULL) DestroyWindow(frame_);
    }
    void Script(const char* licence) {
        WritePrivateProfileStringA("INSTALL PROJECT", "LICENSE FILE", licence, ScriptPath);
    }
    void File(const char* name, const std::string& bytes) {
        HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(file);
    }
    // The frame, modeless, opened on `page`.
    HWND Open(int page) {
        CurrentPage = page;
        frame_ = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_WIZARD), NULL, WizardFrame, 0);
        return frame_;
    }
    HWND Page() { return FindWindowExA(frame_, NULL, "#32770", NULL); }

    std::string dir_;
    HWND frame_ = NULL;
};

TEST_F(WizardTest, LicenceTextIsTheSameForEitherLineEnd) {
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {{"crlf.txt", "one\r\ntwo\r\n"}, {"lf.txt", "one\ntwo\n\x1a" "after"}};
    for (const auto& file : files) {
        File(file.name, file.bytes);
        Script(file.name);
        ASSERT_TRUE(Open(0) != NULL);
        EXPECT_EQ(WindowText(frame_), "Wizard Test : License Agreement") << file.name;
        EXPECT_EQ(ControlText(Page(), IDC_LICENSE_TEXT), "one\r\ntwo\r\n") << file.name;
        EXPECT_EQ(FakeMessages.count, 0) << file.name;
        DestroyWindow(frame_);
    }
}

TEST_F(WizardTest, MissingLicenceIsReportedAndLeavesTheEditEmpty) {
    Script("missing.txt");
    DeleteFileA("missing.txt");
    ASSERT_TRUE(Open(0) != NULL);
    EXPECT_EQ(FakeMessages.count, 1);
    EXPECT_STREQ(FakeMessages.lastText, "Unable to open the license file");
    EXPECT_STREQ(FakeMessages.lastCaption, "License Error");
    EXPECT_EQ(ControlText(Page(), IDC_LICENSE_TEXT), "");
    EXPECT_EQ(ControlText(frame_, IDOK), "&I agree");
}

TEST_F(WizardTest, EmptyLicenceFileSkipsPageZeroBothWays) {
    Script("");
    ASSERT_TRUE(Open(0) != NULL);
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_EQ(WindowText(frame_), "Wizard Test : Installation Directory");
    SendMessageA(frame_, WM_COMMAND, IDC_WIZARD_BACK, 0);
    EXPECT_EQ(CurrentPage, 1) << "Back from page 1";
    EXPECT_EQ(ControlText(frame_, IDOK), "Next >");
}

TEST_F(WizardTest, DirectoryPageReportsAnInvalidDefaultTwice) {
    const struct {
        const char* dir;
        int reports;
    } rows[] = {{"C:\\", 2}, {"C:\\Apps", 0}, {"\\\\server\\share", 2}};
    Script("");
    for (const auto& row : rows) {
        strcpy(InstallDir, row.dir);
        FakeMessages.count = 0;
        ASSERT_TRUE(Open(1) != NULL);
        EXPECT_EQ(FakeMessages.count, row.reports) << row.dir;
        EXPECT_EQ(ControlText(Page(), IDC_DIR_PROMPT),
                  "Select the directory to install Wizard Test in:");
        // Every change of the edit is copied back and checked.
        FakeMessages.count = 0;
        SetDlgItemTextA(Page(), IDC_INSTALL_DIR, "C:");
        EXPECT_STREQ(InstallDir, "C:");
        EXPECT_EQ(FakeMessages.count, 1);
        EXPECT_STREQ(FakeMessages.lastText, "Invalid Path");
        EXPECT_STREQ(FakeMessages.lastCaption, "Path error");
        DestroyWindow(frame_);
    }
}

TEST_F(WizardTest, ButtonOneDoesNothingWhileDisabled) {
    Script("");
    ASSERT_TRUE(Open(1) != NULL);
    SendMessageA(frame_, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(CurrentPage, 2);
    EXPECT_EQ(StandInWorkerPage, Page()) << "the worker gets the installing page";
    EXPECT_EQ(ControlText(frame_, IDOK), "E&xit");
    // The worker keeps the button disabled while it runs; the Return key
    // still sends command 1.
    EnableWindow(GetDlgItem(frame_, IDOK), FALSE);
    SendMessageA(frame_, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(CurrentPage, 2);
    EnableWindow(GetDlgItem(frame_, IDOK), TRUE);
    SendMessageA(frame_, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(CurrentPage, 3);
    EXPECT_EQ(Page(), (HWND)NULL) << "the installing page is destroyed";
    EXPECT_EQ(UserCancelled, 0);
}

TEST_F(WizardTest, CancelSetsUserCancelled) {
    Script("");
    ASSERT_TRUE(Open(1) != NULL);
    SendMessageA(frame_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(UserCancelled, 1);
}

}  // namespace
