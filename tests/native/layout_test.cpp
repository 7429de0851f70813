// Layout arithmetic: character cell, rectangles, bytes per line, rows and
// the scroll position after resizes.
#include <gtest/gtest.h>

#include "control/core/layout.h"
#include "large_offsets.h"

using namespace pm;

namespace {

struct Measured : View {
    explicit Measured(Offset size, i32 W = 416, i32 H = 15) {
        data_size = size;
        apply_font_metrics(*this, W, H);
    }
};

}  // namespace

TEST(Layout, WorkedExampleOf416By15At600By400) {
    Measured v(1000);
    EXPECT_EQ(v.char_width, 8);
    EXPECT_EQ(v.line_height, 15);
    EXPECT_EQ(v.header_height(), 16);
    ASSERT_TRUE(compute_size(v, 600, 400).applied);
    EXPECT_EQ(v.bytes_per_line, 16u);
    EXPECT_EQ(v.rows, 25u);
    EXPECT_EQ(v.offset_rect, (Rect{0, 16, 64, 391}));
    EXPECT_EQ(v.hex_rect, (Rect{72, 16, 456, 391}));
    EXPECT_EQ(v.text_rect, (Rect{460, 16, 588, 391}));
    EXPECT_EQ(v.data_rect, (Rect{72, 0, 588, 391}));
    EXPECT_EQ(v.client, (Rect{0, 0, 600, 400}));
}

TEST(Layout, BytesPerLineFollowsWidthWithoutRounding) {
    Measured v(1000);
    compute_size(v, 500, 400);
    EXPECT_EQ(v.bytes_per_line, 13u);
}

TEST(Layout, TooFewBytesKeepThePreviousValue) {
    Measured v(1000);
    compute_size(v, 600, 400);
    // 13 + 64 + 3 * 32 = 173 gives 3 bytes; 13 + 64 + 2 * 32 + 1 gives 2.
    EXPECT_TRUE(compute_size(v, 173, 400).applied);
    EXPECT_EQ(v.bytes_per_line, 16u);
    EXPECT_TRUE(compute_size(v, 13 + 64 + 65, 400).applied);
    EXPECT_EQ(v.bytes_per_line, 16u);
}

TEST(Layout, TooNarrowChangesNothing) {
    Measured v(1000);
    compute_size(v, 600, 400);
    // space = w - 13 - 64 must exceed 64.
    EXPECT_FALSE(compute_size(v, 13 + 64 + 64, 100).applied);
    EXPECT_EQ(v.bytes_per_line, 16u);
    EXPECT_EQ(v.rows, 25u);
    EXPECT_EQ(v.client, (Rect{0, 0, 600, 400}));
}

TEST(Layout, WideWindowHoldsSixtyFourBytes) {
    Measured v(100000);
    compute_size(v, 13 + 64 + 32 * 100, 400);
    EXPECT_EQ(v.bytes_per_line, 64u);
    EXPECT_EQ(v.text_rect.right, 72 + 3 * 8 * 64 + 4 + 8 * 64);
}

TEST(Layout, LowWindowShowsOneRow) {
    Measured v(1000);
    compute_size(v, 600, 20);
    EXPECT_EQ(v.rows, 1u);
    compute_size(v, 600, 0);
    EXPECT_EQ(v.rows, 1u);
}

TEST(Layout, ShortDataDoesNotScroll) {
    Measured v(100);
    compute_size(v, 600, 400);
    EXPECT_EQ(v.last_line, 6u);
    EXPECT_EQ(v.first_visible_line, 0u);
}

TEST(Layout, NarrowingKeepsTheTopByteAndDoesNotJumpToTheLastPage) {
    Measured v(1000);
    compute_size(v, 600, 400);
    ASSERT_EQ(v.last_line, 62u);
    v.first_visible_line = 38;
    compute_size(v, 13 + 64 + 8 * 32, 400);
    EXPECT_EQ(v.bytes_per_line, 8u);
    EXPECT_EQ(v.last_line, 124u);
    EXPECT_EQ(v.first_visible_line, 76u);
}

