// The planted "version.dll" of the DLL search test; its one export tells it
// apart from the system's.
#include <windows.h>

extern "C" __declspec(dllexport) int TarnvalePlanted() { return 1; }
