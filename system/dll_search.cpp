// RestrictDllSearch and LoadPackageLibrary, apart from the other helpers so
// that a test program can use them without importing user32.
#include "system/system_helpers.h"

namespace {

// The LOAD_LIBRARY_SEARCH_* flags; older headers do not define them.
const DWORD kSearchDllLoadDir = 0x100;
const DWORD kSearchSystem32 = 0x800;
const DWORD kSearchDefaultDirs = 0x1000;

typedef BOOL(WINAPI* SetDefaultDllDirectoriesCall)(DWORD);

// SetDefaultDllDirectories, or NULL where the system lacks it, and with it
// the LOAD_LIBRARY_SEARCH_* flags.
SetDefaultDllDirectoriesCall FindSetDefaultDllDirectories() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : NULL;
    return reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void*>(found));
}

}  // namespace

int RestrictDllSearch() {
    SetDefaultDllDirectoriesCall setDirectories = FindSetDefaultDllDirectories();
    return setDirectories && setDirectories(kSearchSystem32) ? 1 : 0;
}

HMODULE LoadPackageLibrary(const char* path) {
    if (FindSetDefaultDllDirectories() == NULL) return LoadLibraryA(path);
    return LoadLibraryExA(path, NULL, kSearchDllLoadDir | kSearchDefaultDirs);
}
