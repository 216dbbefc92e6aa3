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
extern volatile LONG UserCancelled;     // 1 once the wizard was cancelled
extern volatile LONG InstallCompleted;  // 1 once the worker registered the install

// UserCancelled is set by the user-interface thread and read by the
// install worker while it runs: both sides go through these two.
inline void MarkUserCancelled() { InterlockedExchange(&UserCancelled, 1); }
inline int WasUserCancelled() { return (int)InterlockedCompareExchange(&UserCancelled, 0, 0); }
// InstallCompleted is set by the worker and read after the wizard: a Cancel
// pressed once the install is complete leaves it installed.
inline void MarkInstallCompleted() { InterlockedExchange(&InstallCompleted, 1); }
inline int WasInstallCompleted() { return (int)InterlockedCompareExchange(&InstallCompleted, 0, 0); }

#endif
