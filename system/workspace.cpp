#include "system/workspace.h"

#include "core/bounded_text.h"

#include <windows.h>
#include <string.h>

#include "system/settings.h"

FileHandle WorkspaceFiles[kSfxMaxEntries];

namespace {

// The workspace directory itself, open without delete sharing so that it
// cannot be renamed, removed or swapped for a link while the run uses it.
HANDLE WorkspaceHandle;  // NULL, or INVALID_HANDLE_VALUE, while none is held

bool IsRealDirectory(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Whether `dir` holds nothing but "." and "..".
bool IsEmptyDirectory(const char* dir) {
    char pattern[kPathSize];
    if (!JoinText(pattern, sizeof(pattern), dir, "\\*", NULL)) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool empty = true;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0) empty = false;
    } while (empty && FindNextFileA(search, &found));
    FindClose(search);
    return empty;
}

// Clears what stands at WorkspaceDir: a link is removed, never followed; a
// file is deleted; a directory an earlier run left is emptied. Returns
// whether nothing of it is left but, at most, an empty real directory.
bool ClearWorkspace() {
    DWORD attributes = GetFileAttributesA(WorkspaceDir);
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(WorkspaceDir, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (!RemoveDirectoryA(WorkspaceDir)) DeleteFileA(WorkspaceDir);
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(WorkspaceDir);
    } else {
        char tree[kPathSize];
        CopyText(tree, sizeof(tree), WorkspaceDir);
        DeleteTree(tree);
    }
    attributes = GetFileAttributesA(WorkspaceDir);
    return attributes == INVALID_FILE_ATTRIBUTES ||
           (IsRealDirectory(attributes) && IsEmptyDirectory(WorkspaceDir));
}

// Makes WorkspaceDir an empty directory of its own and holds it. Where a
// directory cannot be opened as a file (the Windows 95 family) its
// attributes are checked instead.
bool ClaimWorkspace() {
    if (!ClearWorkspace()) return false;
    CreateDirectoryA(WorkspaceDir, NULL);
    WorkspaceHandle = CreateFileA(WorkspaceDir, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  NULL, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, NULL);
    DWORD attributes;
    BY_HANDLE_FILE_INFORMATION info;
    if (WorkspaceHandle == INVALID_HANDLE_VALUE)
        attributes = GetFileAttributesA(WorkspaceDir);
    else
        attributes = GetFileInformationByHandle(WorkspaceHandle, &info) ? info.dwFileAttributes
                                                                         : INVALID_FILE_ATTRIBUTES;
    return IsRealDirectory(attributes) && IsEmptyDirectory(WorkspaceDir);
}

void ReleaseWorkspace() {
    for (int i = 0; i < kSfxMaxEntries; ++i) {
        FileClose(WorkspaceFiles[i]);
        WorkspaceFiles[i] = kNoFile;
    }
    if (WorkspaceHandle != NULL && WorkspaceHandle != INVALID_HANDLE_VALUE) CloseHandle(WorkspaceHandle);
    WorkspaceHandle = NULL;
}

}  // namespace

int PrepareWorkspace() {
    WorkspaceDir[0] = '\0';
    ScriptPath[0] = '\0';
    for (int i = 0; i < kSfxMaxEntries; ++i) WorkspaceFiles[i] = kNoFile;
    char tempPath[kPathSize];
    DWORD length = GetTempPathA(sizeof(tempPath), tempPath);
    if (length == 0 || length >= sizeof(tempPath)) return 0;
    if (!FormatWorkspaceDir(WorkspaceDir, sizeof(WorkspaceDir), tempPath) ||
        !FormatScriptPath(ScriptPath, sizeof(ScriptPath), WorkspaceDir)) {
        WorkspaceDir[0] = '\0';
        return 0;
    }
    if (!ClaimWorkspace() || !SetCurrentDirectoryA(WorkspaceDir)) {
        ReleaseWorkspace();
        return 0;
    }
    return 1;
}

int WorkspaceFilePath(char* out, size_t size, const char* name) {
    size_t length = strlen(WorkspaceDir);
    const char* separator = length > 0 && WorkspaceDir[length - 1] == '\\' ? "" : "\\";
    const char* parts[3] = {WorkspaceDir, separator, name};
    return JoinParts(out, size, parts, 3);
}

void RemoveWorkspace() {
    // Without a workspace path DeleteTree would start at the drive's root.
    if (WorkspaceDir[0] == '\0') return;
    ReleaseWorkspace();
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
