// The preparing dialog's bar position and the centring of windows.
#include <gtest/gtest.h>

#include "core/run_arithmetic.h"

namespace {

struct PositionRow {
    uint32_t done;
    uint32_t total;
    int moves;  // 0: the bar is left alone
    int position;
};

const PositionRow kPositionRows[] = {
    {1, 3, 1, 33},
    {2, 3, 1, 66},
    {3, 3, 1, 100},
    {9, 9, 1, 99},  // total / 100 rounds upward in single precision
    {1, 1, 1, 100},
    // 5
    {0, 3, 0, 0},
    {3, 0, 0, 0},
    {0, 0, 0, 0},
    {1, 2, 1, 50},
    {7, 1000, 1, 0},
    // 10
    {999, 1000, 1, 99},
    {1000, 1000, 1, 100},
    {4, 3, 1, 100},  // beyond the total: never past the bar's end
    {0xFFFFFFFFu, 1, 1, 100},
};

TEST(ExtractionPosition, Table) {
    for (const PositionRow& row : kPositionRows) {
        int position = -12345;
        int moves = ExtractionPosition(row.done, row.total, &position);
        EXPECT_EQ(row.moves, moves) << row.done << " of " << row.total;
        if (row.moves)
            EXPECT_EQ(row.position, position) << row.done << " of " << row.total;
        else
            EXPECT_EQ(-12345, position) << row.done << " of " << row.total << ": position written";
    }
}

// Every count the container allows: the position never falls by more than
// the rounding of one step, never passes 100, and reaches 99 or 100 at the
// end.
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

struct CentreRow {
    int screen;
    int extent;
    int offset;
};

const CentreRow kCentreRows[] = {
    {1024, 300, 362},
    {768, 200, 284},
    {1024, 1024, 0},
    {1024, 301, 361},  // 723 / 2 truncates
    {1024, 1025, 0},   // -1 / 2 truncates toward zero
    // 5
    {1024, 1027, -1},
    {640, 2000, -680},
    {0, 0, 0},
    {2147483647, -2147483647 - 1, 2147483647},  // no overflow in the difference
};

TEST(CenteredOffset, Table) {
    for (const CentreRow& row : kCentreRows)
        EXPECT_EQ(row.offset, CenteredOffset(row.screen, row.extent))
            << "screen " << row.screen << ", window " << row.extent;
}

}  // namespace
