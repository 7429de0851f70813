// Run splitting of the paint pass: which rows an update touches, how they
// cut into runs of equal hex colours, the characters of each run, and what
// is cleared after the end of the data.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "control/core/colour_pass.h"
#include "control/core/hextext.h"
#include "control/core/layout.h"
#include "control/core/paint_runs.h"

using namespace pm;

namespace {

// A view of cw 8, lh 15 (header 16) at a chosen bytes per line and rows.
struct PaintView : View {
    std::vector<u8> bytes;
    PaintView(u32 size, u32 bpl, u32 row_count) : bytes(size) {
        build_hex_text();
        set_default_colours(*this);
        for (u32 i = 0; i < size; ++i) bytes[i] = u8(i);
        data = bytes.empty() ? nullptr : bytes.data();
        data_size = size;
        apply_font_metrics(*this, 416, 15);
        bytes_per_line = bpl;
        rows = row_count;
        update_rects(*this);
        last_line = last_line_for(size, bpl);
        colour_pass(*this);
    }
};

struct Walk {
    std::vector<PaintRun> runs;
    std::vector<std::string> hex, text;
    bool ended = false;
    u32 tail_line = 0, tail_column = 0;
};

Walk WalkSpan(const View& v, ScreenSpan span) {
    LineBuffers buf;
    PaintRuns runs(v, span, buf);
    Walk w;
    PaintRun r;
    while (runs.next(r)) {
        w.runs.push_back(r);
        w.hex.emplace_back(r.hex_chars, 3 * r.count);
        w.text.emplace_back(r.text_chars, r.count);
    }
    w.ended = runs.data_ended();
    w.tail_line = runs.tail_line();
    w.tail_column = runs.tail_column();
    return w;
}

Walk WalkAll(const View& v) { return WalkSpan(v, paint_span(v, 0, v.rows_bottom())); }

const CellColours kPlainHex{0xFFFFFF, 0x800000};
const CellColours kPlainText{0xFFFFFF, 0x008000};
const CellColours kSelHex{0xFF8080, 0xC0FFC0};
const CellColours kSelText{0x808000, 0xFFFFFF};

}  // namespace

TEST(PaintSpan, RowsTouchedByAnUpdateRectangle) {
    PaintView v(1000, 8, 5);  // rows at y 16, 31, 46, 61, 76; rows bottom 91
    const u32 bpl = 8;
    struct Row { i32 top, bottom; u32 first, stop; } rows[] = {
        {0, 100, 0, 5 * bpl},      // everything
        {0, 15, 0, 0},             // header only
        {0, 16, 0, 0},             // header and its separator line
        {0, 17, 0, bpl},           // grazes row 0
        {16, 31, 0, bpl},          // exactly row 0
        {20, 25, 0, bpl},          // inside row 0
        {30, 32, 0, 2 * bpl},      // last pixel of row 0, first of row 1
        {46, 76, 2 * bpl, 4 * bpl},
        {91, 95, 0, 0},            // the strip below the last row
        {80, 95, 4 * bpl, 5 * bpl},
        {-50, 5000, 0, 5 * bpl},
    };
    for (const Row& r : rows) {
        ScreenSpan s = paint_span(v, r.top, r.bottom);
        EXPECT_EQ(s.first, r.first) << r.top << ".." << r.bottom;
        EXPECT_EQ(s.stop, r.stop) << r.top << ".." << r.bottom;
    }
}

