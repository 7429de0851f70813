// Turning the Find dialog's text into the byte pattern it searches for:
// UTF-8 or UTF-16 from the text's code units, or bytes from pairs of hex
// digits; each optionally reversed first.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pm {

enum SearchMode : std::uint32_t { search_utf8 = 1, search_utf16 = 2, search_hex = 3 };

// The longest search text, in characters, and the room its longest
// encoding needs (three UTF-8 bytes per code unit).
constexpr std::size_t max_search_text = 511;
constexpr std::size_t max_pattern_bytes = 3 * max_search_text;

// Each code unit encoded by itself (a surrogate is a unit like any other:
// three bytes). out holds at least 3 * n bytes. Returns the byte count.
std::size_t utf8_pattern(const std::uint16_t* text, std::size_t n, bool reverse,
                         std::uint8_t* out);

// The code units, low byte first. out holds at least 2 * n bytes.
std::size_t utf16_pattern(const std::uint16_t* text, std::size_t n, bool reverse,
                          std::uint8_t* out);

// Two characters per byte by the digit rule; reverse swaps whole pairs.
// An odd number of characters is refused (false, nothing written).
// out holds at least n / 2 bytes.
bool hex_pattern(const char* text, std::size_t n, bool reverse, std::uint8_t* out,
                 std::size_t* length);

}  // namespace pm
