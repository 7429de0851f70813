// The tab strip's state and every change to it: adding, labels, layout,
// hover and press looks, the scroll buttons and closing. The window shell
// paints from it and sends the notifications it reports.
#pragma once
#include <cstdint>

namespace pm {

using u32 = std::uint32_t;
using u16 = std::uint16_t;

enum : u32 {
    kTabMax = 512,
    kTabLabelUnits = 12,  // UTF-16 units of a label, its zero included
    kAddLabelChars = 9,   // units kept from an added label
    kSetLabelChars = 10,  // units kept from a label set later
    kTabEndSlices = 7,
    kTabBodySlices = 3,
    kTabButtonSlices = 6,
};

// A tab's look: end slice in the high byte, body slice in the low byte.
enum TabLook : u16 {
    kLookNormal = 0x0600,
    kLookSelected = 0x0401,
    kLookHot = 0x0502,
    kLookHotCloseLit = 0x0002,
    kLookHotClosePressed = 0x0102,
    kLookSelectedCloseLit = 0x0201,
    kLookSelectedClosePressed = 0x0301,
};
inline unsigned look_body(u16 look) { return look & 0xFF; }
inline unsigned look_end(u16 look) { return look >> 8; }

// Scroll-button looks are the slices of the button bitmap.
enum ButtonLook : u32 {
    kLeftNormal = 0, kRightNormal = 1, kLeftLit = 2, kRightLit = 3, kLeftPressed = 4, kRightPressed = 5,
};

// Marks a tab carries beside its label, drawn by the shell.
enum TabMark : u16 {
    kMarkReadOnly = 1,
    kMarkChanged = 2,  // the document differs from what it held when opened
};

struct Tab {
    char16_t label[kTabLabelUnits];  // never ends in half a surrogate pair
    u16 look;
    u16 marks;  // TabMark bits
};

// Sizes taken from the bitmaps.
struct TabMetrics {
    u32 body_width, end_width, button_width, height;
};

// What a mouse button did; the shell repaints and notifies accordingly.
struct TabEvent {
    enum Kind { kNone, kRepaint, kSelChange, kClosed } kind;
    u32 a, b;  // kSelChange: previous and new selection; kClosed: a = closed tab
};

struct TabStrip {
    u32 count;         // 0 to kTabMax
    u32 selected;      // from 1; 0 once the last tab was closed
    u32 hot;           // from 1; 0 for none
    u32 close_hover;   // pointer on the close part of the hot tab
    u32 first;         // index of the first tab shown
    u32 left_button;   // ButtonLook
    u32 right_button;  // ButtonLook
    u32 button_width, buttons_width, body_width, end_width, pitch, height;
    u32 visible;       // tab places shown
    u32 width;         // strip width from the last size
    Tab tabs[kTabMax];
};

void tabs_init(TabStrip& s, const TabMetrics& m);
// Places and scroll position for a strip of the given width: the row is
// moved back only as far as needed to fill the places. Width 0 (a minimized
// window) keeps both.
void tabs_layout(TabStrip& s, u32 width);
// Appends a tab, selects it and scrolls the row so that it shows in the last
// place; false when the strip is full.
bool tabs_add(TabStrip& s, const char16_t* label);
void tabs_set_text(TabStrip& s, u32 index, const char16_t* label);
void tabs_set_marks(TabStrip& s, u32 index, u16 marks);
// Selects tab t (from 1) as a press on its body would, without notifying,
// and scrolls the row as little as needed for it to show. False when there
// is no tab t.
bool tabs_select(TabStrip& s, u32 t);
// Return true when the strip must be repainted.
bool tabs_mouse_move(TabStrip& s, int x, int y);
bool tabs_mouse_leave(TabStrip& s);
TabEvent tabs_button_down(TabStrip& s, int x, int y);
TabEvent tabs_button_up(TabStrip& s, int x, int y);

// Closes tab t by command rather than by pointer: the hover state is let
// go, the row stays filled and the selected tab shown; the event is the one
// a click on the close part gives (none when there is no tab t).
TabEvent tabs_close(TabStrip& s, u32 tab);

// The tab after (or before) `selected` among `count`, wrapping around;
// `selected` itself when there is no other, 0 with no tabs.
u32 tabs_step(u32 count, u32 selected, bool forward);

}  // namespace pm
