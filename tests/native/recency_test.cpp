// The recency list of modified offsets.
#include <gtest/gtest.h>

#include <random>

#include "control/core/recency.h"

using namespace pm;

namespace {
std::vector<u32> List(const View& v) { return std::vector<u32>(v.recency, v.recency + v.recency_count); }
}  // namespace

TEST(Recency, NewestFirstAndARepeatKeepsItsPlace) {
    View v;
    note_modified(v, 5);
    note_modified(v, 9);
    note_modified(v, 5);
    EXPECT_EQ(List(v), (std::vector<u32>{9, 5}));
    note_modified(v, 0);
    EXPECT_EQ(List(v), (std::vector<u32>{0, 9, 5}));
}

TEST(Recency, TheTwentyFifthOffsetPushesOutTheOldest) {
    View v;
    for (u32 o = 100; o < 124; ++o) note_modified(v, o);
    ASSERT_EQ(v.recency_count, 24u);
    EXPECT_EQ(v.recency[23], 100u);
    note_modified(v, 110);  // listed: nothing moves
    EXPECT_EQ(v.recency[0], 123u);
    EXPECT_EQ(v.recency[13], 110u);
    note_modified(v, 7);
    EXPECT_EQ(v.recency_count, 24u);
    EXPECT_EQ(v.recency[0], 7u);
    EXPECT_EQ(v.recency[23], 101u);  // 100 is gone
    for (u32 i = 0; i < 24; ++i) EXPECT_NE(v.recency[i], 100u);
}

TEST(Recency, RangeMatchesNotingEachOffset) {
    std::mt19937 rng(7);
    for (int run = 0; run < 3000; ++run) {
        View a, b;
        const u32 prior = rng() % 30;
        for (u32 i = 0; i < prior; ++i) {
            const u32 o = rng() % 200;
            note_modified(a, o);
            note_modified(b, o);
        }
        const u32 lo = rng() % 200;
        const u32 hi = lo + rng() % (run % 2 ? 200 : 80);
        note_modified_range(a, lo, hi);
        for (u32 o = lo; o < hi; ++o) note_modified(b, o);
        ASSERT_EQ(List(a), List(b)) << "run " << run << " range " << lo << ".." << hi;
    }
}

TEST(Recency, HugeRangeEndsWithItsLastTwentyFourOffsets) {
    View v;
    note_modified(v, 0xFFFFFFF0u);
    note_modified_range(v, 0, 0xFFFFFFF0u);
    ASSERT_EQ(v.recency_count, 24u);
    EXPECT_EQ(v.recency[0], 0xFFFFFFEFu);
    EXPECT_EQ(v.recency[23], 0xFFFFFFEFu - 23);
}

#if PELOMAR_OFFSET_BITS == 64
TEST(Recency, OffsetsApartByFourGigabytesAreDifferentBytes) {
    View v;
    note_modified(v, 1);
    note_modified(v, 0x100000001ull);
    note_modified_range(v, 0x1FFFFFFFFull, 0x200000001ull);
    ASSERT_EQ(v.recency_count, 4u);
    EXPECT_EQ(v.recency[0], 0x200000000ull);
    EXPECT_EQ(v.recency[1], 0x1FFFFFFFFull);
    EXPECT_EQ(v.recency[2], 0x100000001ull);
    EXPECT_EQ(v.recency[3], 1u);
}
#endif
