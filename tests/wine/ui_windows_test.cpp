// The windows of ui/ on their own under Wine, for what the real setup
// program's runs (run_probe_test, wizard_test) do not show: the common
// controls the manifest brings, the preparing dialog's texts, the
// backdrop's place and pixels, and the wizard's guards. Messages go to the recording stand-ins of ui_fake_system; the
// install engine is worker_stand_in.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "core/gradient.h"
#include "resources/resource_ids.h"
#include "system/settings.h"
#include "tests/wine/ui_fake_system.h"
#include "tests/wine/worker_stand_in.h"
#include "ui/ui.h"
#include "ui/wizard.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(NULL); }

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

INT_PTR CALLBACK IdleDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The manifest's dependency makes the loader take comctl32 from the
// side-by-side assembly of version 6; the progress bars of templates 104
// and 106 exist only once RegisterDialogControls has loaded it.
TEST(Resources, CommonControls6ForTheProgressDialogs) {
    ASSERT_EQ(RegisterDialogControls(), 1);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof(path));
    CharLowerA(path);
    EXPECT_TRUE(strstr(path, "microsoft.windows.common-controls_6595b64144ccf1df_6.") != NULL)
        << "comctl32 loaded from [" << path << "]";

    HWND frame =
        CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_WIZARD), NULL, IdleDialogProc, 0);
    HWND page = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_INSTALLING), frame,
                                   IdleDialogProc, 0);
    EXPECT_TRUE(page != NULL) << "template 106 not created";
    DestroyWindow(frame);
}

// Its own texts replace the template's before the run first shows it.
TEST(PreparingDialog, TextsSetBeforeItIsShown) {
    ASSERT_EQ(RegisterDialogControls(), 1);
    HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_PREPARING), NULL,
                                     PreparingDialogProc, 0);
    ASSERT_TRUE(dialog != NULL) << "template 104 not created";
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ("Preparing installation...", WindowText(GetDlgItem(dialog, IDC_PREPARING_TEXT)));
    EXPECT_EQ("Tarnvale 1.0", WindowText(GetDlgItem(dialog, IDC_PREPARING_VERSION)));
    DestroyWindow(dialog);
}

// Pixels of `colour` in `area` of the window's client, and the rows they span.
struct ColourCount {
    int pixels, firstRow, lastRow;
};

ColourCount CountColour(HDC dc, RECT area, COLORREF colour) {
    ColourCount count = {0, -1, -1};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (GetPixel(dc, x, y) == colour) {
                ++count.pixels;
                if (count.firstRow < 0) count.firstRow = y;
                count.lastRow = y;
            }
    return count;
}

std::string Rgb(COLORREF colour) {
    char text[32];
    snprintf(text, sizeof(text), "(%u, %u, %u)", (unsigned)GetRValue(colour),
             (unsigned)GetGValue(colour), (unsigned)GetBValue(colour));
    return text;
}

// The gradient band by band down the right edge, the product name at the
// top and the window text at the bottom in the text colour.
TEST(Backdrop, PaintsTheGradientAndItsTexts) {
    const COLORREF yellow = 0x0000FFFF, blue = 0x00FF0000, red = 0x000000FF;
    const struct {
        const char* name;
        const char* windowText;
        COLORREF textColour;
        bool nameShown, textShown;
    } rows[] = {
        {"empty window text: the name only", "", red, true, false},
        {"both texts", "Bottom line", red, true, true},
        {"no text colour: the gradient only", "Bottom line", 0xFFFFFFFF, false, false},
    };
    strcpy(ProjectName, "Tarnvale Test");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HWND backdrop =
            CreateBackdropWindow(Instance(), row.windowText, yellow, blue, row.textColour);
        ASSERT_TRUE(backdrop != NULL);
        EXPECT_NE(0u, GetClassLongPtrA(backdrop, GCLP_HICON)) << "no icon 101";
        RECT work, placed;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(backdrop, &placed);
        EXPECT_TRUE(EqualRect(&work, &placed)) << "not placed over the work area";
        UpdateWindow(backdrop);
        RECT client;
        GetClientRect(backdrop, &client);
        const int height = client.bottom;
        const int lastBand = (GradientBandCount(height) - 1) * kGradientBandHeight;
        HDC dc = GetDC(backdrop);
        for (int y : {0, 1, 3, 4, height / 2, lastBand, height - 1}) {
            COLORREF band = GradientBandColour(y - y % kGradientBandHeight, height, yellow, blue);
            EXPECT_EQ(Rgb(band), Rgb(GetPixel(dc, client.right - 1, y)))
                << "row " << y << " of a client " << height << " high";
        }
        const int width = client.right < 400 ? client.right : 400;
        ColourCount name = CountColour(dc, {0, 0, width, 100}, red);
        ColourCount text = CountColour(dc, {0, height - 50, width, height}, red);
        ReleaseDC(backdrop, dc);
        EXPECT_EQ(row.nameShown, name.pixels > 50) << "red pixels at the top: " << name.pixels;
        EXPECT_EQ(row.textShown, text.pixels > 20) << "red pixels at the bottom: " << text.pixels;
        if (row.nameShown && row.textShown) {
            // 80 pixels high against 40.
            int nameRows = name.lastRow - name.firstRow + 1;
            int textRows = text.lastRow - text.firstRow + 1;
            EXPECT_GT(nameRows, textRows * 3 / 2) << "name " << nameRows << ", text " << textRows;
        }
        DestroyWindow(backdrop);
        UnregisterClassA("_Nb", Instance());
    }
}

