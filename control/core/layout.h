// Layout arithmetic: character cell from the font measurement, the column
// rectangles, bytes per line and rows from the client size, and the scroll
// position that follows from them.
#pragma once
#include "control/core/view.h"

namespace pm {

// The 52 letters measured to find the character cell.
extern const char measure_text[53];

// Character width and line height from the measured extent of
// measure_text; then the rectangles for the current bytes per line and rows.
void apply_font_metrics(View& v, i32 width, i32 height);

// Hex digits of the offset column and the header value: 8, or as many as
// the largest value they can show needs: the last byte's offset plus the
// offset base (added in Offset arithmetic) and the end position.
u32 offset_digits_for(Offset data_size, u32 offset_base);

// Brings the offset digits and the four column rectangles up to date.
void update_rects(View& v);

// (data size - 1) / bytes per line, and 0 for no data.
Offset last_line_for(Offset data_size, u32 bytes_per_line);

// Bytes per line for a row width setting: `fits` (the bytes the window has
// room for) when the setting is 0, otherwise the largest of the setting,
// 32, 16, 8 and 4 that is no more than the setting and fits, and 4 where
// none fits. Fixed rows so keep round offsets.
u32 row_width_for(u32 setting, u32 fits);

// Whether a row width setting is one the control takes: 0, 8, 16 or 32.
inline bool valid_row_width_setting(u32 setting) {
    return setting == 0 || setting == 8 || setting == 16 || setting == 32;
}

struct SizeOutcome {
    bool applied;         // false: the window is too narrow; nothing changed
    bool layout_changed;  // bytes per line or rows differ from before
};

// The size computation for a client of w x h pixels: bytes per line (4 to
// 64), rows (at least 1), rectangles, client rectangle, last line and the
// first visible line. The window-system work (back buffer, scroll bar,
// repaint) is the caller's. The first visible line counts lines of top_bpl
// bytes: the bytes per line it was shown with, which set font has already
// replaced by 4 when it runs the computation.
SizeOutcome compute_size(View& v, i32 w, i32 h, u32 top_bpl);
inline SizeOutcome compute_size(View& v, i32 w, i32 h) {
    return compute_size(v, w, h, v.bytes_per_line);
}

// The first byte of the first visible line when that line counts lines of
// top_bpl bytes; never past the last line of that width, so that the
// product cannot wrap.
Offset top_byte(const View& v, u32 top_bpl);

// Last line from the data size, and first visible line := the line that
// holds top_byte, brought back so that the view shows no line past the
// last one: the last line goes to the bottom row when it is near.
void place_top_byte(View& v, Offset top_byte);

// Byte cell rectangles of visible row r, column c (the geometry
// shared by painting and the range repaint).
Rect hex_cell(const View& v, u32 row, u32 column);
Rect text_cell(const View& v, u32 row, u32 column);

}  // namespace pm
