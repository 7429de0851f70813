// Search patterns from the Find dialog's text in its three modes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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
