// Placing the caret and the view: scrolling an offset into view, the jumps
// to the first byte and the end position, and selecting everything.
#pragma once
#include "control/core/view.h"

namespace pm {

// Scrolls the least number of lines that puts the line of offset among the
// visible rows, never showing rows past the last line (the end position
// on a line of its own shows the last page). True when the first visible
// line changed; the caller moves the scroll box and repaints.
bool reveal(View& v, Offset offset);

// Ctrl+Home and Ctrl+End: the caret goes to the first byte or the end
// position, in view; with shift the anchor stays, otherwise it follows.
// A move ends a half-typed hex byte. True when the view scrolled.
bool jump_to_edge(View& v, bool to_end, bool shift);

// Selects every byte: anchor at 0, caret at the end position.
void select_all(View& v);

}  // namespace pm
