// Typing into the edit range: bytes, nibble phases, snapshots, and the
// cases where nothing may be written.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "control/core/edit.h"
#include "control/core/layout.h"
#include "control/core/navigate.h"
#include "control/core/paste.h"
#include "large_offsets.h"

using namespace pm;

namespace {

// A view over bytes it owns, 16 per line, with a started history.
struct Editor : View {
    std::vector<u8> bytes;
    explicit Editor(std::vector<u8> b, u32 view = hex_view) : bytes(std::move(b)) {
        data = bytes.empty() ? nullptr : bytes.data();
        data_size = u32(bytes.size());
        own_data = true;
        bytes_per_line = 16;
        rows = 25;
        last_line = last_line_for(data_size, 16);
        active_view = view;
        history.start();
    }
    // What the window does with a character: type, then step on.
    TypeOutcome Type(char ch) {
        const TypeOutcome out = type_char(*this, u8(ch));
        if (out.advance) navigate(*this, key_right, false);
        return out;
    }
    void TypeAll(const std::string& s) {
        for (char ch : s) Type(ch);
    }
};

}  // namespace

TEST(Edit, TwoDigitsReplaceAByteAndStepOn) {
    Editor e({0x41, 0x42, 0x43});
    e.Type('7');
    EXPECT_EQ(e.bytes, (std::vector<u8>{0x71, 0x42, 0x43}));
    EXPECT_EQ(e.caret, 0u);
    EXPECT_EQ(e.nibble_phase, 1u);
    e.Type('F');
    EXPECT_EQ(e.bytes, (std::vector<u8>{0x7F, 0x42, 0x43}));
    EXPECT_EQ(e.caret, 1u);
    EXPECT_EQ(e.anchor, 1u);
    EXPECT_EQ(e.nibble_phase, 0u);
}

TEST(Edit, DigitsFillASelectionAndKeepIt) {
    Editor e({0x00, 0x11, 0x22, 0x33});
    e.anchor = 1;
    e.caret = 3;
    e.TypeAll("AB");
    EXPECT_EQ(e.bytes, (std::vector<u8>{0x00, 0xAB, 0xAB, 0x33}));
    EXPECT_EQ(e.anchor, 1u);
    EXPECT_EQ(e.caret, 3u);
    EXPECT_EQ(e.nibble_phase, 0u);
}

TEST(Edit, LowerCaseDigitsCountAndOtherCharactersDoNot) {
    Editor e({0x00, 0x00});
    e.TypeAll("g z-c");
    EXPECT_EQ(e.bytes[0], 0xC0);
    e.Type('e');
    EXPECT_EQ(e.bytes[0], 0xCE);
    EXPECT_EQ(e.caret, 1u);
}

TEST(Edit, TextViewWritesEveryCodeAndSteps) {
    Editor e({0, 0, 0, 0}, text_view);
    e.Type('A');
    EXPECT_EQ(e.bytes, (std::vector<u8>{0x41, 0, 0, 0}));
    EXPECT_EQ(e.caret, 1u);
    EXPECT_FALSE(e.has_selection());
    e.Type('\b');
    e.Type('\r');
    e.Type(char(0xE9));
    EXPECT_EQ(e.bytes, (std::vector<u8>{0x41, 0x08, 0x0D, 0xE9}));
    EXPECT_EQ(e.caret, 4u);
}

TEST(Edit, TextViewCharacterFillsASelection) {
    Editor e({1, 2, 3, 4, 5, 6}, text_view);
    e.anchor = 5;
    e.caret = 0;
    const TypeOutcome out = e.Type('x');
    EXPECT_TRUE(out.full_repaint);
    EXPECT_EQ(e.bytes, (std::vector<u8>{'x', 'x', 'x', 'x', 'x', 6}));
    EXPECT_EQ(e.caret, 0u);
    EXPECT_EQ(e.anchor, 5u);
    // Two 5-byte snapshots; one undo restores all five.
    EXPECT_EQ(e.history.current()->length, 5u);
    EXPECT_TRUE(e.history.undo());
    EXPECT_EQ(e.bytes, (std::vector<u8>{1, 2, 3, 4, 5, 6}));
}

