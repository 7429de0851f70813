// Mouse geometry and scroll-bar arithmetic.
#include <gtest/gtest.h>

#include "control/core/hit_test.h"
#include "control/core/layout.h"
#include "large_offsets.h"

using namespace pm;

namespace {

// cw 8, lh 15, header 16; 16 bytes per line, 25 rows; hex view from 72,
// text view from 460.
struct Laid : View {
    explicit Laid(Offset size, Offset top = 0) {
        data_size = size;
        apply_font_metrics(*this, 416, 15);
        compute_size(*this, 600, 400);
        first_visible_line = top;
    }
};

Offset OffsetAt(const View& v, u32 x, u32 y, u32* view = nullptr) {
    Hit h{};
    EXPECT_TRUE(hit_test(v, x, y, &h)) << x << "," << y;
    if (view) *view = h.view;
    return h.offset;
}

}  // namespace

TEST(HitTest, GeometryIsTheOneTheRowsArePaintedWith) {
    Laid v(1000);
    ASSERT_EQ(v.hex_rect.left, 72);
    ASSERT_EQ(v.text_rect.left, 460);
    ASSERT_EQ(v.bytes_per_line, 16u);
}

TEST(HitTest, SpaceAfterTheDigitsBelongsToTheNextByte) {
    Laid v(1000);
    for (u32 x = 72; x <= 88; ++x) EXPECT_EQ(OffsetAt(v, x, 20), 0u) << x;
    for (u32 x = 89; x <= 95; ++x) EXPECT_EQ(OffsetAt(v, x, 20), 1u) << x;
    EXPECT_EQ(OffsetAt(v, 96, 20), 1u);
    EXPECT_EQ(OffsetAt(v, 72 + 24 * 5 + 17, 20), 6u);
}

TEST(HitTest, ViewsRowsAndScrollPosition) {
    Laid v(1000, 3);
    u32 view = 9;
    EXPECT_EQ(OffsetAt(v, 460, 16, &view), 48u);
    EXPECT_EQ(view, u32(text_view));
    EXPECT_EQ(OffsetAt(v, 460 + 8 * 5 + 7, 16 + 15 * 2, &view), 48u + 32 + 5);
    EXPECT_EQ(OffsetAt(v, 100, 31, &view), 48u + 16 + 1);
    EXPECT_EQ(view, u32(hex_view));
    // The gap between the views belongs to the hex view: its column is the
    // next line's first byte.
    EXPECT_EQ(OffsetAt(v, 457, 16, &view), 48u + 16);
    EXPECT_EQ(view, u32(hex_view));
}

TEST(HitTest, ColumnsAreNotLimitedToTheLine) {
    Laid v(1000);
    // Right of the text view on row 2: a byte of row 3 or later.
    EXPECT_GE(OffsetAt(v, 590, 16 + 15 * 2 + 3), 48u);
    // Below the last byte: the end position.
    Laid small(20);
    EXPECT_EQ(OffsetAt(small, 100, 300), 20u);
    EXPECT_EQ(OffsetAt(small, 61440, 61440), 20u);
}

TEST(HitTest, OffsetColumnIsNoHit) {
    Laid v(1000);
    Hit h{};
    EXPECT_FALSE(hit_test(v, 0, 40, &h));
    EXPECT_FALSE(hit_test(v, 71, 40, &h));
    // Left of the window: a negative x read as a large 16-bit number.
    EXPECT_FALSE(hit_test(v, 65535, 40, &h));
    EXPECT_FALSE(hit_test(v, 61441, 40, &h));
}

TEST(HitTest, AboveTheRows) {
    Laid v(1000);
    EXPECT_TRUE(above_rows(v, 0));
    EXPECT_TRUE(above_rows(v, 15));
    EXPECT_FALSE(above_rows(v, 16));
    EXPECT_FALSE(above_rows(v, 61440));
    EXPECT_TRUE(above_rows(v, 65535));  // y -1
}

