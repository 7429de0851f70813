// The colour pass: which colours each visible cell gets from the caret,
// the selection and the recency list.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "control/core/colour_pass.h"
#include "control/core/layout.h"
#include "large_offsets.h"

using namespace pm;

namespace {

// 16 bytes per line, 4 rows: 64 visible bytes.
struct Shown : View {
    explicit Shown(Offset size) {
        data_size = size;
        set_default_colours(*this);
        bytes_per_line = 16;
        rows = 4;
        last_line = last_line_for(size, 16);
    }
    CellColours hex(Offset index) const { return hex_colours.at(index - first_visible_line * 16); }
    CellColours text(Offset index) const { return text_colours.at(index - first_visible_line * 16); }
};

const CellColours plain_hex{0xFFFFFF, 0x800000};
const CellColours plain_text{0xFFFFFF, 0x008000};
const CellColours caret_hex{0x000000, 0x7FFFFF};
const CellColours caret_text{0x0000FF, 0xFFFFFF};
const CellColours sel_hex{0xFF8080, 0xC0FFC0};
const CellColours sel_text{0x808000, 0xFFFFFF};

}  // namespace

TEST(ColourPass, CaretCellIsInvertedInHexAndActiveInText) {
    Shown v(1000);
    v.anchor = v.caret = 5;
    EXPECT_EQ(colour_pass(v), 64u);
    EXPECT_EQ(v.hex(5), caret_hex);
    EXPECT_EQ(v.text(5), caret_text);
    EXPECT_EQ(v.hex(4), plain_hex);
    EXPECT_EQ(v.text(6), plain_text);
}

TEST(ColourPass, SelectionIsTheSameInBothDirectionsAndExcludesTheHighEnd) {
    for (auto [anchor, caret] : {std::pair<u32, u32>{5, 9}, {9, 5}}) {
        Shown v(1000);
        v.anchor = anchor;
        v.caret = caret;
        colour_pass(v);
        EXPECT_EQ(v.hex(4), plain_hex);
        for (u32 i = 5; i < 9; ++i) {
            EXPECT_EQ(v.hex(i), sel_hex) << i;
            EXPECT_EQ(v.text(i), sel_text) << i;
        }
        EXPECT_EQ(v.hex(9), plain_hex);
        EXPECT_EQ(v.text(9), plain_text) << "no active-character colours with a selection";
    }
}

TEST(ColourPass, SelectionFromAboveAndBelowTheViewIsClippedToIt) {
    Shown v(1000);
    v.first_visible_line = 2;  // bytes 32..95 visible
    v.anchor = 3;
    v.caret = 500;
    colour_pass(v);
    EXPECT_EQ(v.hex(32), sel_hex);
    EXPECT_EQ(v.hex(95), sel_hex);
    EXPECT_EQ(v.text(95), sel_text);
}

TEST(ColourPass, ViewScrolledPastTheSelectionIsPlain) {
    Shown v(1000);
    v.first_visible_line = 10;
    v.anchor = 3;
    v.caret = 100;
    colour_pass(v);
    for (u32 i = 160; i < 224; ++i) ASSERT_EQ(v.hex(i), plain_hex) << i;
}

TEST(ColourPass, RecencyLevelsAndWhatWinsOverThem) {
    Shown v(1000);
    for (u32 e = 0; e < recency_max; ++e) v.recency[e] = 40 + e;
    v.recency_count = recency_max;
    v.anchor = v.caret = 40;  // the newest modified byte carries the caret
    colour_pass(v);
    EXPECT_EQ(v.hex(40), caret_hex);
    EXPECT_EQ(v.hex(41), (CellColours{0xFFFFFF, 0x0000F0}));
    EXPECT_EQ(v.hex(47), (CellColours{0xFFFFFF, 0x0000F0}));
    EXPECT_EQ(v.hex(48), (CellColours{0xFFFFFF, 0x0000B0})) << "9th entry is level 2";
    EXPECT_EQ(v.hex(56), (CellColours{0xFFFFFF, 0x000070})) << "17th entry is level 3";
    EXPECT_EQ(v.text(41), plain_text) << "modified bytes are marked in the hex view only";
    EXPECT_EQ(v.hex(39), plain_hex);

    v.anchor = 44;
    v.caret = 50;
    colour_pass(v);
    EXPECT_EQ(v.hex(45), sel_hex) << "selection wins over modified colours";
    EXPECT_EQ(v.hex(50), (CellColours{0xFFFFFF, 0x0000B0}));
}

