// Mouse geometry: which view and which byte lie under a point, and where a
// scroll-bar request takes the first visible line.
#pragma once
#include "control/core/view.h"

namespace pm {

struct Hit {
    u32 view;    // hex_view or text_view
    Offset offset;  // limited to 0..data size
};

// x and y are client coordinates read as unsigned 16-bit numbers. Returns
// false for a point left of the hex view (see left_of_views). A point on
// the space after a byte's two hex digits belongs to the next byte; columns
// are not limited to the line, so a point right of a row lands on a later
// line.
bool hit_test(const View& v, u32 x, u32 y, Hit* hit);

// True when x lies left of the hex view: over the offset column, or left of
// the window (a negative x read as a large 16-bit number).
bool left_of_views(const View& v, u32 x);

// True when y lies above the rows: on the header, or above the window (a
// negative y read as a large 16-bit number).
bool above_rows(const View& v, u32 y);

// True when a button press at y is a press on the header: y up to and
// including the header height (the separator line under the header row).
bool header_press(const View& v, u32 y);

// Scroll-bar codes, numbered as the window system numbers them.
enum ScrollCode : u32 {
    scroll_line_up = 0, scroll_line_down = 1, scroll_page_up = 2, scroll_page_down = 3,
    scroll_thumb_position = 4, scroll_thumb_track = 5, scroll_top = 6, scroll_bottom = 7,
};

// The new first visible line for code, given the first visible line, the
// page (rows), the maximum (last line) and the line the thumb was dragged
// to. Returns false when nothing is to happen: an unknown code, no change,
// or a position that would show rows past the last line.
bool scroll_target(u32 code, Offset position, u32 page, Offset maximum, Offset track_line,
                   Offset* target);

// The window system's scroll-bar range and positions are ints. Up to
// scroll_bar_lines lines the bar counts lines (maximum the last line, page
// the rows); above, its positions are scaled: position p stands for the
// first visible line p * scale, the last position for the last page, and
// the page is one position.
constexpr Offset scroll_bar_lines = 0x7FFFFFFF;
struct ScrollBar {
    i32 maximum;
    u32 page;
    i32 position;
};
ScrollBar scroll_bar(const View& v);
// The first visible line that a thumb position shows (the last page at
// the end of the bar).
Offset line_at_scroll_position(const View& v, i32 position);

}  // namespace pm
