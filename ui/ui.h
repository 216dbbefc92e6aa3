// Windows of the setup program that stand outside the wizard: the backdrop
// behind it, and the preparing and restart dialogs around it.
#ifndef TARNVALE_UI_UI_H
#define TARNVALE_UI_UI_H

#include <windows.h>

// Registers the backdrop class "_Nb" and creates the full-work-area window
// with the gradient from `top` to `bottom` and the texts in `textColour`
// (0xFFFFFFFF: no text). Returns null when the class cannot be registered
// or the window cannot be created.
HWND CreateBackdropWindow(HINSTANCE instance, const char* text, COLORREF top,
                          COLORREF bottom, COLORREF textColour);

// Dialog procedures for templates IDD_PREPARING (104, created modeless by
// the run sequence) and IDD_RESTART (133, run modally).
INT_PTR CALLBACK PreparingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RestartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
