// Pattern search against a naive reference: the lowest match at or after
// the start, on many random inputs over small alphabets (where matches and
// near misses are common), at the very end of the data, and on inputs
// built to defeat the candidate filter. The same inputs go through each
// stage by itself: the scan in every width, and the two-way search. A
// width this machine lacks is reported as skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "control/core/find_step.h"
#include "control/core/search.h"
#include "large_offsets.h"

using namespace pm;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The reference: first byte, then the rest from the last byte back.
bool Naive(const Bytes& d, std::size_t start, const Bytes& p, std::size_t* found) {
    if (p.empty() || start + p.size() > d.size()) return false;
    for (std::size_t i = start; i + p.size() <= d.size(); ++i) {
        if (d[i] != p[0]) continue;
        std::size_t k = p.size();
        while (k > 0 && d[i + k - 1] == p[k - 1]) --k;
        if (k == 0) {
            *found = i;
            return true;
        }
    }
    return false;
}

// The stage checked by itself: a width of the scan (ScanPath's order),
// then the two-way search.
constexpr int kTwoWay = 3;
const char* const kStageNames[] = {"scalar", "SSE2", "AVX2", "TwoWay"};

class Search : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        if (GetParam() != kTwoWay && !detail::scan_path_available(detail::ScanPath(GetParam())))
            GTEST_SKIP() << kStageNames[GetParam()] << " scan not run: this machine lacks it";
    }

    // search, the stage and the reference agree; returns the match or no_match.
    std::size_t Check(const Bytes& d, std::size_t start, const Bytes& p) {
        std::size_t want = 0, got = 0;
        const bool want_hit = Naive(d, start, p, &want);
        const std::string what = "size " + std::to_string(d.size()) + " start " +
                                 std::to_string(start) + " m " + std::to_string(p.size());
        EXPECT_EQ(search(d.data(), d.size(), start, p.data(), p.size(), &got), want_hit) << what;
        if (want_hit) EXPECT_EQ(got, want) << what;
        if (start > d.size()) return detail::no_match;
        const std::uint8_t* y = d.data() + start;
        const std::size_t n = d.size() - start;
        EXPECT_EQ(GetParam() == kTwoWay
                      ? detail::two_way(y, n, p.data(), p.size())
                      : detail::filtered_scan(detail::ScanPath(GetParam()), y, n, p.data(), p.size()),
                  want_hit ? want - start : detail::no_match)
            << what;
        return want_hit ? want : detail::no_match;
    }
};

Bytes Random(std::mt19937& rng, std::size_t n, unsigned alphabet) {
    Bytes b(n);
    for (auto& x : b) x = std::uint8_t('a' + rng() % alphabet);
    return b;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Stages, Search, ::testing::Range(0, 4),
                         [](const ::testing::TestParamInfo<int>& i) { return kStageNames[i.param]; });

TEST_P(Search, WorkedExamples) {
    Bytes d{0x61, 0x61, 0x61};
    EXPECT_EQ(Check(d, 0, {0x61, 0x61}), 0u);
    EXPECT_EQ(Check(d, 1, {0x61, 0x61}), 1u);
    EXPECT_EQ(Check(d, 2, {0x61, 0x61}), detail::no_match);
    EXPECT_EQ(Check(d, 0, {0x41}), detail::no_match);  // no case folding
    Bytes at100(300, 0);
    at100[100] = 'x';
    at100[101] = 'y';
    EXPECT_EQ(Check(at100, 0, {'x', 'y'}), 100u);
    EXPECT_EQ(Check(at100, 101, {'x', 'y'}), detail::no_match);
}

TEST(SearchEntry, NoMatchForEmptyPatternsAndStartsBeyondTheData) {
    Bytes d{1, 2, 3};
    std::size_t found = 77;
    EXPECT_FALSE(search(d.data(), 3, 0, d.data(), 0, &found));
    EXPECT_FALSE(search(d.data(), 3, 4, d.data(), 1, &found));
    EXPECT_FALSE(search(d.data(), 3, ~std::size_t(0), d.data(), 2, &found));
    EXPECT_FALSE(search(d.data(), 2, 0, d.data(), 3, &found));  // longer than the data
    EXPECT_EQ(found, 77u);
    EXPECT_TRUE(search(d.data(), 3, 0, d.data(), 3, &found));
    EXPECT_EQ(found, 0u);
}

TEST_P(Search, RandomInputsAgreeWithTheReference) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 20000; ++round) {
        unsigned alphabet = 1 + rng() % 4;
        std::size_t n = rng() % 200;
        std::size_t m = 1 + rng() % 12;
        Bytes d = Random(rng, n, alphabet);
        Bytes p;
        if (n >= m && rng() % 2) {
            // Take the pattern from the data, often from its very end.
            std::size_t at = rng() % 3 == 0 ? n - m : rng() % (n - m + 1);
            p.assign(d.begin() + long(at), d.begin() + long(at + m));
        } else {
            p = Random(rng, m, alphabet);
        }
        std::size_t start = rng() % (n + 2);
        Check(d, start, p);
    }
}

