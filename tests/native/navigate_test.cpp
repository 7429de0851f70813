// Caret movement by the navigation keys: moves, edges and scroll requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "control/core/layout.h"
#include "control/core/navigate.h"
#include "large_offsets.h"

using namespace pm;

namespace {

// bpl bytes per line, rows rows, data of size bytes.
struct Geometry : View {
    explicit Geometry(Offset size, u32 bpl = 16, u32 rows_ = 25, Offset top = 0) {
        data_size = size;
        bytes_per_line = bpl;
        rows = rows_;
        last_line = last_line_for(size, bpl);
        first_visible_line = top;
    }
};

struct Case {
    const char* name;
    u32 size, bpl, rows, top;
    u32 anchor, caret;
    u32 key;
    bool shift;
    u32 want_anchor, want_caret, want_top;
    ScrollRequest scroll;
    bool moved;
};

const Case cases[] = {
    {"right", 100, 16, 25, 0, 5, 5, key_right, false, 6, 6, 0, ScrollRequest::none, true},
    {"right at last byte goes to the end", 100, 16, 25, 0, 99, 99, key_right, false, 100, 100, 0, ScrollRequest::none, true},
    {"right at the end does nothing", 100, 16, 25, 0, 100, 100, key_right, false, 100, 100, 0, ScrollRequest::none, false},
    {"right in the last cell of the view", 1000, 16, 4, 0, 63, 63, key_right, false, 64, 64, 0, ScrollRequest::line_down, true},
    {"right out of view does not scroll", 1000, 16, 4, 10, 20, 20, key_right, false, 21, 21, 10, ScrollRequest::none, true},
    {"left at 0 does nothing", 100, 16, 25, 0, 0, 0, key_left, false, 0, 0, 0, ScrollRequest::none, false},
    {"left at the first visible byte", 1000, 16, 4, 3, 48, 48, key_left, false, 47, 47, 3, ScrollRequest::line_up, true},
    {"left collapses a selection first", 100, 16, 25, 0, 5, 8, key_left, false, 7, 7, 0, ScrollRequest::none, true},
    {"up on line 0 does nothing", 100, 16, 25, 0, 15, 15, key_up, false, 15, 15, 0, ScrollRequest::none, false},
    {"up inside the view", 100, 16, 25, 0, 40, 40, key_up, false, 24, 24, 0, ScrollRequest::none, true},
    {"up on the first visible row scrolls", 1000, 16, 4, 5, 85, 85, key_up, false, 69, 69, 5, ScrollRequest::line_up, true},
    {"up above the view scrolls", 1000, 16, 4, 20, 40, 40, key_up, false, 24, 24, 20, ScrollRequest::line_up, true},
    {"down inside the view", 100, 16, 25, 0, 3, 3, key_down, true, 3, 19, 0, ScrollRequest::none, true},
    {"down on the last visible row scrolls", 1000, 16, 4, 0, 50, 50, key_down, false, 66, 66, 0, ScrollRequest::line_down, true},
    {"down needs a whole line below", 100, 16, 25, 0, 84, 84, key_down, false, 84, 84, 0, ScrollRequest::none, false},
    {"down on data shorter than a line", 10, 16, 25, 0, 2, 2, key_down, false, 2, 2, 0, ScrollRequest::none, false},
    {"home", 100, 16, 25, 0, 21, 21, key_home, false, 16, 16, 0, ScrollRequest::none, true},
    {"shift home keeps the anchor", 100, 16, 25, 0, 20, 21, key_home, true, 20, 16, 0, ScrollRequest::none, true},
    {"home in column 0 does nothing", 100, 16, 25, 0, 32, 32, key_home, false, 32, 32, 0, ScrollRequest::none, false},
    {"end", 100, 16, 25, 0, 17, 17, key_end, false, 31, 31, 0, ScrollRequest::none, true},
    {"end on the last line stops at the last byte", 100, 16, 25, 0, 97, 97, key_end, false, 99, 99, 0, ScrollRequest::none, true},
    {"end in the last column does nothing", 100, 16, 25, 0, 47, 47, key_end, false, 47, 47, 0, ScrollRequest::none, false},
    {"page down by a page", 1000, 16, 4, 0, 5, 5, key_page_down, false, 69, 69, 0, ScrollRequest::page_down, true},
    {"page down on data that fits", 100, 16, 25, 0, 2, 2, key_page_down, false, 98, 98, 0, ScrollRequest::top_set, true},
    {"page down onto a short last line", 100, 16, 25, 0, 40, 40, key_page_down, false, 99, 99, 0, ScrollRequest::top_set, true},
    {"page down near the end", 1000, 16, 10, 50, 900, 900, key_page_down, true, 900, 996, 53, ScrollRequest::top_set, true},
    {"page down on the last line does nothing", 100, 16, 25, 0, 90, 90, key_page_down, false, 90, 90, 0, ScrollRequest::none, false},
    {"page up by a page", 1000, 16, 4, 10, 200, 200, key_page_up, false, 136, 136, 10, ScrollRequest::page_up, true},
    {"page up near the start", 1000, 16, 10, 5, 90, 90, key_page_up, false, 10, 10, 0, ScrollRequest::top_set, true},
    {"page up on line 0 does nothing", 1000, 16, 10, 0, 9, 9, key_page_up, false, 9, 9, 0, ScrollRequest::none, false},
};

}  // namespace

