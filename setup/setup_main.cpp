// Entry point of the setup program.
//
// This stage of the run covers its start: DLL loading is restricted to the
// system directory, the workspace is created under the user's temporary
// directory and every payload entry is copied into it. A failed extraction
// is shown in a message box. The program reads no arguments and always ends
// with exit code 0.
#include <windows.h>

#include "payload/sfx_archive.h"
#include "setup/system_helpers.h"
#include "setup/workspace.h"

// The run's one container reader. Its 1000-entry table is far too large
// for the stack, so it lives for the whole process.
static SfxArchive Archive;

// The message for a failed extraction, or null when `result` is SFX_OK.
static const char* ExtractionFailureText(int result) {
    switch (result) {
    case SFX_OK:
        return NULL;
    case SFX_ERR_SIGNATURE:
    case SFX_ERR_EMPTY:
        return " - Invalid signal or Nothing to do -";
    default:
        return "- Unknown error -";
    }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();

    // Without a workspace nothing can be extracted: that is reported like
    // any other failure of the extraction.
    int result = SFX_ERR_PATH;
    if (CreateWorkspace()) result = Archive.ExtractAll(WorkspaceDir, NULL, 0, 0);

    const char* failure = ExtractionFailureText(result);
    if (failure != NULL) ShowMessage(NULL, failure, "Extracting ERROR", MB_OK);
    return 0;
}
