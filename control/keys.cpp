// Caret keys, typing and the command keys: WM_KEYDOWN, WM_SYSKEYDOWN and
// WM_CHAR. The arithmetic lives in the core (navigate, edit, place); this
// file turns its outcomes into scroll requests and repaints.
#include "control/control.h"
#include "control/core/edit.h"
#include "control/core/navigate.h"
#include "control/core/place.h"

static bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

static void RequestScroll(Control* c, WPARAM code) {
    SendMessageA(c->hwnd(), WM_VSCROLL, code, 0);
}

// One navigation key, with its scrolling and repaints. A caret out of view
// is brought into view first, so that the key acts where the user looks.
static void Navigate(Control* c, pm::u32 key, bool shift) {
    if (pm::reveal(*c, c->caret)) ShowScrolledView(c);
    const pm::NavOutcome out = pm::navigate(*c, key, shift);
    if (!out.moved) {
        // The caret stays; a collapsed selection still has to disappear.
        if (out.collapsed) {
            RunColourPass(c);
            RepaintDataArea(c);
        }
        RepaintHeaderValue(c);
        return;
    }
    if (out.full_repaint) FullRepaint(c);
    switch (out.scroll) {
    case pm::ScrollRequest::line_up: RequestScroll(c, SB_LINEUP); break;
    case pm::ScrollRequest::line_down: RequestScroll(c, SB_LINEDOWN); break;
    case pm::ScrollRequest::page_up: RequestScroll(c, SB_PAGEUP); break;
    case pm::ScrollRequest::page_down: RequestScroll(c, SB_PAGEDOWN); break;
    case pm::ScrollRequest::top_set:
        UpdateScrollPos(c);
        InvalidatePmRect(c, c->offset_rect);
        break;
    case pm::ScrollRequest::none: break;
    }
    RunColourPass(c);
    RepaintDataArea(c);
    RepaintHeaderValue(c);
}

static void MoveFocusToNextGroupItem(Control* c) {
    HWND parent = GetParent(c->hwnd());
    if (!parent) return;
    HWND next = GetNextDlgGroupItem(parent, c->hwnd(), c->shift_down ? TRUE : FALSE);
    if (next) SetFocus(next);
}

void HistoryStep(Control* c, bool redo) {
    if (redo ? pm::redo_step(*c) : pm::undo_step(*c)) ShowScrolledView(c);
    FullRepaint(c);
}

// Selection and view changed by a key of their own: recolour, repaint all.
static void Replaced(Control* c, bool scrolled) {
    if (scrolled) ShowScrolledView(c);
    RunColourPass(c);
    FullRepaint(c);
}

// Ctrl+C and Ctrl+Insert: the selection as the active view shows it.
static void CopyKey(Control* c) {
    if (!c->has_selection()) return;
    CopyToClipboard(c, c->active_view == pm::text_view ? PMC_COPY_ANSI : PMC_COPY_HEX);
}

// Keys with Ctrl held; false for a key that means nothing with Ctrl.
static bool CtrlKey(Control* c, WPARAM key) {
    switch (key) {
    case 'Z': HistoryStep(c, false); return true;
    case 'Y': HistoryStep(c, true); return true;
    case 'C':
    case VK_INSERT: CopyKey(c); return true;
    case 'V': PasteFromClipboard(c); return true;
    case 'A': pm::select_all(*c); Replaced(c, false); return true;
    case 'F': ShowFindDialog(c); return true;
    case 'G': ShowSelectDialog(c); return true;
    case VK_HOME:
    case VK_END: Replaced(c, pm::jump_to_edge(*c, key == VK_END, c->shift_down != 0)); return true;
    default: return false;
    }
}

void OnKeyDown(Control* c, WPARAM key) {
    c->shift_down = KeyHeld(VK_SHIFT) ? 1 : 0;
    // AltGr arrives as Ctrl with Alt: the characters it types ('@', '{' on
    // many European layouts) are text, not Ctrl commands.
    c->control_down = KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU) ? 1 : 0;
    if (c->control_down && CtrlKey(c, key)) return;
    if (pm::is_nav_key(static_cast<pm::u32>(key))) {
        Navigate(c, static_cast<pm::u32>(key), c->shift_down != 0);
        return;
    }
    switch (key) {
    case VK_TAB: MoveFocusToNextGroupItem(c); return;
    case VK_INSERT: if (c->shift_down) PasteFromClipboard(c); return;
    case VK_F3: FindAgain(c, c->shift_down != 0); return;
    case VK_APPS: ShowContextMenuAtCaret(c); return;
    default: break;
    }
    RunColourPass(c);
    RepaintDataArea(c);
    RepaintHeaderValue(c);
}

// F10 is a system key: Shift+F10 arrives here and opens the context menu
// instead of the window's menu bar. True when handled.
bool OnSysKeyDown(Control* c, WPARAM key) {
    if (key != VK_F10) return false;
    c->menu_by_f10 = KeyHeld(VK_SHIFT);
    if (!c->menu_by_f10) return false;
    ShowContextMenuAtCaret(c);
    return true;
}

void OnChar(Control* c, WPARAM ch) {
    const pm::TypeOutcome out = pm::type_char(*c, static_cast<pm::u32>(ch));
    if (out.refused) MessageBeep(MB_OK);
    if (!out.changed) return;
    // The byte just written is shown, wherever the view was.
    if (pm::reveal(*c, c->caret)) ShowScrolledView(c);
    if (out.full_repaint) FullRepaint(c);
    // The write pushed older bytes down the recency list; the step to the
    // next byte recolours them, and so must an edit that stays.
    if (out.advance)
        Navigate(c, pm::key_right, false);
    else
        RunColourPass(c);
}