TEST(Navigate, KeyTable) {
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Geometry v(k.size, k.bpl, k.rows, k.top);
        v.anchor = k.anchor;
        v.caret = k.caret;
        const NavOutcome out = navigate(v, k.key, k.shift);
        EXPECT_EQ(v.anchor, k.want_anchor);
        EXPECT_EQ(v.caret, k.want_caret);
        EXPECT_EQ(v.first_visible_line, k.want_top);
        EXPECT_EQ(out.scroll, k.scroll);
        EXPECT_EQ(out.moved, k.moved);
    }
}

TEST(Navigate, ShiftRightThreeTimesThenLeftCollapses) {
    Geometry v(100);
    v.anchor = v.caret = 5;
    for (int i = 0; i < 3; ++i) navigate(v, key_right, true);
    EXPECT_EQ(v.anchor, 5u);
    EXPECT_EQ(v.caret, 8u);
    const NavOutcome out = navigate(v, key_left, false);
    EXPECT_TRUE(out.collapsed);
    EXPECT_EQ(v.anchor, 7u);
    EXPECT_EQ(v.caret, 7u);
}

TEST(Navigate, UpAndDownAtTheViewEdgeAskForAFullRepaint) {
    Geometry v(1000, 16, 4, 5);
    v.anchor = v.caret = 85;
    EXPECT_TRUE(navigate(v, key_up, false).full_repaint);
    v.anchor = v.caret = 100;
    EXPECT_FALSE(navigate(v, key_up, false).full_repaint);
}

TEST(Navigate, CollapseWithoutMoveIsReported) {
    Geometry v(100);
    v.anchor = 50;
    v.caret = 100;
    const NavOutcome out = navigate(v, key_right, false);
    EXPECT_FALSE(out.moved);
    EXPECT_TRUE(out.collapsed);
    EXPECT_EQ(v.anchor, 100u);
}

TEST(Navigate, EmptyDataMovesNothing) {
    for (u32 key = key_page_up; key <= key_down; ++key) {
        for (bool shift : {false, true}) {
            Geometry v(0);
            const NavOutcome out = navigate(v, key, shift);
            EXPECT_FALSE(out.moved) << "key " << key;
            EXPECT_EQ(v.caret, 0u);
            EXPECT_EQ(v.anchor, 0u);
            EXPECT_EQ(v.first_visible_line, 0u);
        }
    }
}

