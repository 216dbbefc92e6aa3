// Every text that goes into a fixed buffer goes through here. A text that
// would not fit is refused whole, never cut: the caller learns it from the
// result and decides what happens, so a shortened path can never name a
// different file, key or folder.
// Portable core: no <windows.h>, no allocation, no printf.
#ifndef TARNVALE_CORE_BOUNDED_TEXT_H
#define TARNVALE_CORE_BOUNDED_TEXT_H

#include <stddef.h>

// Writes the `count` texts of `parts` one after the other into `out` of
// `size` bytes, terminator included; null parts are skipped. Returns 1, or
// 0 with `out` empty (when size > 0) when the whole would not fit. The
// first part may be `out` itself (the others are then appended to it); no
// other part may overlap `out`.
int JoinParts(char* out, size_t size, const char* const* parts, int count);

// `first`, `second` and `third` (any may be null) joined, as JoinParts.
int JoinText(char* out, size_t size, const char* first, const char* second, const char* third);

// Copies the `length` bytes at `text` (which may overlap `out`) into `out`
// of `size` bytes and terminates them. Returns 1, or 0 with `out` empty
// (when size > 0) when they would not fit.
int CopySpan(char* out, size_t size, const char* text, size_t length);

// Copies `text` into `out` of `size` bytes. Returns 1, or 0 with `out`
// empty (when size > 0) when it would not fit.
int CopyText(char* out, size_t size, const char* text);

// Appends `text` to the terminated text in `out` of `size` bytes. Returns
// 1, or 0 with `out` unchanged when the whole would not fit.
int AppendText(char* out, size_t size, const char* text);

enum { kDecimalTextSize = 12 };  // "-2147483648" and the terminator

// Writes `value` in decimal, with a minus sign when negative, into `out`
// (kDecimalTextSize bytes), terminated.
void FormatDecimal(char* out, int value);

#endif
