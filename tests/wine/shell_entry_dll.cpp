// Test library for the shell integration: its export ShellEntry appends
// "ShellEntry called" to the file that TARNVALE_SHELL_RECORD names.
#include <windows.h>
#include <stdio.h>

extern "C" __declspec(dllexport) void ShellEntry() {
    char record[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TARNVALE_SHELL_RECORD", record, sizeof record);
    if (length == 0 || length >= sizeof record) return;
    FILE* out = fopen(record, "ab");
    if (!out) return;
    fputs("ShellEntry called\n", out);
    fclose(out);
}
