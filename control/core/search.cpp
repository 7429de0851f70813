// Pattern search. The common case is a vector scan that tests sixty-four
// candidate positions at once for the pattern's first and last byte and
// compares the rest only where both match. Data that makes candidates
// cheap to find but expensive to reject (long runs of one byte, say) would
// make that quadratic, so the scan keeps account of its comparisons and
// hands over to the two-way algorithm, linear in every case, once they
// outweigh the bytes scanned.
#include "control/core/search.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define PM_SSE2 1
#define PM_TARGET_SSE2 __attribute__((target("sse2")))
#else
#define PM_SSE2 0
#define PM_TARGET_SSE2
#endif

namespace pm {

namespace detail {

namespace {

// Comparisons allowed before the scan gives up on candidates: a fixed
// allowance, so that short searches never switch, and then a few per byte
// scanned, so that the total stays linear.
constexpr std::size_t verify_allowance = 1 << 16;
constexpr std::size_t verify_per_byte = 4;
// How far ahead of the scan the next cache lines are asked for.
constexpr std::size_t prefetch_distance = 640;

// The maximal suffix of x under the byte order (or its reverse) and the
// period of that suffix; the start of the suffix minus one is returned.
std::ptrdiff_t max_suffix(const std::uint8_t* x, std::ptrdiff_t m, bool reversed,
                          std::ptrdiff_t* period) {
    std::ptrdiff_t ms = -1, j = 0, k = 1, p = 1;
    while (j + k < m) {
        std::uint8_t a = x[j + k], b = x[ms + k];
        if (reversed ? a > b : a < b) {
            j += k;
            k = 1;
            p = j - ms;
        } else if (a == b) {
            if (k != p) {
                ++k;
            } else {
                j += p;
                k = 1;
            }
        } else {
            ms = j;
            j = ms + 1;
            k = p = 1;
        }
    }
    *period = p;
    return ms;
}

bool rest_equal(const std::uint8_t* at, const std::uint8_t* x, std::size_t m) {
    // The first and last bytes already matched.
    return m <= 2 || std::memcmp(at + 1, x + 1, m - 2) == 0;
}

PM_TARGET_SSE2 std::size_t find_byte(const std::uint8_t* y, std::size_t n, std::uint8_t b) {
    std::size_t i = 0;
#if PM_SSE2
    const __m128i v = _mm_set1_epi8(char(b));
    for (; i + 32 <= n; i += 32) {
        __m128i e0 = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y + i)), v);
        __m128i e1 =
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y + i + 16)), v);
        unsigned mask = unsigned(_mm_movemask_epi8(e0)) | unsigned(_mm_movemask_epi8(e1)) << 16;
        if (mask) return i + unsigned(__builtin_ctz(mask));
    }
#endif
    for (; i < n; ++i)
        if (y[i] == b) return i;
    return no_match;
}

#if PM_SSE2
// For sixteen candidates from a: where the first byte is f and the byte
// back places further on is l.
PM_TARGET_SSE2 inline __m128i ends_match(const std::uint8_t* a, std::size_t back, __m128i f,
                                         __m128i l) {
    return _mm_and_si128(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)), f),
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + back)), l));
}

PM_TARGET_SSE2 inline std::uint32_t bits(__m128i lo, __m128i hi) {
    return std::uint32_t(_mm_movemask_epi8(lo)) | std::uint32_t(_mm_movemask_epi8(hi)) << 16;
}
#endif

}  // namespace

