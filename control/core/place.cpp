// Caret and view placement.
#include "control/core/place.h"

namespace pm {

bool reveal(View& v, Offset offset) {
    const Offset bpl = v.bytes_per_line, rows = v.rows;
    if (bpl == 0 || rows == 0) return false;
    const Offset line = offset / bpl;
    const Offset top = v.first_visible_line;
    Offset to = top;
    if (line < top)
        to = line;
    else if (line - top >= rows)
        to = line - rows + 1;
    const Offset last = v.data_size ? (Offset(v.data_size) - 1) / bpl : 0;
    const Offset last_page = last >= rows ? last - rows + 1 : 0;
    if (to > last_page) to = last_page;
    if (to == top) return false;
    v.first_visible_line = to;
    return true;
}

bool jump_to_edge(View& v, bool to_end, bool shift) {
    const Offset to = to_end ? Offset(v.data_size) : 0;
    if (to != v.caret || (!shift && v.anchor != to)) v.nibble_phase = 0;
    v.caret = to;
    if (!shift) v.anchor = to;
    return reveal(v, to);
}

void select_all(View& v) {
    if (v.anchor != 0 || v.caret != v.data_size) v.nibble_phase = 0;
    v.anchor = 0;
    v.caret = v.data_size;
}

}  // namespace pm