TEST(Navigate, RandomKeysKeepCaretAndAnchorInTheData) {
    std::mt19937 rng(11);
    for (int run = 0; run < 200; ++run) {
        const u32 size = rng() % 3 ? rng() % 300 : rng() % 5;
        const u32 bpl = 4 + rng() % 61;
        const u32 rows = 1 + rng() % 30;
        Geometry v(size, bpl, rows);
        for (int step = 0; step < 200; ++step) {
            const u32 key = key_page_up + rng() % 8;
            navigate(v, key, rng() % 2);
            ASSERT_LE(v.caret, size);
            ASSERT_LE(v.anchor, size);
            ASSERT_LE(v.first_visible_line, v.last_line);
        }
    }
}

// The keys on the last lines of blocks whose offsets need every bit of an
// Offset: a 32-bit intermediate anywhere shows as a caret or a first line
// far from the end.
TEST(Navigate, LastLinesOfLargeBlocks) {
    for (const Offset size : LargeSizes()) {
        SCOPED_TRACE(size);
        const Offset last = (size - 1) / 16;
        Geometry v(size, 16, 25, last - 24);
        v.anchor = v.caret = (last - 40) * 16 + 5;
        EXPECT_EQ(navigate(v, key_page_down, false).scroll, ScrollRequest::page_down);
        EXPECT_EQ(v.caret, (last - 15) * 16 + 5);
        EXPECT_EQ(navigate(v, key_page_down, false).scroll, ScrollRequest::top_set);
        EXPECT_EQ(v.first_visible_line, last - 24);
        EXPECT_EQ(v.caret, std::min<Offset>(last * 16 + 5, size - 1));
        EXPECT_FALSE(navigate(v, key_down, false).moved);
        navigate(v, key_end, false);
        EXPECT_EQ(v.caret, size - 1);
        EXPECT_TRUE(navigate(v, key_right, false).moved);
        EXPECT_EQ(v.caret, size);
        EXPECT_FALSE(navigate(v, key_right, false).moved);
        navigate(v, key_left, true);
        EXPECT_EQ(v.anchor, size);
        EXPECT_EQ(v.caret, size - 1);
        navigate(v, key_up, false);
        EXPECT_EQ(v.caret, size - 17);
        navigate(v, key_home, false);
        EXPECT_EQ(v.caret, (size - 17) / 16 * 16);
        const Offset before = v.caret;
        EXPECT_EQ(navigate(v, key_page_up, false).scroll, ScrollRequest::page_up);
        EXPECT_EQ(v.caret, before - 400);
    }
}

TEST(SelectRange, ShownOffsetsOfLargeBlocks) {
    for (const Offset size : LargeSizes()) {
        SCOPED_TRACE(size);
        const Offset last = (size - 1) / 16;
        Geometry v(size);
        v.offset_base = 0x1000;
        // The end position itself: in the 32-bit build base + size wraps,
        // and taking the base off again unwraps it.
        EXPECT_TRUE(select_range(v, size - 10 + 0x1000, size + 0x1000));
        EXPECT_EQ(v.anchor, size - 10);
        EXPECT_EQ(v.caret, size);
        EXPECT_EQ(v.first_visible_line, last - 24);
        EXPECT_TRUE(select_range(v, size / 2 + 0x1000, size / 2 + 0x1003));
        EXPECT_EQ(v.anchor, size / 2);
        EXPECT_EQ(v.caret, size / 2 + 3);
        EXPECT_EQ(v.first_visible_line, size / 2 / 16);
        // Below the base wraps to beyond the data: the data size.
        v.nibble_phase = 1;
        select_range(v, 0xFFF, 0x1000);
        EXPECT_EQ(v.anchor, size);
        EXPECT_EQ(v.caret, 0u);
        EXPECT_EQ(v.first_visible_line, last - 24);
        EXPECT_EQ(v.nibble_phase, 0u);
    }
}

TEST(SelectRange, DataThatFitsDoesNotMoveTheView) {
    Geometry v(100, 16, 25);
    EXPECT_FALSE(select_range(v, 0x50, 0x60));
    EXPECT_EQ(v.first_visible_line, 0u);
    EXPECT_EQ(v.anchor, 0x50u);
    EXPECT_EQ(v.caret, 0x60u);
}
