// Test library that shell_entry_linked.dll imports: found only when the
// folder of the library being loaded is searched for its DLLs.
extern "C" __declspec(dllexport) const char* ShellEntryText() { return "ShellEntry called\n"; }
