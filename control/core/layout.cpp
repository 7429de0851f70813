// Layout arithmetic of the control.
#include "control/core/layout.h"

#include <algorithm>

namespace pm {

const char measure_text[53] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

void apply_font_metrics(View& v, i32 width, i32 height) {
    v.char_width = (width / 26 + 1) / 2;
    v.line_height = height;
    update_rects(v);
}

u32 offset_digits_for(Offset data_size, u32 offset_base) {
    const Offset last = data_size ? data_size - 1 : 0;
    Offset shown = Offset(last + offset_base);
    if (shown < last) shown = Offset(-1);  // past the widest Offset: all digits
    const u32 digits = hex_digits(shown > data_size ? shown : data_size);
    return digits > 8 ? digits : 8;
}

void update_rects(View& v) {
    v.offset_digits = offset_digits_for(v.data_size, v.offset_base);
    const i32 top = v.header_height();
    const i32 bottom = v.rows_bottom();
    const i32 bpl = i32(v.bytes_per_line);
    const i32 cw = v.char_width;
    v.offset_rect = {0, top, v.offset_right(), bottom};
    const i32 hex_left = v.offset_right() + 8;
    v.hex_rect = {hex_left, top, hex_left + 3 * cw * bpl, bottom};
    const i32 text_left = v.hex_rect.right + 4;
    v.text_rect = {text_left, top, text_left + cw * bpl, bottom};
    v.data_rect = {hex_left, 0, v.text_rect.right, bottom};
}

Offset last_line_for(Offset data_size, u32 bytes_per_line) {
    if (data_size == 0 || bytes_per_line == 0) return 0;
    return (data_size - 1) / bytes_per_line;
}

Offset top_byte(const View& v, u32 top_bpl) {
    const Offset last = last_line_for(v.data_size, top_bpl);
    return (v.first_visible_line < last ? v.first_visible_line : last) * top_bpl;
}

void place_top_byte(View& v, Offset top_byte) {
    const Offset last = last_line_for(v.data_size, v.bytes_per_line);
    const Offset rows = v.rows;
    const Offset line = v.bytes_per_line ? top_byte / v.bytes_per_line : 0;
    v.last_line = last;
    if (last > rows && line >= last - rows) {
        v.first_visible_line = last - rows + 1;  // the last line on the bottom row
    } else if (last <= rows) {
        // No line past the last one, where the last lines nearly fit.
        const Offset limit = last + 1 > rows ? last + 1 - rows : 0;
        v.first_visible_line = line < limit ? line : limit;
    } else {
        v.first_visible_line = line;
    }
}

bool reveal(View& v, Offset offset) {
    if (v.bytes_per_line == 0 || v.rows == 0) return false;
    const Offset last = last_line_for(v.data_size, v.bytes_per_line);
    Offset line = offset / v.bytes_per_line;
    if (line > last) line = last;
    Offset top = v.first_visible_line;
    if (line < top)
        top = line;
    else if (line - top >= v.rows)
        top = line - v.rows + 1;
    if (top == v.first_visible_line) return false;
    v.first_visible_line = u32(top);
    return true;
}

SizeOutcome compute_size(View& v, i32 w, i32 h, u32 top_bpl) {
    const i32 cw = v.char_width;
    const i32 lh = v.line_height;
    if (cw <= 0 || lh <= 0) return {false, false};
    const u32 old_bpl = v.bytes_per_line;
    const u32 old_rows = v.rows;

    const i32 space = w - 13 - i32(offset_digits_for(v.data_size, v.offset_base)) * cw;
    if (space <= 8 * cw) return {false, false};

    const u32 new_bpl = u32(space / (4 * cw));
    if (new_bpl != v.bytes_per_line && new_bpl >= 4)
        v.bytes_per_line = std::min<u32>(new_bpl, max_bytes_per_line);

    i32 rows_height = h - v.header_height();
    if (rows_height <= lh) rows_height = lh;
    v.rows = u32(rows_height / lh);

    update_rects(v);
    v.client = {0, 0, w, h};

    // Keep the byte at the top of the view in the first row.
    place_top_byte(v, top_byte(v, top_bpl));
    return {true, v.bytes_per_line != old_bpl || v.rows != old_rows};
}

Rect hex_cell(const View& v, u32 row, u32 column) {
    const i32 w = 3 * v.char_width;
    const i32 x = v.hex_rect.left + w * i32(column);
    const i32 y = v.header_height() + i32(row) * v.line_height;
    return {x, y, x + w, y + v.line_height};
}

Rect text_cell(const View& v, u32 row, u32 column) {
    const i32 x = v.text_rect.left + v.char_width * i32(column);
    const i32 y = v.header_height() + i32(row) * v.line_height;
    return {x, y, x + v.char_width, y + v.line_height};
}

}  // namespace pm
