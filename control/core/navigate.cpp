// Caret movement by the navigation keys.
#include "control/core/navigate.h"

#include "control/core/layout.h"

namespace pm {

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

    // Unsigned throughout: every difference below is taken only where it
    // cannot go below zero, so nothing wraps at any width.
    const Offset size = v.data_size;
    const Offset bpl = v.bytes_per_line;
    const Offset rows = v.rows;
    const Offset caret = v.caret;
    const Offset line = caret / bpl;
    const Offset column = caret % bpl;
    const Offset top = v.first_visible_line;
    // The caret's visible row (line - top) where the caret is in view or
    // below it; at or above the first row when line <= top.
    const bool at_or_above_first_row = line <= top;
    const bool on_or_below_last_row = line >= top && line - top + 1 >= rows;
    const Offset page = bpl * rows;
    Offset to = caret;

    switch (key) {
    case key_right:
        if (caret >= size) break;
        if (line >= top && line - top == rows - 1 && column == bpl - 1)
            out.scroll = ScrollRequest::line_down;
        to = caret + 1;
        break;
    case key_left:
        if (caret == 0) break;
        if (line == top && column == 0) out.scroll = ScrollRequest::line_up;
        to = caret - 1;
        break;
    case key_up:
        if (caret < bpl) break;
        if (at_or_above_first_row) {
            out.full_repaint = true;
            out.scroll = ScrollRequest::line_up;
        }
        to = caret - bpl;
        break;
    case key_down:
        if (size < bpl || caret >= size - bpl) break;
        if (on_or_below_last_row) {
            out.full_repaint = true;
            out.scroll = ScrollRequest::line_down;
        }
        to = caret + bpl;
        break;
    case key_page_down: {
        if (size - caret <= bpl) break;  // caret + bpl >= size
        if (size - caret > page) {
            to = caret + page;
            out.scroll = ScrollRequest::page_down;
            break;
        }
        const Offset last = last_line_for(size, v.bytes_per_line);
        v.first_visible_line = last + 1 > rows ? last + 1 - rows : 0;
        const Offset d = (last - line) * bpl;
        to = d >= size - caret ? size - 1 : caret + d;
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
        to = column;
        out.scroll = ScrollRequest::top_set;
        break;
    case key_home:
        to = caret - column;
        break;
    case key_end: {
        const Offset rest = (caret + 1) % bpl;
        if (rest == 0 || size == 0) break;
        to = caret + (bpl - rest);
        if (to > size - 1) to = size - 1;
        break;
    }
    default:
        break;
    }

    if (to > size) to = size;
    out.moved = to != caret;
    v.caret = to;
    if (!shift) v.anchor = v.caret;
    if (out.moved) v.nibble_phase = 0;
    return out;
}

bool select_range(View& v, Offset start, Offset end) {
    start -= v.offset_base;
    end -= v.offset_base;
    if (start > v.data_size) start = v.data_size;
    if (end > v.data_size) end = v.data_size;
    v.anchor = start;
    v.caret = end;
    v.nibble_phase = 0;
    // Also with exactly one line more than the rows: that line is hidden
    // at one end of the view or the other.
    if (v.last_line < v.rows || v.bytes_per_line == 0) return false;
    const Offset line = start / v.bytes_per_line;
    const Offset last_page = v.last_line - v.rows + 1;
    v.first_visible_line = line < last_page ? line : last_page;
    return true;
}

}  // namespace pm
