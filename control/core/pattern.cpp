// Search pattern building.
#include "control/core/pattern.h"

#include "control/core/hextext.h"

namespace pm {

std::size_t utf8_pattern(const std::uint16_t* text, std::size_t n, bool reverse,
                         std::uint8_t* out) {
    std::uint8_t* o = out;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned u = text[reverse ? n - 1 - i : i];
        if (u < 0x80) {
            *o++ = std::uint8_t(u);
        } else if (u < 0x800) {
            *o++ = std::uint8_t(0xC0 | (u >> 6));
            *o++ = std::uint8_t(0x80 | (u & 0x3F));
        } else {
            *o++ = std::uint8_t(0xE0 | (u >> 12));
            *o++ = std::uint8_t(0x80 | ((u >> 6) & 0x3F));
            *o++ = std::uint8_t(0x80 | (u & 0x3F));
        }
    }
    return std::size_t(o - out);
}

std::size_t utf16_pattern(const std::uint16_t* text, std::size_t n, bool reverse,
                          std::uint8_t* out) {
    for (std::size_t i = 0; i < n; ++i) {
        unsigned u = text[reverse ? n - 1 - i : i];
        out[2 * i] = std::uint8_t(u & 0xFF);
        out[2 * i + 1] = std::uint8_t(u >> 8);
    }
    return 2 * n;
}

bool hex_pattern(const char* text, std::size_t n, bool reverse, std::uint8_t* out,
                 std::size_t* length) {
    if (n % 2) return false;
    std::size_t bytes = n / 2;
    for (std::size_t i = 0; i < bytes; ++i) {
        const char* pair = text + 2 * (reverse ? bytes - 1 - i : i);
        out[i] = std::uint8_t(16 * digit_value(static_cast<unsigned char>(pair[0])) +
                              digit_value(static_cast<unsigned char>(pair[1])));
    }
    *length = bytes;
    return true;
}

}  // namespace pm