TEST(PaintRuns, TwentyBytesAtEightPerLineCaretOnFirstByte) {
    PaintView v(20, 8, 5);
    Walk w = WalkAll(v);
    ASSERT_EQ(w.runs.size(), 4u);
    const CellColours caret_hex{0x000000, 0x7FFFFF};
    const CellColours caret_text{0x0000FF, 0xFFFFFF};
    struct Expect { u32 line, column, count; CellColours hex, text; } e[] = {
        {0, 0, 1, caret_hex, caret_text},
        {0, 1, 7, kPlainHex, kPlainText},
        {1, 0, 8, kPlainHex, kPlainText},
        {2, 0, 4, kPlainHex, kPlainText},
    };
    for (std::size_t n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(w.runs[n].line, e[n].line);
        EXPECT_EQ(w.runs[n].column, e[n].column);
        EXPECT_EQ(w.runs[n].count, e[n].count);
        EXPECT_EQ(w.runs[n].hex, e[n].hex);
        EXPECT_EQ(w.runs[n].text, e[n].text);
    }
    EXPECT_EQ(w.hex[0], "00 ");
    EXPECT_EQ(w.hex[1], "01 02 03 04 05 06 07 ");
    EXPECT_EQ(w.hex[3], "10 11 12 13 ");
    EXPECT_TRUE(w.ended);
    EXPECT_EQ(w.tail_line, 2u);
    EXPECT_EQ(w.tail_column, 4u);

    // hex view 72..264, text view 268..332; line 2 at y 46..61
    EXPECT_EQ(hex_tail(v, 2, 4), (Rect{72 + 4 * 24, 46, 264, 61}));
    EXPECT_EQ(text_tail(v, 2, 4), (Rect{268 + 4 * 8, 46, 332, 61}));
    EXPECT_EQ(blank_rows(v, paint_span(v, 0, 91)), (Rect{72, 61, 332, 91}));
    EXPECT_EQ(run_hex_rect(v, 0, 1, 7), (Rect{96, 16, 96 + 7 * 24, 31}));
    EXPECT_EQ(run_text_rect(v, 0, 1, 7), (Rect{276, 16, 276 + 7 * 8, 31}));
}

TEST(PaintRuns, LineFilledToTheLastColumnLeavesNoTail) {
    PaintView v(16, 8, 5);
    Walk w = WalkAll(v);
    ASSERT_TRUE(w.ended);
    EXPECT_EQ(w.tail_line, 1u);
    EXPECT_EQ(w.tail_column, 8u);
    const Rect h = hex_tail(v, 1, 8), t = text_tail(v, 1, 8);
    EXPECT_EQ(h.left, h.right);
    EXPECT_EQ(t.left, t.right);
}

TEST(PaintRuns, DataContinuingPastTheSpanDoesNotEnd) {
    PaintView v(1000, 8, 5);
    Walk w = WalkSpan(v, paint_span(v, 31, 61));  // rows 1 and 2
    EXPECT_FALSE(w.ended);
    ASSERT_EQ(w.runs.size(), 2u);
    EXPECT_EQ(w.runs[0].line, 1u);
    EXPECT_EQ(w.hex[0], "08 09 0A 0B 0C 0D 0E 0F ");
    EXPECT_EQ(w.runs[1].line, 2u);
    EXPECT_EQ(blank_rows(v, paint_span(v, 0, 91)).right, 0);
}

TEST(PaintRuns, ScrolledViewReadsFromTheFirstVisibleLine) {
    PaintView v(1000, 16, 4);
    v.first_visible_line = 10;
    v.caret = v.anchor = 0;  // caret above the view: no caret colours here
    colour_pass(v);
    Walk w = WalkSpan(v, paint_span(v, 16 + 15, 16 + 30));  // row 1: line 11
    ASSERT_EQ(w.runs.size(), 1u);
    EXPECT_EQ(w.runs[0].line, 1u);
    EXPECT_EQ(w.hex[0].substr(0, 6), "B0 B1 ");  // byte 176 = 0xB0
}

TEST(PaintRuns, TextViewShowsPrintableAsciiAndDotsForTheRest) {
    struct Row { u8 byte; char shown; } rows[] = {
        {0x00, '.'}, {0x0D, '.'}, {0x1F, '.'}, {0x20, '.'}, {0x21, '!'}, {0x41, 'A'},
        {0x7E, '~'}, {0x7F, '.'}, {0x80, '.'}, {0xA0, '.'}, {0xFF, '.'},
    };
    PaintView v(11, 16, 2);
    for (std::size_t n = 0; n < 11; ++n) v.bytes[n] = rows[n].byte;
    v.caret = v.anchor = 11;  // caret at the end: one plain run
    colour_pass(v);
    Walk w = WalkAll(v);
    ASSERT_EQ(w.runs.size(), 1u);
    for (std::size_t n = 0; n < 11; ++n) {
        EXPECT_EQ(w.text[0][n], rows[n].shown) << int(rows[n].byte);
        EXPECT_EQ(w.hex[0].substr(3 * n, 3), std::string(&hex_text[3 * rows[n].byte], 3));
    }
}

