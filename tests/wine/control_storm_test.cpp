// Message storms: long seeded sequences of random messages of every kind,
// extreme values included, sent to real controls. After every message the
// control must still answer, its caret, anchor and scroll position must lie
// within the data, and no byte may change outside what the message was
// allowed to edit. Every run uses the same three seeds;
// PELOMAR_STORM_SEED=<n> replays one of them (or a seed a failure printed),
// PELOMAR_STORM_SEED=random draws a fresh one and PELOMAR_STORM_STEPS makes
// a run longer.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "support/edit_support.h"

namespace {

// A data block with guard zones on both sides.
struct Block {
    static constexpr size_t guard = 4096;
    std::vector<std::uint8_t> bytes;
    size_t size;
    Block(size_t n, std::mt19937& rng) : bytes(n + 2 * guard), size(n) {
        for (auto& b : bytes) b = std::uint8_t(rng());
        std::memset(bytes.data(), 0xA5, guard);
        std::memset(bytes.data() + guard + n, 0x5A, guard);
    }
    std::uint8_t* data() { return bytes.data() + guard; }
    bool GuardsIntact() const {
        for (size_t i = 0; i < guard; ++i)
            if (bytes[i] != 0xA5 || bytes[guard + size + i] != 0x5A) return false;
        return true;
    }
};

class Storm {
public:
    Storm(unsigned seed) : rng_(seed), window_(600, 400) {}

    void Run(unsigned steps) {
        NewData(1 + rng_() % 5000);
        for (step_ = 0; step_ < steps && !::testing::Test::HasFatalFailure(); ++step_) {
            Step();
            Check();
        }
    }

private:
    const Control* State() const { return wt::StateOf(window_.hwnd()); }
    unsigned Pick(unsigned n) { return unsigned(rng_() % n); }

    void NewData(size_t n) {
        blocks_.push_back(std::make_unique<Block>(n, rng_));
        if (blocks_.size() > 3) blocks_.erase(blocks_.begin());  // the control let go of them
        Block& b = *blocks_.back();
        shadow_.assign(b.data(), b.data() + n);
        touched_.assign(n, false);
        window_.Send(PM_SETDATA, reinterpret_cast<WPARAM>(b.data()), LPARAM(n));
    }

    LPARAM Point() {
        // Anywhere, including outside the window (negative coordinates
        // arrive as large 16-bit values).
        int x = int(Pick(900)) - 150, y = int(Pick(700)) - 150;
        if (Pick(20) == 0) x = int(Pick(65536)), y = int(Pick(65536));
        return MAKELPARAM(x, y);
    }

