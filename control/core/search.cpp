// Pattern search. The common case is a vector scan that tests sixty-four
// candidate positions at once for the pattern's first and last byte and
// compares the rest only where both match. Data that makes candidates
// cheap to find but expensive to reject (long runs of one byte, say) would
// make that quadratic, so the scan keeps account of its comparisons and
// hands over to the two-way algorithm, linear in every case, once they
// outweigh the bytes scanned.
//
// The scan comes in three widths: 32-byte AVX2 vectors, 16-byte SSE2
// vectors and one byte at a time. The widest the processor and the system
// support is chosen once, at the first search; every width finds the same
// match.
#include "control/core/search.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define PM_X86 1
#define PM_TARGET_SSE2 __attribute__((target("sse2")))
#define PM_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define PM_X86 0
#endif

namespace pm {

namespace detail {

namespace {

// Comparisons allowed before the scan gives up on candidates: a fixed
// allowance, so that short searches never switch, and then a few per byte
// scanned, so that the total stays linear.
constexpr std::size_t verify_allowance = 1 << 16;
constexpr std::size_t verify_per_byte = 4;

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

// One search's candidates: where the pattern's first and last byte match.
// Verifies them in order and keeps account of the work.
struct Candidates {
    const std::uint8_t* y;
    std::size_t n;
    const std::uint8_t* x;
    std::size_t m;
    std::size_t work = 0;

    std::size_t count() const { return n - m + 1; }

    // Verifies the candidates of mask (bit k stands for base + k); true when
    // the search is decided, with its answer in *result.
    bool decided(std::uint64_t mask, std::size_t base, std::size_t* result) {
        for (; mask; mask &= mask - 1) {
            const std::size_t pos = base + unsigned(__builtin_ctzll(mask));
            if (m <= 2 || std::memcmp(y + pos + 1, x + 1, m - 2) == 0) {
                *result = pos;
                return true;
            }
            work += m;
            if (work > verify_allowance + verify_per_byte * pos) {
                const std::size_t r = two_way(y + pos + 1, n - pos - 1, x, m);
                *result = r == no_match ? no_match : pos + 1 + r;
                return true;
            }
        }
        return false;
    }

    // The candidates from i on, one at a time: the whole scan without a
    // vector unit, and the last few candidates with one.
    std::size_t scan_rest(std::size_t i) {
        std::size_t result;
        for (const std::size_t end = count(); i < end; ++i)
            if (y[i] == x[0] && y[i + m - 1] == x[m - 1] && decided(1, i, &result)) return result;
        return no_match;
    }
};

#if PM_X86
// For sixteen candidates from a: where the first byte is f and the byte
// back places further on is l.
PM_TARGET_SSE2 inline __m128i ends_match(const std::uint8_t* a, std::size_t back, __m128i f,
                                         __m128i l) {
    return _mm_and_si128(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)), f),
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + back)), l));
}

PM_TARGET_SSE2 inline std::uint64_t bits(__m128i e0, __m128i e1, __m128i e2, __m128i e3) {
    const std::uint32_t lo =
        std::uint32_t(_mm_movemask_epi8(e0)) | std::uint32_t(_mm_movemask_epi8(e1)) << 16;
    const std::uint32_t hi =
        std::uint32_t(_mm_movemask_epi8(e2)) | std::uint32_t(_mm_movemask_epi8(e3)) << 16;
    return std::uint64_t(hi) << 32 | lo;
}

PM_TARGET_SSE2 std::size_t scan_sse2(Candidates& c) {
    const __m128i vf = _mm_set1_epi8(char(c.x[0]));
    const __m128i vl = _mm_set1_epi8(char(c.x[c.m - 1]));
    const std::size_t back = c.m - 1, candidates = c.count();
    std::size_t i = 0, result;
    for (; i + 64 <= candidates; i += 64) {
        // Sixty-four candidates per pass, one branch for all of them.
        const std::uint8_t* a = c.y + i;
        __m128i e0 = ends_match(a, back, vf, vl), e1 = ends_match(a + 16, back, vf, vl);
        __m128i e2 = ends_match(a + 32, back, vf, vl), e3 = ends_match(a + 48, back, vf, vl);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(e0, e1), _mm_or_si128(e2, e3))) != 0 &&
            c.decided(bits(e0, e1, e2, e3), i, &result))
            return result;
    }
    return c.scan_rest(i);
}

