// Forward and backward steps of Find.
#include "control/core/find_step.h"

#include "control/core/search.h"

namespace pm {

static constexpr Offset first_window = 4096;

bool search_last(const std::uint8_t* data, Offset size, Offset before, const std::uint8_t* pattern,
                 std::size_t length, Offset* found) {
    if (length == 0 || length > size || before == 0) return false;
    // Candidates are the starts 0 to last.
    Offset last = size - length;
    if (last > before - 1) last = before - 1;
    Offset window = first_window;
    for (;;) {
        const Offset lo = last >= window ? last - window + 1 : 0;
        const std::size_t span = std::size_t(last - lo) + length;
        std::size_t p;
        if (search(data + lo, span, 0, pattern, length, &p)) {
            // The last hit of the window: on from each hit to the next.
            std::size_t next;
            while (p + 1 + length <= span && search(data + lo, span, p + 1, pattern, length, &next))
                p = next;
            *found = lo + p;
            return true;
        }
        if (lo == 0) return false;
        last = lo - 1;
        if (window < (Offset(1) << (sizeof(Offset) * 8 - 2))) window *= 2;
    }
}

bool find_step(const std::uint8_t* data, Offset size, Offset* next_start,
               const std::uint8_t* pattern, std::size_t length, bool backward, Offset* at) {
    const Offset from = *next_start;
    bool hit;
    if (backward) {
        // Below the last hit, which starts at from - 1; with none, from the end.
        const Offset before = from ? from - 1 : size;
        hit = search_last(data, size, before, pattern, length, at);
        if (!hit && from) hit = search_last(data, size, size, pattern, length, at);
    } else {
        std::size_t p = 0;
        hit = search(data, std::size_t(size), std::size_t(from), pattern, length, &p);
        if (!hit && from > 0) hit = search(data, std::size_t(size), 0, pattern, length, &p);
        if (hit) *at = p;
    }
    *next_start = hit ? *at + 1 : 0;
    return hit;
}

}  // namespace pm
