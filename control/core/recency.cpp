// The recency list.
#include "control/core/recency.h"

namespace pm {

void note_modified(View& v, Offset offset) {
    u32 count = v.recency_count < recency_max ? v.recency_count : recency_max;
    for (u32 i = 0; i < count; ++i)
        if (v.recency[i] == offset) return;
    if (count == recency_max) --count;
    for (u32 i = count; i > 0; --i) v.recency[i] = v.recency[i - 1];
    v.recency[0] = offset;
    v.recency_count = count + 1;
}

// Of the first n - 24 offsets of a range at most 24 are already listed, so
// with n >= 72 at least 24 are fresh and push out everything listed before
// the range; the last 24 are then all fresh and fill the list newest first.
static constexpr Offset long_range = 3 * recency_max;

void note_modified_range(View& v, Offset lo, Offset hi) {
    if (hi <= lo) return;
    if (hi - lo >= long_range) {
        for (u32 i = 0; i < recency_max; ++i) v.recency[i] = hi - 1 - i;
        v.recency_count = recency_max;
        return;
    }
    for (Offset o = lo; o != hi; ++o) note_modified(v, o);
}

}  // namespace pm
