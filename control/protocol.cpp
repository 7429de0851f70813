// Creation, release and the private messages of the control.
#include "control/control.h"
#include "control/core/colour_pass.h"
#include "control/core/edit.h"
#include "control/core/layout.h"
#include "control/core/navigate.h"
#include "control/core/place.h"

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
    pm::restart_history(*c);
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
    pm::restart_history(*c);
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

static LRESULT Write(Control* c, const PELOMAR_WRITE* w) {
    if (!w) return 0;
    const pm::Offset written = pm::write_bytes(*c, static_cast<pm::Offset>(w->offset),
                                               static_cast<const pm::u8*>(w->bytes),
                                               static_cast<pm::Offset>(w->count), pm::cause_write);
    if (written) {
        RunColourPass(c);
        FullRepaint(c);
    }
    return static_cast<LRESULT>(written);
}

static void ClearHistory(Control* c) {
    if (!c->own_data) return;
    pm::restart_history(*c);
    c->nibble_phase = 0;  // the next digit starts an edit with its own snapshots
}

static void ScrollTo(Control* c, WPARAM offset) {
    if (!pm::reveal(*c, static_cast<pm::Offset>(offset))) return;
    UpdateScrollPos(c);
    RunColourPass(c);
    FullRepaint(c);
}

static LRESULT GetColourPair(const Control* c, WPARAM pair, LPARAM lp) {
    auto* out = reinterpret_cast<unsigned int*>(lp);
    if (pair >= PM_COLOUR_PAIRS || !out) return 0;
    out[0] = c->colours[pair];
    out[1] = c->colours[PM_COLOUR_PAIRS + pair];
    return 1;
}

// The read-back messages: each returns a value the setters set.
static LRESULT ReadBack(Control* c, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case PM_GETANCHOR: return static_cast<LRESULT>(c->anchor);
    case PM_GETCARET: return static_cast<LRESULT>(c->caret);
    case PM_GETDATA: return c->own_data ? reinterpret_cast<LRESULT>(c->data) : 0;
    case PM_GETDATASIZE: return c->own_data ? static_cast<LRESULT>(c->data_size) : 0;
    case PM_GETOFFSETBASE: return static_cast<LRESULT>(c->offset_base);
    case PM_GETFONT: return c->font_number;
    case PM_GETCOLOURPAIR: return GetColourPair(c, wp, lp);
    case PM_GETREADONLY: return static_cast<LRESULT>(c->read_only);
    case PM_GETBYTESPERLINE: return static_cast<LRESULT>(c->bytes_per_line);
    case PM_GETFIRSTLINE: return static_cast<LRESULT>(c->first_visible_line);
    case PM_GETCHANGED: return pm::changed(*c) ? 1 : 0;
    }
    return 0;
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
    case PM_SETNOTIFY: {
        const unsigned old = c->notify_mask;
        c->notify_mask = static_cast<unsigned>(wp) & (PM_NOTIFY_SELCHANGE | PM_NOTIFY_CHANGE);
        return old;
    }
    case PM_WRITE: return Write(c, reinterpret_cast<const PELOMAR_WRITE*>(lp));
    case PM_CLEARHISTORY: ClearHistory(c); return 0;
    case PM_SCROLLTO: ScrollTo(c, wp); return 0;
    }
    return ReadBack(c, msg, wp, lp);
}
