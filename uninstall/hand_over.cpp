#include "uninstall/hand_over.h"

#include <windows.h>

#include "core/file_io.h"
#include "uninstall/uninstall_run.h"

namespace {

// How long the copy waits for the launcher to end, and the launcher for a
// refusing copy: both end at once, so only a hung one meets these.
const DWORD kLauncherWaitMs = 60000;
const DWORD kCopyWaitMs = 10000;

// An inheritable duplicate of `handle` (of this process), with `access`
// (0: the same access), or NULL.
HANDLE Inheritable(HANDLE handle, DWORD access) {
    HANDLE duplicate = NULL;
    const DWORD options = access == 0 ? DUPLICATE_SAME_ACCESS : 0;
    return DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &duplicate, access,
                           TRUE, options)
               ? duplicate
               : NULL;
}

// Starts the copy at `copy` in `dir` with the launcher's handles; returns the
// pipe's end to read the decision from, or NULL.
HANDLE StartCopy(const char* copy, const char* dir, int silent, const char* installDir,
                 PROCESS_INFORMATION* process) {
    HANDLE readEnd = NULL, writeEnd = NULL;
    if (!CreatePipe(&readEnd, &writeEnd, NULL, 0)) return NULL;
    HANDLE childWrite = Inheritable(writeEnd, 0);
    HANDLE self = Inheritable(GetCurrentProcess(), SYNCHRONIZE);
    CloseHandle(writeEnd);
    char command[kUninstallCommandSize];
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    // The copy's current directory is the temporary folder: nothing of it may
    // hold the installation directory.
    const BOOL started =
        childWrite != NULL && self != NULL &&
        FormatCopyCommandLine(command, sizeof(command), copy, (uint64_t)(uintptr_t)childWrite,
                              (uint64_t)(uintptr_t)self, silent, installDir) &&
        CreateProcessA(copy, command, NULL, NULL, TRUE, 0, NULL, dir, &startup, process);
    // The copy holds its own: with ours closed, the pipe breaks when it ends.
    if (childWrite != NULL) CloseHandle(childWrite);
    if (self != NULL) CloseHandle(self);
    if (started) return readEnd;
    CloseHandle(readEnd);
    return NULL;
}

}  // namespace

int HandOverToCopy(int silent, const char* installDir, int* exitCode) {
    char self[MAX_PATH], temp[MAX_PATH], copy[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof(temp), temp);
    // GetTempFileNameA creates the copy's file under a name of its own.
    if (!ModuleFilePath(self, sizeof(self)) || length == 0 || length >= sizeof(temp) ||
        !GetTempFileNameA(temp, "tvu", 0, copy))
        return 0;
    PROCESS_INFORMATION process;
    HANDLE decisionPipe = CopyFileA(self, copy, FALSE)
                              ? StartCopy(copy, temp, silent, installDir, &process)
                              : NULL;
    if (decisionPipe == NULL) {
        DeleteFileA(copy);
        return 0;
    }
    unsigned char decision = kUninstallFailed;
    DWORD got = 0;
    if (!ReadFile(decisionPipe, &decision, 1, &got, NULL) || got != 1) decision = kUninstallFailed;
    CloseHandle(decisionPipe);
    if (decision != kUninstallRemoved) {
        // The copy ends now; it removed nothing, not even itself.
        WaitForSingleObject(process.hProcess, kCopyWaitMs);
        DeleteFileA(copy);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    *exitCode = decision;
    return 1;
}

void TellLauncher(const UninstallArgs& args, int decision) {
    if (!args.isCopy) return;
    // Handle values from the command line: used only as what they claim to be.
    HANDLE decisionPipe = (HANDLE)(uintptr_t)args.decisionPipe;
    if (GetFileType(decisionPipe) == FILE_TYPE_PIPE) {
        const unsigned char byte = (unsigned char)decision;
        DWORD written = 0;
        WriteFile(decisionPipe, &byte, 1, &written, NULL);
        CloseHandle(decisionPipe);
    }
    if (decision == kUninstallRemoved)
        WaitForSingleObject((HANDLE)(uintptr_t)args.launcher, kLauncherWaitMs);
}

void RemoveCopyAtRestart() {
    char self[MAX_PATH];
    if (ModuleFilePath(self, sizeof(self))) MoveFileExA(self, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}
