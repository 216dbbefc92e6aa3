// Shell links through the platform's COM classes, and the registry entries
// that start a program with Windows.
#include "shell/shortcuts.h"

#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>
#include <string.h>

#include "core/bounded_text.h"
#include "core/install_steps.h"
#include "system/install_log_file.h"
#include "system/settings.h"
#include "system/system_helpers.h"

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace {

// The published identifiers, spelled out so that no import library of GUIDs
// is needed.
const CLSID kClsidShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidShellLinkA = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

const HRESULT kPathTooLong = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);

// Opens OLE for one shortcut call; shows the failure. Returns 1 when open.
int OpenOle() {
    HRESULT result = OleInitialize(NULL);
    if (result == S_OK || result == S_FALSE) return 1;
    ShowMessage(NULL, "Unable to initialize OLE", "OLE Error", MB_OK);
    return 0;
}

// Saves the link `folder`\`name` with OLE open. Returns the last COM result:
// that of Save when it ran, else the failing one; kPathTooLong when the
// link path does not fit.
HRESULT SaveLink(const char* target, const char* arguments, const char* name,
                 const char* workDir, const char* folder) {
    char path[kPathSize];
    if (!FormLinkPath(path, sizeof(path), folder, name)) return kPathTooLong;
    // An earlier link of that name is kept for the rollback and the uninstaller.
    if (!LogFileToWrite(path)) return E_FAIL;
    IShellLinkA* link = NULL;
    HRESULT result = CoCreateInstance(kClsidShellLink, NULL, CLSCTX_INPROC_SERVER,
                                      kIidShellLinkA, (void**)&link);
    if (FAILED(result)) return result;
    link->SetPath(target);
    link->SetArguments(arguments);
    link->SetWorkingDirectory(workDir);
    IPersistFile* file = NULL;
    result = link->QueryInterface(kIidPersistFile, (void**)&file);
    if (SUCCEEDED(result)) {
        WCHAR wide[kPathSize];
        if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, wide, kPathSize))
            result = file->Save(wide, TRUE);
        else
            result = kPathTooLong;
        file->Release();
    }
    link->Release();
    return result;
}

}  // namespace

int SpecialFolderPathFromItems(int csidl, char* path) {
    LPITEMIDLIST items = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, csidl, &items))) return 0;
    BOOL found = SHGetPathFromIDListA(items, path);
    CoTaskMemFree(items);
    return found == TRUE;
}

int SpecialFolderPath(int csidl, char* path) {
    typedef BOOL(WINAPI * PathCall)(HWND, LPSTR, int, BOOL);
    PathCall direct = (PathCall)(void*)GetProcAddress(GetModuleHandleA("shell32.dll"),
                                                      "SHGetSpecialFolderPathA");
    if (direct == NULL) return SpecialFolderPathFromItems(csidl, path);
    return direct(NULL, path, csidl, FALSE) != FALSE;
}

int CreateProgramGroup(const char* name, char* path) {
    path[0] = '\0';
    char folder[kPathSize];
    if (!SpecialFolderPath(CSIDL_PROGRAMS, folder)) return 1;
    if (!JoinText(path, kPathSize, folder, "\\", name)) return 1;
    CreateLoggedDir(path);
    return 1;
}

int CreateFolderShortcut(const char* target, const char* arguments, const char* name,
                         const char* workDir, const char* folder) {
    if (!OpenOle()) return 0;
    SaveLink(target, arguments, name, workDir, folder);
    OleUninitialize();
    return 1;
}

HRESULT CreateDesktopShortcut(const char* target, const char* arguments, const char* name,
                              const char* workDir) {
    if (!OpenOle()) return 0;
    char folder[kPathSize];
    HRESULT result = 0;
    if (SpecialFolderPath(CSIDL_DESKTOPDIRECTORY, folder))
        result = SaveLink(target, arguments, name, workDir, folder);
    OleUninitialize();
    return result;
}

int CreateStartupShortcut(const char* target, const char* workDir, const char* name) {
    char folder[kPathSize] = "";
    ReadShellFolder("Common Startup", folder, sizeof folder);
    if (folder[0] == '\0') return 1;
    return CreateFolderShortcut(target, "", name, workDir, folder);
}

LONG ReadShellFolder(const char* valueName, char* buffer, DWORD size) {
    HKEY key;
    LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kShellFoldersKey, 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS) return opened;
    DWORD length = size;
    LONG read = RegQueryValueExA(key, valueName, NULL, NULL, (BYTE*)buffer, &length);
    // A value the buffer cannot hold with its terminator is no folder.
    if (size > 0 && (read != ERROR_SUCCESS || length == 0 || memchr(buffer, '\0', length) == NULL))
        buffer[0] = '\0';
    return RegCloseKey(key);
}

int AddRunEntry(const char* program, const char* name) {
    // Windows splits the value at its first blank: a path that holds one is
    // quoted, so that a "C:\Program.exe" can never stand in for it.
    char command[kPathSize];
    if (!FormProgramPath(command, sizeof(command), program)) return 0;
    LogMachineValue(kRunKey, name);
    return SetRegString(HKEY_LOCAL_MACHINE, kRunKey, name, command);
}
