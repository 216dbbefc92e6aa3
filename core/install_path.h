// The check of an installation directory that the directory page runs
// after every change of its edit.
//
// Portable core: no <windows.h>.
#ifndef TARNVALE_CORE_INSTALL_PATH_H
#define TARNVALE_CORE_INSTALL_PATH_H

// Non-zero when `path` may serve as the installation directory, 0 when the
// page warns about it. Two forms are accepted:
//   drive  any first character, then ":\" and a fourth character that is
//          neither the end nor a backslash: C:\x passes; C, C:, C:\, C:x
//          and relative paths fail
//   UNC    two leading backslashes; passes once the path names a folder
//          below a share (\\server\share\folder, trailing backslash or
//          not): the backslashes counted, one more when the path does not
//          end in one, divided by 5
// The check only reads up to the terminator of `path`.
int IsValidInstallPath(const char* path);

// Non-zero when `path` is a full path that the install can use at all: a
// drive and its root ("C:\" and below) or a share ("\\server" and
// below). An empty path, a bare drive ("C:", the current folder of that
// drive) or a relative path gives 0: the files would go wherever the
// current folder happens to be, the workspace included.
int IsFullInstallPath(const char* path);

#endif
