// The planted "version.dll" of the DLL search test: a DLL that only a
// program loading from its own folder would pick up. Its one export tells it
// apart from the system's.
#include <windows.h>

extern "C" __declspec(dllexport) int TarnvalePlanted() { return 1; }
