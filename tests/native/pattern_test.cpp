// Search patterns from the Find dialog's text in its three modes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "control/core/hex_input.h"
#include "control/core/pattern.h"

using namespace pm;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Utf8(std::u16string s, bool reverse) {
    std::vector<std::uint16_t> units(s.begin(), s.end());
    Bytes out(3 * units.size() + 1, 0xEE);
    out.resize(utf8_pattern(units.data(), units.size(), reverse, out.data()));
    return out;
}

Bytes Utf16(std::u16string s, bool reverse) {
    std::vector<std::uint16_t> units(s.begin(), s.end());
    Bytes out(2 * units.size());
    EXPECT_EQ(utf16_pattern(units.data(), units.size(), reverse, out.data()), out.size());
    return out;
}

// Empty when the text is refused.
Bytes Hex(const char* text, bool reverse, bool* ok = nullptr) {
    std::size_t n = std::strlen(text), len = 12345;
    Bytes out(n / 2);
    bool accepted = hex_pattern(text, n, reverse, out.data(), &len);
    if (ok) *ok = accepted;
    if (!accepted) {
        EXPECT_EQ(len, 12345u);
        return {};
    }
    EXPECT_EQ(len, n / 2);
    return out;
}

}  // namespace

TEST(Pattern, Utf8) {
    struct Row {
        std::u16string text;
        bool reverse;
        Bytes bytes;
    } rows[] = {
        {u"ab", false, {0x61, 0x62}},
        {u"ab", true, {0x62, 0x61}},
        {u"\u00e9", false, {0xC3, 0xA9}},
        {u"\uac00", false, {0xEA, 0xB0, 0x80}},
        {u"\u20ac", false, {0xE2, 0x82, 0xAC}},
        {u"\u007f\u0080\u07ff\u0800\uffff", false,
         {0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF}},
        // A surrogate pair is two units of three bytes each, in both orders.
        {u"\U0001F600", false, {0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}},
        {u"\U0001F600", true, {0xED, 0xB8, 0x80, 0xED, 0xA0, 0xBD}},
        {u"x\u00e9", true, {0xC3, 0xA9, 0x78}},
    };
    for (const Row& r : rows) EXPECT_EQ(Utf8(r.text, r.reverse), r.bytes) << r.reverse;
}

TEST(Pattern, Utf16) {
    EXPECT_EQ(Utf16(u"ab", false), (Bytes{0x61, 0x00, 0x62, 0x00}));
    EXPECT_EQ(Utf16(u"ab", true), (Bytes{0x62, 0x00, 0x61, 0x00}));
    EXPECT_EQ(Utf16(u"\u20ac\U0001F600", false), (Bytes{0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(Utf16(u"\u20ac\U0001F600", true), (Bytes{0x00, 0xDE, 0x3D, 0xD8, 0xAC, 0x20}));
}

TEST(Pattern, HexDigitPairs) {
    EXPECT_EQ(Hex("0a0B", false), (Bytes{0x0A, 0x0B}));
    EXPECT_EQ(Hex("11223344", true), (Bytes{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(Hex("112233", true), (Bytes{0x33, 0x22, 0x11}));
    EXPECT_EQ(Hex("ffFF", false), (Bytes{0xFF, 0xFF}));
    // Nothing is refused: the digit rule gives every character a value.
    EXPECT_EQ(Hex(" 1G2Z3", false, nullptr).size(), 3u);
    EXPECT_EQ(Hex(" 1G2Z3ag", false), (Bytes{0x01, 0x02, 0x33, 0xA0}));
}

TEST(Pattern, HexRefusesAnOddNumberOfCharacters) {
    for (bool reverse : {false, true}) {
        bool ok = true;
        EXPECT_TRUE(Hex("ABC", reverse, &ok).empty());
        EXPECT_FALSE(ok);
        Hex("A", reverse, &ok);
        EXPECT_FALSE(ok);
    }
}

// Typed hex in the dialogs: spaces ignored, "0x" accepted, anything else refused by name.
TEST(Pattern, HexInputIgnoresSpacesTakesZeroXAndNamesWhatItRefuses) {
    std::uint8_t digits[32], bytes[16];
    const std::string spaced = "47 4C\t49";
    HexInput in = read_hex_input(spaced.data(), spaced.size(), digits);
    ASSERT_TRUE(in.ok);
    ASSERT_TRUE(hex_input_bytes(digits, in.digits, false, bytes));
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0x47, 0x4C, 0x49}));
    const std::u16string offset = u" 0x2000";
    in = read_hex_input(offset.data(), offset.size(), digits);
    std::uint64_t value = 0;
    ASSERT_TRUE(in.ok && hex_input_number(digits, in.digits, &value));
    EXPECT_EQ(value, 0x2000u);
    const std::u16string bad = u"12\u00e9G";
    in = read_hex_input(bad.data(), bad.size(), digits);
    EXPECT_FALSE(in.ok);
    EXPECT_EQ(in.refused, 0xE9);
    std::uint16_t text[32];
    refused_digit_message('G', text);
    EXPECT_EQ(std::u16string(text, text + 18), u"Not a hex digit: G");
    refused_digit_message(1, text);
    EXPECT_EQ(std::u16string(text, text + 23), u"Not a hex digit: U+0001");
    EXPECT_FALSE(hex_input_bytes(digits, 3, false, bytes)) << "one more number needed";
    const std::string x2 = "0x0x1";  // only one 0x per group
    EXPECT_FALSE(read_hex_input(x2.data(), x2.size(), digits).ok);
    // Sixteen digits fill 64 bits, leading zeros aside; seventeen do not.
    const std::string big = "00FFFFFFFFFFFFFFFF", over = "1FFFFFFFFFFFFFFFF";
    in = read_hex_input(big.data(), big.size(), digits);
    EXPECT_TRUE(hex_input_number(digits, in.digits, &value));
    in = read_hex_input(over.data(), over.size(), digits);
    EXPECT_FALSE(hex_input_number(digits, in.digits, &value));
    std::uint32_t small = 0;
    EXPECT_FALSE(hex_input_number(digits, 9, &small));
}