std::size_t two_way(const std::uint8_t* y, std::size_t n, const std::uint8_t* x,
                    std::size_t m) {
    if (m == 0 || m > n) return no_match;
    const std::ptrdiff_t pm_len = std::ptrdiff_t(m);
    const std::ptrdiff_t last = std::ptrdiff_t(n - m);  // last candidate
    std::ptrdiff_t p, q;
    std::ptrdiff_t i = max_suffix(x, pm_len, false, &p);
    std::ptrdiff_t j = max_suffix(x, pm_len, true, &q);
    std::ptrdiff_t ell = i > j ? i : j;  // critical position
    std::ptrdiff_t per = i > j ? p : q;
    std::ptrdiff_t pos = 0;
    if (std::memcmp(x, x + per, std::size_t(ell + 1)) == 0) {
        // Periodic pattern: remember how much of the period still matches.
        std::ptrdiff_t memory = -1;
        while (pos <= last) {
            std::ptrdiff_t k = (ell > memory ? ell : memory) + 1;
            while (k < pm_len && x[k] == y[k + pos]) ++k;
            if (k >= pm_len) {
                k = ell;
                while (k > memory && x[k] == y[k + pos]) --k;
                if (k <= memory) return std::size_t(pos);
                pos += per;
                memory = pm_len - per - 1;
            } else {
                pos += k - ell;
                memory = -1;
            }
        }
    } else {
        per = (ell + 1 > pm_len - ell - 1 ? ell + 1 : pm_len - ell - 1) + 1;
        while (pos <= last) {
            std::ptrdiff_t k = ell + 1;
            while (k < pm_len && x[k] == y[k + pos]) ++k;
            if (k >= pm_len) {
                k = ell;
                while (k >= 0 && x[k] == y[k + pos]) --k;
                if (k < 0) return std::size_t(pos);
                pos += per;
            } else {
                pos += k - ell;
            }
        }
    }
    return no_match;
}

PM_TARGET_SSE2 std::size_t filtered_scan(const std::uint8_t* y, std::size_t n,
                                         const std::uint8_t* x, std::size_t m) {
    if (m == 0 || m > n) return no_match;
    if (m == 1) return find_byte(y, n, x[0]);
    const std::size_t candidates = n - m + 1;
    const std::uint8_t first = x[0], final = x[m - 1];
    std::size_t work = 0;
    std::size_t i = 0;
#if PM_SSE2
    const __m128i vf = _mm_set1_epi8(char(first));
    const __m128i vl = _mm_set1_epi8(char(final));
    const std::size_t back = m - 1;
    // Verifies the candidates of mask (bit k stands for base + k); true when
    // the search is decided, with its answer in *result.
    const auto verify = [&](std::uint32_t mask, std::size_t base, std::size_t* result) {
        for (; mask; mask &= mask - 1) {
            std::size_t pos = base + unsigned(__builtin_ctz(mask));
            if (rest_equal(y + pos, x, m)) {
                *result = pos;
                return true;
            }
            work += m;
            if (work > verify_allowance + verify_per_byte * pos) {
                std::size_t r = two_way(y + pos + 1, n - pos - 1, x, m);
                *result = r == no_match ? no_match : pos + 1 + r;
                return true;
            }
        }
        return false;
    };
    for (; i + 64 <= candidates; i += 64) {
        // Sixty-four candidates per pass, one branch for all of them.
        const std::uint8_t* a = y + i;
        _mm_prefetch(reinterpret_cast<const char*>(a) + prefetch_distance, _MM_HINT_T0);
        __m128i e0 = ends_match(a, back, vf, vl), e1 = ends_match(a + 16, back, vf, vl);
        __m128i e2 = ends_match(a + 32, back, vf, vl), e3 = ends_match(a + 48, back, vf, vl);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(e0, e1), _mm_or_si128(e2, e3))) == 0)
            continue;
        std::size_t result;
        if (verify(bits(e0, e1), i, &result) || verify(bits(e2, e3), i + 32, &result))
            return result;
    }
#endif
    // Fewer than sixty-four candidates left (or no vector unit): one at a time.
    for (; i < candidates; ++i) {
        std::size_t k = find_byte(y + i, candidates - i, first);
        if (k == no_match) break;
        i += k;
        if (y[i + m - 1] == final && rest_equal(y + i, x, m)) return i;
        work += m;
        if (work > verify_allowance + verify_per_byte * i) {
            std::size_t r = two_way(y + i + 1, n - i - 1, x, m);
            return r == no_match ? no_match : i + 1 + r;
        }
    }
    return no_match;
}

}  // namespace detail

bool search(const std::uint8_t* data, std::size_t size, std::size_t start,
            const std::uint8_t* pattern, std::size_t length, std::size_t* found) {
    if (length == 0 || start > size || length > size - start) return false;
    std::size_t r = detail::filtered_scan(data + start, size - start, pattern, length);
    if (r == detail::no_match) return false;
    *found = start + r;
    return true;
}

}  // namespace pm
