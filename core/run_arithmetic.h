// The arithmetic of the setup program's windows: the position of the
// preparing dialog's progress bar, and the centring of a window on the
// screen. Pure functions, so they are tested natively as well as under Wine.
//
// Portable core: no <windows.h>.
#ifndef TARNVALE_CORE_RUN_ARITHMETIC_H
#define TARNVALE_CORE_RUN_ARITHMETIC_H

#include <stdint.h>

// Bar position after `done` of `total` payload entries, for a bar of 0 to
// 100. Returns 0 when the bar is left alone (`done` or `total` is 0);
// otherwise returns 1 and sets `position`.
//
// The quotients q = total / 100 and p = done / q are each rounded to single
// precision before they are used, and p is truncated toward zero: 1 of 3
// gives 33, 2 of 3 gives 66, 3 of 3 gives 100, but 9 of 9 gives 99 because
// q rounds upward. A `done` beyond `total` gives at most 100.
int ExtractionPosition(uint32_t done, uint32_t total, int* position);

// One coordinate of a window of `extent` centred in `screen`:
// (screen - extent) / 2, truncated toward zero; negative when the window is
// larger than the screen.
int CenteredOffset(int screen, int extent);

#endif
