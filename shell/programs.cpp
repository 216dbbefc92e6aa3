// Plug-ins, one-time programs and library entry points.
#include "shell/programs.h"

#include <windows.h>
#include <ole2.h>
#include <string.h>

#include "core/bounded_text.h"
#include "system/settings.h"
#include "system/system_helpers.h"

namespace {

const char kPathNotFound[] = "The specified path was not found.";

// Starts `program` `tail` with WinExec. Returns the launch result; a line
// that does not fit is not started and gives ERROR_FILENAME_EXCED_RANGE,
// which has no message.
UINT Launch(const char* program, const char* tail, UINT show) {
    char command[kCommandLineSize];
    if (!FormCommandLine(program, tail, command, sizeof command)) return ERROR_FILENAME_EXCED_RANGE;
    return WinExec(command, show);
}

}  // namespace

const char* LaunchFailureText(unsigned result, const char* runOncePath, char* buffer,
                              size_t size) {
    switch (result) {
    case 0: return "The system is out of memory or resources.";
    case ERROR_FILE_NOT_FOUND: return "The specified file was not found.";
    case ERROR_PATH_NOT_FOUND: {
        if (!runOncePath) return kPathNotFound;
        const char* parts[] = {kPathNotFound, "(", runOncePath, ")"};
        return JoinParts(buffer, size, parts, 4) ? buffer : NULL;
    }
    case ERROR_BAD_FORMAT: return "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";
    default: return NULL;
    }
}

void RegisterPlugin(const char* path, int registerFlag) {
    UINT result = Launch(path, registerFlag ? kRegisterPluginOption : kDeregisterPluginOption, SW_HIDE);
    const char* text = LaunchFailureText(result, NULL, NULL, 0);
    if (text) ShowMessage(NULL, text, "Plugin Error", MB_OK);
}

int DeregisterPluginAndWait(const char* path, unsigned long timeoutMs) {
    char command[kCommandLineSize];
    if (!FormCommandLine(path, kDeregisterPluginOption, command, sizeof command)) return 0;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return 0;
    WaitForSingleObject(process.hProcess, timeoutMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
}

void RunOnceProgram(const char* dir, const char* path, const char* arguments) {
    SetCurrentDirectoryA(dir);
    UINT result = Launch(path, arguments, SW_SHOWNORMAL);
    // Room for any path that fits a command line: the message is never cut.
    char pathText[sizeof kPathNotFound + kCommandLineSize];
    const char* text = LaunchFailureText(result, path, pathText, sizeof pathText);
    if (text) ShowMessage(NULL, text, "Run Once Error", MB_OK);
    SetCurrentDirectoryA(WorkspaceDir);
}

LibraryCall CallLibraryEntry(const char* path, const char* exportName) {
    HRESULT opened = OleInitialize(NULL);
    if (opened != S_OK && opened != S_FALSE) return kLibraryNoOle;
    LibraryCall result = kLibraryNotLoaded;
    HMODULE library = LoadPackageLibrary(path);
    if (library) {
        FARPROC entry = GetProcAddress(library, exportName);
        if (entry) ((void(WINAPI*)())entry)();
        result = entry ? kLibraryCalled : kLibraryNoExport;
        FreeLibrary(library);
    }
    OleUninitialize();
    return result;
}
