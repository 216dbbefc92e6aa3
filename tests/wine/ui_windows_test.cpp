// The preparing dialog, the restart dialog and the backdrop at work: each
// is created as the setup run creates it, driven as a user would, and read
// back from its controls and its pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "resources/resource_ids.h"
#include "system/settings.h"
#include "tests/wine/ui_fake_system.h"
#include "tests/wine/ui_test_support.h"
#include "core/gradient.h"
#include "ui/ui.h"

namespace {

const COLORREF kYellow = 0x0000FFFF;
const COLORREF kBlue = 0x00FF0000;
const COLORREF kRed = 0x000000FF;
const COLORREF kNoText = 0xFFFFFFFF;

// The backdrop as the setup run opens it; the class is registered anew on
// every call, so each test removes it again with CloseBackdrop.
HWND OpenBackdrop(const char* text, COLORREF textColour) {
    return CreateBackdropWindow(Instance(), text, kYellow, kBlue, textColour);
}

void CloseBackdrop(HWND backdrop) {
    if (IsWindow(backdrop)) DestroyWindow(backdrop);
    UnregisterClassA("_Nb", Instance());
}

std::string Rgb(COLORREF colour) {
    char text[32];
    snprintf(text, sizeof(text), "(%u, %u, %u)", (unsigned)GetRValue(colour),
             (unsigned)GetGValue(colour), (unsigned)GetBValue(colour));
    return text;
}

// ---- Preparing dialog ----

TEST(PreparingDialog, OpensWithItsTextsAndAnEmptyBar) {
    ASSERT_EQ(RegisterDialogControls(), 1);
    HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_PREPARING),
                                     GetDesktopWindow(), PreparingDialogProc, 0);
    ASSERT_TRUE(dialog != NULL);

    // Set before the dialog is first shown: the template's "Preparing to
    // install..." never appears.
    EXPECT_FALSE(IsWindowVisible(dialog)) << "shown before the run centres it";
    EXPECT_EQ(ControlText(dialog, IDC_PREPARING_TEXT), "Preparing installation...");
    EXPECT_EQ(ControlText(dialog, IDC_PREPARING_VERSION), "Tarnvale 1.0");

    HWND bar = GetDlgItem(dialog, IDC_PREPARING_BAR);
    PBRANGE range = {-1, -1};
    SendMessageA(bar, PBM_GETRANGE, FALSE, (LPARAM)&range);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 1) << "step";

    // The timer puts both texts back.
    SetDlgItemTextA(dialog, IDC_PREPARING_TEXT, "stale");
    SetDlgItemTextA(dialog, IDC_PREPARING_VERSION, "stale");
    bool restored = PumpUntil(
        [&] {
            return ControlText(dialog, IDC_PREPARING_TEXT) == "Preparing installation..." &&
                   ControlText(dialog, IDC_PREPARING_VERSION) == "Tarnvale 1.0";
        },
        5000);
    EXPECT_TRUE(restored) << "texts after 5 s: [" << ControlText(dialog, IDC_PREPARING_TEXT)
                          << "] [" << ControlText(dialog, IDC_PREPARING_VERSION) << "]";
    EXPECT_TRUE(KillTimer(dialog, 1)) << "timer 1 was not running";
    DestroyWindow(dialog);
}

// ---- Restart dialog ----

enum Action { kOk, kChooseLaterThenOk, kCancelButton, kEscapeKey, kCloseBox };

struct RestartRow {
    const char* name;
    Action action;
    int isWinNT;
    INT_PTR result;  // -1: not compared (the dialog goes down with its owner)
    int restartCalls;
    bool backdropStays;
};

// What the driving timer saw in the open dialog.
struct RestartScene {
    Action action;
    HWND dialog;
    std::string title;
    bool nowChecked;
    bool laterChecked;
    HWND owner;
    bool visible;
    DWORD actedAt;
};

RestartScene Scene;
const UINT_PTR kGiveUpMs = 3000;

