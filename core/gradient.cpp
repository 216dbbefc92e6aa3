#include "core/gradient.h"

int GradientBandCount(int height) {
    if (height <= 0) return 0;
    return height / kGradientBandHeight + (height % kGradientBandHeight != 0 ? 1 : 0);
}

uint32_t GradientBandColour(int y, int height, uint32_t top, uint32_t bottom) {
    if (height <= 0 || y < 0 || y >= height) return top & 0xFFFFFF;
    uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        // 64-bit products: a channel of 255 times any int row cannot overflow.
        int64_t from = (top >> shift) & 0xFF;
        int64_t to = (bottom >> shift) & 0xFF;
        int64_t channel = to * y / height + from * (height - y) / height;
        colour |= (uint32_t)(channel & 0xFF) << shift;
    }
    return colour;
}
