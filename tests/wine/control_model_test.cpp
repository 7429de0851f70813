// Randomized editing: thousands of seeded steps (typing in both views,
// navigation keys with and without Shift, clicks, drags, scrolling, select
// range, undo, redo, read-only) applied to a real control and to a small
// reference model, compared after every step. Every 200 steps and at the
// end, undoing everything must give back the original bytes exactly. A
// failing run prints its seed; PELOMAR_MODEL_SEED=n runs that seed alone
// (5000 steps), PELOMAR_MODEL_RUNS=n runs seeds 1 to n.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "support/edit_support.h"
#include "tests/flat_history.h"

using wt::ControlWindow;
using wt::StateOf;
using u8 = std::uint8_t;
using u32 = std::uint32_t;
using i64 = long long;

namespace {

// The control's rules, written plainly over a flat copy of the bytes.
struct Model {
    std::vector<u8> data;
    u32 size = 0, bpl = 0, rows = 0, last = 0, top = 0;
    u32 anchor = 0, caret = 0, phase = 0, view = 0;
    bool read_only = false;

    FlatHistory history;

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

    void Key(WPARAM vk, bool shift) {
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

    void Record(u32 at, u32 n) { history.record(data, at, n); }
    // A step that moves the history position ends a half-typed byte.
    void Undo() {
        const std::size_t at = history.cur;
        history.undo(data);
        if (history.cur != at) phase = 0;
    }
    void Redo() {
        const std::size_t at = history.cur;
        history.redo(data);
        if (history.cur != at) phase = 0;
    }

    static bool HexDigit(u8 ch, u32* v) {
        if (ch >= '0' && ch <= '9') *v = ch - '0';
        else if (ch >= 'a' && ch <= 'f') *v = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F') *v = ch - 'A' + 10;
        else return false;
        return true;
    }

    void Char(u8 ch) {
        if (read_only || size == 0) return;
        const bool sel = anchor != caret;
        if (!sel && caret >= size) return;
        const u32 lo = sel ? std::min(anchor, caret) : caret;
        const u32 hi = sel ? std::max(anchor, caret) : caret + 1;
        u32 v = 0;
        if (view == 0 && !HexDigit(ch, &v)) return;
        if (view == 1) phase = 0;
        const bool high = phase == 0;
        if (high) Record(lo, hi - lo);
        for (u32 i = lo; i < hi; ++i) {
            if (view == 1) data[i] = ch;
            else if (high) data[i] = u8((data[i] & 0x0F) | (v << 4));
            else data[i] = u8((data[i] & 0xF0) | v);
        }
        Record(lo, hi - lo);
        if (view == 0 && high) {
            phase = 1;
            return;
        }
        phase = 0;
        if (!sel) Key(VK_RIGHT, false);
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

class Run {
public:
    Run(unsigned seed, u32 size) : rng_(seed), w_(420, 170) {
        block_.assign(size + 2 * guard_bytes, guard_value);
        for (u32 i = 0; i < size; ++i) block_[guard_bytes + i] = u8(rng_() % 6 == 0 ? rng_() : rng_() % 4);
        original_.assign(block_.begin() + guard_bytes, block_.begin() + guard_bytes + size);
        w_.Send(PM_SETDATA, reinterpret_cast<WPARAM>(block_.data() + guard_bytes), LPARAM(size));
        c_ = StateOf(w_.hwnd());
        m_.size = size;
        m_.data.assign(block_.begin() + guard_bytes, block_.begin() + guard_bytes + size);
        m_.bpl = c_->bytes_per_line;
        m_.rows = c_->rows;
        m_.last = size ? (size - 1) / m_.bpl : 0;
        cells_ = wt::Cells(int(m_.bpl));
    }

    std::string log;  // the steps so far, for the failure message

    // One random step; returns true for undo and redo, which write the
    // bytes of their own records rather than of the edit range.
    bool Step() {
        const unsigned op = rng_() % 100;
        std::ostringstream s;
        if (op < 30) {
            u8 ch;
            if (m_.view == 0) ch = rng_() % 8 ? u8("0123456789abcdefABCDEF"[rng_() % 22]) : u8(rng_());
            else ch = u8(rng_());
            s << "char " << unsigned(ch);
            SendMessageA(w_.hwnd(), WM_KEYDOWN, neutral_key, 1);
            SendMessageA(w_.hwnd(), WM_CHAR, ch, 1);
            m_.Char(ch);
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
            const bool by_key = rng_() % 2;
            s << "undo" << (by_key ? " key" : "");
            if (by_key) wt::Key(w_.hwnd(), 'Z', false, true);
            else w_.Send(PM_UNDO);
            m_.Undo();
        } else if (op < 89) {
            const bool by_key = rng_() % 2;
            s << "redo" << (by_key ? " key" : "");
            if (by_key) wt::Key(w_.hwnd(), 'Y', false, true);
            else w_.Send(PM_REDO);
            m_.Redo();
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
        return op >= 73 && op < 89;
    }

    // Compares the control with the model and checks the invariants.
    void Check(int step) {
        SCOPED_TRACE("after step " + std::to_string(step));
        for (u32 i = 0; i < guard_bytes; ++i) {
            ASSERT_EQ(block_[i], guard_value) << "written before the data";
            ASSERT_EQ(block_[guard_bytes + m_.size + i], guard_value) << "written after the data";
        }
        ASSERT_TRUE(std::equal(m_.data.begin(), m_.data.end(), block_.begin() + guard_bytes))
            << "data differs from the model";
        ASSERT_LE(c_->caret, m_.size);
        ASSERT_LE(c_->anchor, m_.size);
        ASSERT_LE(c_->first_visible_line, std::max<i64>(0, i64(m_.last) - m_.rows + 1));
        ASSERT_EQ(c_->caret, m_.caret);
        ASSERT_EQ(c_->anchor, m_.anchor);
        ASSERT_EQ(c_->first_visible_line, m_.top);
        ASSERT_EQ(c_->nibble_phase, m_.phase);
        ASSERT_EQ(c_->active_view, m_.view);
        ASSERT_EQ(unsigned(w_.Send(PM_CANUNDO)), m_.size ? m_.history.can_undo : 0u);
        ASSERT_EQ(unsigned(w_.Send(PM_CANREDO)), m_.size ? m_.history.can_redo : 0u);
        ASSERT_EQ(GetScrollPos(w_.hwnd(), SB_VERT), int(m_.top));
    }

    // Undoes every step the history still holds, in the control and in the
    // model alike; returns whether the data is then the original again.
    bool UndoEverything(int bound) {
        for (int i = 0; i < bound && w_.Send(PM_CANUNDO); ++i) {
            if (i % 2) wt::Key(w_.hwnd(), 'Z', false, true);
            else w_.Send(PM_UNDO);
            m_.Undo();
        }
        log += "undo everything\n";
        return std::equal(original_.begin(), original_.end(), block_.begin() + guard_bytes);
    }

    // Bytes outside the edit range of a keystroke never change.
    std::vector<u8> Bytes() const { return block_; }
    std::pair<u32, u32> EditRange() const {
        if (m_.anchor != m_.caret) return {std::min(m_.anchor, m_.caret), std::max(m_.anchor, m_.caret)};
        return {m_.caret, m_.caret + 1};
    }

private:
    POINT Point(u32 v, u32 row, u32 col) const {
        return v ? cells_.text(int(row), int(col)) : cells_.hex(int(row), int(col));
    }

    std::mt19937 rng_;
    ControlWindow w_;
    std::vector<u8> block_;
    std::vector<u8> original_;
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
    run.Check(-1);
    for (int step = 0; step < steps; ++step) {
        const auto before = run.Bytes();
        const auto range = run.EditRange();
        const bool history_step = run.Step();
        const auto after = run.Bytes();
        for (std::size_t i = 0; i < after.size() && !history_step; ++i) {
            const bool inside = i >= guard_bytes + range.first && i < guard_bytes + range.second;
            if (!inside) {
                ASSERT_EQ(before[i], after[i]) << "byte " << i - guard_bytes << " outside the edit range, step "
                                               << step << "\n" << run.log;
            }
        }
        run.Check(step);
        if (::testing::Test::HasFatalFailure()) {
            ADD_FAILURE() << "steps:\n" << run.log;
            return;
        }
        // Whatever came before, undoing everything gives back the bytes the
        // control was handed, exactly.
        if ((step + 1) % 200 == 0 || step + 1 == steps) {
            ASSERT_TRUE(run.UndoEverything(4 * steps + 8))
                << "undoing everything leaves bytes changed, step " << step << "\n" << run.log;
            run.Check(step);
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "steps:\n" << run.log;
                return;
            }
        }
    }
}

}  // namespace

TEST(Model, RandomEditingMatchesTheReferenceModel) {
    if (const char* one = std::getenv("PELOMAR_MODEL_SEED")) {
        RunSeed(unsigned(std::strtoul(one, nullptr, 10)), 5000);
        return;
    }
    unsigned runs = 12;
    if (const char* n = std::getenv("PELOMAR_MODEL_RUNS")) runs = unsigned(std::strtoul(n, nullptr, 10));
    for (unsigned seed = 1; seed <= runs; ++seed) {
        RunSeed(seed, 600);
        if (::testing::Test::HasFatalFailure()) return;
    }
}
