// Test program for Wine: where LoadLibraryA finds "version.dll" while a
// planted copy (planted_dll.cpp) lies beside it. It imports only kernel32
// and msvcrt, so nothing loads a version.dll before it asks.
//   dll-search-probe.exe [restricted]
// prints "restrict R" (RestrictDllSearch's result) when restricted, then
// "planted PATH" (the copy, which exports TarnvalePlanted) or "system PATH".
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "system/system_helpers.h"

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "restricted") == 0)
        printf("restrict %d\n", RestrictDllSearch());
    char path[MAX_PATH] = "";
    HMODULE library = LoadLibraryA("version.dll");
    GetModuleFileNameA(library, path, sizeof(path));
    bool planted = library && GetProcAddress(library, "TarnvalePlanted");
    printf("%s %s\n", planted ? "planted" : "system", path);
    return 0;
}
