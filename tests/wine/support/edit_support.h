// Helpers for the editing tests: the control's state record, keys with
// modifiers, and mouse points computed from the font's cell.
#pragma once
#include <windows.h>

#include "control/control.h"
#include "support/support.h"

namespace wt {

// The state record the control binds to its window (same process).
inline const Control* StateOf(HWND hwnd) {
    return static_cast<const Control*>(GetPropA(hwnd, kStateProperty));
}

// Shift and Ctrl as GetKeyState will report them to the next WM_KEYDOWN.
inline void SetModifiers(bool shift, bool ctrl) {
    BYTE ks[256];
    GetKeyboardState(ks);
    ks[VK_SHIFT] = ks[VK_LSHIFT] = shift ? 0x80 : 0;
    ks[VK_CONTROL] = ks[VK_LCONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(ks);
}

inline void Key(HWND hwnd, WPARAM vk, bool shift = false, bool ctrl = false) {
    SetModifiers(shift, ctrl);
    SendMessageA(hwnd, WM_KEYDOWN, vk, 1);
    SetModifiers(false, false);
}

// Each character as a keyboard gives it: its key goes down (no modifier),
// then the character arrives.
inline void Chars(HWND hwnd, const char* text) {
    for (; *text; ++text) {
        const unsigned char ch = static_cast<unsigned char>(*text);
        const SHORT scan = VkKeyScanA(static_cast<CHAR>(ch));
        SendMessageA(hwnd, WM_KEYDOWN, scan == -1 ? VK_OEM_1 : (scan & 0xFF), 1);
        SendMessageA(hwnd, WM_CHAR, ch, 1);
    }
}

// Client points of byte cells, from the cell of font 0 and the layout rules:
// offset column 8 cw, hex view from 8 cw + 8 (3 cw per byte), text view 4
// pixels after the hex view (cw per byte), rows below a header of lh + 1.
struct Cells {
    int cw, lh, bpl;
    explicit Cells(int bytes_per_line) {
        SIZE cell = Font0Cell();
        cw = cell.cx;
        lh = cell.cy;
        bpl = bytes_per_line;
    }
    int header() const { return lh + 1; }
    int hex_left() const { return 8 * cw + 8; }
    int text_left() const { return hex_left() + 3 * cw * bpl + 4; }
    int row_y(int row) const { return header() + row * lh + lh / 2; }
    POINT hex(int row, int column) const { return {hex_left() + 3 * cw * column + cw, row_y(row)}; }
    POINT text(int row, int column) const { return {text_left() + cw * column + cw / 2, row_y(row)}; }
};

inline LPARAM At(POINT p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

inline void Click(HWND hwnd, POINT p) {
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(p));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(p));
}

}  // namespace wt