TEST_P(Search, MatchEndingOnTheLastByte) {
    std::mt19937 rng(99);
    for (std::size_t n = 1; n < 300; n += n < 80 ? 1 : 7) {
        for (std::size_t m = 1; m <= n && m <= 20; ++m) {
            Bytes d = Random(rng, n, 26);
            d.back() = '!';  // not in the alphabet: the only match ends here
            Bytes p(d.end() - long(m), d.end());
            EXPECT_EQ(Check(d, 0, p), n - m);
        }
    }
}

TEST_P(Search, LongPeriodicPatterns) {
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        // A short word repeated with a few changes gives periodic patterns
        // and data full of near misses.
        Bytes word = Random(rng, 1 + rng() % 4, 2);
        Bytes d;
        while (d.size() < 400) d.insert(d.end(), word.begin(), word.end());
        Bytes p;
        std::size_t m = 1 + rng() % 40;
        while (p.size() < m) p.insert(p.end(), word.begin(), word.end());
        p.resize(m);
        if (rng() % 2) d[rng() % d.size()] ^= 1;
        if (rng() % 3 == 0) p[rng() % p.size()] ^= 1;
        Check(d, rng() % 50, p);
    }
}

// Every position a candidate, every candidate rejected late: the scan
// must hand over to the linear search and still find the lowest match.
TEST_P(Search, AdversarialInputsAgreeWithTheReference) {
    const std::size_t n = 300000;
    Bytes d(n, 'a');
    Bytes p(101, 'a');
    p[50] = 'b';
    EXPECT_EQ(Check(d, 0, p), detail::no_match);
    d[n - 51] = 'b';  // the only match ends on the last byte
    EXPECT_EQ(Check(d, 0, p), n - 101);
    EXPECT_EQ(Check(d, 12345, p), n - 101);
    // A short pattern whose ends match everywhere: the scan gives up after
    // some sixteen thousand candidates and the two-way search takes over.
    Bytes q(8, 'a');
    q[4] = 'b';
    Bytes all_a(n, 'a');
    EXPECT_EQ(Check(all_a, 0, q), detail::no_match);
    all_a[n - 4] = 'b';
    EXPECT_EQ(Check(all_a, 0, q), n - 8);
}

TEST(Search, StepsForwardAndBackwardWrappingOnce) {
    Bytes d(20000, 'a');
    for (std::size_t at : {3u, 9000u, 19990u}) d[at] = 'x';
    const Bytes p{'x', 'a'};
    Offset next = 0, at = 0;
    const Offset forward[] = {3, 9000, 19990, 3};
    for (Offset want : forward) {
        ASSERT_TRUE(find_step(d.data(), d.size(), &next, p.data(), p.size(), false, &at));
        EXPECT_EQ(at, want);
    }
    const Offset backward[] = {19990, 9000, 3, 19990};  // from the hit at 3: wraps to the end
    for (Offset want : backward) {
        ASSERT_TRUE(find_step(d.data(), d.size(), &next, p.data(), p.size(), true, &at));
        EXPECT_EQ(at, want);
        EXPECT_EQ(next, want + 1);
    }
    const Bytes missing{'y'};
    EXPECT_FALSE(find_step(d.data(), d.size(), &next, missing.data(), 1, true, &at));
    EXPECT_EQ(next, 0u);
}

TEST(Search, LastMatchAgreesWithTheReference) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        Bytes d(rng() % 9000), p(1 + rng() % 4);
        for (auto& b : d) b = std::uint8_t('a' + rng() % 2);
        for (auto& b : p) b = std::uint8_t('a' + rng() % 2);
        const Offset before = d.empty() ? 0 : rng() % (d.size() + 1);
        long want = -1;
        for (std::size_t i = 0; i < before && i + p.size() <= d.size(); ++i)
            if (std::equal(p.begin(), p.end(), d.begin() + long(i))) want = long(i);
        Offset got = 0;
        const bool hit = search_last(d.data(), d.size(), before, p.data(), p.size(), &got);
        ASSERT_EQ(hit ? long(got) : -1, want) << round;
    }
}

// Across and past 4 GiB: the match straddling the boundary, the one after
// it, and none from beyond the last. Only the pages near them are touched.
TEST(SearchEntry, AcrossAndPastFourGigabytes) {
    SparseBlock block(kPast4GiB);
    ASSERT_TRUE(block.data());
    const Bytes p = {'P', 'E', 'L', 'O', 'M', 'A', 'R'};
    const std::uint64_t across = (1ull << 32) - 3, past = (1ull << 32) + 4099;
    std::copy(p.begin(), p.end(), block.data() + across);
    std::copy(p.begin(), p.end(), block.data() + past);
    const std::size_t size = std::size_t(block.size());
    std::size_t found = 0;
    ASSERT_TRUE(search(block.data(), size, across - 4000, p.data(), p.size(), &found));
    EXPECT_EQ(found, across);
    ASSERT_TRUE(search(block.data(), size, across + 1, p.data(), p.size(), &found));
    EXPECT_EQ(found, past);
    EXPECT_FALSE(search(block.data(), size, past + 1, p.data(), p.size(), &found));
    EXPECT_FALSE(search(block.data(), size, size - 6, p.data(), p.size(), &found));
}