// The wizard's frame opened modeless in a scratch folder, with install.ini
// naming `licence` as its LICENSE FILE.
class Wizard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegisterDialogControls(), 1);
        AppInstance = Instance();
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        std::string dir = std::string(temp) + "tarnvale-wizard-test";
        CreateDirectoryA(dir.c_str(), NULL);
        ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
        strcpy(ScriptPath, (dir + "\\install.ini").c_str());
        strcpy(ProjectName, "Wizard Test");
        strcpy(InstallDir, "C:\\Apps\\Wizard Test");
        memset(&FakeCalls, 0, sizeof(FakeCalls));
    }
    void TearDown() override { DestroyWindow(frame); }
    void Open(const char* licence, int page) {
        WritePrivateProfileStringA("INSTALL PROJECT", "LICENSE FILE", licence, ScriptPath);
        CurrentPage = page;
        frame = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_WIZARD), NULL, WizardFrame, 0);
        ASSERT_TRUE(frame != NULL);
    }
    HWND Page() { return FindWindowExA(frame, NULL, "#32770", NULL); }
    std::string ButtonText() { return WindowText(GetDlgItem(frame, IDOK)); }
    HWND frame = NULL;
};

TEST_F(Wizard, LicencePageWithoutItsFile) {
    const struct {
        const char* name;
        const char* licence;
        int page;  // opened on 0, shown; Back keeps it
        const char* title;
        const char* button;
        int messages;
    } rows[] = {
        {"LICENSE FILE empty: page 0 skipped", "", 1, "Wizard Test : Installation Directory",
         "Next >", 0},
        {"licence file missing: reported", "missing.txt", 0, "Wizard Test : License Agreement",
         "&I agree", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeCalls.messages = 0;
        Open(row.licence, 0);
        EXPECT_EQ(row.page, CurrentPage);
        EXPECT_EQ(row.title, WindowText(frame));
        EXPECT_EQ(row.button, ButtonText());
        SendMessageA(frame, WM_COMMAND, IDC_WIZARD_BACK, 0);
        EXPECT_EQ(row.page, CurrentPage) << "after Back";
        EXPECT_EQ(row.messages, FakeCalls.messages);
        if (row.messages > 0) {
            EXPECT_STREQ("Unable to open the license file", FakeCalls.lastText);
            EXPECT_STREQ("License Error", FakeCalls.lastCaption);
            EXPECT_EQ("", WindowText(GetDlgItem(Page(), IDC_LICENSE_TEXT)));
        }
        DestroyWindow(frame);
    }
    frame = NULL;
}

// The worker keeps button 1 disabled while it runs; the Return key still
// sends command 1, which must not end the wizard under it.
TEST_F(Wizard, CommandOneIgnoredWhileButtonOneIsDisabled) {
    Open("", 1);
    SendMessageA(frame, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(2, CurrentPage);
    EXPECT_EQ(StandInWorkerPage, Page()) << "the worker gets the installing page";
    EnableWindow(GetDlgItem(frame, IDOK), FALSE);
    SendMessageA(frame, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(2, CurrentPage) << "command 1 taken while the button is disabled";
    EnableWindow(GetDlgItem(frame, IDOK), TRUE);
    SendMessageA(frame, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(3, CurrentPage);
    EXPECT_EQ(NULL, Page()) << "the installing page outlived the wizard";
}

}  // namespace