TEST(Layout, ViewNearTheEndIsBroughtToTheLastPage) {
    Measured v(1000);
    compute_size(v, 600, 400);
    v.first_visible_line = 50;  // 50 + 25 >= 62
    compute_size(v, 600, 400);
    EXPECT_EQ(v.first_visible_line, 62u - 25u + 1u);
}

TEST(Layout, EmptyDataHasLastLineZero) {
    Measured v(0);
    compute_size(v, 600, 400);
    EXPECT_EQ(v.last_line, 0u);
    EXPECT_EQ(v.first_visible_line, 0u);
}

TEST(Layout, UnmeasuredFontIsNotDividedBy) {
    View v;
    v.data_size = 10;
    EXPECT_FALSE(compute_size(v, 600, 400).applied);
}

// The offset column is as wide as the largest value shown needs, never
// under eight digits, and the bytes make room for it.
TEST(Layout, OffsetColumnOfLargeBlocks) {
    struct Row {
        std::uint64_t size;
        u32 digits;
    };
    const Row rows[] = {{0xFFFFFFFFu, 8},       {0x100000000ull, 9}, {0x100000001ull, 9},
                        {(1ull << 47) - 1, 12}, {1ull << 47, 12}};
    for (const Row& r : rows) {
        if (r.size != Offset(r.size)) continue;  // beyond this build's offsets
        SCOPED_TRACE(r.size);
        Measured v(Offset(r.size));
        // Room for 16 bytes beside an eight-digit column, and no more.
        ASSERT_TRUE(compute_size(v, 13 + 64 + 16 * 32, 400).applied);
        EXPECT_EQ(v.offset_digits, r.digits);
        const i32 column = 8 * i32(r.digits);
        EXPECT_EQ(v.offset_rect.right, column);
        EXPECT_EQ(v.hex_rect.left, column + 8);
        EXPECT_EQ(v.bytes_per_line, r.digits == 8 ? 16u : 15u);
        EXPECT_EQ(v.last_line, Offset((r.size - 1) / v.bytes_per_line));
        EXPECT_LE(v.text_rect.right, 13 + 64 + 16 * 32);
    }
}

TEST(Layout, OffsetBaseIsAddedAtTheOffsetWidth) {
    // The last byte 0xFFFFFFEF shown with base 0x20: 0x10000000F with
    // 64-bit offsets, wrapped to 0xF with 32-bit ones.
    EXPECT_EQ(offset_digits_for(0xFFFFFFF0u, 0x20), PELOMAR_OFFSET_BITS == 64 ? 9u : 8u);
    EXPECT_EQ(offset_digits_for(0xFFFFFFF0u, 0x10), 8u);
    EXPECT_EQ(offset_digits_for(0, 0xFFFFFFFFu), 8u);
    EXPECT_EQ(offset_digits_for(Offset(-1), 0xFFFFFFFFu), PELOMAR_OFFSET_BITS == 64 ? 16u : 8u);
}

TEST(Layout, ResizingLargeBlocksKeepsTheTopByte) {
    for (const Offset size : LargeSizes()) {
        SCOPED_TRACE(size);
        Measured v(size);
        const i32 column = 8 * i32(v.offset_digits);
        compute_size(v, 13 + column + 16 * 32, 400);
        ASSERT_EQ(v.bytes_per_line, 16u);
        const Offset top = v.last_line - 1000;
        v.first_visible_line = top;
        compute_size(v, 13 + column + 8 * 32, 400);
        EXPECT_EQ(v.bytes_per_line, 8u);
        EXPECT_EQ(v.first_visible_line, 2 * top);
        // Near the end: the last line goes to the bottom row.
        v.first_visible_line = v.last_line - 30;
        compute_size(v, 13 + column + 16 * 32, 400);
        EXPECT_EQ(v.first_visible_line, (size - 1) / 16 - 24);
        // A first line past the end, at the width it counts, is no product
        // that wraps: it ends on the last page too.
        v.first_visible_line = Offset(-1) / 4;
        compute_size(v, 13 + column + 8 * 32, 400, 16);
        EXPECT_EQ(v.first_visible_line, (size - 1) / 8 - 24);
    }
}
