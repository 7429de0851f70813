// Caret movement by the navigation keys.
#include "control/core/navigate.h"

#include "control/core/layout.h"

namespace pm {

using i64 = std::int64_t;

NavOutcome navigate(View& v, u32 key, bool shift) {
    NavOutcome out{};
    if (v.caret > v.data_size) v.caret = v.data_size;
    if (v.anchor > v.data_size) v.anchor = v.data_size;
    if (!shift && v.anchor != v.caret) {
        v.anchor = v.caret;
        out.collapsed = true;
        v.nibble_phase = 0;
    }
    if (v.bytes_per_line == 0) return out;

    const i64 size = v.data_size;
    const i64 bpl = v.bytes_per_line;
    const i64 rows = v.rows;
    const i64 caret = v.caret;
    const i64 line = caret / bpl;
    const i64 column = caret % bpl;
    const i64 row = line - i64(v.first_visible_line);  // visible row, may be outside
    const i64 page = bpl * rows;
    i64 to = caret;

    switch (key) {
    case key_right:
        if (caret >= size) break;
        if (row == rows - 1 && column == bpl - 1) out.scroll = ScrollRequest::line_down;
        to = caret + 1;
        break;
    case key_left:
        if (caret == 0) break;
        if (row == 0 && column == 0) out.scroll = ScrollRequest::line_up;
        to = caret - 1;
        break;
    case key_up:
        if (caret < bpl) break;
        if (row <= 0) {
            out.full_repaint = true;
            out.scroll = ScrollRequest::line_up;
        }
        to = caret - bpl;
        break;
    case key_down:
        if (caret >= size - bpl) break;
        if (row + 1 >= rows) {
            out.full_repaint = true;
            out.scroll = ScrollRequest::line_down;
        }
        to = caret + bpl;
        break;
    case key_page_down: {
        if (caret + bpl >= size) break;
        if (caret + page < size) {
            to = caret + page;
            out.scroll = ScrollRequest::page_down;
            break;
        }
        const i64 last = last_line_for(v.data_size, v.bytes_per_line);
        const i64 top = last - rows + 1;
        v.first_visible_line = top < 0 ? 0 : u32(top);
        const i64 d = (last - line) * bpl;
        to = caret + d >= size ? size - 1 : caret + d;
        out.scroll = ScrollRequest::top_set;
        break;
    }
    case key_page_up:
        if (caret < bpl) break;
        if (caret >= page) {
            to = caret - page;
            out.scroll = ScrollRequest::page_up;
            break;
        }
        v.first_visible_line = 0;
        to = caret - line * bpl;
        out.scroll = ScrollRequest::top_set;
        break;
    case key_home:
        to = caret - column;
        break;
    case key_end: {
        const i64 rest = (caret + 1) % bpl;
        if (rest == 0 || size == 0) break;
        to = caret + (bpl - rest);
        if (to > size - 1) to = size - 1;
        break;
    }
    default:
        break;
    }

    if (to < 0) to = 0;
    if (to > size) to = size;
    out.moved = to != caret;
    v.caret = u32(to);
    if (!shift) v.anchor = v.caret;
    if (out.moved) v.nibble_phase = 0;
    return out;
}

}  // namespace pm
