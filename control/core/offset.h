// The one offset type of the control: offsets, sizes, line numbers and
// counts of data bytes.
#pragma once
#include <cstdint>

namespace pm {

// Offsets, sizes, line numbers and counts of data bytes: 64-bit where
// pointers are 64-bit, so that the 64-bit build shows files of any size,
// and 32-bit in the 32-bit build. PELOMAR_OFFSET_BITS forces a width, so
// that the native tests run the arithmetic at both.
#ifndef PELOMAR_OFFSET_BITS
#if UINTPTR_MAX > 0xFFFFFFFFu
#define PELOMAR_OFFSET_BITS 64
#else
#define PELOMAR_OFFSET_BITS 32
#endif
#endif
#if PELOMAR_OFFSET_BITS == 64
using Offset = std::uint64_t;
#else
using Offset = std::uint32_t;
#endif

// Hex digits the widest value of v needs (at least 1).
inline unsigned hex_digits(Offset v) {
    unsigned n = 1;
    while (v >>= 4) ++n;
    return n;
}

// a * b, or the largest Offset where the product does not fit.
inline Offset mul_saturated(Offset a, Offset b) {
    return b && a > Offset(-1) / b ? Offset(-1) : Offset(a * b);
}

}  // namespace pm
