// Hexadecimal input typed into a dialog field (the Find dialog's hex mode,
// the Select dialog, the host's offset box): white space is ignored, each
// group may start with "0x" or "0X", and any other character that is not a
// hex digit refuses the whole input, naming the character. Header only, so
// that the host reads its field by the same rule without the control's core.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pm {

struct HexInput {
    bool ok;
    std::size_t digits;    // digit values written, when ok
    std::uint16_t refused; // the first character that is not a hex digit, when not ok
};

template <class Ch>
inline bool hex_input_space(Ch c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

template <class Ch>
inline int hex_input_digit(Ch c) {
    if (c >= '0' && c <= '9') return int(c - '0');
    if (c >= 'A' && c <= 'F') return int(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return int(c - 'a' + 10);
    return -1;
}

// The digit values (0 to 15) of text[0, n), in order, into digits (room
// for n). Ch is char or a 16-bit code unit.
template <class Ch>
HexInput read_hex_input(const Ch* text, std::size_t n, std::uint8_t* digits) {
    HexInput in{true, 0, 0};
    bool group_start = true;
    for (std::size_t i = 0; i < n; ++i) {
        const Ch c = text[i];
        if (hex_input_space(c)) {
            group_start = true;
            continue;
        }
        if (group_start && c == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            ++i;
            group_start = false;
            continue;
        }
        group_start = false;
        const int d = hex_input_digit(c);
        if (d < 0) {
            in.ok = false;
            in.refused = std::uint16_t(c);
            return in;
        }
        digits[in.digits++] = std::uint8_t(d);
    }
    return in;
}

// The number the digits spell, most significant first. False when it does
// not fit in T (leading zeros do not count).
template <class T>
bool hex_input_number(const std::uint8_t* digits, std::size_t count, T* value) {
    T v = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (v > T(~T(0)) >> 4) return false;
        v = T(v * 16 + digits[i]);
    }
    *value = v;
    return true;
}

// Pairs of digits as bytes, the pairs in reverse order when reverse is set.
// False for an odd count (nothing written).
inline bool hex_input_bytes(const std::uint8_t* digits, std::size_t count, bool reverse,
                            std::uint8_t* out) {
    if (count % 2) return false;
    const std::size_t bytes = count / 2;
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::uint8_t* pair = digits + 2 * (reverse ? bytes - 1 - i : i);
        out[i] = std::uint8_t(pair[0] * 16 + pair[1]);
    }
    return true;
}

// The messages of refused input, as UTF-16 with a terminating zero.
constexpr char kNeedOneMoreNumber[] = "Need one more number";
constexpr char kNeedSmallerNumber[] = "Need a smaller number";
// "Not a hex digit: G", or the code point's number for an invisible one
// ("Not a hex digit: U+0001"). out holds at least 32 units.
inline void refused_digit_message(std::uint16_t c, std::uint16_t* out) {
    static const char head[] = "Not a hex digit: ";
    std::size_t k = 0;
    for (const char* h = head; *h; ++h) out[k++] = std::uint16_t(*h);
    if (c < 0x20 || c == 0x7F) {
        static const char hex[] = "0123456789ABCDEF";
        out[k++] = 'U';
        out[k++] = '+';
        for (int shift = 12; shift >= 0; shift -= 4) out[k++] = std::uint16_t(hex[(c >> shift) & 15]);
    } else {
        out[k++] = c;
    }
    out[k] = 0;
}

}  // namespace pm
