// Mouse selection, auto-scroll, the scroll bar and the wheel through real
// windows, at points computed from the font's cell.
#include <gtest/gtest.h>

#include "support/edit_support.h"

using wt::At;
using wt::Cells;
using wt::ControlWindow;
using wt::StateOf;
using Bytes = std::vector<std::uint8_t>;

namespace {

int ScrollPos(HWND hwnd) { return wt::VerticalScroll(hwnd).nPos; }

void Down(HWND h, POINT p) { SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(p)); }
void Move(HWND h, POINT p) { SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(p)); }
void Up(HWND h, POINT p) { SendMessageA(h, WM_LBUTTONUP, 0, At(p)); }

struct Fixture {
    ControlWindow w;
    const Control* c;
    explicit Fixture(std::size_t size) {
        w.SetData(Bytes(size, 0));
        c = StateOf(w.hwnd());
    }
    Cells cells() const { return Cells(int(c->bytes_per_line)); }
    HWND hwnd() const { return w.hwnd(); }
};

}  // namespace

// The points below come from font 0's 8 x 15 cell: the default window
// (600 x 400 with its scroll bar) must be laid out for it.
TEST(Mouse, LayoutMatchesTheFontCell) {
    Fixture f(100);
    EXPECT_EQ(f.c->char_width, 8);
    EXPECT_EQ(f.c->line_height, 15);
    EXPECT_EQ(f.c->bytes_per_line, 15u);
    EXPECT_EQ(f.c->rows, 25u);
    EXPECT_EQ(f.c->hex_rect.left, 72);
    EXPECT_EQ(f.c->text_rect.left, 436);
}

TEST(Mouse, ColumnBoundaryInsideACell) {
    Fixture f(100);
    const Cells k = f.cells();
    const int y = k.row_y(1);
    const int bpl = k.bpl;
    struct Row { int x; pm::u32 offset; };
    const Row rows[] = {
        {k.hex_left(), pm::u32(bpl)},
        {k.hex_left() + 2 * k.cw, pm::u32(bpl)},          // last pixel column of the digits
        {k.hex_left() + 2 * k.cw + 1, pm::u32(bpl + 1)},  // the space belongs to the next byte
        {k.hex_left() + 3 * k.cw - 1, pm::u32(bpl + 1)},
        {k.hex_left() + 3 * k.cw, pm::u32(bpl + 1)},
    };
    for (const Row& r : rows) {
        wt::Click(f.hwnd(), {r.x, y});
        EXPECT_EQ(f.c->caret, r.offset) << "x " << r.x;
        EXPECT_EQ(f.c->anchor, r.offset);
        EXPECT_EQ(f.c->active_view, 0u);
    }
}

TEST(Mouse, HeaderAndOffsetColumnChangeNothing) {
    Fixture f(100);
    const Cells k = f.cells();
    wt::Click(f.hwnd(), k.text(2, 3));
    const pm::u32 caret = f.c->caret;
    ASSERT_EQ(caret, pm::u32(2 * k.bpl + 3));
    const POINT header{k.hex(0, 5).x, k.lh / 2};
    wt::Click(f.hwnd(), header);
    EXPECT_EQ(f.c->caret, caret);
    EXPECT_EQ(f.c->anchor, caret);
    EXPECT_EQ(f.c->active_view, 1u);
    wt::Click(f.hwnd(), {k.text_left() + 2, 0});
    EXPECT_EQ(f.c->caret, caret);
    const POINT offsets{k.cw * 2, k.row_y(4)};
    wt::Click(f.hwnd(), offsets);
    EXPECT_EQ(f.c->caret, caret);
    EXPECT_EQ(f.c->active_view, 1u);
}

TEST(Mouse, ClickAfterAHalfTypedByteStartsANewByte) {
    Fixture f(100);
    const Cells k = f.cells();
    wt::Chars(f.hwnd(), "7");
    wt::Click(f.hwnd(), k.hex(0, 2));
    EXPECT_EQ(f.c->nibble_phase, 0u);
    wt::Chars(f.hwnd(), "5");
    EXPECT_EQ(f.w.data()[2], 0x50);
}

TEST(Mouse, RightOfTheTextViewAndBelowTheData) {
    Fixture f(100);
    const Cells k = f.cells();
    wt::Click(f.hwnd(), {k.text_left() + k.bpl * k.cw + 3 * k.cw, k.row_y(2)});
    EXPECT_GE(f.c->caret, pm::u32(3 * k.bpl));
    wt::Click(f.hwnd(), k.hex(f.c->rows - 1, 2));
    EXPECT_EQ(f.c->caret, 100u);
    EXPECT_EQ(f.c->anchor, 100u);
}

