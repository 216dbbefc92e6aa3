// Test program for the shell integration: records how it was started into
// the file that TARNVALE_SHELL_RECORD names ("*" standing for its own file
// name): command=<GetCommandLineA>, module=<its own path>, show=<wShowWindow,
// or -1 without STARTF_USESHOWWINDOW>, cwd=<current directory>, a line each,
// written beside the file and moved there, so no reader sees half of it.
#include <windows.h>
#include <stdio.h>
#include <string.h>

int main() {
    char pattern[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TARNVALE_SHELL_RECORD", pattern, sizeof pattern);
    if (length == 0 || length >= sizeof pattern - 4) return 2;
    char module[MAX_PATH] = "";
    GetModuleFileNameA(NULL, module, sizeof module);
    char record[MAX_PATH];
    char* star = strchr(pattern, '*');
    if (star != NULL) {
        const char* slash = strrchr(module, '\\');
        *star = '\0';
        snprintf(record, sizeof record, "%s%s%s", pattern, slash ? slash + 1 : module, star + 1);
    } else {
        snprintf(record, sizeof record, "%s", pattern);
    }
    char partial[MAX_PATH + 4];
    snprintf(partial, sizeof partial, "%s.new", record);

    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);

    FILE* out = fopen(partial, "wb");
    if (!out) return 3;
    fprintf(out, "command=%s\nmodule=%s\nshow=%d\ncwd=%s\n", GetCommandLineA(), module, show, cwd);
    if (fclose(out) != 0) return 4;
    return MoveFileExA(partial, record, MOVEFILE_REPLACE_EXISTING) ? 0 : 5;
}