TEST(PaintRuns, SelectionFromEitherEndPaintsTheSameRuns) {
    for (auto ends : {std::pair<u32, u32>{5, 9}, std::pair<u32, u32>{9, 5}}) {
        PaintView v(32, 8, 4);
        v.anchor = ends.first;
        v.caret = ends.second;
        colour_pass(v);
        Walk w = WalkAll(v);
        // row 0: 0-4 plain, 5-7 selected; row 1: 8 selected, 9-15 plain
        ASSERT_EQ(w.runs.size(), 6u);
        EXPECT_EQ(w.runs[0].count, 5u);
        EXPECT_EQ(w.runs[0].hex, kPlainHex);
        EXPECT_EQ(w.runs[1].column, 5u);
        EXPECT_EQ(w.runs[1].count, 3u);
        EXPECT_EQ(w.runs[1].hex, kSelHex);
        EXPECT_EQ(w.runs[1].text, kSelText);
        EXPECT_EQ(w.runs[2].line, 1u);
        EXPECT_EQ(w.runs[2].count, 1u);
        EXPECT_EQ(w.runs[2].hex, kSelHex);
        EXPECT_EQ(w.runs[3].column, 1u);
        EXPECT_EQ(w.runs[3].hex, kPlainHex);
        EXPECT_EQ(w.runs[3].text, kPlainText);
    }
}

TEST(PaintRuns, SelectionBeginningAboveTheViewStartsAtTheFirstVisibleByte) {
    PaintView v(1000, 8, 4);
    v.first_visible_line = 3;
    v.anchor = 2;
    v.caret = 30;  // ends in row 0 at column 6
    colour_pass(v);
    Walk w = WalkAll(v);
    ASSERT_GE(w.runs.size(), 2u);
    EXPECT_EQ(w.runs[0].column, 0u);
    EXPECT_EQ(w.runs[0].count, 6u);
    EXPECT_EQ(w.runs[0].hex, kSelHex);
    EXPECT_EQ(w.runs[1].hex, kPlainHex);
}

TEST(PaintRuns, EqualHexColoursWithDifferentTextColoursFormOneRun) {
    PaintView v(8, 8, 1);
    v.caret = v.anchor = 8;
    colour_pass(v);
    v.text_colours[3] = {0x123456, 0x654321};
    v.text_colours[4] = {0xABCDEF, 0xFEDCBA};
    Walk w = WalkAll(v);
    ASSERT_EQ(w.runs.size(), 1u);
    EXPECT_EQ(w.runs[0].text, kPlainText);  // the first byte's, for the whole run

    // Other hex colours start a run, which takes its own first byte's text
    // colours.
    v.hex_colours[3] = {0x000001, 0};
    v.hex_colours[4] = {0x000001, 0};
    w = WalkAll(v);
    ASSERT_EQ(w.runs.size(), 3u);
    EXPECT_EQ(w.runs[1].column, 3u);
    EXPECT_EQ(w.runs[1].count, 2u);
    EXPECT_EQ(w.runs[1].text, (CellColours{0x123456, 0x654321}));
}

TEST(PaintRuns, ModifiedBytesSplitOnlyTheHexRuns) {
    PaintView v(64, 16, 4);
    v.recency[0] = 20;  // level 1
    v.recency[8] = 21;  // level 2: same default background, other digit colour
    v.recency_count = 9;
    v.caret = v.anchor = 40;
    colour_pass(v);
    Walk w = WalkSpan(v, paint_span(v, 31, 46));  // row 1: bytes 16..31
    ASSERT_EQ(w.runs.size(), 4u);
    EXPECT_EQ(w.runs[1].hex, (CellColours{0xFFFFFF, 0x0000F0}));
    EXPECT_EQ(w.runs[2].hex, (CellColours{0xFFFFFF, 0x0000B0}));
    EXPECT_EQ(w.runs[1].text, kPlainText);
}

