// The workspace: the directory "QOZSETUP" under the user's temporary
// directory that the payload is copied into at the start of a run, and
// that is the process's current directory until it is removed.
#ifndef TARNVALE_SYSTEM_WORKSPACE_H
#define TARNVALE_SYSTEM_WORKSPACE_H

#include "core/run_text.h"

// Sets WorkspaceDir to the temporary path joined to "QOZSETUP" by one
// backslash and ScriptPath to WorkspaceDir + "\\install.ini", creates the
// workspace and makes it the current directory. A workspace left by an
// earlier run is reused with whatever it holds; a failure to create the
// directory or to enter it is ignored (the extraction then fails on its own
// or succeeds).
// Returns 0, and changes nothing on disk, when the temporary path cannot be
// read or when the paths would not fit their 260 bytes; WorkspaceDir and
// ScriptPath are then empty. Returns 1 otherwise.
int PrepareWorkspace();

// Deletes everything under WorkspaceDir and the directory itself: makes it
// the current directory, empties it with DeleteTree, then moves to the
// temporary directory and removes "QOZSETUP" from there. Failures of single
// deletions are ignored. The current directory is the temporary directory
// afterwards. Does nothing while WorkspaceDir is empty.
void RemoveWorkspace();

// Deletes the files and directories under `path` and then `path` itself.
// `path` is a buffer of 260 bytes that is extended with each entry's name
// and restored before the call returns. Read-only files lose the attribute
// first. A directory link (reparse point) is removed without entering it,
// so nothing outside the tree is deleted. Entries whose full path would not
// fit the buffer are left alone; whatever is left makes the final removal
// fail silently. An empty `path` deletes nothing.
void DeleteTree(char* path);

#endif