TEST(Mouse, DragFromTheHexViewIntoTheTextView) {
    Fixture f(100);
    const Cells k = f.cells();
    Down(f.hwnd(), k.hex(0, 1));
    Move(f.hwnd(), k.hex(1, 2));
    EXPECT_EQ(f.c->caret, pm::u32(k.bpl + 2));
    Move(f.hwnd(), k.text(2, 0));
    EXPECT_EQ(f.c->active_view, 1u);
    Up(f.hwnd(), k.text(2, 4));
    EXPECT_EQ(f.c->anchor, 1u);
    EXPECT_EQ(f.c->caret, pm::u32(2 * k.bpl + 4));
    EXPECT_EQ(f.c->active_view, 1u);
    // After the button-up, moves are not a drag.
    Move(f.hwnd(), k.text(0, 0));
    EXPECT_EQ(f.c->caret, pm::u32(2 * k.bpl + 4));
    // A move with another button held is not handled at all.
    Down(f.hwnd(), k.hex(0, 0));
    SendMessageA(f.hwnd(), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, At(k.hex(3, 3)));
    EXPECT_EQ(f.c->caret, 0u);
    Up(f.hwnd(), k.hex(0, 0));
}

TEST(Mouse, AutoScrollDownStepsALinePerTimerUntilTheLastLine) {
    const std::size_t size = 4000;
    Fixture f(size);
    const Cells k = f.cells();
    const pm::u32 bpl = f.c->bytes_per_line, rows = f.c->rows;
    Down(f.hwnd(), k.hex(0, 3));
    Move(f.hwnd(), {k.hex(0, 3).x, f.c->rows_bottom() + 5});
    EXPECT_EQ(f.c->auto_scroll, 2u);
    const pm::u32 last_top = f.c->last_line - rows + 1;
    for (pm::u32 i = 1; i <= last_top; ++i) {
        f.w.Send(WM_TIMER, 100);
        ASSERT_EQ(f.c->first_visible_line, i);
        ASSERT_EQ(f.c->caret, 3 + i * bpl);
        ASSERT_EQ(ScrollPos(f.hwnd()), int(i));
    }
    // At the last page the caret walks on to the last line, the view stays.
    for (int i = 0; i < int(rows) + 3; ++i) f.w.Send(WM_TIMER, 100);
    EXPECT_EQ(f.c->first_visible_line, last_top);
    EXPECT_EQ(f.c->caret / bpl, f.c->last_line - (3 + f.c->last_line * bpl >= size ? 1 : 0));
    EXPECT_EQ(f.c->anchor, 3u);
    // Releasing over the offset column stops the scrolling; the caret stays.
    const pm::u32 caret = f.c->caret;
    Up(f.hwnd(), {2, k.row_y(0)});
    EXPECT_EQ(f.c->auto_scroll, 0u);
    EXPECT_EQ(f.c->caret, caret);
    f.w.Send(WM_TIMER, 100);
    EXPECT_EQ(f.c->caret, caret);
}

TEST(Mouse, AutoScrollUpAndBackOverTheRows) {
    Fixture f(4000);
    const Cells k = f.cells();
    const pm::u32 bpl = f.c->bytes_per_line;
    f.w.Send(WM_VSCROLL, SB_PAGEDOWN);
    const pm::u32 top = f.c->first_visible_line;
    ASSERT_GT(top, 2u);
    Down(f.hwnd(), k.hex(1, 0));
    const pm::u32 start = f.c->caret;
    Move(f.hwnd(), {k.hex(0, 0).x, 0xFFFF});  // above the window: y -1
    EXPECT_EQ(f.c->auto_scroll, 1u);
    f.w.Send(WM_TIMER, 100);
    f.w.Send(WM_TIMER, 100);
    EXPECT_EQ(f.c->first_visible_line, top - 2);
    EXPECT_EQ(f.c->caret, start - 2 * bpl);
    // Below the rows while scrolling up keeps the direction.
    Move(f.hwnd(), {k.hex(0, 0).x, f.c->rows_bottom() + 4});
    EXPECT_EQ(f.c->auto_scroll, 1u);
    // Back over the rows stops it, even on the caret's own byte.
    Move(f.hwnd(), k.hex(int(f.c->caret / bpl - f.c->first_visible_line), 0));
    EXPECT_EQ(f.c->auto_scroll, 0u);
    Up(f.hwnd(), k.hex(4, 4));
    EXPECT_EQ(f.c->caret, (f.c->first_visible_line + 4) * bpl + 4);
    EXPECT_EQ(f.c->anchor, start);
}

