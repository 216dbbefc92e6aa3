// The licence file as the licence page shows it. The file is read as a
// text-mode stream would read it (CR LF becomes LF, a Ctrl-Z byte ends the
// text), then every LF becomes CR LF for the multi-line edit. A file with
// CR LF line ends and one with LF line ends thus show the same lines; a
// lone CR is kept as it is.
//
// Portable core: no <windows.h>, no allocation.
#ifndef TARNVALE_CORE_LICENSE_TEXT_H
#define TARNVALE_CORE_LICENSE_TEXT_H

#include <stddef.h>

// The end-of-text byte of a text-mode read.
#define LICENSE_TEXT_END '\x1a'

// Rewrites the `count` bytes at `bytes` in place as a text-mode read gives
// them: each CR directly followed by LF is dropped, and the text ends before
// the first Ctrl-Z. Returns the number of bytes left (at most `count`).
size_t ReadAsText(char* bytes, size_t count);

// Number of LF bytes among the `count` bytes at `text`.
size_t CountLineFeeds(const char* text, size_t count);

// Size of the buffer that ExpandLineFeeds needs for `count` bytes holding
// `lineFeeds` LF bytes, terminator included; 0 when that size would not
// fit a size_t.
size_t ExpandedSize(size_t count, size_t lineFeeds);

// Copies the `count` bytes at `text` into `out` of `size` bytes, writing
// CR LF for every LF, and terminates it. Returns 1, or 0 with `out` empty
// (when size > 0) when the result would not fit. `out` must not overlap
// `text`.
int ExpandLineFeeds(const char* text, size_t count, char* out, size_t size);

#endif
