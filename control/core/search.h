// Byte pattern search in a control's data: the lowest match at or after a
// start index, byte for byte.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pm {

// The lowest p with start <= p and p + length <= size at which data holds
// the pattern; false when there is none (and for an empty pattern).
// Runs in time linear in size and length, whatever the bytes.
bool search(const std::uint8_t* data, std::size_t size, std::size_t start,
            const std::uint8_t* pattern, std::size_t length, std::size_t* found);

namespace detail {
constexpr std::size_t no_match = ~std::size_t(0);

// The widths of the candidate scan, narrowest first. Each finds the same
// match; search uses the widest the machine runs.
enum class ScanPath { scalar, sse2, avx2 };
ScanPath chosen_scan_path();
bool scan_path_available(ScanPath path);
const char* scan_path_name(ScanPath path);

// The two stages of search, reachable by themselves for testing: the
// scan for the first and last byte of the pattern (which falls back to the
// two-way search when verifying candidates costs too much), in the given
// width (no_match when the machine lacks it), and the two-way search. Both
// return the lowest match in y[0, n), or no_match.
std::size_t filtered_scan(ScanPath path, const std::uint8_t* y, std::size_t n,
                          const std::uint8_t* x, std::size_t m);
std::size_t two_way(const std::uint8_t* y, std::size_t n, const std::uint8_t* x,
                    std::size_t m);
}  // namespace detail

}  // namespace pm