TEST(Mouse, PressOnTheHeaderThenReleaseThereLeavesTheCaret) {
    Fixture f(4000);
    const Cells k = f.cells();
    wt::Click(f.hwnd(), k.hex(3, 3));
    f.w.Send(WM_VSCROLL, SB_LINEDOWN);
    const pm::u32 caret = f.c->caret;
    Down(f.hwnd(), {k.hex(0, 4).x, 2});
    Up(f.hwnd(), {k.hex(0, 4).x, 3});
    EXPECT_EQ(f.c->caret, caret);
    EXPECT_EQ(f.c->anchor, caret);
    Down(f.hwnd(), {k.hex(0, 4).x, 2});
    Up(f.hwnd(), k.hex(6, 6));  // no move between: still no click on a byte
    EXPECT_EQ(f.c->caret, caret);
}

TEST(Scrolling, WheelScrollsOneLinePerNotch) {
    Fixture f(4000);
    f.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA * 3)));
    EXPECT_EQ(f.c->first_visible_line, 1u);
    f.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-1)));
    EXPECT_EQ(f.c->first_visible_line, 2u);
    f.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(WHEEL_DELTA)));
    EXPECT_EQ(f.c->first_visible_line, 1u);
    EXPECT_EQ(ScrollPos(f.hwnd()), 1);
}

TEST(Scrolling, EveryCodeKeepsTheBarAndTheView) {
    Fixture f(4000);
    const pm::u32 rows = f.c->rows, last = f.c->last_line;
    const pm::u32 bottom = last - rows + 1;
    struct Row { WPARAM code; pm::u32 want; };
    const Row steps[] = {
        {SB_LINEDOWN, 1}, {SB_LINEDOWN, 2}, {SB_LINEUP, 1}, {SB_PAGEDOWN, 1 + rows},
        {SB_PAGEUP, 1}, {SB_PAGEUP, 0}, {SB_LINEUP, 0}, {SB_BOTTOM, bottom},
        {SB_LINEDOWN, bottom}, {SB_PAGEDOWN, bottom}, {SB_ENDSCROLL, bottom}, {SB_TOP, 0},
    };
    for (const Row& s : steps) {
        f.w.Send(WM_VSCROLL, s.code);
        EXPECT_EQ(f.c->first_visible_line, s.want) << "code " << s.code;
        EXPECT_EQ(ScrollPos(f.hwnd()), int(s.want)) << "code " << s.code;
    }
}

TEST(Scrolling, ThumbReachesLinesBeyond65535) {
    Fixture f(70000 * 16);
    const pm::u32 bpl = f.c->bytes_per_line;
    ASSERT_GT(f.c->last_line, 65535u * 16 / bpl);
    const pm::u32 target = f.c->last_line - f.c->rows - 7;
    ASSERT_GT(target, 65535u);
    SetScrollPos(f.hwnd(), SB_VERT, int(target), FALSE);
    // The 16-bit position in wParam is stale; the 32-bit one must win.
    f.w.Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, WORD(target)));
    EXPECT_EQ(f.c->first_visible_line, target);
    SetScrollPos(f.hwnd(), SB_VERT, int(f.c->last_line - f.c->rows + 1), FALSE);
    f.w.Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0));
    EXPECT_EQ(f.c->first_visible_line, f.c->last_line - f.c->rows + 1);
    // A click on the first visible row names a byte of that line.
    const Cells k = f.cells();
    wt::Click(f.hwnd(), k.hex(0, 0));
    EXPECT_EQ(f.c->caret, f.c->first_visible_line * bpl);
}

TEST(Scrolling, NothingScrollsWhenTheDataFits) {
    Fixture f(100);
    for (WPARAM code = 0; code <= 8; ++code) {
        f.w.Send(WM_VSCROLL, code);
        EXPECT_EQ(f.c->first_visible_line, 0u) << code;
    }
    f.w.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)));
    EXPECT_EQ(f.c->first_visible_line, 0u);
    EXPECT_EQ(ScrollPos(f.hwnd()), 0);
    Down(f.hwnd(), f.cells().hex(0, 0));
    Move(f.hwnd(), {f.cells().hex(0, 0).x, f.c->rows_bottom() + 3});
    f.w.Send(WM_TIMER, 100);
    EXPECT_EQ(f.c->first_visible_line, 0u);
    Up(f.hwnd(), f.cells().hex(0, 0));
}