TEST(ScrollTarget, EveryCode) {
    struct Row {
        const char* name;
        u32 code;
        Offset pos;
        u32 page;
        Offset max, track;
        bool moves;
        Offset to;
    };
    const Row rows[] = {
        {"top", scroll_top, 30, 25, 100, 0, true, 0},
        {"top at top", scroll_top, 0, 25, 100, 0, false, 0},
        {"bottom", scroll_bottom, 0, 25, 100, 0, true, 76},
        {"line up", scroll_line_up, 30, 25, 100, 0, true, 29},
        {"line up at 0", scroll_line_up, 0, 25, 100, 0, false, 0},
        {"line down", scroll_line_down, 30, 25, 100, 0, true, 31},
        {"line down at the last page", scroll_line_down, 76, 25, 100, 0, false, 0},
        {"page up", scroll_page_up, 30, 25, 100, 0, true, 5},
        {"page up near 0", scroll_page_up, 10, 25, 100, 0, true, 0},
        {"page down", scroll_page_down, 30, 25, 100, 0, true, 55},
        {"page down near the end", scroll_page_down, 60, 25, 100, 0, true, 76},
        {"thumb track beyond 65535", scroll_thumb_track, 0, 25, 70000, 69000, true, 69000},
        {"thumb position to the last page", scroll_thumb_position, 0, 25, 70000, 69976, true, 69976},
        {"thumb past the last page", scroll_thumb_track, 0, 25, 70000, 69990, false, 0},
        {"end scroll", 8, 30, 25, 100, 0, false, 0},
        {"unknown code", 0x1234, 30, 25, 100, 0, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Offset to = 12345;
        EXPECT_EQ(scroll_target(r.code, r.pos, r.page, r.max, r.track, &to), r.moves);
        if (r.moves) {
            EXPECT_EQ(to, r.to);
        }
    }
}

TEST(ScrollTarget, NothingScrollsWhenTheDataFits) {
    for (u32 code = 0; code <= 7; ++code) {
        for (Offset track : {0, 1, 3, 100}) {
            Offset to;
            EXPECT_FALSE(scroll_target(code, 0, 25, 6, track, &to)) << code;
        }
    }
}

TEST(HitTest, LastRowsOfLargeBlocks) {
    for (const Offset size : LargeSizes()) {
        SCOPED_TRACE(size);
        Laid v(size);
        const Offset last = v.last_line;
        v.first_visible_line = last - 24;
        const u32 hex_left = u32(v.hex_rect.left);
        // Row 24 is the last line; row 23 the one before; a point below the
        // rows or right of the last row gives the end position.
        EXPECT_EQ(OffsetAt(v, hex_left, 16 + 24 * 15), last * v.bytes_per_line);
        EXPECT_EQ(OffsetAt(v, hex_left + 24, 16 + 23 * 15), (last - 1) * v.bytes_per_line + 1);
        EXPECT_EQ(OffsetAt(v, hex_left, 16 + 30 * 15), size);
        EXPECT_EQ(OffsetAt(v, 599, 16 + 24 * 15), size);
        // Above the rows (y 0 is row -2) counts back from the first visible byte.
        EXPECT_EQ(OffsetAt(v, hex_left, 0), (last - 26) * v.bytes_per_line);
    }
}

// Scroll-bar positions are ints: beyond 2^31 - 1 lines they are scaled,
// and both ends of the bar still reach the first and the last page.
TEST(ScrollBar, PositionsOfLargeBlocksFitAnInt) {
    std::vector<Offset> sizes = LargeSizes();
#if PELOMAR_OFFSET_BITS == 64
    // 4 bytes a line: 2^31 - 1 and 2^31 lines.
    sizes.push_back(Offset(0x7FFFFFFFull * 4));
    sizes.push_back(Offset(0x80000000ull * 4 + 1));
#endif
    for (const Offset size : sizes) {
        SCOPED_TRACE(size);
        Laid v(size);
        v.bytes_per_line = 4;
        v.last_line = last_line_for(size, 4);
        const Offset last_top = v.last_line - v.rows + 1;
        const ScrollBar at_top = scroll_bar(v);
        EXPECT_EQ(at_top.position, 0);
        ASSERT_GE(at_top.maximum, 0);
        const i32 end = at_top.maximum - i32(at_top.page) + 1;
        if (v.last_line <= scroll_bar_lines) {
            EXPECT_EQ(Offset(at_top.maximum), v.last_line);
            EXPECT_EQ(at_top.page, v.rows);
        }
        EXPECT_EQ(line_at_scroll_position(v, 0), 0u);
        EXPECT_EQ(line_at_scroll_position(v, -4), 0u);
        // The thumb at the end shows the last line on the bottom row, and
        // the view at the last page puts the thumb at the end.
        EXPECT_EQ(line_at_scroll_position(v, end), last_top);
        Offset to = 0;
        EXPECT_TRUE(scroll_target(scroll_thumb_track, 0, v.rows, v.last_line,
                                  line_at_scroll_position(v, end), &to));
        EXPECT_EQ(to, last_top);
        v.first_visible_line = last_top;
        EXPECT_EQ(scroll_bar(v).position, end);
        // Positions in between are in order and every line maps back to a
        // position whose line is not before it.
        const Offset middle = line_at_scroll_position(v, end / 2);
        EXPECT_LT(middle, line_at_scroll_position(v, end / 2 + 1));
        v.first_visible_line = last_top / 3;
        const i32 p = scroll_bar(v).position;
        EXPECT_GE(line_at_scroll_position(v, p), v.first_visible_line);
        EXPECT_LT(line_at_scroll_position(v, p - 1), v.first_visible_line);
        // Line steps still reach the last line one at a time.
        EXPECT_TRUE(scroll_target(scroll_line_down, last_top - 1, v.rows, v.last_line, 0, &to));
        EXPECT_EQ(to, last_top);
        EXPECT_FALSE(scroll_target(scroll_line_down, last_top, v.rows, v.last_line, 0, &to));
        EXPECT_TRUE(scroll_target(scroll_bottom, 0, v.rows, v.last_line, 0, &to));
        EXPECT_EQ(to, last_top);
    }
}
