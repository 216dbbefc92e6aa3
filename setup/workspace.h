// The workspace: the directory under the user's temporary directory that
// the payload is copied into at the start of a run.
#ifndef TARNVALE_SETUP_WORKSPACE_H
#define TARNVALE_SETUP_WORKSPACE_H

#include <windows.h>

// Name of the workspace directory inside the temporary directory.
#define WORKSPACE_NAME "QOZSETUP"

// Full path of the workspace, set by CreateWorkspace. The payload
// extraction appends a trailing backslash to it.
extern char WorkspaceDir[MAX_PATH];

// Sets WorkspaceDir to the temporary path (GetTempPathA) joined to
// "QOZSETUP" by one backslash, and creates that directory; a directory left
// by an earlier run is reused with whatever it holds. Returns 1 when the
// directory exists afterwards. Returns 0 when the temporary path cannot be
// read, when the path would leave no room in WorkspaceDir for the trailing
// backslash, or when the directory can be neither created nor found;
// WorkspaceDir is then empty.
int CreateWorkspace();

#endif