TEST(Mouse, LosingTheCaptureEndsTheAutoScroll) {
    Fixture f(4000);
    const Cells k = f.cells();
    Down(f.hwnd(), k.hex(2, 2));
    Move(f.hwnd(), {k.hex(0, 0).x, f.c->rows_bottom() + 5});
    ASSERT_EQ(f.c->auto_scroll, 2u);
    ReleaseCapture();  // as when another window takes the mouse
    const pm::u32 caret = f.c->caret;
    f.w.Send(WM_TIMER, 100);
    EXPECT_EQ(f.c->auto_scroll, 0u);
    EXPECT_EQ(f.c->caret, caret);
    EXPECT_EQ(f.c->first_visible_line, 0u);
    Move(f.hwnd(), k.hex(5, 5));  // no drag any more
    EXPECT_EQ(f.c->caret, caret);
}

TEST(Mouse, PressOnTheHeaderStartsNoDragAndNoAutoScroll) {
    Fixture f(4000);
    const Cells k = f.cells();
    wt::Click(f.hwnd(), k.hex(3, 3));
    f.w.Send(WM_VSCROLL, SB_PAGEDOWN);
    const pm::u32 caret = f.c->caret, top = f.c->first_visible_line;
    ASSERT_GT(top, 0u);
    const int x = k.hex(0, 4).x;
    Down(f.hwnd(), {x, 2});
    Move(f.hwnd(), {x, 3});  // a pixel further, still on the header
    EXPECT_EQ(f.c->auto_scroll, 0u);
    Move(f.hwnd(), {x, 0xFFFF});  // above the window
    Move(f.hwnd(), {x, f.c->rows_bottom() + 4});  // below the rows
    EXPECT_EQ(f.c->auto_scroll, 0u);
    for (int i = 0; i < 3; ++i) f.w.Send(WM_TIMER, 100);
    Move(f.hwnd(), k.hex(5, 5));  // over the rows: still no drag
    EXPECT_EQ(f.c->caret, caret);
    EXPECT_EQ(f.c->anchor, caret);
    EXPECT_EQ(f.c->first_visible_line, top);
    EXPECT_EQ(ScrollPos(f.hwnd()), int(top));
    Up(f.hwnd(), k.hex(5, 5));
    EXPECT_EQ(f.c->caret, caret);
    // The next press on the rows drags as ever.
    Down(f.hwnd(), k.hex(0, 1));
    Move(f.hwnd(), k.hex(1, 1));
    Up(f.hwnd(), k.hex(1, 1));
    EXPECT_EQ(f.c->anchor, top * f.c->bytes_per_line + 1);
    EXPECT_EQ(f.c->caret, (top + 1) * f.c->bytes_per_line + 1);
}

TEST(Mouse, PressOnTheHeadersLastPixelRowIsAHeaderPress) {
    Fixture f(100);
    const Cells k = f.cells();
    wt::Click(f.hwnd(), k.hex(2, 2));
    const pm::u32 caret = f.c->caret;
    const int x = k.hex(0, 5).x;
    wt::Click(f.hwnd(), {x, k.header()});  // y equal to the header height
    EXPECT_EQ(f.c->caret, caret);
    EXPECT_EQ(f.c->anchor, caret);
    wt::Click(f.hwnd(), {x, k.header() + 1});  // the first row below it
    EXPECT_EQ(f.c->caret, 5u);
}

TEST(Mouse, DraggingLeftOfTheWindowCountsAsLeftOfTheHexView) {
    Fixture f(4000);
    const Cells k = f.cells();
    Down(f.hwnd(), k.hex(2, 2));
    const pm::u32 start = f.c->caret;
    for (int left : {1, 20, 4095}) {
        SCOPED_TRACE(left);
        const POINT p{-left, k.row_y(2)};  // x arrives as 65536 - left
        Move(f.hwnd(), p);
        EXPECT_EQ(f.c->caret, start);
        EXPECT_EQ(f.c->active_view, 0u);
        EXPECT_EQ(f.c->first_visible_line, 0u);
    }
    Up(f.hwnd(), {-20, k.row_y(2)});
    EXPECT_EQ(f.c->caret, start);
    EXPECT_EQ(f.c->anchor, start);
    EXPECT_EQ(f.c->active_view, 0u);
    Move(f.hwnd(), k.hex(4, 4));  // released: no drag
    EXPECT_EQ(f.c->caret, start);
}
