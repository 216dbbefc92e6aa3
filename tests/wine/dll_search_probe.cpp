// Test program for Wine: shows where LoadLibraryA finds "version.dll", with
// or without RestrictDllSearch, while a planted copy (planted_dll.cpp) lies
// beside it.
//
//   dll-search-probe.exe [restricted]
//
// Prints "restrict R" (RestrictDllSearch's result) when asked to restrict,
// then "planted PATH" when the copy beside it was loaded (it alone exports
// TarnvalePlanted) or "system PATH" otherwise. Exit code 0, or 1 when the
// library could not be loaded.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "system/system_helpers.h"

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "restricted") == 0)
        printf("restrict %d\n", RestrictDllSearch());
    HMODULE library = LoadLibraryA("version.dll");
    if (library == NULL) {
        printf("cannot load version.dll (error %lu)\n", (unsigned long)GetLastError());
        return 1;
    }
    char path[MAX_PATH] = "";
    GetModuleFileNameA(library, path, sizeof(path));
    printf("%s %s\n", GetProcAddress(library, "TarnvalePlanted") ? "planted" : "system", path);
    return 0;
}
