// External programs and library entry points: plug-ins that register
// themselves, one-time programs and library exports. Called by the install
// worker after every file is in place. Programs are started, not waited for.
#ifndef TARNVALE_SHELL_PROGRAMS_H
#define TARNVALE_SHELL_PROGRAMS_H

#include <stddef.h>

// Forms the command line `program` `tail` for WinExec into `out` (`size`
// bytes): the program's path in quotes when it holds a blank, so that
// "C:\Program Files\x.exe" cannot start C:\Program.exe; one blank, then
// `tail` unchanged (the blank is written also when `tail` is empty).
// Returns 1, or 0 with `out` empty when the line does not fit.
int FormCommandLine(const char* program, const char* tail, char* out, size_t size);

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

// Starts `path` with `arguments` (may be empty), shown normally, in `dir`
// (when it cannot be made current, in the current directory). A launch
// failure with a known cause is shown under "Run Once Error". Always makes
// WorkspaceDir the current directory again before it returns.
void RunOnceProgram(const char* dir, const char* path, const char* arguments);

// Loads the library `path`, calls its export `exportName` with no
// arguments and unloads it, inside an OLE initialisation of its own. A
// library that cannot be loaded, a missing export or an OLE failure is not
// reported.
void CallLibraryEntry(const char* path, const char* exportName);

#endif
