// Registration of the common-control classes that the dialog templates use,
// and the progress bars' starting state.
#include "ui/ui.h"

#include <commctrl.h>

// comctl32 is loaded at run time: the first Windows 95 release has no
// InitCommonControlsEx, and a static import of it would keep the program
// from starting there. The manifest's dependency makes this load pick
// version 6 where the system has it.
int RegisterDialogControls() {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == NULL) return 0;
    typedef BOOL(WINAPI * InitEx)(const INITCOMMONCONTROLSEX*);
    typedef void(WINAPI * InitAll)(void);
    InitEx initEx = (InitEx)(void*)GetProcAddress(library, "InitCommonControlsEx");
    if (initEx != NULL) {
        INITCOMMONCONTROLSEX controls;
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_PROGRESS_CLASS;
        return initEx(&controls) ? 1 : 0;
    }
    // Older libraries register every class they have when they load.
    InitAll initAll = (InitAll)(void*)GetProcAddress(library, "InitCommonControls");
    if (initAll != NULL) initAll();
    return 1;
}

void ResetProgressBar(HWND bar) {
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
}
