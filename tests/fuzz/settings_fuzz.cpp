// Settings values: any text read as a value (as a hand-edited or damaged
// settings file holds it) against a plain reading of the rule, and every
// value written back and read again unchanged.
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "host/core/settings.h"


namespace {

// Blanks, a sign, a lower-case base prefix, then digits of that base;
// modulo 2^32.
std::uint32_t Plain(const std::string& s, std::uint32_t fallback) {
    std::size_t i = s.find_first_not_of(" \t");
    if (i == std::string::npos || s[i] == 0) return fallback;
    bool minus = false;
    if (s[i] == '+' || s[i] == '-') minus = s[i++] == '-';
    unsigned base = 10;
    if (i + 1 < s.size() && s[i] == '0') {
        const char p = s[i + 1];
        base = p == 'x' ? 16 : p == 'o' ? 8 : p == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    std::uint64_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        unsigned d = 99;
        if (c >= '0' && c <= '9') d = unsigned(c - '0');
        else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') d = unsigned((c | 0x20) - 'a' + 10);
        if (d >= base) break;
        v = (v * base + d) & 0xFFFFFFFFu;
    }
    return minus ? std::uint32_t(0u - std::uint32_t(v)) : std::uint32_t(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint32_t value = in.take<std::uint32_t>();
    const std::uint32_t fallback = in.take<std::uint32_t>();

    char text[pm::kProfileValueBytes + 1];
    text[pm::kProfileValueBytes] = '\x7F';
    const unsigned len = pm::format_profile_hex(value, text);
    CHECK(len < pm::kProfileValueBytes && text[len] == 0 && std::strlen(text) == len);
    CHECK(text[pm::kProfileValueBytes] == '\x7F');
    CHECK(pm::parse_profile_int(text, fallback) == value);

    // The rest as a value text, cut at its first zero as the reader sees it.
    std::string s(reinterpret_cast<const char*>(in.rest()), in.rest_size());
    s = s.substr(0, s.find('\0'));
    const std::string copy = s;  // exact size: a read past the zero is caught
    CHECK(pm::parse_profile_int(copy.c_str(), fallback) == Plain(copy, fallback));
    return 0;
}
