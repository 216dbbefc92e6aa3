#include "system/settings.h"

HINSTANCE AppInstance;
int IsWinNT;
char SystemDir[kPathSize];
char WindowsDir[kPathSize];
char WorkspaceDir[kPathSize];
char ScriptPath[kPathSize];
char ProjectName[kPathSize];
char MainDirSetting[kPathSize];
char SubDirSetting[kPathSize];
char InstallDir[kPathSize];
volatile LONG UserCancelled;
volatile LONG InstallCompleted;