TEST(PaintRuns, NoDataNoBlockAndShortColourArraysAreSafe) {
    {
        PaintView v(0, 8, 3);  // size 0, no block
        Walk w = WalkAll(v);
        EXPECT_TRUE(w.runs.empty());
        EXPECT_FALSE(w.ended);
        EXPECT_EQ(blank_rows(v, paint_span(v, 0, 61)), (Rect{72, 16, 332, 61}));
    }
    {
        PaintView v(20, 8, 3);
        v.data = nullptr;  // a size without a block shows nothing
        EXPECT_TRUE(WalkAll(v).runs.empty());
    }
    {
        PaintView v(40, 8, 5);
        v.hex_colours.clear();
        v.hex_colours.shrink_to_fit();
        v.text_colours.assign(3, kSelText);
        v.text_colours.shrink_to_fit();
        Walk w = WalkAll(v);
        ASSERT_EQ(w.runs.size(), 5u);  // one plain run per line
        EXPECT_EQ(w.runs[0].hex, kPlainHex);
        EXPECT_EQ(w.runs[1].text, kPlainText);
    }
    {
        PaintView v(1000, 8, 4);
        v.first_visible_line = 200;  // past the data (stale scroll position)
        Walk w = WalkAll(v);
        EXPECT_TRUE(w.runs.empty());
        EXPECT_EQ(blank_rows(v, paint_span(v, 0, 76)), (Rect{72, 16, 332, 76}));
    }
}

// Random colour arrays against a per-byte reference: every byte appears
// once, in order, with its own hex colours and characters; runs are
// maximal within a line; the text pair is the run's first byte's.
TEST(PaintRuns, RandomColoursReproduceEveryByte) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        const u32 bpl = 4 + rng() % 61;
        const u32 rows = 1 + rng() % 12;
        const u32 size = 1 + rng() % (bpl * (rows + 3));
        PaintView v(size, bpl, rows);
        for (u8& b : v.bytes) b = u8(rng());
        v.last_line = last_line_for(size, bpl);
        v.first_visible_line = u32(rng() % (v.last_line + 1));
        colour_pass(v);
        for (auto& c : v.hex_colours) c = {Colour(rng() % 3), Colour(rng() % 2)};
        for (auto& c : v.text_colours) c = {Colour(rng() % 5), Colour(rng() % 5)};
        const i32 a = i32(rng() % 250), b = i32(rng() % 250);
        const ScreenSpan span = paint_span(v, std::min(a, b), std::max(a, b));
        Walk w = WalkSpan(v, span);

        const u32 first = v.first_visible_line * bpl;
        u32 i = span.first;
        for (std::size_t n = 0; n < w.runs.size(); ++n) {
            const PaintRun& r = w.runs[n];
            ASSERT_EQ(r.line * bpl + r.column, i);
            ASSERT_LE(r.column + r.count, bpl);
            EXPECT_EQ(r.text, v.text_colours[i]);
            for (u32 k = 0; k < r.count; ++k, ++i) {
                const u8 byte = v.bytes[first + i];
                ASSERT_EQ(v.hex_colours[i], r.hex);
                ASSERT_EQ(w.hex[n].substr(3 * k, 3), std::string(&hex_text[3 * byte], 3));
                ASSERT_EQ(w.text[n][k], text_char(byte));
            }
            // Maximal: the next byte on the same line has other colours.
            if (i % bpl != 0 && first + i < size) {
                ASSERT_NE(v.hex_colours[i], r.hex);
            }
        }
        const u32 expected_end = std::min<u32>(span.stop, size - first);
        EXPECT_EQ(i, span.first < expected_end ? expected_end : span.first);
        EXPECT_EQ(w.ended, !w.runs.empty() && first + i == size);
    }
}
