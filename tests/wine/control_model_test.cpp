// Randomized editing: seeded steps (typing in both views, navigation keys
// with and without Shift, clicks, drags, scrolling, select range, undo,
// redo, read-only) applied to a real control. After every step the caret,
// anchor, first visible line, nibble phase and active view are compared
// with a model of the key, mouse and scroll rules. Bytes and history are
// checked by what must hold however the history keeps its records (keys,
// typing, undo and redo first show the caret or the first changed byte): a
// character writes its value into the edit range and no other byte, no
// step writes outside the data, can undo and can redo agree with what undo
// and redo then do, and changed bytes can always be undone. Every 200
// steps and at the end, undoing everything gives back the original bytes
// exactly. Redoing everything then gives back the newest bytes in the runs
// of even seeds, which never type while a redo waits: an edit made then
// goes in before the undone records, and redo replays both. A failing run
// prints its seed; PELOMAR_MODEL_SEED=n runs that seed alone (5000 steps),
// PELOMAR_MODEL_RUNS=n runs seeds 1 to n.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "support/edit_support.h"

using wt::ControlWindow;
using wt::StateOf;
using u8 = std::uint8_t;
using u32 = std::uint32_t;
using i64 = long long;

namespace {

// The value of a hex digit, or -1 for any other character.
int DigitValue(u8 ch) {
    static const char digits[] = "0123456789abcdef0123456789ABCDEF";
    const char* p = ch ? std::strchr(digits, ch) : nullptr;
    return p ? int(p - digits) % 16 : -1;
}

// Caret, anchor, first visible line, nibble phase and active view by the
// rules of the keys, the mouse, the scroll bar and select range.
struct Model {
    u32 size = 0, bpl = 0, rows = 0, last = 0, top = 0;
    u32 anchor = 0, caret = 0, phase = 0, view = 0;
    bool read_only = false;

    bool ScrollTo(i64 to) {
        if (to < 0) to = 0;
        if (to == i64(top) || to + i64(rows) - 1 > i64(last)) return false;
        top = u32(to);
        return true;
    }
    void Scroll(int code) {
        switch (code) {
        case SB_LINEUP: ScrollTo(i64(top) - 1); break;
        case SB_LINEDOWN: ScrollTo(i64(top) + 1); break;
        case SB_PAGEUP: ScrollTo(i64(top) - rows); break;
        case SB_PAGEDOWN: {
            i64 to = i64(top) + rows;
            const u32 limit = last - rows + 1;
            if (std::uint64_t(to) > limit) to = limit;
            ScrollTo(to);
            break;
        }
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(i64(last) - rows + 1); break;
        }
    }

    // No edit out of sight: the least scroll that shows the offset's line,
    // never past the last page.
    void Reveal(i64 offset) {
        const i64 line = offset / bpl;
        i64 to = top;
        if (line < i64(top)) to = line;
        else if (line >= i64(top) + rows) to = line - rows + 1;
        const i64 last_page = std::max<i64>(0, i64(last) - rows + 1);
        top = u32(std::min(to, last_page));
    }

    void Key(WPARAM vk, bool shift) {
        Reveal(caret);
        const u32 old_anchor = anchor;
        if (!shift) anchor = caret;
        const i64 c = caret, s = size, b = bpl, row = i64(caret / bpl) - top, col = caret % bpl;
        i64 to = c;
        switch (vk) {
        case VK_RIGHT:
            if (c >= s) break;
            if (row == i64(rows) - 1 && col == b - 1) Scroll(SB_LINEDOWN);
            to = c + 1;
            break;
        case VK_LEFT:
            if (c == 0) break;
            if (row == 0 && col == 0) Scroll(SB_LINEUP);
            to = c - 1;
            break;
        case VK_UP:
            if (c < b) break;
            if (row <= 0) Scroll(SB_LINEUP);
            to = c - b;
            break;
        case VK_DOWN:
            if (c >= s - b) break;
            if (row + 1 >= i64(rows)) Scroll(SB_LINEDOWN);
            to = c + b;
            break;
        case VK_NEXT:
            if (c + b >= s) break;
            if (c + b * rows < s) {
                to = c + b * rows;
                Scroll(SB_PAGEDOWN);
            } else {
                top = u32(std::max<i64>(0, i64(last) - rows + 1));
                const i64 d = (i64(last) - c / b) * b;
                to = c + d >= s ? s - 1 : c + d;
            }
            break;
        case VK_PRIOR:
            if (c < b) break;
            if (c >= b * rows) {
                to = c - b * rows;
                Scroll(SB_PAGEUP);
            } else {
                top = 0;
                to = c % b;
            }
            break;
        case VK_HOME: to = c - col; break;
        case VK_END:
            if ((c + 1) % b == 0 || s == 0) break;
            to = std::min(c + b - (c + 1) % b, s - 1);
            break;
        }
        caret = u32(to);
        if (!shift) anchor = caret;
        if (caret != c || anchor != old_anchor) phase = 0;
    }

