// Helpers of the setup program that every part of it uses. They keep no
// state and may be called from any thread.
#ifndef TARNVALE_SYSTEM_SYSTEM_HELPERS_H
#define TARNVALE_SYSTEM_SYSTEM_HELPERS_H

#include <windows.h>

// Language of every message box: US English.
enum { kMessageLanguage = 1033 };

// MessageBoxExA with `owner` (may be null), `text`, `caption`, `style` and
// language 1033. Returns the pressed button's id (0 when not shown).
int ShowMessage(HWND owner, const char* text, const char* caption, UINT style);

// MessageBoxExA with no owner, MB_OK and language 1033.
int ShowNotice(const char* text, const char* caption);

// Reads the value `name` of root\subkey (opened with KEY_ALL_ACCESS) as
// text, at most 260 bytes. Returns a heap copy the caller releases with
// free(), or null on any failure (no key, no value, value over 260 bytes).
char* QueryRegString(HKEY root, const char* subkey, const char* name);

// Creates or opens root\subkey (empty class, KEY_ALL_ACCESS) and sets the
// REG_SZ value `name` to `text`, terminator stored. Returns 1 or 0.
int SetRegString(HKEY root, const char* subkey, const char* name, const char* text);

// 1 on the NT family, else 0. Shows "Unable to get version info" or
// "This application does not run under WIN32s!" under "OS Version" when
// the version cannot be read or is Win32s, and returns 0 then.
int DetectPlatform();

// Forces a restart of Windows; on the NT family it first enables
// SeShutdownPrivilege. Failures are shown under "Reboot".
void RestartWindows(int isNt);

// Position that centres a window of `width` x `height` on a screen of
// `screenWidth` x `screenHeight`: (screen - window) / 2, truncated toward
// zero, negative when the window is larger.
POINT CenteredPosition(int screenWidth, int screenHeight, int width, int height);

// Moves `window` to the centre of the primary screen at the top of the Z
// order, without resizing or activating it, and shows it.
void CenterOnScreen(HWND window);

// CopyFileA replacing an existing target; the Windows result unchanged.
BOOL CopyFileOver(const char* source, const char* target);

// Limits the DLLs that later LoadLibrary calls may load to the system
// directory (SetDefaultDllDirectories with LOAD_LIBRARY_SEARCH_SYSTEM32), so
// that a DLL planted beside the program is never picked up. The function is
// looked up at run time because older systems lack it. Call it first, before
// anything can load a library. Returns 1 when the restriction is in force,
// 0 when the system has no such call or refused it.
int RestrictDllSearch();

// Loads the library at `path` with its own folder searched for the DLLs it
// needs, and the default folders (LoadLibraryExA with
// LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS) where
// the system has those flags: the restriction above would otherwise keep a
// package's library from finding a DLL installed beside it. Elsewhere a
// plain LoadLibraryA. Returns the module, or NULL.
HMODULE LoadPackageLibrary(const char* path);

#endif
