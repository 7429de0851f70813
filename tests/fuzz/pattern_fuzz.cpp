// Pattern building from the Find dialog's text: every mode into a block of
// exactly the promised size, checked against a direct encoding of each unit
// and the digit rule's table.
#include <cstdlib>
#include <vector>

#include "control/core/hextext.h"
#include "control/core/pattern.h"
#include "digit_rule.h"
#include "fuzz_input.h"


namespace {

void Encode8(unsigned u, std::vector<std::uint8_t>& out) {
    if (u < 0x80) {
        out.push_back(std::uint8_t(u));
    } else if (u < 0x800) {
        out.push_back(std::uint8_t(0xC0 + u / 64));
        out.push_back(std::uint8_t(0x80 + u % 64));
    } else {
        out.push_back(std::uint8_t(0xE0 + u / 4096));
        out.push_back(std::uint8_t(0x80 + u / 64 % 64));
        out.push_back(std::uint8_t(0x80 + u % 64));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const bool reverse = in.take<std::uint8_t>() & 1;
    const std::size_t n = in.rest_size() / 2 > pm::max_search_text ? pm::max_search_text : in.rest_size() / 2;
    std::vector<std::uint16_t> units(n);
    for (auto& u : units) u = in.take<std::uint16_t>();
    auto at = [&](std::size_t i) { return units[reverse ? n - 1 - i : i]; };

    std::vector<std::uint8_t> want;
    for (std::size_t i = 0; i < n; ++i) Encode8(at(i), want);
    std::vector<std::uint8_t> out(3 * n + (n == 0));
    const std::size_t got8 = pm::utf8_pattern(units.data(), n, reverse, out.data());
    CHECK(got8 == want.size() && std::equal(want.begin(), want.end(), out.begin()));

    std::vector<std::uint8_t> out16(2 * n + (n == 0));
    CHECK(pm::utf16_pattern(units.data(), n, reverse, out16.data()) == 2 * n);
    for (std::size_t i = 0; i < n; ++i) CHECK(out16[2 * i] + 256u * out16[2 * i + 1] == at(i));

    // The same input as hex text of any length, odd ones refused.
    const std::size_t chars = size > 1 ? size - 1 : 0;
    std::vector<char> text(data + (size > 0), data + (size > 0) + chars);
    std::vector<std::uint8_t> bytes(chars / 2 + (chars < 2), 0xEE);
    std::size_t length = 12345;
    const bool ok = pm::hex_pattern(text.data(), chars, reverse, bytes.data(), &length);
    CHECK(ok == (chars % 2 == 0));
    if (!ok) {
        CHECK(length == 12345 && bytes[0] == 0xEE);
        return 0;
    }
    CHECK(length == chars / 2);
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t pair = reverse ? length - 1 - i : i;
        CHECK(bytes[i] == 16 * RuleDigit(std::uint8_t(text[2 * pair])) + RuleDigit(std::uint8_t(text[2 * pair + 1])));
    }
    return 0;
}