// The same for thirty-two candidates.
PM_TARGET_AVX2 inline __m256i ends_match(const std::uint8_t* a, std::size_t back, __m256i f,
                                         __m256i l) {
    return _mm256_and_si256(
        _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a)), f),
        _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + back)), l));
}

PM_TARGET_AVX2 inline std::uint64_t bits(__m256i e0, __m256i e1) {
    return std::uint64_t(std::uint32_t(_mm256_movemask_epi8(e1))) << 32 |
           std::uint32_t(_mm256_movemask_epi8(e0));
}

PM_TARGET_AVX2 std::size_t scan_avx2(Candidates& c) {
    const __m256i vf = _mm256_set1_epi8(char(c.x[0]));
    const __m256i vl = _mm256_set1_epi8(char(c.x[c.m - 1]));
    const std::size_t back = c.m - 1, candidates = c.count();
    std::size_t i = 0, result;
    for (; i + 128 <= candidates; i += 128) {
        // A hundred and twenty-eight candidates per pass: at the memory's
        // speed, fewer branches matter more than earlier answers.
        const std::uint8_t* a = c.y + i;
        const __m256i e0 = ends_match(a, back, vf, vl), e1 = ends_match(a + 32, back, vf, vl);
        const __m256i e2 = ends_match(a + 64, back, vf, vl), e3 = ends_match(a + 96, back, vf, vl);
        const __m256i any = _mm256_or_si256(_mm256_or_si256(e0, e1), _mm256_or_si256(e2, e3));
        if (!_mm256_testz_si256(any, any) &&
            (c.decided(bits(e0, e1), i, &result) || c.decided(bits(e2, e3), i + 64, &result)))
            return result;
    }
    return c.scan_rest(i);
}

ScanPath detect_scan_path() {
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return ScanPath::scalar;
    const bool sse2 = d & bit_SSE2;
    // AVX needs the system to save the 256-bit registers: OSXSAVE, and
    // XCR0 with the SSE and AVX state bits.
    if (sse2 && (c & bit_OSXSAVE) && (c & bit_AVX)) {
        unsigned xcr0_lo, xcr0_hi;
        __asm__ volatile("xgetbv" : "=a"(xcr0_lo), "=d"(xcr0_hi) : "c"(0));
        unsigned a7, b7, c7, d7;
        if ((xcr0_lo & 6) == 6 && __get_cpuid_count(7, 0, &a7, &b7, &c7, &d7) && (b7 & bit_AVX2))
            return ScanPath::avx2;
    }
    return sse2 ? ScanPath::sse2 : ScanPath::scalar;
}
#else
ScanPath detect_scan_path() { return ScanPath::scalar; }
#endif

}  // namespace

ScanPath chosen_scan_path() {
    static const ScanPath chosen = detect_scan_path();
    return chosen;
}

bool scan_path_available(ScanPath path) { return path <= chosen_scan_path(); }

const char* scan_path_name(ScanPath path) {
    switch (path) {
    case ScanPath::avx2: return "AVX2";
    case ScanPath::sse2: return "SSE2";
    default: return "scalar";
    }
}

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

std::size_t filtered_scan(ScanPath path, const std::uint8_t* y, std::size_t n,
                          const std::uint8_t* x, std::size_t m) {
    if (m == 0 || m > n || !scan_path_available(path)) return no_match;
    Candidates c{y, n, x, m};
#if PM_X86
    if (path == ScanPath::avx2) return scan_avx2(c);
    if (path == ScanPath::sse2) return scan_sse2(c);
#endif
    return c.scan_rest(0);
}

}  // namespace detail

bool search(const std::uint8_t* data, std::size_t size, std::size_t start,
            const std::uint8_t* pattern, std::size_t length, std::size_t* found) {
    if (length == 0 || start > size || length > size - start) return false;
    const std::size_t r = detail::filtered_scan(detail::chosen_scan_path(), data + start,
                                                size - start, pattern, length);
    if (r == detail::no_match) return false;
    *found = start + r;
    return true;
}

}  // namespace pm
