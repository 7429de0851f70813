// Hex-text table and the hexadecimal digit rule.
#include "control/core/hextext.h"

namespace pm {

char hex_text[769];

static char digit(unsigned d) { return char(d < 10 ? '0' + d : 'A' + d - 10); }

void build_hex_text() {
    for (unsigned n = 0; n < 256; ++n) {
        hex_text[3 * n] = digit(n / 16);
        hex_text[3 * n + 1] = digit(n % 16);
        hex_text[3 * n + 2] = ' ';
    }
    hex_text[768] = 0;
}

std::uint32_t parse_hex(const char* text, std::size_t max_digits) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < max_digits && text[i]; ++i)
        value = 16 * value + digit_value(static_cast<unsigned char>(text[i]));
    return value;
}

void format_hex(std::uint64_t value, unsigned digits, char* out) {
    for (unsigned i = digits; i-- > 0;) {
        out[i] = digit(unsigned(value & 15));
        value >>= 4;
    }
}

}  // namespace pm
