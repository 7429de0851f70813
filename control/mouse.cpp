// Mouse selection, auto-scroll, the scroll bar and the wheel, and the range
// repaint that shows a caret change in one piece.
#include "control/control.h"
#include "control/core/hit_test.h"
#include "control/core/layout.h"

// One for all controls of the process: only one control can hold the
// capture, so one drag at a time uses it. Set while no drag is running.
static bool g_button_released = true;

using i64 = std::int64_t;
using u64 = std::uint64_t;

static constexpr UINT_PTR auto_scroll_timer = 100;
static constexpr UINT auto_scroll_period_ms = 20;
enum : pm::u32 { scroll_none = 0, scroll_up = 1, scroll_down = 2 };

static pm::u32 MouseX(LPARAM lp) { return LOWORD(static_cast<DWORD>(lp)); }
static pm::u32 MouseY(LPARAM lp) { return HIWORD(static_cast<DWORD>(lp)); }

static void StartAutoScroll(Control* c, pm::u32 state) {
    if (c->auto_scroll != scroll_none) return;
    SetTimer(c->hwnd(), auto_scroll_timer, auto_scroll_period_ms, nullptr);
    c->auto_scroll = state;
}

static void StopAutoScroll(Control* c) {
    KillTimer(c->hwnd(), auto_scroll_timer);
    c->auto_scroll = scroll_none;
}

// Places the caret by the mouse; a half-typed hex byte is given up, as with
// every placing of the caret other than typing.
static void PlaceCaret(Control* c, pm::Offset offset) {
    if (offset > c->data_size) offset = c->data_size;
    if (offset != c->caret) c->nibble_phase = 0;
    c->caret = offset;
}

void OnLButtonDown(Control* c, LPARAM lp) {
    g_button_released = false;
    SetCapture(c->hwnd());
    c->press_on_header = false;
    const pm::u32 y = MouseY(lp);
    if (pm::header_press(*c, y)) {
        c->press_on_header = true;
        return;
    }
    pm::Hit hit;
    if (!pm::hit_test(*c, MouseX(lp), y, &hit)) return;
    c->active_view = hit.view;
    c->previous_caret = c->anchor;
    RangeRepaint(c);
    c->anchor = c->caret = hit.offset;
    RunColourPass(c);
    c->previous_caret = c->caret;
    c->nibble_phase = 0;
    RangeRepaint(c);
}

void OnMouseMove(Control* c, LPARAM lp) {
    // A press on the header starts no drag and no scrolling until its
    // button-up, wherever the pointer goes meanwhile.
    if (g_button_released || c->press_on_header) return;
    const pm::u32 y = MouseY(lp);
    pm::Hit hit;
    if (!pm::hit_test(*c, MouseX(lp), y, &hit)) return;
    c->active_view = hit.view;
    if (pm::above_rows(*c, y)) {
        StartAutoScroll(c, scroll_up);
        return;
    }
    if (static_cast<pm::i32>(y) > c->rows_bottom()) {
        StartAutoScroll(c, scroll_down);
        return;
    }
    // Back over the rows: the scrolling stops even when the pointer is on
    // the caret's own byte.
    if (c->auto_scroll != scroll_none) StopAutoScroll(c);
    if (hit.offset == c->caret) return;
    c->previous_caret = c->caret;
    PlaceCaret(c, hit.offset);
    RunColourPass(c);
    RangeRepaint(c);
}

void OnLButtonUp(Control* c, LPARAM lp) {
    ReleaseCapture();
    const pm::u32 x = MouseX(lp), y = MouseY(lp);
    if (pm::left_of_views(*c, x)) {
        StopAutoScroll(c);
        g_button_released = true;
        c->press_on_header = false;
        return;
    }
    if (g_button_released) return;
    g_button_released = true;
    // A press that began on the header is no click on a byte, and a point
    // above the rows names no byte: the caret stays.
    const bool over_rows = !pm::above_rows(*c, y);
    pm::Hit hit{};
    const bool hit_byte = over_rows && pm::hit_test(*c, x, y, &hit);
    if (hit_byte) c->active_view = hit.view;
    const pm::Offset old_caret = c->caret;
    if (c->auto_scroll == scroll_none && hit_byte && !c->press_on_header) PlaceCaret(c, hit.offset);
    c->press_on_header = false;
    StopAutoScroll(c);
    if (c->caret > c->data_size) c->caret = c->data_size;
    RunColourPass(c);
    c->previous_caret = old_caret;
    RangeRepaint(c);
    c->previous_caret = c->caret;
}

