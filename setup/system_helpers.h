// Helpers of the setup program that every part of it uses.
#ifndef TARNVALE_SETUP_SYSTEM_HELPERS_H
#define TARNVALE_SETUP_SYSTEM_HELPERS_H

#include <windows.h>

// Language of every message box: US English.
enum { kMessageLanguage = 1033 };

// Shows a message box with `owner` (may be null), `text`, `caption` and
// `style` in US English (MessageBoxExA, language 1033). Returns the id of
// the pressed button as MessageBoxExA reports it (0 when the box could not
// be shown).
int ShowMessage(HWND owner, const char* text, const char* caption, UINT style);

// Limits the DLLs that later LoadLibrary calls may load to the system
// directory (SetDefaultDllDirectories with LOAD_LIBRARY_SEARCH_SYSTEM32), so
// that a DLL planted beside the program is never picked up. The function is
// looked up at run time because older systems lack it. Call it first, before
// anything can load a library. Returns 1 when the restriction is in force,
// 0 when the system has no such call or refused it.
int RestrictDllSearch();

#endif
