// External programs and library entry points: plug-ins that register
// themselves, one-time programs and library exports. Called by the install
// worker after every file is in place. Programs are started, not waited for.
#ifndef TARNVALE_SHELL_PROGRAMS_H
#define TARNVALE_SHELL_PROGRAMS_H

#include <stddef.h>

// The command lines (FormCommandLine) and plug-in options.
#include "core/install_steps.h"

// The message for a WinExec result: the texts for 0 (out of resources),
// 2 (file not found), 3 (path not found) and 11 (invalid .EXE); null for
// every other result, a started program (above 31) included. With
// `runOncePath`, result 3 gives "The specified path was not found.(%s)"
// with that path, formed in `buffer` (`size` bytes); null when the whole
// text does not fit.
const char* LaunchFailureText(unsigned result, const char* runOncePath, char* buffer,
                              size_t size);

// Starts `path` hidden with "/regplugin" (`registerFlag` set) or
// "/deregplugin". The current directory is not changed. A launch failure
// with a known cause is shown under "Plugin Error".
void RegisterPlugin(const char* path, int registerFlag);

// Runs `path` hidden with "/deregplugin" and waits for it to end, at most
// `timeoutMs`, so that its file can be removed afterwards. Shows nothing:
// returns 0 when it did not start.
int DeregisterPluginAndWait(const char* path, unsigned long timeoutMs);

// Starts `path` with `arguments` (may be empty), shown normally, in `dir`
// (when it cannot be made current, in the current directory). A launch
// failure with a known cause is shown under "Run Once Error". Always makes
// WorkspaceDir the current directory again before it returns.
void RunOnceProgram(const char* dir, const char* path, const char* arguments);

// What CallLibraryEntry did.
enum LibraryCall {
    kLibraryCalled,     // the export ran
    kLibraryNotLoaded,  // the library, or a DLL it needs, did not load
    kLibraryNoExport,   // it has no export of that name
    kLibraryNoOle       // OLE could not be initialised: nothing was loaded
};

// Loads the library `path` (LoadPackageLibrary: a DLL beside it is found),
// calls its export `exportName` with no arguments and unloads it, inside an
// OLE initialisation of its own.
LibraryCall CallLibraryEntry(const char* path, const char* exportName);

#endif
