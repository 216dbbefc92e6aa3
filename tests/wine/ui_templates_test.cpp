// The dialog templates, icon and manifest as Windows reads them: each
// template is created (with a procedure that does nothing) and its window,
// font and controls are read back. Rectangles are compared in pixels with
// the template's dialog units mapped by the dialog itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/ui_test_support.h"
#include "ui/ui.h"

namespace {

INT_PTR CALLBACK IdleDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

struct DialogRow {
    int id;
    bool extended;   // DIALOGEX
    bool usEnglish;  // also stored as a US-English resource
    DWORD style;     // compared under kDialogStyles
    const char* caption;
    const char* face;
    int points;
    int width, height;  // client area, dialog units
};

const DWORD kDialogStyles = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_VISIBLE |
                            DS_MODALFRAME | DS_CENTER | DS_CONTROL;
const DWORD kPopup = WS_POPUP | DS_MODALFRAME;
const DWORD kCaptioned = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
const DWORD kPage = WS_CHILD | DS_CONTROL;

const DialogRow kDialogs[] = {
    {IDD_LICENSE, false, true, kPage, "", "MS Sans Serif", 8, 266, 130},
    {IDD_DIRECTORY, false, true, kPage, "", "MS Sans Serif", 8, 266, 130},
    {IDD_PREPARING, true, false, kPopup, "", "Arial", 10, 187, 50},
    {IDD_WIZARD, false, true, kCaptioned | DS_CENTER, "", "MS Sans Serif", 8, 280, 162},
    {IDD_INSTALLING, true, true, kPage, "", "MS Sans Serif", 8, 266, 130},
    {IDD_PASSWORD_NEW, true, false, kCaptioned, "Register Software Password", "Arial", 10, 183,
     113},
    {IDD_PASSWORD_CHECK, true, false, kCaptioned, "Check Password", "Arial", 10, 183, 113},
    {IDD_RESTART, false, true, kCaptioned, "Reboot", "MS Sans Serif", 8, 267, 130},
};

struct ControlRow {
    int dialog;
    int order;  // position in the template
    int id;
    const char* className;
    DWORD style;      // compared under kControlStyles
    bool staticEdge;  // WS_EX_STATICEDGE
    int x, y, width, height;  // dialog units; width -1: the control sizes itself
    const char* text;         // null: not compared
};

// Class styles and the window styles that the templates choose, compared
// as the template stores them: controls change some of their own styles as
// they are created (an edit or a progress bar trades WS_BORDER for an
// extended edge).
const DWORD kControlStyles = 0xFFFF | WS_TABSTOP | WS_GROUP | WS_VISIBLE | WS_DISABLED |
                             WS_VSCROLL | WS_HSCROLL | WS_BORDER;
const int kNoId = 0xFFFF;
const DWORD kShown = WS_VISIBLE;
const DWORD kTab = WS_TABSTOP | WS_VISIBLE;
const DWORD kPasswordEdit = ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | kTab;

// A few controls of each template: those whose styles or rectangles are
// easiest to get wrong.
const ControlRow kControls[] = {
    {IDD_LICENSE, 1, IDC_PAGE_HEADING, "Static", SS_LEFT | kShown, false, 25, 0, 241, 23,
     "Please read the following License Agreement. Press the PAGE DOWN key to see the rest "
     "of the agreement."},
    {IDD_LICENSE, 2, IDC_LICENSE_TEXT, "Edit",
     ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | kTab, false, 0, 24, 266, 105, ""},

    {IDD_DIRECTORY, 0, IDC_INSTALL_DIR, "Edit", ES_AUTOHSCROLL | WS_BORDER | kTab, false, 11,
     49, 188, 12, ""},
    {IDD_DIRECTORY, 3, IDC_DIR_PROMPT, "Static", SS_LEFTNOWORDWRAP | kShown, false, 11, 36,
     242, 8, ""},

    {IDD_PREPARING, 0, IDC_PREPARING_TEXT, "Static", SS_CENTER | kShown, true, 7, 7, 173, 8,
     "Preparing to install..."},
    {IDD_PREPARING, 1, IDC_PREPARING_BAR, "msctls_progress32", WS_BORDER | kShown, false, 0,
     21, 187, 8, NULL},

    {IDD_WIZARD, 3, IDC_PAGE_AREA, "Static", SS_BLACKRECT, false, 7, 6, 266, 130, NULL},
    {IDD_WIZARD, 4, IDC_WIZARD_BACK, "Button", BS_PUSHBUTTON | WS_TABSTOP, false, 171, 142, 50,
     14, "< Back"},
    {IDD_WIZARD, 5, IDC_WIZARD_STATUS, "Static", SS_CENTER | WS_DISABLED | kShown, false, 59,
     145, 108, 8, ""},

    {IDD_INSTALLING, 1, IDC_LOG_LIST, "ListBox",
     LBS_NOINTEGRALHEIGHT | LBS_NOSEL | LBS_DISABLENOSCROLL | WS_BORDER | WS_VSCROLL | kTab,
     false, 0, 40, 265, 89, NULL},
    {IDD_INSTALLING, 2, IDC_FILE_BAR, "msctls_progress32", WS_BORDER | kShown, false, 38, 21,
     227, 11, NULL},
    {IDD_INSTALLING, 4, kNoId, "Static", SS_LEFT | kShown, true, 1, 21, 31, 10, "File:"},

    {IDD_PASSWORD_NEW, 0, IDC_PASSWORD, "Edit", kPasswordEdit, false, 67, 47, 95, 12, ""},
    {IDD_PASSWORD_NEW, 2, IDOK, "Button", BS_DEFPUSHBUTTON | kTab, false, 126, 92, 50, 14,
     "&OK"},
    {IDD_PASSWORD_NEW, 6, kNoId, "Static", SS_LEFT | kShown, true, 41, 3, 135, 35,
     "To protect uninstallation of this software, you must enter your password. Type your "
     "password and remember or write it. (Maxinum 20 characters)"},
    {IDD_PASSWORD_NEW, 7, kNoId, "Static", SS_ICON | kShown, false, 7, 3, -1, -1, NULL},

    {IDD_PASSWORD_CHECK, 0, IDC_PASSWORD, "Edit", kPasswordEdit, false, 56, 70, 120, 14, ""},
    {IDD_PASSWORD_CHECK, 4, kNoId, "Static", SS_LEFT | kShown, true, 7, 7, 169, 47, NULL},

    {IDD_RESTART, 0, IDC_RESTART_NOW, "Button", BS_AUTORADIOBUTTON | kShown, false, 62, 55, 138,
     9, "&Yes, I want to restart my computer now."},
    {IDD_RESTART, 2, kNoId, "Button", BS_GROUPBOX | WS_GROUP | kShown, false, 7, 38, 253, 58,
     ""},
    {IDD_RESTART, 3, IDOK, "Button", BS_DEFPUSHBUTTON | kTab, false, 60, 109, 50, 14, "&OK"},
    {IDD_RESTART, 5, kNoId, "Static", SS_LEFT | WS_GROUP | kShown, false, 7, 7, 253, 23,
     "Installation has finished copying files to your computer. Before you can use the "
     "program, you must restart windows or your computer."},
};

// Creates every template once, modeless and hidden; the child pages go
// into a wizard frame.
class Templates : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterDialogControls();
        host = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_WIZARD), NULL, IdleDialogProc,
                                  0);
        for (const DialogRow& row : kDialogs) {
            bool child = (row.style & WS_CHILD) != 0;
            dialogs[&row - kDialogs] =
                row.id == IDD_WIZARD ? host
                                     : CreateDialogParamA(Instance(), MAKEINTRESOURCEA(row.id),
                                                          child ? host : NULL, IdleDialogProc, 0);
        }
    }
    static void TearDownTestSuite() {
        for (HWND& dialog : dialogs)
            if (dialog != host && dialog != NULL) DestroyWindow(dialog);
        if (host != NULL) DestroyWindow(host);
    }
    static HWND Dialog(int id) {
        for (const DialogRow& row : kDialogs)
            if (row.id == id) return dialogs[&row - kDialogs];
        return NULL;
    }

    static HWND host;
    static HWND dialogs[sizeof(kDialogs) / sizeof(kDialogs[0])];
};

