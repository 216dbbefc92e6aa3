// Shortcuts, the program group, startup entries and Run values. Called by
// the install worker, one call per shortcut or entry; nothing is kept
// between calls. Strings are narrow, in the system code page.
#ifndef TARNVALE_SHELL_SHORTCUTS_H
#define TARNVALE_SHELL_SHORTCUTS_H

#include <windows.h>

// Shell Folders key of the machine (HKEY_LOCAL_MACHINE). The Run key,
// kRunKey, and the texts of links and Run values are in
// core/install_steps.h.
extern const char kShellFoldersKey[];

// The file-system path of the shell's special folder `csidl` (a CSIDL_
// value) into `path` (260 bytes); 0 when the shell has none. Shells since
// 4.71 give the path directly. The first ones give only an item list, which
// the later ones build by parsing that very path, a few milliseconds under
// Wine: SpecialFolderPathFromItems takes that way, and SpecialFolderPath
// where the direct one is missing.
int SpecialFolderPath(int csidl, char* path);
int SpecialFolderPathFromItems(int csidl, char* path);

// Forms `path` (260 bytes) as the Programs folder, a backslash and `name`,
// and creates that directory (an existing one is no error). When the
// Programs folder cannot be resolved, or the path would not fit in 259
// characters, `path` is left empty and nothing is created. Returns 1.
int CreateProgramGroup(const char* name, char* path);

// Saves the shortcut `folder`\`name` (".lnk" appended unless ".lnk", in
// any case, appears anywhere in that path) that starts `target` with
// `arguments` in `workDir`. Each call initialises and uninitialises OLE
// itself. A link path of 260 characters or more is never saved.
// Returns 0 when OLE cannot be initialised (after showing "Unable to
// initialize OLE" under "OLE Error"), else 1, whether or not it was saved.
int CreateFolderShortcut(const char* target, const char* arguments, const char* name,
                         const char* workDir, const char* folder);

// The same on the user's desktop. Returns 0 when OLE cannot be initialised
// or the desktop cannot be resolved; otherwise the last COM result: that of
// IPersistFile::Save when it ran (S_OK on success), else the failing
// CoCreateInstance or QueryInterface result. A link path of 260 characters
// or more is not saved and gives HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE).
HRESULT CreateDesktopShortcut(const char* target, const char* arguments, const char* name,
                              const char* workDir);

// A shortcut to `target` in `workDir`, no arguments, in the all-users
// Startup folder ("Common Startup" of the Shell Folders key). Returns the
// result of CreateFolderShortcut; when the folder cannot be read (no key,
// no value, a value that does not fit in 260 bytes) nothing is created and
// the result is 1.
int CreateStartupShortcut(const char* target, const char* workDir, const char* name);

// Reads the value `valueName` of the Shell Folders key into `buffer`
// (`size` bytes; the value's type is not examined). Returns the error code
// when the key cannot be opened (the buffer is left as it was), else the
// result of closing the key (0). When the value cannot be read or is not
// terminated within the buffer, the buffer is left empty.
LONG ReadShellFolder(const char* valueName, char* buffer, DWORD size);

// Sets the REG_SZ value `name` of the Run key to the path `program`, in
// quotes when it holds a blank. Returns 1 on success; 0 on failure, also
// when the quoted path would not fit 260 bytes (nothing is then written;
// nothing is shown).
int AddRunEntry(const char* program, const char* name);

#endif
