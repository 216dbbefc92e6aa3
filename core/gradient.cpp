#include "core/gradient.h"

int GradientBandCount(int height) {
    if (height <= 0) return 0;
    return height / kGradientBandHeight + (height % kGradientBandHeight != 0 ? 1 : 0);
}

// n / d for a quotient below 512, by shifts and subtractions: a 64-bit
// division would link the compiler's division routines into the setup
// program.
static uint32_t SmallQuotient(uint64_t n, uint32_t d) {
    uint32_t q = 0;
    for (int bit = 8; bit >= 0; --bit) {
        if (n >= (uint64_t)d << bit) {
            n -= (uint64_t)d << bit;
            q |= 1u << bit;
        }
    }
    return q;
}

uint32_t GradientBandColour(int y, int height, uint32_t top, uint32_t bottom) {
    if (height <= 0 || y < 0 || y >= height) return top & 0xFFFFFF;
    uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        // 64-bit products: a channel of 255 times any int row cannot
        // overflow. With 0 <= y < height each quotient is at most 255.
        uint64_t from = (top >> shift) & 0xFF;
        uint64_t to = (bottom >> shift) & 0xFF;
        uint32_t channel = SmallQuotient(to * (uint32_t)y, (uint32_t)height) +
                           SmallQuotient(from * (uint32_t)(height - y), (uint32_t)height);
        colour |= (uint32_t)(channel & 0xFF) << shift;
    }
    return colour;
}
