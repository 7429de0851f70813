// Caret keys and typing: WM_KEYDOWN and WM_CHAR. The arithmetic lives in
// the core (navigate, edit); this file turns its outcomes into scroll
// requests and repaints.
#include "control/control.h"
#include "control/core/edit.h"
#include "control/core/navigate.h"

static constexpr WPARAM key_undo = 'Z';
static constexpr WPARAM key_redo = 'Y';

static bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

static void RequestScroll(Control* c, WPARAM code) {
    SendMessageA(c->hwnd(), WM_VSCROLL, code, 0);
}

// One navigation key, with its scrolling and repaints.
static void Navigate(Control* c, pm::u32 key, bool shift) {
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

void OnKeyDown(Control* c, WPARAM key) {
    c->shift_down = KeyHeld(VK_SHIFT) ? 1 : 0;
    // AltGr arrives as Ctrl with Alt: the characters it types ('@', '{' on
    // many European layouts) are text, not Ctrl commands.
    c->control_down = KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU) ? 1 : 0;
    if (pm::is_nav_key(static_cast<pm::u32>(key))) {
        Navigate(c, static_cast<pm::u32>(key), c->shift_down != 0);
        return;
    }
    if (key == key_undo && c->control_down) {
        pm::undo_step(*c);
        FullRepaint(c);
        return;
    }
    if (key == key_redo && c->control_down) {
        pm::redo_step(*c);
        FullRepaint(c);
        return;
    }
    if (key == VK_TAB) {
        MoveFocusToNextGroupItem(c);
        return;
    }
    RunColourPass(c);
    RepaintDataArea(c);
    RepaintHeaderValue(c);
}

void OnChar(Control* c, WPARAM ch) {
    const pm::TypeOutcome out = pm::type_char(*c, static_cast<pm::u32>(ch));
    if (!out.changed) return;
    if (out.full_repaint) FullRepaint(c);
    // The write pushed older bytes down the recency list; the step to the
    // next byte recolours them, and so must an edit that stays.
    if (out.advance)
        Navigate(c, pm::key_right, false);
    else
        RunColourPass(c);
}