    // The edit range a character writes, empty when it is not typed.
    std::pair<u32, u32> Typed(u8 ch) const {
        const bool sel = anchor != caret;
        if (read_only || size == 0 || (!sel && caret >= size) || (view == 0 && DigitValue(ch) < 0))
            return {0, 0};
        return sel ? std::make_pair(std::min(anchor, caret), std::max(anchor, caret))
                   : std::make_pair(caret, caret + 1);
    }
    // The byte b becomes when ch is typed over it.
    u8 Write(u8 b, u8 ch) const {
        if (view == 1) return ch;
        const u32 v = u32(DigitValue(ch));
        return phase == 0 ? u8((b & 0x0F) | (v << 4)) : u8((b & 0xF0) | v);
    }
    // After a typed character: the high digit waits for the low one; a
    // finished byte steps to the next one unless it filled a selection.
    void AfterTyping() {
        Reveal(caret);
        if (view == 0 && phase == 0) {
            phase = 1;
            return;
        }
        phase = 0;
        if (anchor == caret) Key(VK_RIGHT, false);
    }
    // An undo or redo sent while can undo or can redo offered it (as the
    // test asked just before; the byte checks hold the flags to what the
    // steps do) ends a half-typed byte; one that changes bytes shows the
    // first of them.
    void HistoryStep(bool possible, i64 first_changed) {
        if (possible) phase = 0;
        if (first_changed >= 0) Reveal(first_changed);
    }

    u32 OffsetAt(u32 row, u32 col) const {
        return u32(std::min<i64>(i64(top + row) * bpl + col, size));
    }
    void Press(u32 v, u32 row, u32 col) {
        view = v;
        anchor = caret = OffsetAt(row, col);
        phase = 0;
    }
    void Drag(u32 v, u32 row, u32 col) {
        view = v;
        const u32 to = OffsetAt(row, col);
        if (to != caret) phase = 0;
        caret = to;
    }
    void Select(u32 a, u32 b) {
        a = std::min(a, size);
        b = std::min(b, size);
        anchor = a;
        caret = b;
        phase = 0;
        if (last >= rows) top = std::min(a / bpl, last - rows + 1);
    }
};

constexpr u32 guard_bytes = 16;
constexpr u8 guard_value = 0xC5;
constexpr WPARAM neutral_key = VK_OEM_1;  // a key with no meaning to the control

// The first offset in the block where a and b differ, or -1.
i64 FirstDifference(const std::vector<u8>& a, const std::vector<u8>& b) {
    const auto d = std::mismatch(a.begin(), a.end(), b.begin());
    return d.first == a.end() ? -1 : i64(d.first - a.begin()) - guard_bytes;
}

class Run {
public:
    Run(unsigned seed, u32 size) : rng_(seed), w_(420, 170), one_line_(seed % 2 == 0) {
        block_.assign(size + 2 * guard_bytes, guard_value);
        for (u32 i = 0; i < size; ++i) block_[guard_bytes + i] = u8(rng_() % 6 == 0 ? rng_() : rng_() % 4);
        original_ = block_;
        w_.Send(PM_SETDATA, reinterpret_cast<WPARAM>(block_.data() + guard_bytes), LPARAM(size));
        c_ = StateOf(w_.hwnd());
        m_.size = size;
        m_.bpl = c_->bytes_per_line;
        m_.rows = c_->rows;
        m_.last = size ? (size - 1) / m_.bpl : 0;
        cells_ = wt::Cells(int(m_.bpl));
    }

    std::string log;  // the steps so far, for the failure message