TEST(Edit, NothingIsWrittenWhereTypingIsBlocked) {
    struct Block {
        const char* name;
        void (*set)(Editor&);
    };
    const Block blocks[] = {
        {"read-only 1", [](Editor& e) { e.read_only = 1; }},
        {"ctrl held", [](Editor& e) { e.control_down = 1; }},
        {"placeholder shown", [](Editor& e) { e.own_data = false; }},
        {"caret at the end", [](Editor& e) { e.anchor = e.caret = e.data_size; }},
        {"selection past the data", [](Editor& e) { e.anchor = 1; e.caret = e.data_size + 3; }},
    };
    for (const Block& b : blocks) {
        for (u32 view : {u32(hex_view), u32(text_view)}) {
            SCOPED_TRACE(std::string(b.name) + (view ? " text" : " hex"));
            Editor e({0x10, 0x20, 0x30}, view);
            b.set(e);
            const TypeOutcome out = e.Type('5');
            EXPECT_FALSE(out.changed);
            // Only read-only refuses a byte that would be written (and beeps).
            EXPECT_EQ(out.refused, e.read_only == 1);
            EXPECT_EQ(e.bytes, (std::vector<u8>{0x10, 0x20, 0x30}));
            EXPECT_EQ(e.history.can_undo, 0u);
            EXPECT_EQ(e.recency_count, 0u);
        }
    }
}

TEST(Edit, ReadOnlyTwoStillTypes) {
    Editor e({0x10});
    e.read_only = 1;
    EXPECT_FALSE(e.Type('g').refused);  // a non-digit would write nothing anyway
    e.read_only = 2;
    e.TypeAll("99");
    EXPECT_EQ(e.bytes[0], 0x99);
}

TEST(Edit, EmptyDataTakesNoKeystroke) {
    Editor e({});
    for (char ch : std::string("0aZ\r")) {
        EXPECT_FALSE(e.Type(ch).changed);
        e.active_view ^= 1;
    }
    EXPECT_EQ(e.caret, 0u);
}

TEST(Edit, HexUndoRedoWalksThroughTheHighNibble) {
    Editor e({0x00});
    e.TypeAll("41");
    EXPECT_EQ(e.bytes[0], 0x41);
    e.history.undo();
    EXPECT_EQ(e.bytes[0], 0x40);
    e.history.undo();
    EXPECT_EQ(e.bytes[0], 0x00);
    EXPECT_EQ(e.history.can_undo, 0u);
    EXPECT_FALSE(e.history.undo());
    e.history.redo();
    EXPECT_EQ(e.bytes[0], 0x40);
    e.history.redo();
    EXPECT_EQ(e.bytes[0], 0x41);
}

TEST(Edit, UndoBetweenTheDigitsStartsTheByteAfresh) {
    Editor e({0x12, 0x34});
    e.Type('9');
    redo_step(e);  // nothing to redo: the byte stays half typed
    EXPECT_EQ(e.nibble_phase, 1u);
    undo_step(e);
    EXPECT_EQ(e.bytes[0], 0x12);
    EXPECT_EQ(e.nibble_phase, 0u);
    e.Type('C');  // the high digit again, not the low one
    EXPECT_EQ(e.bytes[0], 0xC2);
    EXPECT_EQ(e.caret, 0u);
    e.Type('5');
    EXPECT_EQ(e.bytes, (std::vector<u8>{0xC5, 0x34}));
    EXPECT_EQ(e.caret, 1u);
}

TEST(Edit, TextViewAfterAHalfTypedHexByteStillRecordsTheBytesBefore) {
    Editor e({0x12, 0x34});
    e.Type('9');             // hex, high nibble of byte 0
    e.active_view = text_view;
    e.anchor = e.caret = 1;  // caret placed without resetting the phase
    e.Type('z');
    EXPECT_EQ(e.bytes, (std::vector<u8>{0x92, 'z'}));
    EXPECT_EQ(e.nibble_phase, 0u);
    EXPECT_TRUE(e.history.undo());
    EXPECT_EQ(e.bytes, (std::vector<u8>{0x92, 0x34}));
}

