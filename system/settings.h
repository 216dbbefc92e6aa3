// Process-wide settings of one setup run. Set by the run sequence on the
// user-interface thread; the install worker only reads them.
#ifndef TARNVALE_SYSTEM_SETTINGS_H
#define TARNVALE_SYSTEM_SETTINGS_H

#include <windows.h>

enum { kPathSize = MAX_PATH };  // 260 bytes, terminator included

extern HINSTANCE AppInstance;           // the executable's own module
extern int IsWinNT;                     // 1 on the NT family, else 0
extern char SystemDir[kPathSize];
extern char WindowsDir[kPathSize];
extern char WorkspaceDir[kPathSize];    // gets a trailing backslash during extraction
extern char ScriptPath[kPathSize];      // WorkspaceDir + "\\install.ini"
extern char ProjectName[kPathSize];     // [INSTALL PROJECT] NAME
extern char MainDirSetting[kPathSize];  // [INSTALL PROJECT] MAIN DIRECTORY
extern char SubDirSetting[kPathSize];   // [INSTALL PROJECT] SUB DIRECTORY
extern char InstallDir[kPathSize];      // empty until the default is resolved
extern int UserCancelled;               // 1 once the wizard was cancelled

#endif
