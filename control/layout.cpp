// Font measurement, the back buffer and the scroll bar: the window-system
// side of the layout.
#include "control/control.h"
#include "control/core/colour_pass.h"
#include "control/core/hit_test.h"
#include "control/core/layout.h"

#define FONT(face, height, charset) \
    {height, 8, 0, 0, FW_NORMAL, 0, 0, 0, charset, OUT_DEFAULT_PRECIS, \
     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face}

const LOGFONTA g_font_table[PM_FONTS] = {
    FONT("Fixedsys", 12, DEFAULT_CHARSET),
    FONT("Courier", 14, DEFAULT_CHARSET),
    FONT("Terminal", 12, OEM_CHARSET),
    FONT("Courier New", 16, DEFAULT_CHARSET),
    FONT("Lucida Console", 13, DEFAULT_CHARSET),
};

void SetFont(Control* c, unsigned font_number) {
    c->font_number = font_number;
    c->current_font = c->fonts[font_number];
    HDC dc = GetDC(c->hwnd());
    HGDIOBJ old = SelectObject(dc, c->current_font);
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc, pm::measure_text, 52, &extent);
    SelectObject(dc, old);
    ReleaseDC(c->hwnd(), dc);
    pm::apply_font_metrics(*c, extent.cx, extent.cy);
    // The back buffer draws with the new font even when the window is too
    // narrow for a new layout.
    if (c->back_dc) SelectObject(c->back_dc, c->current_font);
    SendMessageA(c->hwnd(), WM_SETFOCUS, 0, 0);
    // The first visible line still counts lines of the old width: the new
    // layout keeps the same byte at the top of the view.
    const pm::u32 top_bpl = c->bytes_per_line;
    c->bytes_per_line = 4;
    c->rows = 1;
    pm::update_rects(*c);
    FullRepaint(c);
    RECT rc;
    GetClientRect(c->hwnd(), &rc);
    SizeControl(c, rc.right, rc.bottom, top_bpl);
}

void ReleaseBackBuffer(Control* c) {
    if (c->back_dc) {
        SelectObject(c->back_dc, c->back_old_bitmap);
        SelectObject(c->back_dc, c->back_old_font);
        DeleteDC(c->back_dc);
    }
    if (c->back_bitmap) DeleteObject(c->back_bitmap);
    c->back_dc = nullptr;
    c->back_bitmap = nullptr;
    c->back_old_bitmap = c->back_old_font = nullptr;
}

static void CreateBackBuffer(Control* c, int w, int h) {
    ReleaseBackBuffer(c);
    HDC dc = GetDC(c->hwnd());
    c->back_dc = CreateCompatibleDC(dc);
    c->back_bitmap = CreateCompatibleBitmap(dc, w, h);
    ReleaseDC(c->hwnd(), dc);
    if (!c->back_dc) return;
    c->back_old_bitmap = SelectObject(c->back_dc, c->back_bitmap);
    c->back_old_font = SelectObject(c->back_dc, c->current_font);
    c->back_transparent = false;
}

void UpdateScrollInfo(Control* c) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    const pm::ScrollBar bar = pm::scroll_bar(*c);
    si.nMin = 0;
    si.nMax = bar.maximum;
    si.nPage = bar.page;
    si.nPos = bar.position;
    SetScrollInfo(c->hwnd(), SB_VERT, &si, TRUE);
}

void UpdateScrollPos(Control* c) {
    SetScrollPos(c->hwnd(), SB_VERT, pm::scroll_bar(*c).position, TRUE);
}

void SizeControl(Control* c, int width, int height) {
    SizeControl(c, width, height, c->bytes_per_line);
}

void SizeControl(Control* c, int width, int height, pm::u32 top_bpl) {
    const pm::SizeOutcome out = pm::compute_size(*c, width, height, top_bpl);
    if (!out.applied) {
        // Too narrow for a new layout: keep it, but never let the scroll
        // range or the colour arrays describe a block that is gone, nor the
        // first visible line count lines of another width.
        const pm::Offset last = pm::last_line_for(c->data_size, c->bytes_per_line);
        if (top_bpl != c->bytes_per_line) {
            pm::place_top_byte(*c, pm::top_byte(*c, top_bpl));
            UpdateScrollInfo(c);
        } else if (last != c->last_line) {
            c->last_line = last;
            if (c->first_visible_line > last) c->first_visible_line = 0;
            UpdateScrollInfo(c);
        }
        RunColourPass(c);
        return;
    }
    CreateBackBuffer(c, width, height);
    UpdateScrollInfo(c);
    // Always: after set data the layout may come out as it was, and the
    // arrays must still describe the new block.
    RunColourPass(c);
    FullClear(c);
    DrawHeader(c);
    DrawOffsetColumn(c);
    FullRepaint(c);
}