TEST(Edit, RecencyListsEveryWrittenByte) {
    Editor e(std::vector<u8>(40, 0), text_view);
    e.anchor = 3;
    e.caret = 6;
    e.Type('q');
    ASSERT_EQ(e.recency_count, 3u);
    EXPECT_EQ(e.recency[0], 5u);
    EXPECT_EQ(e.recency[2], 3u);
}

namespace {
int g_left = 0;
u8* Limited(Offset n) {
    if (g_left-- <= 0) return nullptr;
    return default_snapshot_allocator(n);
}
}  // namespace

TEST(Edit, AnEditWhoseSnapshotCannotBeAllocatedWritesNothing) {
    // Fail the first, then the second snapshot of the keystroke, in both
    // views and both phases.
    for (int allowed : {0, 1}) {
        for (u32 view : {u32(hex_view), u32(text_view)}) {
            for (u32 phase : {0u, 1u}) {
                if (view == text_view && phase == 1) continue;
                if (allowed >= (phase == 0 ? 2 : 1)) continue;  // enough to succeed
                SCOPED_TRACE("allowed " + std::to_string(allowed) + " view " + std::to_string(view) +
                             " phase " + std::to_string(phase));
                Editor e({0x11, 0x22, 0x33, 0x44}, view);
                e.anchor = 0;
                e.caret = 3;
                e.nibble_phase = phase;
                const unsigned undo_before = e.history.can_undo;
                const pm::HistoryRecord* current = e.history.current();
                g_left = allowed;
                SnapshotAllocator old = set_snapshot_allocator(Limited);
                const TypeOutcome out = e.Type('7');
                set_snapshot_allocator(old);
                EXPECT_FALSE(out.changed);
                EXPECT_EQ(e.bytes, (std::vector<u8>{0x11, 0x22, 0x33, 0x44}));
                EXPECT_EQ(e.nibble_phase, phase);
                EXPECT_EQ(e.history.can_undo, undo_before);
                EXPECT_EQ(e.history.current(), current);
                EXPECT_EQ(e.recency_count, 0u);
            }
        }
    }
}

TEST(Paste, OverwritesFromTheSelectionCutsAtTheEndAndUndoesInOneStep) {
    const std::vector<u8> original{0, 1, 2, 3, 4, 5, 6, 7};
    const u8 bytes[] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4};
    Editor e(original);
    e.anchor = 6;  // bytes 2 to 5 selected from the caret side
    e.caret = 2;
    PasteOutcome out = paste_bytes(e, bytes, 3);
    EXPECT_EQ(out.written, 3u);
    EXPECT_FALSE(out.beep);
    EXPECT_EQ(e.bytes, (std::vector<u8>{0, 1, 0xA0, 0xA1, 0xA2, 5, 6, 7}));
    EXPECT_EQ(e.anchor, 5u);
    EXPECT_EQ(e.caret, 5u);
    EXPECT_EQ(e.recency[0], 4u);
    EXPECT_EQ(e.recency[2], 2u);
    // From the caret, past the end: two bytes written, the rest cut.
    out = paste_bytes(e, bytes, 5);
    EXPECT_EQ(out.written, 3u);
    EXPECT_TRUE(out.beep);
    EXPECT_EQ(e.bytes, (std::vector<u8>{0, 1, 0xA0, 0xA1, 0xA2, 0xA0, 0xA1, 0xA2}));
    EXPECT_EQ(e.caret, 8u);
    EXPECT_TRUE(paste_bytes(e, bytes, 1).beep) << "nothing fits at the end position";
    // Each paste is one undo step and keeps only its own range.
    EXPECT_EQ(e.history.current()->length, 3u);
    undo_step(e);
    EXPECT_EQ(e.bytes, (std::vector<u8>{0, 1, 0xA0, 0xA1, 0xA2, 5, 6, 7}));
    undo_step(e);
    EXPECT_EQ(e.bytes, original);
    EXPECT_EQ(e.history.can_undo, 0u);
    redo_step(e);
    redo_step(e);
    EXPECT_EQ(e.bytes[7], 0xA2);
}

