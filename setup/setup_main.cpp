// Entry point of the setup program.
//
// DLL loading is restricted to the system directory before anything else
// runs; then the run sequence (run_sequence.h) goes from start to exit. The
// program reads no arguments and always ends with exit code 0.
//
// The program starts at WinMainCRTStartup below, not in the C runtime's
// start-up code (it links with -nostartfiles): that code sets up what this
// program never uses (its arguments as argv, floating-point and thread-local
// start-up, exit handlers) and took 10 KB of the file. The functions of
// msvcrt.dll that the program calls need no start-up of their own.
#include <windows.h>

#include <stdlib.h>

#include "core/sfx_archive.h"
#include "setup/protection.h"
#include "setup/run_sequence.h"
#include "system/system_helpers.h"
#include "ui/wizard.h"

namespace {

// The run's one container reader. Its 1000-entry table is far too large
// for the stack, so it lives for the whole process.
SfxArchive Archive;

const RunParts kSetupParts = {ProtectUninstall, RunWizard, StoreUninstallPassword};

}  // namespace

// Held for the whole run, so that a second start (a double-click) cannot
// overwrite the workspace under the first or delete it.
const char kRunMutex[] = "TarnvaleSetupRunning";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    HANDLE running = CreateMutexA(NULL, FALSE, kRunMutex);
    if (running != NULL && GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowMessage(NULL, "An installation is already running.", "Setup", MB_OK);
        return 0;
    }
    return RunSetup(&Archive, kSetupParts);
}

// The constructors of the program's static objects, as the linker lists
// them: -1, the constructors, 0. They run from the last to the first, as in
// the C runtime's start-up.
extern "C" void (*__CTOR_LIST__[])();

static void RunStaticConstructors() {
    size_t count = 1;
    while (__CTOR_LIST__[count] != NULL) ++count;
    while (--count > 0) __CTOR_LIST__[count]();
}

// Nothing runs at exit: the process ends with ExitProcess, and no static
// object's destructor does anything that the end of the process does not.
// The compiler's registrations of those destructors end here, rather than
// in msvcrt.dll's atexit, which this toolchain reaches only through an
// import that the C runtime's start-up would have to patch.
extern "C" int __cdecl atexit(void (__cdecl*)(void)) { return 0; }

// The deleting destructors of classes with virtual destructors refer to
// operator delete, which this program never calls; these replace the
// library's, which would bring its unwind tables along.
void operator delete(void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }

// The command line behind the program's name, as WinMain gets it.
static char* ArgumentsOf(char* line) {
    for (int quoted = 0; *line != '\0' && (quoted || (*line != ' ' && *line != '\t')); ++line)
        if (*line == '"') quoted = !quoted;
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

extern "C" void WinMainCRTStartup() {
    RunStaticConstructors();
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, ArgumentsOf(GetCommandLineA()), show));
}
