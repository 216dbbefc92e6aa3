#include "setup/workspace.h"

#include <string.h>

char WorkspaceDir[MAX_PATH];

// Appends `text` to the string in `buffer` of `size` bytes. Returns 0 and
// leaves the buffer unchanged when the result (with its terminator) would
// not fit.
static int AppendText(char* buffer, size_t size, const char* text) {
    size_t used = strlen(buffer);
    size_t extra = strlen(text);
    if (used + extra >= size) return 0;
    memcpy(buffer + used, text, extra + 1);
    return 1;
}

int CreateWorkspace() {
    char path[MAX_PATH];
    WorkspaceDir[0] = '\0';

    DWORD length = GetTempPathA(sizeof(path), path);
    if (length == 0 || length >= sizeof(path)) return 0;
    if (path[length - 1] != '\\' && !AppendText(path, sizeof(path), "\\")) return 0;
    if (!AppendText(path, sizeof(path), WORKSPACE_NAME)) return 0;
    // ExtractAll appends a backslash in place.
    if (strlen(path) + 1 >= sizeof(WorkspaceDir)) return 0;

    // Fails harmlessly when an earlier run left the directory behind.
    CreateDirectoryA(path, NULL);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;

    memcpy(WorkspaceDir, path, strlen(path) + 1);
    return 1;
}
