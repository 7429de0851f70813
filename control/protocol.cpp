// Creation, release and the private messages of the control.
#include "control/control.h"
#include "control/core/colour_pass.h"
#include "control/core/layout.h"
#include "control/core/navigate.h"

void RunColourPass(Control* c) { pm::colour_pass(*c); }

void RepaintHeaderValue(Control* c) {
    RECT r{0, 0, c->offset_right(), c->line_height};
    InvalidateRect(c->hwnd(), &r, FALSE);
}

void RepaintDataArea(Control* c) { InvalidatePmRect(c, c->data_rect); }

LRESULT OnCreate(Control* c) {
    pm::set_default_colours(*c);
    c->read_only = 0;
    c->find_dialog = c->select_dialog = nullptr;
    c->hex_colours.resize(2);
    c->text_colours.resize(2);
    for (unsigned f = 0; f < PM_FONTS; ++f) c->fonts[f] = CreateFontIndirectA(&g_font_table[f]);
    c->data = g_placeholder;
    c->data_size = 1;
    c->own_data = false;
    c->bytes_per_line = 8;
    BuildMenus(c);
    SendMessageA(c->hwnd(), PM_SETFONT, 0, 0);
    return 0;
}

void OnDestroy(Control* c) {
    c->history.discard();
    for (HFONT& f : c->fonts) {
        if (f) DeleteObject(f);
        f = nullptr;
    }
    c->current_font = nullptr;
    ReleaseBackBuffer(c);
    DestroyMenus(c);
    if (c->find_dialog) DestroyWindow(c->find_dialog);
    if (c->select_dialog) DestroyWindow(c->select_dialog);
    c->find_dialog = c->select_dialog = nullptr;
}

// Puts selection, scroll position, nibble phase and recency list back to
// their starting values for a newly attached block.
static void ResetPosition(Control* c) {
    c->anchor = c->caret = c->previous_caret = 0;
    c->first_visible_line = 0;
    c->recency_count = 0;
    c->nibble_phase = 0;
}

static void SetData(Control* c, WPARAM wp, LPARAM lp) {
    auto* data = reinterpret_cast<pm::u8*>(wp);
    // Offsets are as wide as lParam: the whole size, in either build.
    static_assert(sizeof(pm::Offset) == sizeof(ULONG_PTR), "one offset per pointer width");
    pm::Offset size = static_cast<pm::Offset>(static_cast<ULONG_PTR>(lp));
    if (!data) size = 0;  // no block: show nothing rather than read address 0
    c->history.start();
    ResetPosition(c);
    c->data = size ? data : g_placeholder;
    c->data_size = size;
    c->own_data = size != 0;
    SendMessageA(c->hwnd(), WM_SETFOCUS, 0, 0);
    RECT rc;
    GetClientRect(c->hwnd(), &rc);
    c->bytes_per_line = 4;
    c->rows = 1;
    pm::update_rects(*c);
    FullRepaint(c);
    SizeControl(c, rc.right, rc.bottom);
}

// Lets go of the host's block: nothing may point into it afterwards.
static void BackToPlaceholder(Control* c) {
    c->history.discard();
    ResetPosition(c);
    c->data = g_placeholder;
    c->data_size = 1;
    c->own_data = false;
    c->last_line = pm::last_line_for(c->data_size, c->bytes_per_line);
    UpdateScrollInfo(c);
    RunColourPass(c);
    FullRepaint(c);
}

static void SelectRange(Control* c, WPARAM wp, LPARAM lp) {
    if (pm::select_range(*c, static_cast<pm::Offset>(wp),
                         static_cast<pm::Offset>(static_cast<ULONG_PTR>(lp))))
        UpdateScrollPos(c);
    RunColourPass(c);
    FullRepaint(c);
}

// A new row width setting lays the control out again with the byte at the
// top of the view kept in the first row.
static LRESULT SetBytesPerLine(Control* c, WPARAM wp) {
    if (wp <= 32 && pm::valid_row_width_setting(static_cast<pm::u32>(wp)) && wp != c->fixed_bytes_per_line) {
        c->fixed_bytes_per_line = static_cast<pm::u32>(wp);
        RECT rc;
        GetClientRect(c->hwnd(), &rc);
        SizeControl(c, rc.right, rc.bottom);
    }
    return static_cast<LRESULT>(c->fixed_bytes_per_line);
}

// A base that makes the offsets shown need another number of digits lays
// the control out anew for the wider or narrower offset column.
static void SetOffsetBase(Control* c, WPARAM wp) {
    c->offset_base = static_cast<pm::u32>(wp);
    if (pm::offset_digits_for(c->data_size, c->offset_base) != c->offset_digits) {
        RECT rc;
        GetClientRect(c->hwnd(), &rc);
        pm::update_rects(*c);
        SizeControl(c, rc.right, rc.bottom);
    }
    FullRepaint(c);
}

LRESULT OnPrivateMessage(Control* c, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= PM_SETCOLOURPAIR && msg <= PM_SETCOLOURPAIR_LAST) {
        pm::set_colour_pair(*c, msg - PM_SETCOLOURPAIR, static_cast<pm::Colour>(wp),
                            static_cast<pm::Colour>(lp));
        RunColourPass(c);
        FullClear(c);
        FullRepaint(c);
        return 0;
    }
    switch (msg) {
    case PM_SETFONT: if (wp < PM_FONTS) SetFont(c, static_cast<unsigned>(wp)); return 0;
    case PM_SETDATA: SetData(c, wp, lp); return 0;
    case PM_PLACEHOLDER: BackToPlaceholder(c); return 0;
    case PM_SETOFFSETBASE: SetOffsetBase(c, wp); return 0;
    case PM_SELECTRANGE: SelectRange(c, wp, lp); return 0;
    case PM_UNDO: HistoryStep(c, false); return 0;
    case PM_REDO: HistoryStep(c, true); return 0;
    case PM_CANUNDO: return c->history.can_undo;
    case PM_CANREDO: return c->history.can_redo;
    case PM_SETREADONLY: c->read_only = static_cast<pm::u32>(wp); return static_cast<LRESULT>(wp);
    case PM_SETBYTESPERLINE: return SetBytesPerLine(c, wp);
    }
    return 0;
}
