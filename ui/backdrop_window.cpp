// The backdrop: a plain top-level window over the desktop's work area that
// paints a vertical gradient with the product name on it. It has no
// message loop of its own; the modal loops of the dialogs it owns serve it.
#include "ui/ui.h"

#include "resources/resource_ids.h"
#include "system/settings.h"
#include "core/gradient.h"

namespace {

const char kClassName[] = "_Nb";
const COLORREF kNoText = 0xFFFFFFFF;

// Set once by CreateBackdropWindow, read by every paint.
COLORREF TopColour;
COLORREF BottomColour;
COLORREF TextColour;
int ShowsText;  // 0 when the text colour is kNoText

// Bold italic Garamond, `height` pixels; null when it cannot be created.
HFONT CreateBackdropFont(int height) {
    return CreateFontA(height, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, "Garamond");
}

// Draws `text` on one line from the top left of `area` in `font`, clipped
// to the area, and deletes the font.
void DrawLine(HDC dc, HFONT font, const char* text, RECT area) {
    HGDIOBJ previous = SelectObject(dc, font);
    DrawTextA(dc, text, -1, &area, DT_SINGLELINE);
    SelectObject(dc, previous);
    DeleteObject(font);
}

void PaintBackdrop(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    int height = client.bottom;

    // One brush per band, made and deleted on every paint.
    int bands = GradientBandCount(height);
    for (int band = 0; band < bands; ++band) {
        int y = band * kGradientBandHeight;
        RECT strip = {client.left, y, client.right, y + kGradientBandHeight};
        HBRUSH brush = CreateSolidBrush(GradientBandColour(y, height, TopColour, BottomColour));
        FillRect(dc, &strip, brush);
        DeleteObject(brush);
    }

    if (!ShowsText) return;
    HFONT small = CreateBackdropFont(40);
    if (small == NULL) return;

    // The window's own text at the bottom left, the product name in larger
    // letters at the top left. Both are left and top aligned in their
    // rectangles and clipped at the right edge.
    char text[256];
    GetWindowTextA(window, text, sizeof(text));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColour);
    RECT bottomArea = {client.left + 18, height - 50, client.right, height};
    DrawLine(dc, small, text, bottomArea);

    HFONT large = CreateBackdropFont(80);
    if (large == NULL) return;
    RECT nameArea = {client.left + 18, client.top + 8, client.right, height};
    DrawLine(dc, large, ProjectName, nameArea);
}

LRESULT CALLBACK BackdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc != NULL) PaintBackdrop(window, dc);
    EndPaint(window, &paint);
    return 0;
}

}  // namespace

HWND CreateBackdropWindow(HINSTANCE instance, const char* text, COLORREF top,
                          COLORREF bottom, COLORREF textColour) {
    WNDCLASSA windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = BackdropProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = NULL;
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return NULL;

    TopColour = top;
    BottomColour = bottom;
    TextColour = textColour;
    ShowsText = textColour != kNoText;

    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return CreateWindowExA(0, kClassName, text, WS_OVERLAPPEDWINDOW | WS_VISIBLE, work.left,
                           work.top, work.right - work.left, work.bottom - work.top,
                           GetDesktopWindow(), NULL, instance, NULL);
}
