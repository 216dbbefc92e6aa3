// The preparing dialog's bar position and the centring of windows.
#include <gtest/gtest.h>

#include "core/run_arithmetic.h"

namespace {

TEST(ExtractionPosition, Table) {
    const struct { uint32_t done, total; int moves, position; } rows[] = {  // moves 0: the bar is left alone
        {1, 3, 1, 33}, {2, 3, 1, 66}, {3, 3, 1, 100},
        {9, 9, 1, 99},  // total / 100 rounds upward in single precision
        {0, 3, 0, 0}, {3, 0, 0, 0}, {7, 1000, 1, 0}, {999, 1000, 1, 99},
        {4, 3, 1, 100},  // beyond the total: never past the bar's end
        {0xFFFFFFFFu, 1, 1, 100},
    };
    for (const auto& row : rows) {
        int position = -12345;
        EXPECT_EQ(row.moves, ExtractionPosition(row.done, row.total, &position))
            << row.done << " of " << row.total;
        EXPECT_EQ(row.moves ? row.position : -12345, position) << row.done << " of " << row.total;
    }
}

// Every count the container allows: the position never falls, never passes
// 100, and reaches 99 or 100 at the end.
TEST(ExtractionPosition, EveryTotalUpToTheEntryLimit) {
    for (uint32_t total = 1; total <= 1000; ++total) {
        int previous = 0;
        for (uint32_t done = 1; done <= total; ++done) {
            int position = -1;
            ASSERT_EQ(1, ExtractionPosition(done, total, &position));
            ASSERT_GE(position, previous) << done << " of " << total;
            ASSERT_LE(position, 100) << done << " of " << total;
            previous = position;
        }
        ASSERT_GE(previous, 99) << "last of " << total;
    }
}

TEST(CenteredOffset, TruncatesTowardZeroWithoutOverflow) {
    const struct { int screen, extent, offset; } rows[] = {{1024, 301, 361}, {1024, 1025, 0}, {640, 2000, -680},
                {2147483647, -2147483647 - 1, 2147483647}};
    for (const auto& row : rows)
        EXPECT_EQ(row.offset, CenteredOffset(row.screen, row.extent))
            << "screen " << row.screen << ", window " << row.extent;
}

}  // namespace