HWND Templates::host;
HWND Templates::dialogs[sizeof(kDialogs) / sizeof(kDialogs[0])];

// One control as the template stores it.
struct TemplateItem {
    DWORD style;
    DWORD exStyle;
};

// Skips a name-or-ordinal field of a dialog template.
const WORD* SkipNameOrOrdinal(const WORD* p) {
    if (*p == 0xFFFF) return p + 2;
    while (*p != 0) ++p;
    return p + 1;
}

const WORD* AlignToDword(const WORD* p) {
    return (const WORD*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
}

// The controls of template `id` in template order, from either template
// form (DLGTEMPLATE or DLGTEMPLATEEX).
std::vector<TemplateItem> ReadTemplateItems(int id) {
    std::vector<TemplateItem> items;
    HRSRC resource = FindResourceA(Instance(), MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG);
    if (resource == NULL) return items;
    const WORD* p = (const WORD*)LockResource(LoadResource(Instance(), resource));
    bool extended = p[0] == 1 && p[1] == 0xFFFF;
    DWORD style = extended ? *(const DWORD*)(p + 6) : *(const DWORD*)p;
    int count = extended ? p[8] : p[4];
    p += extended ? 13 : 9;  // to the menu field
    p = SkipNameOrOrdinal(SkipNameOrOrdinal(SkipNameOrOrdinal(p)));
    if (style & DS_SETFONT) p = SkipNameOrOrdinal(p + (extended ? 3 : 1));
    for (int i = 0; i < count; ++i) {
        p = AlignToDword(p);
        // DLGITEMTEMPLATEEX: help id, extended style, style;
        // DLGITEMTEMPLATE: style, extended style.
        const DWORD* fields = (const DWORD*)p;
        TemplateItem item;
        item.style = extended ? fields[2] : fields[0];
        item.exStyle = fields[1];
        items.push_back(item);
        p += extended ? 12 : 9;  // to the class field
        p = SkipNameOrOrdinal(SkipNameOrOrdinal(p));
        p = (const WORD*)((const BYTE*)(p + 1) + *p);  // creation data
    }
    return items;
}

HWND NthChild(HWND dialog, int order) {
    HWND child = GetWindow(dialog, GW_CHILD);
    for (int i = 0; i < order && child != NULL; ++i) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

std::string Hex(DWORD value) {
    char text[16];
    snprintf(text, sizeof(text), "0x%08lX", (unsigned long)value);
    return text;
}

std::string RectText(const RECT& r) {
    char text[64];
    snprintf(text, sizeof(text), "(%ld, %ld)-(%ld, %ld)", (long)r.left, (long)r.top,
             (long)r.right, (long)r.bottom);
    return text;
}

TEST_F(Templates, DialogWindowFontAndSize) {
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    for (const DialogRow& row : kDialogs) {
        SCOPED_TRACE("template " + std::to_string(row.id));
        HWND dialog = Dialog(row.id);
        ASSERT_TRUE(dialog != NULL) << "not created";

        HRSRC resource = FindResourceA(Instance(), MAKEINTRESOURCEA(row.id), (LPCSTR)RT_DIALOG);
        ASSERT_TRUE(resource != NULL);
        const DWORD* header = (const DWORD*)LockResource(LoadResource(Instance(), resource));
        EXPECT_EQ(header[0] == 0xFFFF0001, row.extended) << "extended template";
        if (row.usEnglish) {
            EXPECT_TRUE(FindResourceExA(Instance(), (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(row.id),
                                        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) != NULL)
                << "no US-English resource";
        }

        DWORD style = (DWORD)GetWindowLongA(dialog, GWL_STYLE);
        EXPECT_EQ(Hex(style & kDialogStyles), Hex(row.style)) << "window styles";
        EXPECT_EQ(WindowText(dialog), row.caption);

        LOGFONTA font;
        memset(&font, 0, sizeof(font));
        HFONT handle = (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0);
        ASSERT_TRUE(handle != NULL) << "no font";
        GetObjectA(handle, sizeof(font), &font);
        EXPECT_STREQ(font.lfFaceName, row.face);
        EXPECT_EQ(font.lfHeight, -MulDiv(row.points, dpi, 72)) << "height of " << row.points
                                                               << " points at " << dpi << " dpi";
        EXPECT_FALSE(font.lfItalic);

        RECT expected = {0, 0, row.width, row.height};
        MapDialogRect(dialog, &expected);
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(RectText(client), RectText(expected)) << "client area";
    }
}

TEST_F(Templates, ControlsAsPlaced) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE("template " + std::to_string(row.dialog) + ", control " +
                     std::to_string(row.order) + " (id " + std::to_string(row.id) + ")");
        HWND dialog = Dialog(row.dialog);
        ASSERT_TRUE(dialog != NULL);
        HWND control = NthChild(dialog, row.order);
        ASSERT_TRUE(control != NULL) << "no such control";

        EXPECT_EQ(GetDlgCtrlID(control) & 0xFFFF, row.id) << "id";
        char className[64] = "";
        GetClassNameA(control, className, sizeof(className));
        EXPECT_EQ(lstrcmpiA(className, row.className), 0)
            << "class: actual " << className << ", expected " << row.className;

        std::vector<TemplateItem> items = ReadTemplateItems(row.dialog);
        ASSERT_GT((int)items.size(), row.order) << "not in the template";
        const TemplateItem& item = items[row.order];
        EXPECT_EQ(Hex(item.style & kControlStyles), Hex(row.style)) << "styles";
        EXPECT_EQ((item.exStyle & WS_EX_STATICEDGE) != 0, row.staticEdge) << "static edge";
        if (row.text != NULL) {
            EXPECT_EQ(WindowText(control), row.text);
        }

        RECT corner = {row.x, row.y, row.x, row.y};
        MapDialogRect(dialog, &corner);
        RECT placed;
        GetWindowRect(control, &placed);
        MapWindowPoints(NULL, dialog, (POINT*)&placed, 2);
        if (row.width >= 0) {
            // Position and size are mapped separately, as the dialog
            // manager does when it creates the control.
            RECT size = {0, 0, row.width, row.height};
            MapDialogRect(dialog, &size);
            RECT expected = {corner.left, corner.top, corner.left + size.right,
                             corner.top + size.bottom};
            EXPECT_EQ(RectText(placed), RectText(expected)) << "rectangle";
        } else {
            EXPECT_EQ(placed.left, corner.left) << "left";
            EXPECT_EQ(placed.top, corner.top) << "top";
        }
    }
}

TEST(Resources, IconInEverySizeTheWindowsUse) {
    const int sizes[] = {16, 32};
    for (int size : sizes) {
        HICON icon = (HICON)LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, size,
                                       size, 0);
        ASSERT_TRUE(icon != NULL) << size << " pixels";
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap;
        GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// The manifest's dependency is what makes the loader take comctl32 from
// the side-by-side assembly of version 6; without it, or with a manifest
// the loader rejects, the library comes from the system directory.
TEST(Resources, ManifestSelectsCommonControls6) {
    ASSERT_EQ(RegisterDialogControls(), 1);
    HMODULE library = GetModuleHandleA("comctl32.dll");
    ASSERT_TRUE(library != NULL);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(library, path, sizeof(path));
    CharLowerA(path);
    EXPECT_TRUE(strstr(path, "microsoft.windows.common-controls_6595b64144ccf1df_6.") != NULL)
        << "comctl32 loaded from " << path;

    HRSRC manifest = FindResourceA(Instance(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_TRUE(manifest != NULL) << "no RT_MANIFEST 1";
}

}  // namespace