TEST(Paste, WritesNothingWhereTypingIsBlocked) {
    const u8 bytes[] = {0xFF};
    Editor ro({1, 2});
    ro.read_only = 1;
    EXPECT_TRUE(paste_bytes(ro, bytes, 1).beep);
    Editor placeholder({1, 2});
    placeholder.own_data = false;
    EXPECT_TRUE(paste_bytes(placeholder, bytes, 1).beep);
    Editor none({1, 2});
    EXPECT_TRUE(paste_bytes(none, bytes, 0).beep);
    for (const Editor* e : {&ro, &placeholder, &none}) {
        EXPECT_EQ(e->bytes, (std::vector<u8>{1, 2}));
        EXPECT_EQ(e->history.can_undo, 0u);
    }
}

// No edit out of sight: a paste, and an undo or redo, show where they wrote.
TEST(Paste, PasteAndUndoBringTheirBytesIntoView) {
    Editor e(std::vector<u8>(16 * 1000, 0));  // lines 0 to 999, 25 rows
    e.caret = e.anchor = 16 * 500 + 3;
    const std::vector<u8> bytes(40, 0x5A);
    EXPECT_TRUE(paste_bytes(e, bytes.data(), bytes.size()).scrolled);
    EXPECT_EQ(e.first_visible_line, 502u - 24u) << "the caret behind the paste, on line 502, at the bottom";
    e.first_visible_line = 0;
    EXPECT_TRUE(undo_step(e));
    EXPECT_EQ(e.first_visible_line, 500u - 24u) << "the first restored byte, line 500, at the bottom";
    e.first_visible_line = 900;
    EXPECT_TRUE(redo_step(e));
    EXPECT_EQ(e.first_visible_line, 500u);
    EXPECT_FALSE(undo_step(e)) << "already in view";
}

// The change a message reports, and whether the block differs from what it
// held when it was attached.
TEST(Changes, WritesOfOneMessageAddUp) {
    Editor e(std::vector<u8>(100, 0));
    ASSERT_EQ(write_bytes(e, 40, reinterpret_cast<const u8*>("ab"), 2, cause_write), 2u);
    ASSERT_EQ(write_bytes(e, 10, reinterpret_cast<const u8*>("c"), 1, cause_paste), 1u);
    EXPECT_EQ(e.changed_lo, 10u);
    EXPECT_EQ(e.changed_hi, 42u);
    EXPECT_EQ(e.changed_cause, u32(cause_paste)) << "the last write names the cause";
}

// Random typing, writes, undo and redo: the block counts as changed exactly
// while its bytes differ from the ones it started with.
TEST(Changes, ChangedFollowsTheBytesThroughAnyWalk) {
    std::mt19937 random(22);
    for (int run = 0; run < 40; ++run) {
        std::vector<u8> start(150);
        for (u8& b : start) b = u8(random() % 3);
        Editor e(start);
        for (int step = 0; step < 200; ++step) {
            const u32 at = random() % 150;
            switch (random() % 5) {
            case 0:
            case 1:
                e.active_view = random() % 2;
                e.anchor = at;
                e.caret = random() % 4 ? at : random() % 150;
                e.Type(e.active_view == text_view ? char(random() % 3) : "012"[random() % 3]);
                break;
            case 2: {
                const u8 bytes[3] = {u8(random() % 3), u8(random() % 3), u8(random() % 3)};
                write_bytes(e, at, bytes, 1 + random() % 3, cause_write);
                break;
            }
            case 3: undo_step(e); break;
            default: redo_step(e); break;
            }
            ASSERT_EQ(changed(e), e.bytes != start) << "run " << run << " step " << step;
        }
    }
}

