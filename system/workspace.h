// The workspace: the directory "QOZSETUP" under the user's temporary
// directory that the payload is copied into at the start of a run, and
// that is the process's current directory until it is removed.
#ifndef TARNVALE_SYSTEM_WORKSPACE_H
#define TARNVALE_SYSTEM_WORKSPACE_H

#include "core/run_text.h"
#include "core/sfx_archive.h"

// The extracted files, one slot per payload entry, each held open by the
// extraction (SfxArchive::heldFiles) until RemoveWorkspace: no other
// program can change, replace or delete them during the run.
extern FileHandle WorkspaceFiles[kSfxMaxEntries];

// Sets WorkspaceDir to the temporary path joined to "QOZSETUP" by one
// backslash and ScriptPath to WorkspaceDir + "\\install.ini", makes the
// workspace an empty directory of this run and makes it the current
// directory. Whatever stands there first goes: a junction or symbolic link
// is removed without following it, a file is deleted, and an earlier run's
// directory is emptied, so that no stale file can stand in for a missing
// entry. The directory stays open, so that it cannot be renamed or swapped
// for a link until RemoveWorkspace.
// Returns 0 when the temporary path cannot be read, when the paths would
// not fit their 260 bytes (WorkspaceDir and ScriptPath are then empty and
// nothing changed on disk), when what stood there cannot be cleared, or
// when the workspace cannot be made or entered. Returns 1 otherwise.
int PrepareWorkspace();

// WorkspaceDir + "\\" + `name`, with one backslash between them also when
// WorkspaceDir already ends in one. Returns 1, or 0 when it does not fit.
int WorkspaceFilePath(char* out, size_t size, const char* name);

// Closes the held files and the directory, then deletes everything under
// WorkspaceDir and the directory itself: makes it the current directory,
// empties it with DeleteTree, then moves to the temporary directory and
// removes "QOZSETUP" from there. Failures of single
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
