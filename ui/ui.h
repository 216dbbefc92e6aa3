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

// Registers the common-control classes that the dialog templates use: the
// progress bar "msctls_progress32" of templates 104 and 106. Call it once
// before either dialog is created; without it their creation fails.
// Returns 1 when the classes are registered, 0 when comctl32 is missing.
int RegisterDialogControls();

// Sets a progress bar to 0 of 100, one step at a time.
void ResetProgressBar(HWND bar);

// Dialog procedures for templates IDD_PREPARING (104, created modeless by
// the run sequence) and IDD_RESTART (133, run modally, owned by the
// backdrop). Both report every message as not handled.
//   Preparing: sets bar 1002 to 0..100, position 0, step 1, and keeps its
//   texts "Preparing installation..." and "Tarnvale 1.0" with timer 1.
//   Restart: 1021 (restart now) is checked as it opens, and it centres
//   itself with CenterOnScreen. OK calls RestartWindows(IsWinNT) when 1021
//   is checked and ends the dialog with 0; Cancel and Escape end it with
//   IDCANCEL and no restart; the close box sends WM_CLOSE to the owner, so
//   the backdrop and the dialog with it go away, and no restart.
INT_PTR CALLBACK PreparingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RestartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
