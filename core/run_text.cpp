#include "core/run_text.h"

#include "core/bounded_text.h"

#include <string.h>

int FormatWorkspaceDir(char* out, size_t size, const char* tempPath) {
    size_t length = strlen(tempPath);
    const char* separator = length > 0 && tempPath[length - 1] == '\\' ? "" : "\\";
    if (length == 0 || !JoinText(out, size, tempPath, separator, WORKSPACE_NAME)) {
        if (size > 0) out[0] = '\0';
        return 0;
    }
    // The script path is the longest path the run builds from the workspace.
    if (strlen(out) + 1 + strlen(SCRIPT_NAME) >= size) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

int FormatScriptPath(char* out, size_t size, const char* workspace) {
    return JoinText(out, size, workspace, "\\", SCRIPT_NAME);
}

int FormatProductKey(char* out, size_t size, const char* name) {
    return JoinText(out, size, PRODUCT_KEY_BASE, name, NULL);
}

int FormatVersionText(char* out, size_t size, int major, int minor) {
    char majorText[kDecimalTextSize];
    char minorText[kDecimalTextSize];
    FormatDecimal(majorText, major);
    FormatDecimal(minorText, minor);
    return JoinText(out, size, majorText, ".", minorText);
}
