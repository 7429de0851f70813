// Pattern search against a naive reference: the lowest match at or after
// the start, on many random inputs over small alphabets (where matches and
// near misses are common), at the very end of the data, and on inputs
// built to defeat the candidate filter.
#include <gtest/gtest.h>

#include <random>
#include <vector>

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

// search and the reference agree; returns the match or no_match.
std::size_t Check(const Bytes& d, std::size_t start, const Bytes& p) {
    std::size_t want = 0, got = 0;
    bool want_hit = Naive(d, start, p, &want);
    bool got_hit = search(d.data(), d.size(), start, p.data(), p.size(), &got);
    EXPECT_EQ(got_hit, want_hit) << "size " << d.size() << " start " << start << " m "
                                 << p.size();
    if (got_hit && want_hit) {
        EXPECT_EQ(got, want);
    }
    // Both stages must agree with the reference on their own, too.
    if (start <= d.size()) {
        std::size_t n = d.size() - start;
        std::size_t expect = want_hit ? want - start : detail::no_match;
        EXPECT_EQ(detail::two_way(d.data() + start, n, p.data(), p.size()), expect);
        EXPECT_EQ(detail::filtered_scan(d.data() + start, n, p.data(), p.size()), expect);
    }
    return want_hit ? want : detail::no_match;
}

Bytes Random(std::mt19937& rng, std::size_t n, unsigned alphabet) {
    Bytes b(n);
    for (auto& x : b) x = std::uint8_t('a' + rng() % alphabet);
    return b;
}

}  // namespace

TEST(Search, WorkedExamples) {
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

TEST(Search, NoMatchForEmptyPatternsAndStartsBeyondTheData) {
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

TEST(Search, RandomInputsAgreeWithTheReference) {
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

TEST(Search, MatchEndingOnTheLastByte) {
    std::mt19937 rng(99);
    for (std::size_t n = 1; n < 80; ++n) {
        for (std::size_t m = 1; m <= n && m <= 20; ++m) {
            Bytes d = Random(rng, n, 26);
            d.back() = '!';  // not in the alphabet: the only match ends here
            Bytes p(d.end() - long(m), d.end());
            EXPECT_EQ(Check(d, 0, p), n - m);
        }
    }
}

TEST(Search, LongPeriodicPatterns) {
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
TEST(Search, AdversarialInputsAgreeWithTheReference) {
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

// Across and past 4 GiB: the match straddling the boundary, the one after
// it, and none from beyond the last. Only the pages near them are touched.
TEST(Search, AcrossAndPastFourGigabytes) {
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
