// Caret movement by the navigation keys: where the caret and the anchor go
// and which scrolling the move asks of the window.
#pragma once
#include "control/core/view.h"

namespace pm {

// The navigation keys, numbered as their virtual-key codes.
enum NavKey : u32 {
    key_page_up = 0x21, key_page_down = 0x22, key_end = 0x23, key_home = 0x24,
    key_left = 0x25, key_up = 0x26, key_right = 0x27, key_down = 0x28,
};
inline bool is_nav_key(u32 key) { return key >= key_page_up && key <= key_down; }

enum class ScrollRequest {
    none,
    line_up, line_down, page_up, page_down,  // to be sent as scroll requests
    top_set,  // first visible line already set: move the scroll box there and
              // repaint the offset column with the data area
};

struct NavOutcome {
    bool moved;            // the caret moved
    bool collapsed;        // an existing selection was collapsed
    bool full_repaint;     // Up or Down at the edge of the view
    ScrollRequest scroll;
};

// Carries out one navigation key. Without shift the selection collapses at
// the caret first and the anchor follows the caret; with shift the anchor
// stays. The caret never leaves 0..data size, and the keys that place it on
// a byte never place it past the last one. A key that moves the caret or
// the anchor ends a half-typed hex byte (nibble phase 0): the next digit
// starts a new edit on the new edit range.
NavOutcome navigate(View& v, u32 key, bool shift);

// Select range: start and end as shown (offset base included; it is taken
// off at the Offset width, so that a value below the base wraps to a large
// one), each pulled back to the data size, become anchor and caret. Where
// the data has at least as many lines as rows, the start's line becomes the
// first visible line, or the last page where the start lies on it; returns
// true then (the caller moves the scroll box).
bool select_range(View& v, Offset start, Offset end);

}  // namespace pm
