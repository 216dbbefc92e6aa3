// Joining texts into fixed buffers without ever cutting them.
// Portable core: no <windows.h>, no allocation, no printf.
#ifndef TARNVALE_CORE_BOUNDED_TEXT_H
#define TARNVALE_CORE_BOUNDED_TEXT_H

#include <stddef.h>

// Writes the `count` texts of `parts` one after the other into `out` of
// `size` bytes, terminator included; null parts are skipped. Returns 1, or
// 0 with `out` empty (when size > 0) when the whole would not fit. `out`
// must not overlap any part.
int JoinParts(char* out, size_t size, const char* const* parts, int count);

enum { kDecimalTextSize = 12 };  // "-2147483648" and the terminator

// Writes `value` in decimal, with a minus sign when negative, into `out`
// (kDecimalTextSize bytes), terminated.
void FormatDecimal(char* out, int value);

#endif
