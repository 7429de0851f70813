// The recency list: the offsets of the 24 most recently modified bytes,
// newest first, from which the colour pass marks changed bytes.
#pragma once
#include "control/core/view.h"

namespace pm {

// Notes the byte at offset as modified. An offset already listed keeps its
// place; otherwise it goes in front and the oldest entry falls off a full list.
void note_modified(View& v, Offset offset);

// Notes every offset from lo up to, not including, hi in ascending order:
// the same list as note_modified() for each, without walking a long range.
void note_modified_range(View& v, Offset lo, Offset hi);

}  // namespace pm
