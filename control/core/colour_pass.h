// The colour pass: per visible byte, the colours of its hex cell and of its
// text cell, from the plain colours, the recency list, the caret and the
// selection (later steps win).
#pragma once
#include "control/core/view.h"

namespace pm {

// Rebuilds v.hex_colours and v.text_colours for the visible bytes. The
// arrays keep one entry more than the number of visible bytes (the caret
// may stand on the end position), grow together and never shrink. Returns
// the number of visible bytes; when the arrays cannot grow, returns 0 and
// changes nothing, so the control goes on showing the colours it had.
u32 colour_pass(View& v);

// Index of the first visible byte and the number of visible bytes.
struct VisibleRange {
    Offset first;
    u32 count;
};
VisibleRange visible_range(const View& v);

}  // namespace pm
