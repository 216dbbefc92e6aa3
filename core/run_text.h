// The texts that the run of the setup program builds in fixed buffers: the
// workspace path, the script path, the product's registry key and the
// version text.
//
// Every function writes at most `size` bytes, terminator included. A text
// that would not fit is refused, never cut: the function then returns 0 and
// leaves `out` empty, so a caller cannot go on with a shortened path that
// names something else.
//
// Portable core: no <windows.h>, no allocation.
#ifndef TARNVALE_CORE_RUN_TEXT_H
#define TARNVALE_CORE_RUN_TEXT_H

#include <stddef.h>

#include "core/bounded_text.h"

// Name of the workspace directory inside the temporary directory.
#define WORKSPACE_NAME "QOZSETUP"
// Name of the install script inside the workspace.
#define SCRIPT_NAME "install.ini"
// Registry path under HKEY_LOCAL_MACHINE that the product's key hangs off.
#define PRODUCT_KEY_BASE "SOFTWARE\\"

enum {
    kVersionTextSize = 20  // "%d.%d" of the major and minor version
};

// The workspace: `tempPath` joined to "QOZSETUP" by exactly one backslash
// (none is added when `tempPath` already ends in one). Refused (0) when
// `tempPath` is empty, or when the workspace would leave no room for the
// script path that FormatScriptPath builds from it in a buffer of the same
// size; the trailing backslash that the extraction adds fits then as well.
int FormatWorkspaceDir(char* out, size_t size, const char* tempPath);

// `workspace` + "\\" + "install.ini". Returns 1, or 0 when it does not fit.
int FormatScriptPath(char* out, size_t size, const char* workspace);

// "SOFTWARE\\" + `name`. An empty name gives "SOFTWARE\\" itself. Returns
// 1, or 0 when it does not fit (a name over size - 10 characters).
int FormatProductKey(char* out, size_t size, const char* name);

// "%d.%d" of `major` and `minor` ("1.2", "-1.0"). Returns 1, or 0 when it
// does not fit: in the 20 bytes of the run a text of 19 characters fits,
// such as "-2147483648.1234567".
int FormatVersionText(char* out, size_t size, int major, int minor);

#endif