    // One random step, then its checks.
    void Step(int step) {
        const std::vector<u8> before = block_;
        const unsigned could_undo = CanUndo(), could_redo = CanRedo();
        std::vector<u8> expected = before;  // for steps other than undo and redo
        enum { other, typing, undo, redo } kind = other;
        unsigned op = rng_() % 100;
        if (op < 30 && one_line_ && could_redo) op = 85;  // a redo instead
        std::ostringstream s;
        if (op < 30) {
            u8 ch;
            if (m_.view == 0) ch = rng_() % 8 ? u8("0123456789abcdefABCDEF"[rng_() % 22]) : u8(rng_());
            else ch = u8(rng_());
            s << "char " << unsigned(ch);
            const auto range = m_.Typed(ch);
            for (u32 i = range.first; i < range.second; ++i)
                expected[guard_bytes + i] = m_.Write(before[guard_bytes + i], ch);
            SendMessageA(w_.hwnd(), WM_KEYDOWN, neutral_key, 1);
            SendMessageA(w_.hwnd(), WM_CHAR, ch, 1);
            if (range.first < range.second) {
                kind = typing;
                m_.AfterTyping();
            }
        } else if (op < 58) {
            const WPARAM vk = VK_PRIOR + rng_() % 8;
            const bool shift = rng_() % 3 == 0;
            s << "key " << vk << (shift ? " shift" : "");
            wt::Key(w_.hwnd(), vk, shift);
            m_.Key(vk, shift);
        } else if (op < 68) {
            const u32 v = rng_() % 2, row = rng_() % m_.rows, col = rng_() % m_.bpl;
            s << "click view " << v << " row " << row << " col " << col;
            wt::Click(w_.hwnd(), Point(v, row, col));
            m_.Press(v, row, col);
        } else if (op < 73) {
            const u32 v = rng_() % 2, row = rng_() % m_.rows, col = rng_() % m_.bpl;
            const u32 v2 = rng_() % 2, row2 = rng_() % m_.rows, col2 = rng_() % m_.bpl;
            s << "drag " << v << "," << row << "," << col << " to " << v2 << "," << row2 << "," << col2;
            SendMessageA(w_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, wt::At(Point(v, row, col)));
            m_.Press(v, row, col);
            SendMessageA(w_.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, wt::At(Point(v2, row2, col2)));
            m_.Drag(v2, row2, col2);
            SendMessageA(w_.hwnd(), WM_LBUTTONUP, 0, wt::At(Point(v2, row2, col2)));
        } else if (op < 82) {
            kind = undo;
            s << "undo";
            Undo(rng_() % 2, could_undo);
        } else if (op < 89) {
            kind = redo;
            s << "redo";
            Redo(rng_() % 2, could_redo);
        } else if (op < 95) {
            const int code = int(rng_() % 8);
            s << "scroll " << code;
            if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
                // The wheel instead: one line per notch.
                const bool down = rng_() % 2;
                w_.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(down ? -WHEEL_DELTA : WHEEL_DELTA)));
                m_.Scroll(down ? SB_LINEDOWN : SB_LINEUP);
            } else {
                w_.Send(WM_VSCROLL, WPARAM(code));
                m_.Scroll(code);
            }
        } else if (op < 98) {
            const u32 a = rng_() % (m_.size + 3), b = rng_() % (m_.size + 3);
            s << "select " << a << " " << b;
            w_.Send(PM_SELECTRANGE, a, b);
            m_.Select(a, b);
        } else {
            m_.read_only = !m_.read_only;
            s << "read-only " << m_.read_only;
            w_.Send(PM_SETREADONLY, m_.read_only ? 1 : 0);
        }
        log += s.str() + "\n";

        SCOPED_TRACE("after step " + std::to_string(step));
        const unsigned can_undo = CanUndo(), can_redo = CanRedo();
        const bool changed = block_ != before;
        if (kind == undo || kind == redo) {
            const unsigned could = kind == undo ? could_undo : could_redo;
            const unsigned back = kind == undo ? can_redo : can_undo;  // the flag of the reverse step
            const unsigned more = kind == undo ? can_undo : can_redo;  // the flag of the same step
            if (!could) {
                ASSERT_TRUE(!changed && can_undo == could_undo && can_redo == could_redo)
                    << "a step with nothing to do did something";
            } else if (changed) {
                ASSERT_EQ(back, 1u) << "a step that changed bytes cannot be taken back";
            } else {
                ASSERT_EQ(more, 0u) << "a step that changed nothing leaves more to do";
            }
        } else {
            ASSERT_EQ(FirstDifference(block_, expected), -1) << "the first wrong byte (outside the data when < 0)";
            ASSERT_EQ(can_undo, kind == typing ? 1u : could_undo) << "typing sets can undo, nothing else changes it";
            ASSERT_EQ(can_redo, could_redo) << "only undo and redo change can redo";
        }
        ASSERT_TRUE(block_ == original_ || can_undo) << "changed bytes cannot be undone";
        Compare();
    }

    // Redo to the end, undo to the end, redo to the end: the original bytes
    // in between, and for one line of changes the same bytes at both ends.
    void Ends(int bound) {
        log += "redo, undo, redo everything\n";
        for (int i = 0; i < bound && CanRedo(); ++i) Redo(i % 2, true);
        const std::vector<u8> newest = block_;
        for (int i = 0; i < bound && CanUndo(); ++i) Undo(i % 2, true);
        ASSERT_EQ(CanUndo(), 0u) << "undo never ends";
        ASSERT_EQ(FirstDifference(block_, original_), -1) << "undoing everything leaves this byte changed";
        for (int i = 0; i < bound && CanRedo(); ++i) Redo(i % 2, true);
        ASSERT_EQ(CanRedo(), 0u) << "redo never ends";
        ASSERT_EQ(one_line_ ? FirstDifference(block_, newest) : -1, -1) << "redoing everything misses this byte";
        Compare();
    }

