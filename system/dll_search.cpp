// RestrictDllSearch, apart from the other helpers so that a test program can
// use it without importing user32.
#include "system/system_helpers.h"

int RestrictDllSearch() {
    // LOAD_LIBRARY_SEARCH_SYSTEM32; older headers do not define it.
    const DWORD kSearchSystem32 = 0x800;
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesCall)(DWORD);

    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == NULL) return 0;
    FARPROC found = GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (found == NULL) return 0;
    SetDefaultDllDirectoriesCall setDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void*>(found));
    return setDirectories(kSearchSystem32) ? 1 : 0;
}
