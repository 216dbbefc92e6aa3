// Band colours and band count of the backdrop gradient.
#include <gtest/gtest.h>

#include "core/gradient.h"

namespace {

uint32_t Rgb(int red, int green, int blue) {
    return (uint32_t)red | (uint32_t)green << 8 | (uint32_t)blue << 16;
}

TEST(Gradient, BandColour) {
    // The run's colours: yellow at the top, blue at the bottom.
    const uint32_t yellow = Rgb(255, 255, 0), blue = Rgb(0, 0, 255);
    const struct { const char* name; int y, height; uint32_t top, bottom, expected; } rows[] = {
        {"H 1000, first band", 0, 1000, yellow, blue, Rgb(255, 255, 0)},
        {"H 1000, middle band", 500, 1000, yellow, blue, Rgb(127, 127, 127)},
        {"H 1000, last band", 996, 1000, yellow, blue, Rgb(1, 1, 253)},
        // 100 * 1 / 3 + 100 * 2 / 3 = 33 + 66: each quotient truncated.
        {"quotients truncated apart", 1, 3, Rgb(100, 100, 100), Rgb(100, 100, 100), Rgb(99, 99, 99)},
        {"channels kept apart", 2, 4, Rgb(200, 0, 40), Rgb(0, 100, 240), Rgb(100, 50, 140)},
        /* 5 */ {"high byte of the colours ignored", 0, 8, 0xFF123456, 0xFF000000, 0x00123456},
        // 255 * y overflows 32 bits here; the products must not.
        {"tall area", 2000000000, 2000000001, yellow, blue, Rgb(0, 0, 254)},
        {"row past the area", 10, 10, Rgb(1, 2, 3), blue, Rgb(1, 2, 3)},
        {"negative row", -4, 10, Rgb(1, 2, 3), blue, Rgb(1, 2, 3)},
        {"empty area", 0, 0, Rgb(1, 2, 3), blue, Rgb(1, 2, 3)},
    };
    for (const auto& row : rows) {
        uint32_t actual = GradientBandColour(row.y, row.height, row.top, row.bottom);
        EXPECT_EQ(actual, row.expected) << row.name << std::hex << ": actual 0x" << actual
                                        << ", expected 0x" << row.expected << " (0xBBGGRR)";
    }
}

TEST(Gradient, BandCount) {
    const struct { const char* name; int height, expected; } rows[] = {
        {"height 0 paints no band", 0, 0}, {"negative height", -8, 0}, {"one row", 1, 1}, {"exactly one band", 4, 1},
        {"one row into the second band", 5, 2}, {"height 1001: a band reaching past the edge", 1001, 251},
    };
    for (const auto& row : rows)
        EXPECT_EQ(GradientBandCount(row.height), row.expected) << row.name;
}

}  // namespace