// Runs inside the dialog's modal loop: looks at the dialog once, acts as
// the user would, and ends the dialog itself when the action did not.
void CALLBACK DriveRestartDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FakeCalls.centredWindow;
    if (dialog == NULL || !IsWindow(dialog)) return;
    if (Scene.dialog == NULL) {
        Scene.dialog = dialog;
        Scene.title = WindowText(dialog);
        Scene.nowChecked = IsDlgButtonChecked(dialog, IDC_RESTART_NOW) == BST_CHECKED;
        Scene.laterChecked = IsDlgButtonChecked(dialog, IDC_RESTART_LATER) == BST_CHECKED;
        Scene.owner = GetWindow(dialog, GW_OWNER);
        Scene.visible = IsWindowVisible(dialog) != FALSE;
        Scene.actedAt = GetTickCount();
        switch (Scene.action) {
        case kChooseLaterThenOk:
            SendDlgItemMessageA(dialog, IDC_RESTART_LATER, BM_CLICK, 0, 0);
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
            break;
        case kOk:
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
            break;
        case kCancelButton:
            SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
            break;
        case kEscapeKey: {
            HWND focus = GetFocus();
            HWND target = focus != NULL && IsChild(dialog, focus) ? focus : dialog;
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            break;
        }
        case kCloseBox:
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        return;
    }
    if (GetTickCount() - Scene.actedAt > kGiveUpMs) {
        KillTimer(NULL, timer);
        EndDialog(dialog, 99);
    }
}

TEST(RestartDialog, EndsAsTheUserChose) {
    const RestartRow rows[] = {
        {"OK with restart now (NT family)", kOk, 1, 0, 1, true},
        {"OK with restart now (95 family)", kOk, 0, 0, 1, true},
        {"OK after choosing later", kChooseLaterThenOk, 1, 0, 0, true},
        {"Cancel button", kCancelButton, 1, IDCANCEL, 0, true},
        {"Escape key", kEscapeKey, 1, IDCANCEL, 0, true},
        {"close box", kCloseBox, 1, -1, 0, false},
    };
    // One backdrop serves the rows until one closes it: taking a window
    // down costs seconds under Wine without a window manager.
    HWND backdrop = NULL;
    for (const RestartRow& row : rows) {
        SCOPED_TRACE(row.name);
        IsWinNT = row.isWinNT;
        ResetFakeCalls();
        Scene = RestartScene();
        Scene.action = row.action;
        if (!IsWindow(backdrop)) {
            CloseBackdrop(backdrop);
            backdrop = OpenBackdrop("", kRed);
        }
        ASSERT_TRUE(backdrop != NULL);

        UINT_PTR timer = SetTimer(NULL, 0, 20, DriveRestartDialog);
        INT_PTR result = DialogBoxParamA(Instance(), MAKEINTRESOURCEA(IDD_RESTART), backdrop,
                                         RestartDialogProc, 0);
        KillTimer(NULL, timer);

        ASSERT_TRUE(Scene.dialog != NULL) << "the dialog never showed";
        EXPECT_EQ(FakeCalls.centreCalls, 1) << "CenterOnScreen calls";
        EXPECT_TRUE(FakeCalls.restartNowWasChecked) << "1021 checked before centring";
        EXPECT_EQ(Scene.title, "Reboot");
        EXPECT_TRUE(Scene.nowChecked) << "1021 checked at start";
        EXPECT_FALSE(Scene.laterChecked) << "1022 checked at start";
        EXPECT_EQ(Scene.owner, backdrop) << "owner";
        EXPECT_TRUE(Scene.visible);

        EXPECT_NE(result, 99) << "the dialog stayed open";
        if (row.result != -1) {
            EXPECT_EQ(result, row.result) << "end code";
        }
        EXPECT_FALSE(IsWindow(Scene.dialog)) << "the dialog still exists";
        EXPECT_EQ(FakeCalls.restartCalls, row.restartCalls) << "RestartWindows calls";
        if (row.restartCalls > 0) {
            EXPECT_EQ(FakeCalls.restartFlag, row.isWinNT) << "NT flag";
        }
        EXPECT_EQ(IsWindow(backdrop) != FALSE, row.backdropStays) << "backdrop";
    }
    CloseBackdrop(backdrop);
}

// ---- Backdrop ----

