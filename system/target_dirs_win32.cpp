// The Windows side of the target directories: the macros' directories come
// from the platform and the registry; directory chains are created here.
#include <windows.h>
#include <stdlib.h>
#include <string.h>

#include "core/script_vocabulary.h"
#include "system/target_dirs_win32.h"

#include "core/bounded_text.h"
#include "system/install_log_file.h"
#include "system/settings.h"
#include "system/system_helpers.h"

namespace {

const char kDefaultProgramFiles[] = "C:\\Program Files";

// "ProgramFilesDir" of the CurrentVersion key, read for reading only, or
// the default when the key or a REG_SZ value of at most 260 bytes is
// missing.
void ReadProgramFilesDir(char* out, size_t size) {
    CopyText(out, size, kDefaultProgramFiles);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char value[kPathSize + 1];
    DWORD type = 0;
    DWORD length = kPathSize;
    LONG status = RegQueryValueExA(key, "ProgramFilesDir", NULL, &type,
                                   reinterpret_cast<BYTE*>(value), &length);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ || length > kPathSize) return;
    value[length] = '\0';
    // A text that fills all 260 bytes has no room for the terminator.
    if (strlen(value) < size) CopyText(out, size, value);
}

// A system or Windows directory as the platform gives it; empty when it
// does not fit.
typedef UINT(WINAPI* DirectoryCall)(LPSTR, UINT);
void ReadPlatformDir(DirectoryCall call, char* out, size_t size) {
    UINT length = call(out, (UINT)size);
    if (length == 0 || length >= size) out[0] = '\0';
}

}  // namespace

int ResolveDirMacro(const char* text, char* out, size_t size) {
    if (size == 0) return 0;
    switch (DirMacroOf(text, kUseDirectory)) {
    case kMacroProgramFiles:
        ReadProgramFilesDir(out, size);
        return 1;
    case kMacroSystem:
        ReadPlatformDir(GetSystemDirectoryA, out, size);
        return 1;
    case kMacroLonWorks:
        ReadLonWorksPath(out, size);
        return 1;
    case kMacroWindows:
        ReadPlatformDir(GetWindowsDirectoryA, out, size);
        return 1;
    case kNotAMacro:
    case kMacroDefaultDirectory:  // only in BaseDir, where the engine reads it
        break;
    }
    return 0;
}

int ReadLonWorksPath(char* out, size_t size) {
    if (size == 0) return 0;
    out[0] = '\0';
    char* path = QueryRegString(HKEY_LOCAL_MACHINE, LONWORKS_KEY, LONWORKS_VALUE);
    if (path == NULL) return 0;
    CopyText(out, size, path);
    free(path);
    return out[0] != '\0';
}

int MatchesOsFilter(const char* filter) {
    return MatchesOsFilter(filter, IsWinNT);
}

// Creates `dir` when nothing is there, telling `making` first.
static void CreateNewDir(const char* dir, void (*making)(void*, const char*), void* context) {
    if (GetFileAttributesA(dir) != INVALID_FILE_ATTRIBUTES) return;
    making(context, dir);
    CreateDirectoryA(dir, NULL);
}

int CreateDirChainTelling(const char* path, void (*making)(void*, const char*), void* context) {
    char work[kPathSize];
    if (!JoinInstallDir(work, sizeof(work), path, "")) return 0;
    if (GetFileAttributesA(work) != INVALID_FILE_ATTRIBUTES) return 1;
    for (char* at = work; *at; ++at) {
        if (*at != '\\' || at == work || at[-1] == ':') continue;
        *at = '\0';
        CreateNewDir(work, making, context);
        *at = '\\';
    }
    CreateNewDir(work, making, context);
    return 1;
}

static void LogNewDir(void*, const char* dir) { LogInstallRecord(kLogDir, dir, NULL, NULL); }

int CreateDirChain(const char* path) { return CreateDirChainTelling(path, LogNewDir, NULL); }

void ResolveDefaultInstallDir() {
    char base[kPathSize];
    if (!ResolveDirMacro(MainDirSetting, base, sizeof(base)))
        CopyText(base, sizeof(base), MainDirSetting);
    JoinInstallDir(InstallDir, sizeof(InstallDir), base, SubDirSetting);
}
