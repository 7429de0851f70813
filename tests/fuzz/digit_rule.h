// Every character's value under the digit rule for typed hex, written out
// by hand from the rule's words (below "A" c AND 0x0F, from "A" up (c + 9)
// AND 0x0F), not from the code. Row r holds the characters 16r to 16r + 15.
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
