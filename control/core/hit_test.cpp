// Mouse geometry.
#include "control/core/hit_test.h"

namespace pm {

using i64 = std::int64_t;
using u64 = std::uint64_t;

// A coordinate above this is a pointer left of or above the window, whose
// negative coordinate reads as a large 16-bit number.
static constexpr u32 outside_window = 61440;

bool left_of_views(const View& v, u32 x) {
    return i64(x) < v.hex_rect.left || x > outside_window;
}

bool above_rows(const View& v, u32 y) {
    return i64(y) < v.header_height() || y > outside_window;
}

bool header_press(const View& v, u32 y) {
    return i64(y) <= v.header_height() || y > outside_window;
}

bool hit_test(const View& v, u32 x, u32 y, Hit* hit) {
    const i64 cw = v.char_width, lh = v.line_height;
    if (left_of_views(v, x) || cw <= 0 || lh <= 0) return false;
    i64 column;
    if (i64(x) >= v.text_rect.left) {
        hit->view = text_view;
        column = (i64(x) - v.text_rect.left) / cw;
    } else {
        hit->view = hex_view;
        const i64 d = i64(x) - v.hex_rect.left;
        column = d / (3 * cw) + (d % (3 * cw) > 2 * cw ? 1 : 0);
    }
    const i64 dy = i64(y) - v.header_height();
    const i64 row = dy >= 0 ? dy / lh : -((-dy + lh - 1) / lh);
    // From the first visible byte: a few rows either way, in 64 bits; the
    // first visible byte itself may need all of an Offset.
    const i64 from_top = column + row * i64(v.bytes_per_line);
    const Offset top = mul_saturated(v.first_visible_line, v.bytes_per_line);
    const Offset size = v.data_size;
    Offset offset;
    if (from_top < 0)
        offset = Offset(u64(-from_top)) < top ? top - Offset(u64(-from_top)) : 0;
    else
        offset = top < size && u64(from_top) < u64(size - top) ? top + Offset(from_top) : size;
    hit->offset = offset < size ? offset : size;
    return true;
}

bool scroll_target(u32 code, Offset position, u32 page, Offset maximum, Offset track_line,
                   Offset* target) {
    if (page == 0) page = 1;
    // Fewer lines than the page: every position shows rows past the last
    // line, so nothing scrolls. Otherwise last_top is the last page's top.
    const bool fits = maximum + 1 < page;
    const Offset last_top = fits ? 0 : maximum + 1 - page;
    Offset to;
    switch (code) {
    case scroll_top: to = 0; break;
    case scroll_bottom: to = last_top; break;
    case scroll_line_up: to = position ? position - 1 : 0; break;
    case scroll_line_down: to = position + 1; break;
    case scroll_page_up: to = position > page ? position - page : 0; break;
    case scroll_page_down: to = position + page; if (!fits && to > last_top) to = last_top; break;
    case scroll_thumb_position:
    case scroll_thumb_track: to = track_line; break;
    default: return false;
    }
    if (to == position || fits || to > last_top) return false;
    *target = to;
    return true;
}

// Lines per scroll-bar position above scroll_bar_lines lines: the last
// first visible line over it stays below 2^30 positions.
static Offset scroll_scale(const View& v) {
    if (v.last_line <= scroll_bar_lines) return 1;
    return ((v.last_line - v.rows + 1) >> 30) + 1;
}

ScrollBar scroll_bar(const View& v) {
    const Offset scale = scroll_scale(v);
    if (scale == 1) return {i32(v.last_line), v.rows, i32(v.first_visible_line)};
    const Offset last_top = v.last_line - v.rows + 1;
    const Offset last_position = (last_top + scale - 1) / scale;
    const Offset top = v.first_visible_line < last_top ? v.first_visible_line : last_top;
    return {i32(last_position), 1, i32((top + scale - 1) / scale)};
}

Offset line_at_scroll_position(const View& v, i32 position) {
    if (position < 0) position = 0;
    const Offset scale = scroll_scale(v);
    if (scale == 1) return Offset(position);
    const Offset last_top = v.last_line - v.rows + 1;
    const Offset line = Offset(position) * scale;
    return line < last_top ? line : last_top;
}

}  // namespace pm
