// The undo history: the worked examples, the guarded walks, the reserved
// after-snapshot, and random walks checked by what undo and redo must give.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "control/core/history.h"

using pm::History;
using u8 = std::uint8_t;

namespace {

// Records the edit range, writes value over it, records it again: the
// before and after snapshots that typing makes.
void Edit(History& h, std::vector<u8>& data, std::uint32_t at, std::uint32_t length, u8 value) {
    ASSERT_TRUE(h.record(&data[at], length));
    std::memset(&data[at], value, length);
    ASSERT_TRUE(h.record(&data[at], length));
}

int Length(const History& h) {
    int n = 0;
    const pm::HistoryRecord* r = h.current();
    while (r && r->older) r = r->older;
    for (; r; r = r->newer) ++n;
    return n;
}

}  // namespace

TEST(History, NoHistoryBeforeStartDoesNothing) {
    History h;
    std::vector<u8> data(4, 1);
    EXPECT_FALSE(h.started());
    EXPECT_FALSE(h.record(&data[0], 1));
    EXPECT_FALSE(h.reserve(1));
    EXPECT_FALSE(h.undo());
    EXPECT_FALSE(h.redo());
    h.revert_record();
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_EQ(h.can_redo, 0u);
}

TEST(History, StartLeavesOnlyTheEmptyFirstRecord) {
    History h;
    ASSERT_TRUE(h.start());
    const pm::HistoryRecord* first = h.current();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->snapshot, nullptr);
    EXPECT_EQ(first->length, 0u);
    EXPECT_EQ(first->position, nullptr);
    EXPECT_EQ(first->older, nullptr);
    EXPECT_EQ(first->newer, nullptr);
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_EQ(h.can_redo, 0u);
}

TEST(History, TextCharacterOverAnotherUndoesAndRedoes) {
    History h;
    h.start();
    std::vector<u8> data(10, 'x');
    Edit(h, data, 7, 1, 'a');
    EXPECT_EQ(h.can_undo, 1u);
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data[7], 'x');
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_EQ(h.can_redo, 1u);
    EXPECT_TRUE(h.redo());
    EXPECT_EQ(data[7], 'a');
    EXPECT_EQ(h.can_redo, 0u);
    EXPECT_EQ(h.can_undo, 1u);
}

TEST(History, TwoHexDigitsUndoToTheHighNibbleThenTheOriginal) {
    History h;
    h.start();
    std::vector<u8> data(1, 0x00);
    ASSERT_TRUE(h.record(&data[0], 1));  // before
    data[0] = 0x40;
    ASSERT_TRUE(h.record(&data[0], 1));  // after the high digit
    data[0] = 0x41;
    ASSERT_TRUE(h.record(&data[0], 1));  // after the low digit
    EXPECT_EQ(Length(h), 4);
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data[0], 0x40);
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data[0], 0x00);
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_FALSE(h.undo());
    EXPECT_EQ(data[0], 0x00);
    EXPECT_TRUE(h.redo());
    EXPECT_EQ(data[0], 0x40);
    EXPECT_TRUE(h.redo());
    EXPECT_EQ(data[0], 0x41);
    EXPECT_EQ(h.can_redo, 0u);
    EXPECT_FALSE(h.redo());
}

TEST(History, SameLetterOverItselfLeavesNothingToUndo) {
    History h;
    h.start();
    std::vector<u8> data(3, 'q');
    Edit(h, data, 1, 1, 'q');
    EXPECT_FALSE(h.undo());
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_EQ(data, std::vector<u8>(3, 'q'));
}

TEST(History, TwoCharactersUndoNewestFirst) {
    History h;
    h.start();
    std::vector<u8> data(10, '.');
    Edit(h, data, 7, 1, 'a');
    Edit(h, data, 8, 1, 'b');
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data[8], '.');
    EXPECT_EQ(data[7], 'a');
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data[7], '.');
}

TEST(History, OneUndoRestoresAWholeSelection) {
    History h;
    h.start();
    std::vector<u8> data = {1, 2, 3, 4, 5, 6, 7};
    Edit(h, data, 1, 5, 0xEE);
    EXPECT_EQ(h.current()->length, 5u);
    EXPECT_EQ(h.current()->older->length, 5u);
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data, (std::vector<u8>{1, 2, 3, 4, 5, 6, 7}));
}

