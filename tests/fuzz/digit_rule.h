// The value of every character under the digit rule for typed hex input,
// worked out by hand from the rule's words, not from the code: below "A"
// a character counts its low four bits, from "A" up (c + 9) AND 0x0F, so
// "A"-"F" and "a"-"f" count 10-15, "G" 0 and "@" 0. Row r holds the
// characters 16r to 16r + 15.
#pragma once

inline unsigned RuleDigit(unsigned char c) {
    static const char rows[16][17] = {
        "0123456789ABCDEF", "0123456789ABCDEF", "0123456789ABCDEF", "0123456789ABCDEF",
        "0ABCDEF012345678", "9ABCDEF012345678", "9ABCDEF012345678", "9ABCDEF012345678",
        "9ABCDEF012345678", "9ABCDEF012345678", "9ABCDEF012345678", "9ABCDEF012345678",
        "9ABCDEF012345678", "9ABCDEF012345678", "9ABCDEF012345678", "9ABCDEF012345678",
    };
    const char d = rows[c / 16][c % 16];
    return d <= '9' ? unsigned(d - '0') : unsigned(d - 'A' + 10);
}