void OnTimer(Control* c) {
    // The capture can be taken away (another window, a task switch) with
    // no button-up to follow: then the drag is over and so is the scrolling.
    if (c->auto_scroll != scroll_none && GetCapture() != c->hwnd()) {
        StopAutoScroll(c);
        g_button_released = true;
        return;
    }
    const pm::Offset caret = c->caret;
    const pm::Offset bpl = c->bytes_per_line;
    const pm::Offset size = c->data_size;
    const pm::Offset top = c->first_visible_line;
    const int hh = c->header_height(), lh = c->line_height;
    bool moved = false;
    if (c->auto_scroll == scroll_up) {
        if (caret >= bpl) {
            PlaceCaret(c, caret - bpl);
            moved = true;
        }
        RECT second{c->hex_rect.left, hh + lh, c->text_rect.right, hh + 2 * lh};
        InvalidateRect(c->hwnd(), &second, FALSE);
        SendMessageA(c->hwnd(), WM_VSCROLL, SB_LINEUP, 0);
    } else if (c->auto_scroll == scroll_down) {
        if (size > bpl && caret < size - bpl) {  // caret + bpl < size
            PlaceCaret(c, caret + bpl);
            moved = true;
        }
        const int bottom = c->rows_bottom();
        RECT second{c->hex_rect.left, bottom - 2 * lh, c->text_rect.right, bottom - lh};
        InvalidateRect(c->hwnd(), &second, FALSE);
        SendMessageA(c->hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    }
    if (moved && c->first_visible_line == top) {
        RunColourPass(c);
        RepaintDataArea(c);
    }
    RepaintHeaderValue(c);
}

void OnVScroll(Control* c, WPARAM wp) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(c->hwnd(), SB_VERT, &si);
    // Position, page and range are the control's own: the scroll bar mirrors
    // them, and the view must never follow a bar that lags behind.
    const pm::Offset old = c->first_visible_line;
    pm::Offset to;
    if (!pm::scroll_target(LOWORD(wp), old, c->rows, pm::last_line_for(c->data_size, c->bytes_per_line),
                           pm::line_at_scroll_position(*c, si.nTrackPos), &to))
        return;
    c->first_visible_line = to;
    si.fMask = SIF_POS;
    si.nPos = pm::scroll_bar(*c).position;
    SetScrollInfo(c->hwnd(), SB_VERT, &si, TRUE);
    RECT area{0, c->header_height(), c->text_rect.right, c->rows_bottom()};
    const pm::Offset distance = old > to ? old - to : to - old;
    if (distance >= c->rows) {
        // Nothing of the old picture stays in view.
        InvalidateRect(c->hwnd(), &area, FALSE);
    } else {
        const int lines = static_cast<int>(distance) * (old > to ? 1 : -1);
        ScrollWindowEx(c->hwnd(), 0, lines * c->line_height, &area, &area, nullptr, nullptr,
                       SW_INVALIDATE);
    }
    RunColourPass(c);
}

void ShowScrolledView(Control* c) {
    UpdateScrollPos(c);  // scaled above 2^31 lines, as every other scroll
    RunColourPass(c);
    FullRepaint(c);
}

void OnMouseWheel(Control* c, WPARAM wp) {
    const short delta = static_cast<short>(HIWORD(wp));
    SendMessageA(c->hwnd(), WM_VSCROLL, delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
}

// Invalidates the cells from the previous caret to the caret, both ends
// included, clipped to the page, row by row, with the header value and the
// input-mode label.
void RangeRepaint(Control* c) {
    const BOOL locked = LockWindowUpdate(c->hwnd());
    // [lo, hi): the end the caret left and the end it reached both change
    // colour (a caret back on the anchor turns from plain to active).
    u64 lo = c->previous_caret < c->caret ? c->previous_caret : c->caret;
    u64 hi = u64(c->previous_caret < c->caret ? c->caret : c->previous_caret) + 1;
    const u64 bpl = c->bytes_per_line;
    const u64 page_start = bpl * c->first_visible_line;
    const u64 page_end = page_start + bpl * c->rows;
    if (hi > page_start && bpl) {
        if (lo < page_start) lo = page_start;
        if (hi > page_end) hi = page_end;
        for (u64 p = lo; p < hi;) {
            const u64 row = (p - page_start) / bpl;
            const u64 first = (p - page_start) % bpl;
            const u64 row_end = page_start + (row + 1) * bpl;
            const u64 stop = hi < row_end ? hi : row_end;
            const u64 last = first + (stop - p) - 1;
            pm::Rect h0 = pm::hex_cell(*c, pm::u32(row), pm::u32(first));
            pm::Rect h1 = pm::hex_cell(*c, pm::u32(row), pm::u32(last));
            pm::Rect t0 = pm::text_cell(*c, pm::u32(row), pm::u32(first));
            pm::Rect t1 = pm::text_cell(*c, pm::u32(row), pm::u32(last));
            InvalidatePmRect(c, {h0.left, h0.top, h1.right, h1.bottom});
            InvalidatePmRect(c, {t0.left, t0.top, t1.right, t1.bottom});
            p = stop;
        }
    }
    RepaintHeaderValue(c);
    RECT label{c->text_rect.left, 0, c->text_rect.left + 4 * c->char_width, c->line_height};
    InvalidateRect(c->hwnd(), &label, FALSE);
    if (locked) LockWindowUpdate(nullptr);
}