TEST(History, NewEditAfterUndoKeepsTheUndoneChangeRedoable) {
    History h;
    h.start();
    std::vector<u8> data(4, 0);
    Edit(h, data, 0, 1, 0xAA);
    ASSERT_TRUE(h.undo());
    EXPECT_EQ(data[0], 0);
    Edit(h, data, 2, 1, 0xBB);
    EXPECT_EQ(h.can_redo, 1u);  // a new edit does not clear it
    // Redo passes over the new edit's records and makes the undone change.
    EXPECT_TRUE(h.redo());
    EXPECT_EQ(data, (std::vector<u8>{0xAA, 0, 0xBB, 0}));
    EXPECT_EQ(h.can_redo, 0u);
}

TEST(History, UndoAfterOnlyTheHighDigitRestoresTheByte) {
    History h;
    h.start();
    std::vector<u8> data(1, 0x12);
    ASSERT_TRUE(h.record(&data[0], 1));
    data[0] = 0x52;
    ASSERT_TRUE(h.record(&data[0], 1));
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data[0], 0x12);
    // The low digit then goes onto the restored byte and is undoable.
    data[0] = 0x17;
    ASSERT_TRUE(h.record(&data[0], 1));
    EXPECT_TRUE(h.undo());
    EXPECT_EQ(data[0], 0x12);
}

TEST(History, UndoNeverStepsOntoTheFirstRecord) {
    History h;
    h.start();
    std::vector<u8> data(2, 0);
    // An edit whose after-snapshot is taken back leaves one record, right
    // after the first, with can-undo set.
    ASSERT_TRUE(h.record(&data[0], 1));
    data[0] = 5;
    ASSERT_TRUE(h.record(&data[0], 1));
    h.revert_record();
    data[0] = 9;
    ASSERT_EQ(h.can_undo, 1u);
    EXPECT_FALSE(h.undo());
    ASSERT_NE(h.current(), nullptr);
    EXPECT_NE(h.current()->older, nullptr) << "undo stood on the first record";
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_EQ(data[0], 9);
    // Redo from there and undo again, many times: never onto the first.
    for (int i = 0; i < 4; ++i) {
        h.can_redo = 1;
        h.redo();
        h.undo();
        ASSERT_NE(h.current()->older, nullptr);
    }
}

TEST(History, RevertRecordTakesBackTheNewestRecordOnly) {
    History h;
    h.start();
    std::vector<u8> data = {1, 2, 3};
    Edit(h, data, 0, 1, 7);
    ASSERT_TRUE(h.undo());  // can undo now 0, can redo 1
    ASSERT_TRUE(h.record(&data[1], 2));
    data[1] = data[2] = 0;
    h.revert_record();
    EXPECT_EQ(data, (std::vector<u8>{1, 2, 3}));
    EXPECT_EQ(h.can_undo, 0u);  // as before the record
    EXPECT_EQ(h.can_redo, 1u);
    EXPECT_EQ(Length(h), 3);
    EXPECT_TRUE(h.redo());
    EXPECT_EQ(data[0], 7);
    // The first record itself is never taken back.
    History fresh;
    fresh.start();
    fresh.revert_record();
    EXPECT_TRUE(fresh.started());
}

namespace {
int g_allocations_left = 0;
u8* CountedAllocator(pm::Offset length) {
    if (g_allocations_left <= 0) return nullptr;
    --g_allocations_left;
    return pm::default_snapshot_allocator(length);
}
struct FailingAllocations {
    explicit FailingAllocations(int allowed) {
        g_allocations_left = allowed;
        old = pm::set_snapshot_allocator(CountedAllocator);
    }
    ~FailingAllocations() { pm::set_snapshot_allocator(old); }
    pm::SnapshotAllocator old;
};
}  // namespace

TEST(History, FailedAllocationRecordsNothing) {
    History h;
    h.start();
    std::vector<u8> data(8, 3);
    FailingAllocations fail(0);
    EXPECT_FALSE(h.record(&data[0], 8));
    EXPECT_FALSE(h.reserve(8));
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_EQ(Length(h), 1);
}

