// Rendering: the full clear, the header, the offset column and the paint
// pass. Everything is drawn into the back buffer; the window only ever
// receives a copy of its update rectangle, so nothing flickers.
#include "control/control.h"
#include "control/core/hextext.h"
#include "control/core/paint_runs.h"

namespace {

// BeginPaint and EndPaint as one scope, so every path validates the window.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// The line buffers a run is composed in. Library-wide: one paint at a time
// runs on the one thread that owns every control.
pm::LineBuffers g_line;

enum : unsigned { max_offset_digits = 16, input_mode_chars = 4, hex_text_columns = 256 };

RECT ToRect(const pm::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
bool Empty(const pm::Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

// An opaque fill without text: the cheapest solid rectangle GDI offers.
void Fill(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Fill(HDC dc, const pm::Rect& r, COLORREF colour) {
    if (!Empty(r)) Fill(dc, ToRect(r), colour);
}

// Cells drawn opaque and clipped: each cell's trailing space takes the
// background too.
void DrawCells(HDC dc, const pm::Rect& r, pm::CellColours colours, const char* chars, unsigned n) {
    SetBkColor(dc, colours.bk);
    SetTextColor(dc, colours.text);
    const RECT rc = ToRect(r);
    ExtTextOutA(dc, r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &rc, chars, n, nullptr);
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF c) {
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
    v.Alpha = 0;
    return v;
}

void Gradient(HDC dc, const RECT& r, COLORREF from, COLORREF to, ULONG mode) {
    TRIVERTEX v[2] = {Vertex(r.left, r.top, from), Vertex(r.right, r.bottom, to)};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, mode);
}

// Runs of the rows the update rectangle touches, then what the end of the
// data leaves to clear.
void DrawRows(Control* c, HDC dc, LONG top, LONG bottom) {
    const pm::ScreenSpan span = pm::paint_span(*c, top, bottom);
    pm::PaintRuns runs(*c, span, g_line);
    pm::PaintRun run;
    while (runs.next(run)) {
        DrawCells(dc, pm::run_hex_rect(*c, run.line, run.column, run.count), run.hex,
                  run.hex_chars, 3 * run.count);
        DrawCells(dc, pm::run_text_rect(*c, run.line, run.column, run.count), run.text,
                  run.text_chars, run.count);
    }
    if (runs.data_ended()) {
        Fill(dc, pm::text_tail(*c, runs.tail_line(), runs.tail_column()),
             c->colours[pm::view3_bk_color]);
        Fill(dc, pm::hex_tail(*c, runs.tail_line(), runs.tail_column()),
             c->colours[pm::view2_bk_color]);
    }
    Fill(dc, pm::blank_rows(*c, span), c->colours[pm::view2_bk_color]);
}

}  // namespace

void FullClear(Control* c) {
    HDC dc = c->back_dc;
    if (!dc) return;
    const RECT all{0, 0, c->client.right, c->client.bottom};
    Fill(dc, all, c->colours[pm::view2_bk_color]);
    const int hh = c->header_height();
    const int offset_right = c->offset_right();
    MoveToEx(dc, 0, hh - 1, nullptr);
    LineTo(dc, c->client.right, hh - 1);
    MoveToEx(dc, offset_right, hh, nullptr);
    LineTo(dc, offset_right, c->client.bottom);
}

void DrawHeader(Control* c) {
    HDC dc = c->back_dc;
    if (!dc) return;
    const RECT band{0, 0, c->client.right, c->line_height};
    Gradient(dc, band, c->colours[pm::header_grad_start_color],
             c->colours[pm::header_grad_end_color], GRADIENT_FILL_RECT_V);
    if (!c->back_transparent) {
        SetBkMode(dc, TRANSPARENT);
        c->back_transparent = true;
    }

    unsigned columns = c->bytes_per_line;
    if (columns > hex_text_columns) columns = hex_text_columns;
    SetTextColor(dc, c->colours[pm::header_addr_text_color]);
    ExtTextOutA(dc, c->hex_rect.left, 0, 0, nullptr, pm::hex_text, 3 * columns, nullptr);

    char value[max_offset_digits];
    const unsigned digits = c->offset_digits;
    pm::format_hex(c->has_selection() ? c->sel_hi() - c->sel_lo() : c->caret, digits, value);
    SetTextColor(dc, c->colours[pm::header_info_text_color]);
    ExtTextOutA(dc, 0, 0, 0, nullptr, value, digits, nullptr);

    SetTextColor(dc, c->colours[pm::header_input_mode_text_color]);
    const char* mode = c->active_view == pm::text_view ? "ANSI" : "HEX ";
    ExtTextOutA(dc, c->text_rect.left, 0, 0, nullptr, mode, input_mode_chars, nullptr);
}

void DrawOffsetColumn(Control* c) {
    HDC dc = c->back_dc;
    if (!dc) return;
    const int hh = c->header_height();
    const int lh = c->line_height;
    const int right = c->offset_right();
    const RECT column{0, hh, right, c->client.bottom};
    Gradient(dc, column, c->colours[pm::offset_grad_start_color],
             c->colours[pm::offset_grad_end_color], GRADIENT_FILL_RECT_H);
    SetTextColor(dc, c->colours[pm::view1_text_color]);
    char address[max_offset_digits];
    const unsigned digits = c->offset_digits;
    for (pm::u32 r = 0; r < c->rows; ++r) {
        // At the Offset width: the 32-bit build wraps as its offsets do.
        const pm::Offset shown =
            c->offset_base + (c->first_visible_line + r) * pm::Offset(c->bytes_per_line);
        pm::format_hex(shown, digits, address);
        const int top = hh + static_cast<int>(r) * lh;
        const RECT cell{0, top, right, top + lh};
        ExtTextOutA(dc, 0, top, ETO_CLIPPED, &cell, address, digits, nullptr);
    }
}

void OnPaint(Control* c) {
    PaintScope paint(c->hwnd());
    const RECT& u = paint.rect();
    HDC dc = c->back_dc;
    if (!dc) {
        // No layout could be made yet (a window too narrow from its start):
        // show the full-clear colour rather than whatever lay there.
        Fill(paint.dc(), u, c->colours[pm::view2_bk_color]);
        return;
    }
    DrawOffsetColumn(c);
    DrawHeader(c);
    DrawRows(c, dc, u.top, u.bottom);
    BitBlt(paint.dc(), u.left, u.top, u.right - u.left, u.bottom - u.top, dc, u.left, u.top,
           SRCCOPY);
}
