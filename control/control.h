// The control's state record and the handlers of its window procedure.
// Each handler lives in the file of its concern (protocol, layout, paint,
// keys, mouse, menu, find, select).
#pragma once
#include <windows.h>

#include "control/core/pattern.h"
#include "control/core/view.h"
#include "shared/pelomar.h"

struct Control : pm::View {
    HMENU context_menu;
    HMENU copy_menu;
    HDC back_dc;
    HBITMAP back_bitmap;
    HGDIOBJ back_old_bitmap;  // the memory DC's own bitmap, put back at release
    HGDIOBJ back_old_font;
    HFONT current_font;
    HFONT fonts[PM_FONTS];
    HWND find_dialog;
    HWND select_dialog;
    // Find: the search state of this control's own Find dialog, so that a
    // search never continues behind another document's hit.
    pm::u32 find_mode;        // 1 UTF-8, 2 UTF-16, 3 HEX
    pm::Offset find_next_start;  // data index where the next search begins
    // The pattern of the last Find Next, which F3 and Shift+F3 search for.
    pm::u8 find_pattern[pm::max_pattern_bytes];
    std::size_t find_pattern_length;  // 0 before the first search
    HHOOK find_hook;                  // routes the dialogs' keys (dialog_keys.cpp)
    HHOOK select_hook;
    bool back_transparent;    // background mode of the back buffer already set

    // Mouse and keys.
    bool press_on_header;     // the running press began on the header: no drag
    bool menu_by_f10;         // Shift+F10 opened the menu: its key-up is no menu-bar key

    unsigned font_number;     // the number of current_font
    unsigned notify_mask;     // PM_NOTIFY_* kinds the parent asked for
    unsigned depth;           // messages being handled, nested
    unsigned frames;          // calls of the window procedure still running
    bool destroyed;           // WM_NCDESTROY came while frames were running

    HWND hwnd() const { return static_cast<HWND>(window); }
};

// Name of the window property that binds a control window to its state
// record: GetPropA(window, kStateProperty) is the record.
inline constexpr char kStateProperty[] = "Pelomar.ControlState";

// Library-wide data (entry.cpp).
extern HINSTANCE g_instance;
extern HANDLE g_heap;
extern unsigned char g_placeholder[4];
extern const LOGFONTA g_font_table[PM_FONTS];

// Full repaint: the whole client area invalidated without erasing.
inline void FullRepaint(Control* c) { InvalidateRect(c->hwnd(), nullptr, FALSE); }
inline void InvalidatePmRect(Control* c, const pm::Rect& r) {
    RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(c->hwnd(), &rc, FALSE);
}
// The header value (x 0 to the offset column's right edge, y 0 to lh).
void RepaintHeaderValue(Control* c);
// The data-area rectangle.
void RepaintDataArea(Control* c);

// protocol.cpp
LRESULT OnCreate(Control* c);
void OnDestroy(Control* c);
LRESULT OnPrivateMessage(Control* c, UINT msg, WPARAM wp, LPARAM lp);
void RunColourPass(Control* c);

// layout.cpp
void SetFont(Control* c, unsigned font_number);
void SizeControl(Control* c, int width, int height);
// The same, with the first visible line counting lines of top_bpl bytes.
void SizeControl(Control* c, int width, int height, pm::u32 top_bpl);
void ReleaseBackBuffer(Control* c);
void UpdateScrollInfo(Control* c);
// Moves the scroll box to the first visible line.
void UpdateScrollPos(Control* c);

// paint.cpp
void FullClear(Control* c);
void DrawHeader(Control* c);
void DrawOffsetColumn(Control* c);
void OnPaint(Control* c);

// keys.cpp
void OnKeyDown(Control* c, WPARAM key);
bool OnSysKeyDown(Control* c, WPARAM key);
void OnChar(Control* c, WPARAM ch);
// One undo or redo step that shows what it changed.
void HistoryStep(Control* c, bool redo);

// mouse.cpp
void OnLButtonDown(Control* c, LPARAM lp);
void OnMouseMove(Control* c, LPARAM lp);
void OnLButtonUp(Control* c, LPARAM lp);
void OnTimer(Control* c);
void OnVScroll(Control* c, WPARAM wp);
void OnMouseWheel(Control* c, WPARAM wp);
void RangeRepaint(Control* c);
// After the core moved the first visible line: scroll box, colours, repaint.
void ShowScrolledView(Control* c);

// menu.cpp
void BuildMenus(Control* c);
void DestroyMenus(Control* c);
void OnRButtonUp(Control* c);
// Shift+F10 and the menu key: the context menu at the caret's cell.
void ShowContextMenuAtCaret(Control* c);
void OnCommand(Control* c, WPARAM wp);

// clipboard.cpp: one of the six copy commands of the Copy submenu.
void CopyToClipboard(Control* c, unsigned command);
// Paste (menu, Ctrl+V, Shift+Insert): the clipboard's text over the data.
void PasteFromClipboard(Control* c);

// notify.cpp: after the outermost message, the notifications the parent
// asked for, given anchor and caret as they were when it arrived.
void SendNotifications(Control* c, pm::Offset anchor, pm::Offset caret);

// find.cpp, select.cpp
void ShowFindDialog(Control* c);
void ShowSelectDialog(Control* c);
// F3 and Shift+F3: the last pattern again, forward or backward; Find opens
// when there is none yet.
void FindAgain(Control* c, bool backward);

// dialog_keys.cpp: Enter, Esc, Tab and mnemonics for a modeless dialog in
// any host's message loop, while the dialog exists.
HHOOK RouteDialogKeys(HWND dialog);
void StopRoutingDialogKeys(HWND dialog, HHOOK hook);
// The first field focused with its text selected.
void FocusFirstField(HWND dialog, int id);
// Hides a dialog and gives the keyboard back to its control.
void HideDialog(HWND dialog, Control* c);