TEST(Write, IsOneUndoStepAndStopsAtTheEnd) {
    Editor e({1, 2, 3, 4, 5});
    e.anchor = 1;
    e.caret = 2;
    e.nibble_phase = 1;
    const u8 bytes[] = {9, 8, 7, 6};
    EXPECT_EQ(write_bytes(e, 3, bytes, 4, cause_write), 2u);
    EXPECT_EQ(e.bytes, (std::vector<u8>{1, 2, 3, 9, 8}));
    EXPECT_EQ(e.anchor + e.caret, 3u) << "the selection stays";
    EXPECT_EQ(e.nibble_phase, 0u);
    EXPECT_EQ(e.recency[0], 4u);
    undo_step(e);
    EXPECT_EQ(e.bytes, (std::vector<u8>{1, 2, 3, 4, 5}));
    EXPECT_EQ(e.history.can_undo, 0u);
    redo_step(e);
    EXPECT_EQ(e.bytes, (std::vector<u8>{1, 2, 3, 9, 8}));
    // From the block itself, overlapping.
    EXPECT_EQ(write_bytes(e, 1, e.bytes.data(), 4, cause_write), 4u);
    EXPECT_EQ(e.bytes, (std::vector<u8>{1, 1, 2, 3, 9}));
}

TEST(Write, RefusedWhereTypingIsBlocked) {
    Editor e({1, 2});
    EXPECT_EQ(write_bytes(e, 2, e.bytes.data(), 1, cause_write), 0u) << "at the end";
    EXPECT_EQ(write_bytes(e, 0, nullptr, 1, cause_write), 0u);
    e.read_only = 1;
    EXPECT_EQ(write_bytes(e, 1, e.bytes.data(), 1, cause_write), 0u);
    EXPECT_EQ(e.bytes, (std::vector<u8>{1, 2}));
    EXPECT_EQ(e.history.can_undo + e.change_pending, 0u);
}

// The last byte of large blocks, and a selection across 4 GiB where the
// block is larger: typed, undone and redone at their own offsets.
TEST(Edit, LargeBlocksEditUndoAndRedoAtTheirOwnOffsets) {
    for (const Offset size : BlockSizes()) {
        SCOPED_TRACE(size);
        SparseBlock block(size);
        ASSERT_TRUE(block.data());
        u8* const d = block.data();
        View v;
        v.data = d;
        v.data_size = size;
        v.own_data = true;
        v.bytes_per_line = 16;
        v.rows = 25;
        v.last_line = last_line_for(size, 16);
        v.history.start();
        v.anchor = v.caret = size - 1;
        type_char(v, '4');
        if (type_char(v, '1').advance) navigate(v, key_right, false);
        EXPECT_EQ(d[size - 1], 0x41);
        EXPECT_EQ(d[u32(size - 1)], size > 0xFFFFFFFFu ? 0 : 0x41);  // not at the low 32 bits
        EXPECT_EQ(v.caret, size);
        EXPECT_EQ(v.recency[0], size - 1);

        const Offset lo = size > 0xFFFFFFFFu ? Offset(0xFFFFFFFEu) : size - 5;
        v.active_view = text_view;
        v.anchor = lo;
        v.caret = lo + 4;
        type_char(v, 'Z');
        for (Offset i = lo; i < lo + 4; ++i) EXPECT_EQ(d[i], 'Z') << i;
        EXPECT_EQ(v.recency[0], lo + 3);
        undo_step(v);
        for (Offset i = lo; i < lo + 4; ++i) EXPECT_EQ(d[i], 0) << i;
        undo_step(v);
        EXPECT_EQ(d[size - 1], 0x40);
        undo_step(v);
        EXPECT_EQ(d[size - 1], 0x00);
        redo_step(v);
        redo_step(v);
        EXPECT_EQ(d[size - 1], 0x41);
        redo_step(v);
        EXPECT_EQ(d[lo + 3], 'Z');
    }
}
