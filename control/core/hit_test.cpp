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
    const i64 bpl = v.bytes_per_line;
    i64 offset = column + row * bpl + i64(v.first_visible_line) * bpl;
    if (offset < 0) offset = 0;
    if (offset > i64(v.data_size)) offset = v.data_size;
    hit->offset = u32(offset);
    return true;
}

bool scroll_target(u32 code, u32 position, u32 page, u32 maximum, i32 track, u32* target) {
    if (page == 0) page = 1;
    i64 to;
    switch (code) {
    case scroll_top: to = 0; break;
    case scroll_bottom: to = i64(maximum) - page + 1; break;
    case scroll_line_up: to = i64(position) - 1; break;
    case scroll_line_down: to = i64(position) + 1; break;
    case scroll_page_up: to = i64(position) - page; break;
    case scroll_page_down: {
        to = i64(position) + page;
        const u32 limit = maximum - page + 1;  // wraps when everything fits
        if (u64(to) > limit) to = limit;
        break;
    }
    case scroll_thumb_position:
    case scroll_thumb_track: to = track; break;
    default: return false;
    }
    if (to < 0) to = 0;
    if (to == i64(position) || u64(to) + page - 1 > maximum) return false;
    *target = u32(to);
    return true;
}

}  // namespace pm