TEST(ColourPass, CaretAtTheEndPositionHasAnEntry) {
    Shown v(20);
    v.anchor = v.caret = 20;
    EXPECT_EQ(colour_pass(v), 20u);
    ASSERT_GE(v.hex_colours.size(), 21u);
    EXPECT_EQ(v.hex_colours[20], caret_hex);
}

TEST(ColourPass, ArraysGrowWithTheViewAndNeverShrink) {
    Shown v(100000);
    colour_pass(v);
    v.rows = 40;
    EXPECT_EQ(colour_pass(v), 640u);
    EXPECT_GE(v.hex_colours.size(), 641u);
    v.rows = 2;
    colour_pass(v);
    EXPECT_GE(v.hex_colours.size(), 641u);
}

namespace {

// A memory source that gives `left` more blocks and then none.
int left = 0;
void* Rationed(std::size_t bytes) { return left-- > 0 ? default_colour_memory(bytes) : nullptr; }

}  // namespace

// The two arrays grow together or not at all: when the second cannot be
// had, both stay as they were (the control keeps showing what it showed)
// and no later pass writes past the shorter one.
TEST(ColourPass, ArraysThatCannotGrowStayAsTheyWere) {
    for (int allowed : {0, 1}) {
        SCOPED_TRACE(allowed);
        Shown v(100000);
        v.anchor = v.caret = 5;
        ASSERT_EQ(colour_pass(v), 64u);
        const std::vector<CellColours> hex(v.hex_colours.begin(), v.hex_colours.end());
        const std::vector<CellColours> text(v.text_colours.begin(), v.text_colours.end());
        v.rows = 40;  // 640 visible bytes
        v.caret = 600;
        left = allowed;
        const ColourMemory old = set_colour_memory(Rationed);
        EXPECT_NO_THROW(colour_pass(v));
        set_colour_memory(old);
        ASSERT_EQ(v.hex_colours.size(), v.text_colours.size());
        EXPECT_TRUE(std::equal(hex.begin(), hex.end(), v.hex_colours.begin(), v.hex_colours.end()));
        EXPECT_TRUE(std::equal(text.begin(), text.end(), v.text_colours.begin(), v.text_colours.end()));
        // With memory again, the next pass grows both and colours them all.
        EXPECT_EQ(colour_pass(v), 640u);
        ASSERT_GE(v.text_colours.size(), 641u);
        ASSERT_EQ(v.hex_colours.size(), v.text_colours.size());
        EXPECT_EQ(v.hex(599), sel_hex);
        EXPECT_EQ(v.text(599), sel_text);
        EXPECT_EQ(v.hex(600), plain_hex);
        EXPECT_EQ(v.text(600), plain_text);
    }
}

TEST(ColourPass, ExtremeSelectionsAndEmptyDataStayInBounds) {
    Shown v(0);
    v.anchor = 0;
    v.caret = 0;
    EXPECT_EQ(colour_pass(v), 0u);
    Shown w(64);
    w.anchor = 0;
    w.caret = 0xFFFFFFFFu;  // not a valid caret, but nothing may be written out of bounds
    EXPECT_EQ(colour_pass(w), 64u);
    EXPECT_EQ(w.hex(63), sel_hex);
}

TEST(ColourPass, LastPageOfLargeBlocks) {
    for (const Offset size : LargeSizes()) {
        SCOPED_TRACE(size);
        Shown v(size);
        v.first_visible_line = v.last_line - 3;
        const Offset first = v.first_visible_line * 16;
        v.recency[0] = size - 1;
        v.recency[1] = first - 1;  // above the view
        v.recency_count = 2;
        v.anchor = v.caret = size;
        EXPECT_EQ(colour_pass(v), u32(size - first));
        EXPECT_EQ(v.hex(size - 1), (CellColours{0xFFFFFF, 0x0000F0}));
        EXPECT_EQ(v.hex(first), plain_hex);
        EXPECT_EQ(v.hex(size), caret_hex);
        // A selection from far above the view runs from its first byte.
        v.anchor = 5;
        colour_pass(v);
        EXPECT_EQ(v.hex(first), sel_hex);
        EXPECT_EQ(v.text(size - 1), sel_text);
    }
}