private:
    unsigned CanUndo() const { return unsigned(w_.Send(PM_CANUNDO)); }
    unsigned CanRedo() const { return unsigned(w_.Send(PM_CANREDO)); }
    void Undo(bool by_key, bool possible) {
        const std::vector<u8> before = block_;
        if (by_key) wt::Key(w_.hwnd(), 'Z', false, true);
        else w_.Send(PM_UNDO);
        m_.HistoryStep(possible, FirstDifference(block_, before));
    }
    void Redo(bool by_key, bool possible) {
        const std::vector<u8> before = block_;
        if (by_key) wt::Key(w_.hwnd(), 'Y', false, true);
        else w_.Send(PM_REDO);
        m_.HistoryStep(possible, FirstDifference(block_, before));
    }

    // The control's caret, selection, view and scroll position against the model.
    void Compare() {
        ASSERT_EQ(c_->caret, m_.caret);
        ASSERT_EQ(c_->anchor, m_.anchor);
        ASSERT_EQ(c_->first_visible_line, m_.top);
        ASSERT_EQ(GetScrollPos(w_.hwnd(), SB_VERT), int(m_.top));
        ASSERT_EQ(c_->nibble_phase, m_.phase);
        ASSERT_EQ(c_->active_view, m_.view);
    }

    POINT Point(u32 v, u32 row, u32 col) const {
        return v ? cells_.text(int(row), int(col)) : cells_.hex(int(row), int(col));
    }

    std::mt19937 rng_;
    ControlWindow w_;
    bool one_line_;
    std::vector<u8> block_, original_;  // the data between two guard zones
    const Control* c_ = nullptr;
    Model m_;
    wt::Cells cells_{4};
};

void RunSeed(unsigned seed, int steps) {
    const u32 sizes[] = {0, 1, 2, 5, 40, 97, 300, 1000, 4096};
    const u32 size = sizes[seed % (sizeof sizes / sizeof sizes[0])];
    SCOPED_TRACE("seed " + std::to_string(seed) + " (PELOMAR_MODEL_SEED=" + std::to_string(seed) +
                 "), data size " + std::to_string(size));
    Run run(seed, size);
    for (int step = 0; step < steps && !::testing::Test::HasFatalFailure(); ++step) {
        run.Step(step);
        if (!::testing::Test::HasFatalFailure() && ((step + 1) % 200 == 0 || step + 1 == steps))
            run.Ends(4 * steps + 8);
    }
    if (::testing::Test::HasFatalFailure()) ADD_FAILURE() << "steps:\n" << run.log;
}

}  // namespace

TEST(Model, RandomEditingKeepsTheRulesAndUndoesExactly) {
    if (const char* one = std::getenv("PELOMAR_MODEL_SEED")) {
        RunSeed(unsigned(std::strtoul(one, nullptr, 10)), 5000);
        return;
    }
    unsigned runs = 24;
    if (const char* n = std::getenv("PELOMAR_MODEL_RUNS")) runs = unsigned(std::strtoul(n, nullptr, 10));
    for (unsigned seed = 1; seed <= runs && !::testing::Test::HasFatalFailure(); ++seed) RunSeed(seed, 600);
}