TEST(Backdrop, CoversTheWorkArea) {
    ProjectName[0] = '\0';
    HWND backdrop = OpenBackdrop("Window text", kRed);
    ASSERT_TRUE(backdrop != NULL);

    char className[16] = "";
    GetClassNameA(backdrop, className, sizeof(className));
    EXPECT_STREQ(className, "_Nb");
    EXPECT_EQ(WindowText(backdrop), "Window text");
    DWORD style = (DWORD)GetWindowLongA(backdrop, GWL_STYLE);
    EXPECT_EQ(style & (WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CHILD),
              (DWORD)(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ(GetClassLongA(backdrop, GCL_STYLE), (DWORD)(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(GetClassLongPtrA(backdrop, GCLP_HBRBACKGROUND), 0);
    EXPECT_NE(GetClassLongPtrA(backdrop, GCLP_HICON), 0) << "icon 101";

    RECT work, placed;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(backdrop, &placed);
    EXPECT_TRUE(EqualRect(&work, &placed))
        << "window (" << placed.left << ", " << placed.top << ")-(" << placed.right << ", "
        << placed.bottom << "), work area (" << work.left << ", " << work.top << ")-("
        << work.right << ", " << work.bottom << ")";

    // The class is registered on every call: a second window cannot be
    // made while the first class stands.
    EXPECT_TRUE(OpenBackdrop("", kRed) == NULL);
    CloseBackdrop(backdrop);
}

// Pixels of `colour` in `area` of the window's client, and the rows they
// span.
struct ColourCount {
    int pixels;
    int firstRow;
    int lastRow;
};

ColourCount CountColour(HDC dc, RECT area, COLORREF colour) {
    ColourCount count = {0, -1, -1};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (GetPixel(dc, x, y) != colour) continue;
            ++count.pixels;
            if (count.firstRow < 0) count.firstRow = y;
            count.lastRow = y;
        }
    }
    return count;
}

TEST(Backdrop, PaintsTheGradientBandByBand) {
    strcpy(ProjectName, "Tarnvale Test");
    HWND backdrop = OpenBackdrop("", kRed);
    ASSERT_TRUE(backdrop != NULL);
    UpdateWindow(backdrop);
    PumpPending();

    RECT client;
    GetClientRect(backdrop, &client);
    int height = client.bottom;
    ASSERT_GT(height, 8);
    int lastBand = (GradientBandCount(height) - 1) * kGradientBandHeight;
    const int rows[] = {0, 1, 3, 4, height / 2, lastBand, height - 1};
    const int columns[] = {client.right - 1, client.right / 2};
    HDC dc = GetDC(backdrop);
    for (int y : rows) {
        COLORREF expected =
            GradientBandColour(y - y % kGradientBandHeight, height, kYellow, kBlue);
        for (int x : columns)
            EXPECT_EQ(Rgb(GetPixel(dc, x, y)), Rgb(expected))
                << "pixel (" << x << ", " << y << ") of a client " << height << " high";
    }
    ReleaseDC(backdrop, dc);
    CloseBackdrop(backdrop);
}

struct TextRow {
    const char* name;
    const char* windowText;
    const char* projectName;
    COLORREF textColour;
    bool nameShown;
    bool textShown;
};

TEST(Backdrop, DrawsTheNameAndTheWindowText) {
    const TextRow rows[] = {
        {"empty window text: the name only", "", "Tarnvale Test", kRed, true, false},
        {"both texts", "Bottom line", "Tarnvale Test", kRed, true, true},
        {"no text colour: the gradient only", "Bottom line", "Tarnvale Test", kNoText, false,
         false},
    };
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.name);
        strcpy(ProjectName, row.projectName);
        HWND backdrop = OpenBackdrop(row.windowText, row.textColour);
        ASSERT_TRUE(backdrop != NULL);
        UpdateWindow(backdrop);
        PumpPending();

        RECT client;
        GetClientRect(backdrop, &client);
        int width = client.right < 400 ? client.right : 400;
        RECT nameArea = {0, 0, width, 100};
        RECT textArea = {0, client.bottom - 50, width, client.bottom};
        HDC dc = GetDC(backdrop);
        ColourCount name = CountColour(dc, nameArea, kRed);
        ColourCount text = CountColour(dc, textArea, kRed);
        ReleaseDC(backdrop, dc);

        EXPECT_EQ(name.pixels > 50, row.nameShown) << "red pixels at the top: " << name.pixels;
        EXPECT_EQ(text.pixels > 20, row.textShown) << "red pixels at the bottom: " << text.pixels;
        if (row.nameShown && row.textShown) {
            // 80 pixels high against 40.
            int nameRows = name.lastRow - name.firstRow + 1;
            int textRows = text.lastRow - text.firstRow + 1;
            EXPECT_GT(nameRows, textRows * 3 / 2)
                << "the name spans " << nameRows << " rows, the window text " << textRows;
        }
        CloseBackdrop(backdrop);
    }
}

}  // namespace
