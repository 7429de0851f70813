// Search against the plainest possible reference: every start position
// compared byte for byte. Both stages are also checked by themselves, the
// scan in every width this machine runs.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "control/core/search.h"
#include "fuzz_input.h"


namespace {

std::size_t Naive(const std::uint8_t* y, std::size_t n, std::size_t start, const std::uint8_t* x,
                  std::size_t m) {
    if (m == 0 || m > n) return pm::detail::no_match;
    for (std::size_t p = start; p + m <= n; ++p)
        if (std::memcmp(y + p, x, m) == 0) return p;
    return pm::detail::no_match;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t shape = in.take<std::uint8_t>();
    std::size_t m = in.take<std::uint8_t>();
    const std::size_t start = in.take<std::uint16_t>();
    // A small alphabet makes repeats and near misses common.
    const std::uint8_t mask = (shape & 1) ? 0x03 : 0xFF;
    if (m > in.rest_size()) m = in.rest_size();
    std::vector<std::uint8_t> pattern(in.rest(), in.rest() + m);
    std::vector<std::uint8_t> hay(in.rest() + m, in.rest() + in.rest_size());
    for (auto& b : pattern) b &= mask;
    for (auto& b : hay) b &= mask;
    // Repeat the haystack to reach the vector paths with long inputs.
    if (shape & 2) {
        const std::size_t once = hay.size();
        for (unsigned k = 0; k < 20 && once; ++k) hay.insert(hay.end(), hay.begin(), hay.begin() + once);
    }
    // Exact-size copies so that any read past either end is caught.
    std::vector<std::uint8_t> y(hay), x(pattern);
    const std::uint8_t* yp = y.empty() ? nullptr : y.data();
    const std::uint8_t* xp = x.empty() ? nullptr : x.data();

    const std::size_t want = start <= y.size() ? Naive(yp, y.size(), start, xp, m) : pm::detail::no_match;
    std::size_t found = 0;
    const bool hit = pm::search(yp, y.size(), start, xp, m, &found);
    CHECK(hit == (want != pm::detail::no_match));
    if (hit) CHECK(found == want);

    if (m > 0) {
        const std::size_t from0 = Naive(yp, y.size(), 0, xp, m);
        CHECK(pm::detail::two_way(yp, y.size(), xp, m) == from0);
        for (auto path : {pm::detail::ScanPath::scalar, pm::detail::ScanPath::sse2, pm::detail::ScanPath::avx2})
            if (pm::detail::scan_path_available(path))
                CHECK(pm::detail::filtered_scan(path, yp, y.size(), xp, m) == from0);
    }
    return 0;
}
