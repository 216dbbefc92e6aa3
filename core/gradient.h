// Colour arithmetic of the backdrop's vertical gradient. Portable: no
// Windows headers, so the host tests use it as the backdrop does.
//
// Colours are 0x00BBGGRR (red in bits 0-7, green in 8-15, blue in 16-23),
// the layout of a Windows COLORREF; bits 24-31 are ignored.
#ifndef TARNVALE_CORE_GRADIENT_H
#define TARNVALE_CORE_GRADIENT_H

#include <stdint.h>

// The gradient is painted in horizontal bands of this many pixels.
enum { kGradientBandHeight = 4 };

// Number of bands that cover a client area `height` pixels high: the last
// band may reach past the bottom edge. 0 when `height` is 0 or negative.
int GradientBandCount(int height);

// Colour of the band that starts at row `y` (0 <= y < height) of an area
// `height` pixels high, running from `top` at row 0 towards `bottom`.
// Each channel is bottom * y / height + top * (height - y) / height, the two
// quotients truncated separately, so the pure bottom colour is never
// reached. Returns `top` when the arguments are outside that range.
uint32_t GradientBandColour(int y, int height, uint32_t top, uint32_t bottom);

#endif