TEST(History, ReservedBlockServesTheNextRecordWithoutAllocating) {
    History h;
    h.start();
    std::vector<u8> data = {1, 2, 3, 4};
    {
        FailingAllocations fail(1);
        ASSERT_TRUE(h.reserve(3));
        ASSERT_TRUE(h.reserve(3));  // already held: no second allocation
        data[1] = 9;
        ASSERT_TRUE(h.record(&data[1], 3));
        EXPECT_FALSE(h.record(&data[0], 1));  // nothing left to allocate
    }
    EXPECT_EQ(h.current()->snapshot[0], 9);
    EXPECT_EQ(h.current()->position, &data[1]);
    // A reservation of another length is not used and is freed with the history.
    ASSERT_TRUE(h.reserve(2));
    h.discard();
    EXPECT_FALSE(h.started());
}

TEST(History, DiscardFromTheMiddleFreesEveryRecord) {
    // Leaks would be reported by the sanitizer at exit.
    History h;
    h.start();
    std::vector<u8> data(16, 0);
    for (int i = 0; i < 6; ++i) Edit(h, data, std::uint32_t(i), 2, u8(i + 1));
    h.undo();
    h.undo();
    h.undo();
    h.reserve(4);
    h.discard();
    EXPECT_FALSE(h.started());
    EXPECT_EQ(h.can_undo, 0u);
    EXPECT_EQ(h.can_redo, 0u);
    EXPECT_FALSE(h.undo());
    ASSERT_TRUE(h.start());
    EXPECT_EQ(Length(h), 1);
}

// Random typing, undo and redo, checked by what must hold however the
// records are kept: undo and redo report exactly whether bytes changed and
// agree with their flags, changed bytes can always be undone, and undo to
// the end gives back the original bytes. Redo to the end gives back the
// newest bytes where no edit was made while a redo was waiting (even
// seeds): an edit inserted before undone records makes the list a merge of
// two lines of changes, and redo then replays both.
TEST(History, RandomWalksUndoToTheOriginalAndRedoToTheNewest) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        const std::uint32_t size = 1 + rng() % 24;
        std::vector<u8> data(size);
        for (auto& b : data) b = u8(rng() % 4);  // few values: many equal snapshots
        const std::vector<u8> original = data;
        const bool one_line = seed % 2 == 0;
        History h;
        h.start();
        const auto step = [&](bool forward) {
            const std::vector<u8> before = data;
            const std::uint32_t could = forward ? h.can_redo : h.can_undo, other = forward ? h.can_undo : h.can_redo;
            const bool changed = forward ? h.redo() : h.undo();
            ASSERT_EQ(changed, data != before);
            if (!could) {
                ASSERT_TRUE(!changed && (forward ? h.can_undo : h.can_redo) == other);
            } else if (changed) {
                ASSERT_EQ(forward ? h.can_undo : h.can_redo, 1u);
            } else {
                ASSERT_EQ(forward ? h.can_redo : h.can_undo, 0u);
            }
        };
        for (int n = 0; n < 600 && !HasFatalFailure(); ++n) {
            SCOPED_TRACE("step " + std::to_string(n));
            unsigned op = rng() % 10;
            if (op < 4 && one_line && h.can_redo) op = 9;
            const std::uint32_t at = rng() % size, length = 1 + rng() % (size - at);
            if (op < 4) {  // a character or a high digit: before, write, after
                const u8 v = u8(rng() % 4);
                Edit(h, data, at, length, v);
                if (rng() % 2) {  // a low digit, on the same bytes
                    for (std::uint32_t i = 0; i < length; ++i) data[at + i] = u8(data[at + i] ^ 1);
                    ASSERT_TRUE(h.record(&data[at], length));
                }
            } else if (op == 4) {  // an edit refused for want of memory
                const std::uint32_t could_undo = h.can_undo;
                const int records = Length(h);
                ASSERT_TRUE(h.record(&data[at], length));
                h.revert_record();
                EXPECT_EQ(h.can_undo, could_undo);
                EXPECT_EQ(Length(h), records);
            } else {
                step(op >= 7);
            }
            ASSERT_TRUE(data == original || h.can_undo) << "changed bytes cannot be undone";
            if (n % 50 == 49) {
                while (h.can_redo && !HasFatalFailure()) step(true);
                const std::vector<u8> newest = data;
                while (h.can_undo && !HasFatalFailure()) step(false);
                ASSERT_EQ(data, original);
                while (h.can_redo && !HasFatalFailure()) step(true);
                ASSERT_TRUE(!one_line || data == newest) << "redo to the end misses the newest bytes";
            }
        }
    }
}
