#include "ui/extraction_progress.h"

#include <windows.h>
#include <commctrl.h>

#include "resources/resource_ids.h"
#include "core/run_arithmetic.h"

void ExtractionProgress(uintptr_t user, uint32_t done, uint32_t total, int32_t) {
    HWND dialog = reinterpret_cast<HWND>(user);
    if (dialog == NULL) return;

    HWND bar = GetDlgItem(dialog, IDC_PREPARING_BAR);
    int position;
    // Posted, not sent: the extraction never waits for the bar.
    if (bar != NULL && ExtractionPosition(done, total, &position))
        PostMessageA(bar, PBM_SETPOS, (WPARAM)position, 0);

    MSG message;
    if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);

    if (done >= total) DestroyWindow(dialog);
}
