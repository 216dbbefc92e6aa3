// Test library for the shell integration: its export ShellEntry appends
// "ShellEntry called" to the file that TARNVALE_SHELL_RECORD names, a "*"
// in it standing for "ShellEntry"; ShellExit, the uninstall export, appends
// "ShellExit called" the same way. Built as shell_entry_linked.dll, it takes
// ShellEntry's text from shell_entry_text.dll, a DLL that must lie beside it.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#ifdef SHELL_ENTRY_LINKED
extern "C" __declspec(dllimport) const char* ShellEntryText();
#else
static const char* ShellEntryText() { return "ShellEntry called\n"; }
#endif

static void Record(const char* name, const char* text) {
    char pattern[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TARNVALE_SHELL_RECORD", pattern, sizeof pattern);
    if (length == 0 || length >= sizeof pattern) return;
    char record[MAX_PATH + 16];
    char* star = strchr(pattern, '*');
    if (star != NULL) *star = '\0';
    snprintf(record, sizeof record, "%s%s%s", pattern, star ? name : "", star ? star + 1 : "");
    FILE* out = fopen(record, "ab");
    if (!out) return;
    fputs(text, out);
    fclose(out);
}

extern "C" __declspec(dllexport) void ShellEntry() { Record("ShellEntry", ShellEntryText()); }
extern "C" __declspec(dllexport) void ShellExit() { Record("ShellExit", "ShellExit called\n"); }
