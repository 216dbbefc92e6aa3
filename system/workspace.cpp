#include "system/workspace.h"

#include "core/bounded_text.h"

#include <windows.h>
#include <string.h>

#include "system/settings.h"

int PrepareWorkspace() {
    WorkspaceDir[0] = '\0';
    ScriptPath[0] = '\0';
    char tempPath[kPathSize];
    DWORD length = GetTempPathA(sizeof(tempPath), tempPath);
    if (length == 0 || length >= sizeof(tempPath)) return 0;
    if (!FormatWorkspaceDir(WorkspaceDir, sizeof(WorkspaceDir), tempPath) ||
        !FormatScriptPath(ScriptPath, sizeof(ScriptPath), WorkspaceDir)) {
        WorkspaceDir[0] = '\0';
        return 0;
    }
    CreateDirectoryA(WorkspaceDir, NULL);
    SetCurrentDirectoryA(WorkspaceDir);
    return 1;
}

void RemoveWorkspace() {
    // Without a workspace path DeleteTree would start at the drive's root.
    if (WorkspaceDir[0] == '\0') return;
    char tempPath[kPathSize];
    DWORD length = GetTempPathA(sizeof(tempPath), tempPath);
    if (length == 0 || length >= sizeof(tempPath)) tempPath[0] = '\0';

    SetCurrentDirectoryA(WorkspaceDir);
    char tree[kPathSize];
    CopyText(tree, sizeof(tree), WorkspaceDir);
    DeleteTree(tree);

    // The workspace was the current directory, so DeleteTree could empty it
    // but not remove it.
    if (tempPath[0] != '\0' && SetCurrentDirectoryA(tempPath)) RemoveDirectoryA(WORKSPACE_NAME);
}

void DeleteTree(char* path) {
    size_t end = strlen(path);
    if (end == 0) return;
    // A path that already ends in a backslash (as WorkspaceDir does after
    // the extraction) gets no second one.
    size_t names = end > 0 && path[end - 1] == '\\' ? end : end + 1;
    if (names >= kPathSize || !CopyText(path + names, kPathSize - names, "*.*")) {
        RemoveDirectoryA(path);
        return;
    }
    path[names - 1] = '\\';

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const char* name = found.cFileName;
            if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;
            if (!CopyText(path + names, kPathSize - names, name)) continue;

            DWORD attributes = found.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    RemoveDirectoryA(path);
                else
                    DeleteTree(path);
            } else {
                DeleteFileA(path);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    path[end] = '\0';
    RemoveDirectoryA(path);
}
