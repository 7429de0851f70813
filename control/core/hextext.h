// The hex-text table and the digit rule for typed hexadecimal input.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pm {

// 256 entries of two upper-case hex digits and a space, then a zero byte.
extern char hex_text[769];
void build_hex_text();

// The digit rule: c AND 0x0F below 'A', (c + 9) AND 0x0F from 'A' up.
// Nothing is refused: a space or 'G' counts 0.
inline unsigned digit_value(unsigned char c) {
    return c < 'A' ? (c & 0x0Fu) : ((c + 9u) & 0x0Fu);
}

// Reads up to max_digits characters of text (stopping at a zero byte),
// most significant first, by the digit rule. An empty text is 0.
std::uint32_t parse_hex(const char* text, std::size_t max_digits = 8);

// True for '0'-'9', 'A'-'F', 'a'-'f'; value in *v.
inline bool hex_digit(unsigned c, unsigned* v) {
    if (c >= '0' && c <= '9') { *v = c - '0'; return true; }
    if (c >= 'A' && c <= 'F') { *v = c - 'A' + 10; return true; }
    if (c >= 'a' && c <= 'f') { *v = c - 'a' + 10; return true; }
    return false;
}

// Writes the low digits hex digits of value, upper case, leading zeros
// included (no terminator).
void format_hex(std::uint64_t value, unsigned digits, char* out);

}  // namespace pm
