#include "setup/run_text.h"

#include "payload/bounded_text.h"

#include <string.h>

int JoinText(char* out, size_t size, const char* first, const char* second, const char* third) {
    const char* parts[3] = {first, second, third};
    return JoinParts(out, size, parts, 3);
}

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

// Writes `value` in decimal into `out` (at least 12 bytes), terminated.
static void FormatDecimal(char* out, int value) {
    // Counted in unsigned arithmetic so that the most negative value works.
    unsigned magnitude = value < 0 ? 0u - (unsigned)value : (unsigned)value;
    char digits[12];
    int count = 0;
    do {
        digits[count++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int at = 0;
    if (value < 0) out[at++] = '-';
    while (count > 0) out[at++] = digits[--count];
    out[at] = '\0';
}

int FormatVersionText(char* out, size_t size, int major, int minor) {
    char majorText[12];
    char minorText[12];
    FormatDecimal(majorText, major);
    FormatDecimal(minorText, minor);
    return JoinText(out, size, majorText, ".", minorText);
}
