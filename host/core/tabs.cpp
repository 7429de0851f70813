// Tab strip state changes. Tab numbers count from 1; tabs[] from 0.
#include "host/core/tabs.h"

namespace pm {

namespace {

bool valid(const TabStrip& s, u32 t) { return t >= 1 && t <= s.count; }

void set_look(TabStrip& s, u32 t, u16 look) {
    if (valid(s, t)) s.tabs[t - 1].look = look;
}

// The look a tab has when the pointer is elsewhere.
void rest(TabStrip& s, u32 t) { set_look(s, t, t == s.selected ? kLookSelected : kLookNormal); }

// Tab places that fit beside the scroll buttons. Unsigned on purpose: a
// strip narrower than its buttons has room for every tab.
u32 places(const TabStrip& s, u32 width) { return (width - s.buttons_width) / s.pitch; }

void copy_label(char* to, const char* from, u32 max_chars) {
    u32 n = 0;
    if (from)
        for (; n < max_chars && from[n]; ++n) to[n] = from[n];
    to[n] = 0;
}

void close_tab(TabStrip& s, u32 t) {
    const u32 S = s.selected, F = s.first;
    if (t < S || (t == S && t == s.count)) s.selected = S - 1;
    for (u32 i = t; i < s.count; ++i) s.tabs[i - 1] = s.tabs[i];
    --s.count;
    if (s.visible > s.count) s.visible = s.count;
    if (F > 0) s.first = F - 1;
    if (s.hot > 1 && F > 0) --s.hot;
    if (s.count == 0) return;
    if (t == S) set_look(s, s.selected, kLookSelected);
    // The tab that now stands in the closed tab's place is under the
    // pointer, on its close part.
    const u32 there = F == 0 ? t : t - 1;
    if (valid(s, there)) set_look(s, there, there == s.selected ? kLookSelectedCloseLit : kLookHotCloseLit);
}

}  // namespace

void tabs_init(TabStrip& s, const TabMetrics& m) {
    s.count = 0;
    s.selected = 1;
    s.hot = 1;
    s.close_hover = 0;
    s.first = 0;
    s.left_button = kLeftNormal;
    s.right_button = kRightNormal;
    s.body_width = m.body_width;
    s.end_width = m.end_width;
    s.button_width = m.button_width;
    s.buttons_width = 2 * m.button_width;
    s.height = m.height;
    s.pitch = m.body_width + m.end_width;
    if (s.pitch == 0) s.pitch = 1;  // no bitmaps: keep the arithmetic defined
    s.visible = 0;
    s.width = 0;
}

void tabs_layout(TabStrip& s, u32 width) {
    s.width = width;
    // Width 0 is a minimized window: nothing shows, the row stays as it is.
    if (width == 0) return;
    u32 p = places(s, width);
    if (p != 0) s.visible = p < s.count ? p : s.count;
    if (s.first > s.count - s.visible) s.first = s.count - s.visible;
}

bool tabs_add(TabStrip& s, const char* label) {
    if (s.count >= kTabMax) return false;
    if (s.count > 0) set_look(s, s.selected, kLookNormal);
    Tab& tab = s.tabs[s.count];
    tab.look = kLookSelected;
    tab.marks = 0;
    copy_label(tab.label, label, kAddLabelChars);
    ++s.count;
    s.selected = s.count;
    tabs_layout(s, s.width);
    // The new tab stands in the last place, wherever the row was scrolled.
    s.first = s.count - s.visible;
    return true;
}

void tabs_set_text(TabStrip& s, u32 index, const char* label) {
    if (index < s.count) copy_label(s.tabs[index].label, label, kSetLabelChars);
}

void tabs_set_marks(TabStrip& s, u32 index, u16 marks) {
    if (index < s.count) s.tabs[index].marks = marks;
}

bool tabs_mouse_leave(TabStrip& s) {
    if (s.hot == 0 && s.left_button == kLeftNormal && s.right_button == kRightNormal) return false;
    s.close_hover = 0;
    rest(s, s.hot);
    s.hot = 0;
    s.left_button = kLeftNormal;
    s.right_button = kRightNormal;
    return true;
}

bool tabs_mouse_move(TabStrip& s, int x, int y) {
    if (s.count == 0) return false;
    if (x < 0 || y < 0) return tabs_mouse_leave(s);
    const u32 ux = static_cast<u32>(x), uy = static_cast<u32>(y);
    const u32 p = ux / s.pitch + 1, r = ux % s.pitch, t = s.first + p;
    if (p > s.visible && p <= s.count && uy < s.height) {
        const u32 b = ux - s.visible * s.pitch;
        if (b < s.button_width) {
            if (s.left_button != kLeftNormal) return false;
            rest(s, s.hot);
            s.left_button = kLeftLit;
            s.right_button = kRightNormal;
            return true;
        }
        if (b > s.button_width && b < s.buttons_width) {
            if (s.right_button != kRightNormal) return false;
            rest(s, s.hot);
            s.left_button = kLeftNormal;
            s.right_button = kRightLit;
            return true;
        }
        return tabs_mouse_leave(s);
    }
    const bool buttons_normal = s.left_button == kLeftNormal && s.right_button == kRightNormal;
    if (r < s.body_width && uy < s.height) {
        // A scroll button still lit from a jump straight onto a body or the
        // empty area goes out: a press here must select, not scroll.
        if (t == s.hot && s.close_hover == 0 && buttons_normal) return false;
        s.left_button = kLeftNormal;
        s.right_button = kRightNormal;
        s.close_hover = 0;
        rest(s, s.hot);
        s.hot = t;
        if (t != s.selected) set_look(s, t, kLookHot);
        return true;
    }
    if (r >= s.body_width) {
        // Either scroll button may still be lit when the pointer jumps
        // straight from it to a close part: a press there must close, not
        // scroll.
        if (s.close_hover != 0 && buttons_normal) return false;
        s.left_button = kLeftNormal;
        s.right_button = kRightNormal;
        rest(s, s.hot);
        s.hot = t;
        s.close_hover = 1;
        set_look(s, t, t == s.selected ? kLookSelectedCloseLit : kLookHotCloseLit);
        return true;
    }
    return false;
}

TabEvent tabs_button_down(TabStrip& s, int x, int y) {
    if (y < 0 || static_cast<u32>(y) > s.height || s.count == 0 || x < 0) return {TabEvent::kNone, 0, 0};
    if (s.left_button == kLeftLit) {
        s.left_button = kLeftPressed;
        if (s.first > 0) --s.first;
        return {TabEvent::kRepaint, 0, 0};
    }
    if (s.right_button == kRightLit) {
        s.right_button = kRightPressed;
        if (s.first + s.visible < s.count) ++s.first;
        return {TabEvent::kRepaint, 0, 0};
    }
    const u32 ux = static_cast<u32>(x);
    if (ux >= s.visible * s.pitch) return {TabEvent::kNone, 0, 0};
    const u32 r = ux % s.pitch, t = s.first + ux / s.pitch + 1;
    if (!valid(s, t)) return {TabEvent::kNone, 0, 0};
    if (r > s.body_width) {
        s.hot = t;
        set_look(s, t, t == s.selected ? kLookSelectedClosePressed : kLookHotClosePressed);
        return {TabEvent::kRepaint, 0, 0};
    }
    const u32 previous = s.selected;
    set_look(s, previous, kLookNormal);
    s.selected = t;
    set_look(s, t, kLookSelected);
    return {TabEvent::kSelChange, previous, t};
}

TabEvent tabs_button_up(TabStrip& s, int x, int y) {
    if (y < 0 || static_cast<u32>(y) > s.height || s.count == 0 || x < 0) return {TabEvent::kNone, 0, 0};
    if (s.left_button == kLeftPressed) {
        s.left_button = kLeftLit;
        return {TabEvent::kRepaint, 0, 0};
    }
    if (s.right_button == kRightPressed) {
        s.right_button = kRightLit;
        return {TabEvent::kRepaint, 0, 0};
    }
    const u32 ux = static_cast<u32>(x);
    if (ux >= s.visible * s.pitch) return {TabEvent::kNone, 0, 0};
    const u32 t = s.first + ux / s.pitch + 1;
    if (s.close_hover != 1 || !valid(s, t)) return {TabEvent::kNone, 0, 0};
    close_tab(s, t);
    return {TabEvent::kClosed, t, 0};
}

}  // namespace pm