    // Sends one random message. Sets may_edit_ / may_restore_ to say which
    // bytes the message is allowed to change.
    void Step() {
        const Control* c = State();
        may_edit_lo_ = may_edit_hi_ = 0;
        may_restore_ = false;
        const HWND h = window_.hwnd();
        switch (Pick(24)) {
        case 0: case 1: case 2: {
            wt::SetModifiers(Pick(2), Pick(8) == 0);
            static const WPARAM keys[] = {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP,
                                          VK_RIGHT, VK_DOWN, 'Z', 'Y', VK_TAB, 'A', VK_DELETE};
            WPARAM key = Pick(10) ? keys[Pick(13)] : Pick(256);
            // The menu key's menu would wait in its modal loop for a user.
            if (key == VK_APPS) key = VK_DELETE;
            may_restore_ = true;  // Ctrl+Z and Ctrl+Y
            if (key == 'V' || key == VK_INSERT) {
                // Ctrl+V and Shift+Insert paste the clipboard over the bytes
                // from the selection's start, never past the end.
                may_edit_lo_ = c->sel_lo();
                may_edit_hi_ = c->data_size;
            }
            SendMessageA(h, WM_KEYDOWN, key, 0);
            break;
        }
        case 3: case 4: case 5: case 6: {
            // Typing: the selection, or the caret's byte.
            if (c->anchor != c->caret) {
                may_edit_lo_ = c->sel_lo();
                may_edit_hi_ = c->sel_hi();
            } else {
                may_edit_lo_ = c->caret;
                may_edit_hi_ = c->caret + 1;
            }
            const WPARAM ch = Pick(3) ? "0123456789abcdefABCDEF"[Pick(22)] : Pick(256);
            SendMessageA(h, WM_CHAR, ch, 0);
            break;
        }
        case 7: SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, Point()); break;
        case 8: case 9: SendMessageA(h, WM_MOUSEMOVE, Pick(4) ? MK_LBUTTON : 0, Point()); break;
        case 10: SendMessageA(h, WM_LBUTTONUP, 0, Point()); break;
        case 11: SendMessageA(h, WM_TIMER, 100, 0); break;
        case 12: SendMessageA(h, WM_MOUSEWHEEL, MAKEWPARAM(0, Pick(2) ? 120 : -120), Point()); break;
        case 13: SendMessageA(h, WM_VSCROLL, MAKEWPARAM(Pick(10), Pick(65536)), 0); break;
        case 14: {
            static const WPARAM ends[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF, 0x80000000};
            const WPARAM a = Pick(3) ? Pick(unsigned(shadow_.size()) + 10) : ends[Pick(5)];
            const WPARAM b = Pick(3) ? Pick(unsigned(shadow_.size()) + 10) : ends[Pick(5)];
            window_.Send(PM_SELECTRANGE, a, b);
            break;
        }
        case 15:
            if (Pick(10) == 0) {
                static const size_t sizes[] = {1, 2, 4095, 4097, 65537, 12345};
                NewData(Pick(2) ? sizes[Pick(6)] : 1 + Pick(200000));
            }
            break;
        case 16: window_.Send(PM_SETFONT, Pick(7)); break;
        case 17:
            if (Pick(8) == 0) {
                static const int sizes[][2] = {{0, 0}, {1, 1}, {50, 30}, {200, 20}, {2000, 1500},
                                               {600, 400}, {173, 400}, {4000, 100}};
                const auto& s = sizes[Pick(8)];
                MoveWindow(h, 0, 0, s[0], s[1], TRUE);
            }
            break;
        case 18: window_.Send(PM_SETCOLOURPAIR + Pick(12), rng_(), rng_()); break;
        case 19: case 20:
            may_restore_ = true;
            for (unsigned n = 1 + Pick(6); n; --n) window_.Send(Pick(2) ? PM_UNDO : PM_REDO);
            break;
        case 21: {
            static const UINT commands[] = {PMC_COPY_ANSI, PMC_COPY_HEX, PMC_UNDO, PMC_REDO,
                                            PMC_COPY_DB_SEL, PMC_COPY_X_SEL, 9999};
            may_restore_ = true;
            // The not-selection copies of a large block are slow; keep them rare.
            const UINT cmd = Pick(50) == 0 ? (Pick(2) ? PMC_COPY_DB_NOTSEL : PMC_COPY_X_NOTSEL)
                                           : commands[Pick(7)];
            SendMessageA(h, WM_COMMAND, cmd, 0);
            break;
        }
        case 22: window_.Send(PM_SETOFFSETBASE, Pick(2) ? rng_() : 0); break;
        case 23:
            window_.Send(PM_SETREADONLY, Pick(3));
            if (Pick(10) == 0) UpdateWindow(h);
            break;
        }
        if (step_ % 64 == 0) UpdateWindow(h);
    }

    void Check() {
        const Control* c = State();
        ASSERT_NE(c, nullptr) << Where();
        Block& b = *blocks_.back();
        ASSERT_EQ(c->data_size, b.size) << Where();
        ASSERT_LE(c->caret, c->data_size) << Where();
        ASSERT_LE(c->anchor, c->data_size) << Where();
        ASSERT_LE(c->first_visible_line, c->last_line) << Where();
        ASSERT_GE(c->bytes_per_line, 4u) << Where();
        ASSERT_LE(c->bytes_per_line, 64u) << Where();
        ASSERT_TRUE(b.GuardsIntact()) << "a byte outside the block was written; " << Where();
        const std::uint8_t* d = b.data();
        if (std::memcmp(d, shadow_.data(), b.size) == 0) return Answers(c);
        for (size_t i = 0; i < b.size; ++i) {
            if (d[i] == shadow_[i]) continue;
            const bool edited = i >= may_edit_lo_ && i < may_edit_hi_;
            const bool restored = may_restore_ && touched_[i];
            ASSERT_TRUE(edited || restored) << "byte " << i << " changed; " << Where();
            shadow_[i] = d[i];
            touched_[i] = true;
        }
        Answers(c);
    }

    void Answers(const Control* c) {
        ASSERT_EQ(window_.Send(PM_SETREADONLY, c->read_only), LRESULT(c->read_only)) << Where();
    }

    std::string Where() const { return "step " + std::to_string(step_); }

    std::mt19937 rng_;
    wt::ControlWindow window_;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::vector<std::uint8_t> shadow_;
    std::vector<bool> touched_;
    size_t may_edit_lo_ = 0, may_edit_hi_ = 0;
    bool may_restore_ = false;
    unsigned step_ = 0;
};

}  // namespace

TEST(Storm, RandomMessagesNeverCrashOrWriteOutsideTheEdit) {
    const unsigned steps = wt::EnvNumber("PELOMAR_STORM_STEPS", 34000);
    for (const unsigned seed : wt::StormSeeds({1, 2, 3})) {
        // Printed before the run: a crash prints no failure message.
        std::printf("storm: PELOMAR_STORM_SEED=%u, %u messages\n", seed, steps);
        std::fflush(stdout);
        SCOPED_TRACE("PELOMAR_STORM_SEED=" + std::to_string(seed) + " replays this run");
        Storm(seed).Run(steps);
        if (HasFatalFailure()) break;
    }
}
