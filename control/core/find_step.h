// Stepping from hit to hit with one pattern: forward from one byte behind
// the last hit, backward from just before it, each wrapping once.
#pragma once
#include <cstddef>
#include <cstdint>

#include "control/core/view.h"

namespace pm {

// The highest p with p < before and p + length <= size at which data holds
// the pattern; false when there is none (and for an empty pattern). Scans
// back in windows that double in size, so that a hit near before is found
// without scanning the rest, and the whole scan stays linear.
bool search_last(const std::uint8_t* data, Offset size, Offset before, const std::uint8_t* pattern,
                 std::size_t length, Offset* found);

// One step. *next_start is one byte behind the last hit, 0 when there is
// none: a forward step searches from there, a backward one below the last
// hit (from the end when there is none); a miss there searches once more
// from the start or the end. A hit at p sets *next_start to p + 1, a miss
// to 0.
bool find_step(const std::uint8_t* data, Offset size, Offset* next_start,
               const std::uint8_t* pattern, std::size_t length, bool backward, Offset* at);

}  // namespace pm
