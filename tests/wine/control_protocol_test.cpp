// The library's entry and the control's message protocol, driven through
// real windows.
#include <gtest/gtest.h>

#include <process.h>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "support/edit_support.h"

using wt::ControlWindow;

TEST(Library, RegistersAGlobalClassAtLoad) {
    ASSERT_NE(wt::Library(), nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(wt::Library(), PELOMAR_CLASS, &wc));
    EXPECT_EQ(wc.style, UINT(CS_GLOBALCLASS));
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hbrBackground, nullptr);
    EXPECT_EQ(wc.hIcon, nullptr);
    EXPECT_EQ(wc.lpszMenuName, nullptr);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
}

TEST(Library, ControlReportsItsResults) {
    ControlWindow w;
    ASSERT_NE(w.hwnd(), nullptr);
    EXPECT_EQ(w.Send(WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(w.Send(WM_GETDLGCODE, 0, 0), DLGC_WANTTAB | DLGC_WANTALLKEYS);
    EXPECT_EQ(w.Send(PM_SETREADONLY, 2, 0), 2);
    EXPECT_EQ(w.Send(PM_CANUNDO), 0);
    EXPECT_EQ(w.Send(PM_CANREDO), 0);
}

namespace {

SCROLLINFO Scroll(HWND h) { return wt::VerticalScroll(h); }

// Outer width of a control whose client area is `client` pixels wide.
// With font 0's 8 x 15 cell a client of 600 x 400 shows 16 bytes per line
// in 25 rows.
int WithScrollBar(int client) { return client + GetSystemMetrics(SM_CXVSCROLL); }

}  // namespace

// The user-data slot belongs to whoever creates the window: a host that
// keeps its own record there must find it unchanged, and the control must
// go on working.
TEST(Library, UserDataSlotStaysTheHosts) {
    ControlWindow w;
    static LONG_PTR host_record[16] = {};
    const LONG_PTR mine = reinterpret_cast<LONG_PTR>(host_record);
    SetWindowLongPtrA(w.hwnd(), GWLP_USERDATA, mine);
    w.SetData({0x00, 0x00, 0x00});
    wt::Chars(w.hwnd(), "41");
    wt::Key(w.hwnd(), VK_RIGHT);
    wt::Chars(w.hwnd(), "7");
    UpdateWindow(w.hwnd());
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{0x41, 0x00, 0x70}));
    EXPECT_EQ(w.Send(PM_CANUNDO), 1);
    EXPECT_EQ(GetWindowLongPtrA(w.hwnd(), GWLP_USERDATA), mine);
    for (LONG_PTR v : host_record) EXPECT_EQ(v, 0);
}

TEST(Library, UnregistersTheClassAtUnload) {
    if (GetModuleHandleA(PELOMAR_DLL)) {
        // Earlier cases keep the library loaded: this one runs again in a
        // process of its own, where nothing loads it first.
        ASSERT_EQ(std::getenv("PELOMAR_RUN_ALONE"), nullptr) << "loaded before the case";
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        _putenv("PELOMAR_RUN_ALONE=1");
        EXPECT_EQ(_spawnl(_P_WAIT, exe, "alone", "--gtest_filter=Library.UnregistersTheClassAtUnload", nullptr), 0);
        _putenv("PELOMAR_RUN_ALONE=");
        return;
    }
    HMODULE lib = LoadLibraryA(PELOMAR_DLL);
    ASSERT_NE(lib, nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(lib, PELOMAR_CLASS, &wc));
    FreeLibrary(lib);
    ASSERT_EQ(GetModuleHandleA(PELOMAR_DLL), nullptr);
    EXPECT_FALSE(GetClassInfoExA(lib, PELOMAR_CLASS, &wc));
}

TEST(Protocol, SetDataLaysOutAndSetsTheScrollRange) {
    ControlWindow w(WithScrollBar(600), 400);
    ASSERT_EQ(w.Client().cx, 600);
    w.SetData(std::vector<std::uint8_t>(1000));
    EXPECT_EQ(wt::StateOf(w.hwnd())->bytes_per_line, 16u);
    EXPECT_EQ(wt::StateOf(w.hwnd())->rows, 25u);
    SCROLLINFO si = Scroll(w.hwnd());
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 62);
    EXPECT_EQ(si.nPage, 25u);
    EXPECT_EQ(si.nPos, 0);
}

TEST(Protocol, ShortDataShowsADisabledScrollBar) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(100));
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    ASSERT_TRUE(GetScrollBarInfo(w.hwnd(), OBJID_VSCROLL, &sbi));
    EXPECT_FALSE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "shown, not hidden";
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
}

TEST(Protocol, SelectRangeScrollsToTheStartWithAndWithoutOffsetBase) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(100000));
    w.Send(PM_SELECTRANGE, 0x1000, 0x1010);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0x100);
    w.Send(PM_SETOFFSETBASE, 0x1000);
    w.Send(PM_SELECTRANGE, 0x1000, 0x1010);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
    w.Send(PM_SELECTRANGE, 0x3000, 0x2000);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0x200);
}

TEST(Protocol, SelectRangeBeyondTheDataShowsTheLastPage) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(10000));
    w.Send(PM_SELECTRANGE, 0xFFFFFFFF, 0xFFFFFFFF);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 600);  // last line 624, 25 rows
}

// With exactly one line more than the rows, a range on that line (or on
// line 0 while the view is scrolled by one) must be brought into view.
TEST(Protocol, SelectRangeShowsTheOneLineThatDoesNotFit) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(26 * 16));
    ASSERT_EQ(Scroll(w.hwnd()).nMax, 25);
    w.Send(PM_SELECTRANGE, 25 * 16 + 2, 25 * 16 + 4);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 1);
    EXPECT_EQ(wt::StateOf(w.hwnd())->first_visible_line, 1u);
    w.Send(WM_VSCROLL, SB_TOP);
    w.Send(WM_VSCROLL, SB_LINEDOWN);
    ASSERT_EQ(Scroll(w.hwnd()).nPos, 1);
    w.Send(PM_SELECTRANGE, 3, 5);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
    EXPECT_EQ(wt::StateOf(w.hwnd())->first_visible_line, 0u);
}

TEST(Protocol, SetDataStartsOverAtTheTop) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(10000));
    w.Send(PM_SELECTRANGE, 5000, 5001);
    ASSERT_GT(Scroll(w.hwnd()).nPos, 0);
    w.SetData(std::vector<std::uint8_t>(20000));
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
    EXPECT_EQ(w.Send(PM_CANUNDO), 0);
    EXPECT_EQ(w.Send(PM_CANREDO), 0);
}

TEST(Protocol, TwoControlsKeepSeparateState) {
    ControlWindow a(WithScrollBar(600), 400), b(WithScrollBar(600), 400);
    a.SetData(std::vector<std::uint8_t>(10000));
    b.SetData(std::vector<std::uint8_t>(10000));
    a.Send(PM_SELECTRANGE, 5000, 5001);
    EXPECT_GT(Scroll(a.hwnd()).nPos, 0);
    EXPECT_EQ(Scroll(b.hwnd()).nPos, 0);
    a.Send(PM_SETREADONLY, 1);
    EXPECT_EQ(b.Send(PM_SETREADONLY, 0), 0);
}

TEST(Protocol, FontFiveIsIgnoredAndOtherFontsRelayout) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(10000));
    const SCROLLINFO before = Scroll(w.hwnd());
    w.Send(PM_SETFONT, 5);
    w.Send(PM_SETFONT, 0xFFFFFFFF);
    SCROLLINFO after = Scroll(w.hwnd());
    EXPECT_EQ(after.nPage, before.nPage);
    EXPECT_EQ(after.nMax, before.nMax);
    w.Send(PM_SETFONT, 3);  // a taller face: fewer rows
    after = Scroll(w.hwnd());
    EXPECT_NE(after.nPage, before.nPage);
    EXPECT_EQ(GetFocus(), w.hwnd()) << "set font takes the focus";
}

// A theme or the properties dialog sends set font again: the view stays on
// the line that holds the byte that was at its top.
TEST(Protocol, SetFontKeepsTheTopByteInView) {
    ControlWindow w(WithScrollBar(600), 400);
    const unsigned size = 1000000, line = 30000;
    w.SetData(std::vector<std::uint8_t>(size));
    w.Send(PM_SELECTRANGE, line * 16 + 5, line * 16 + 5);
    ASSERT_EQ(Scroll(w.hwnd()).nPos, int(line));
    w.Send(PM_SETFONT, 0);
    for (UINT m = PM_SETCOLOURPAIR; m <= PM_SETCOLOURPAIR_LAST; ++m) w.Send(m, 0xFFFFFF, 0);
    w.Send(PM_SETOFFSETBASE, 0);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, int(line));
    EXPECT_EQ(wt::StateOf(w.hwnd())->first_visible_line, line);
    unsigned top_byte = line * 16;
    for (WPARAM font : {3, 1, 4, 2, 0}) {
        SCOPED_TRACE(font);
        w.Send(PM_SETFONT, font);
        const unsigned now = wt::StateOf(w.hwnd())->bytes_per_line;
        const SCROLLINFO si = Scroll(w.hwnd());
        ASSERT_EQ(si.nMax, int((size - 1) / now));
        EXPECT_LE(unsigned(si.nPos) * now, top_byte);
        EXPECT_GT((unsigned(si.nPos) + 1) * now, top_byte);
        top_byte = unsigned(si.nPos) * now;
    }
    // At the last page it stays at the last page.
    w.Send(PM_SELECTRANGE, size - 1, size - 1);
    const SCROLLINFO end = Scroll(w.hwnd());
    ASSERT_EQ(end.nPos, end.nMax - int(end.nPage) + 1);
    w.Send(PM_SETFONT, 0);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, end.nPos);
}

TEST(Protocol, ResizeRecomputesBytesPerLineAndKeepsSixtyFourAtMost) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(100000));
    MoveWindow(w.hwnd(), 0, 0, WithScrollBar(500), 400, TRUE);
    EXPECT_EQ(wt::StateOf(w.hwnd())->bytes_per_line, 13u);
    EXPECT_EQ(Scroll(w.hwnd()).nMax, 7692);
    MoveWindow(w.hwnd(), 0, 0, WithScrollBar(4000), 400, TRUE);
    EXPECT_EQ(wt::StateOf(w.hwnd())->bytes_per_line, 64u);
    EXPECT_EQ(Scroll(w.hwnd()).nMax, 1562);
}

TEST(Protocol, NarrowingKeepsTheTopByteInView) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(1000));
    // The last page, lines 38 to 62, by selecting the last byte.
    w.Send(PM_SELECTRANGE, 999, 999);
    ASSERT_EQ(Scroll(w.hwnd()).nPos, 38);
    MoveWindow(w.hwnd(), 0, 0, WithScrollBar(333), 400, TRUE);  // 8 bytes per line
    ASSERT_EQ(wt::StateOf(w.hwnd())->bytes_per_line, 8u);
    const SCROLLINFO si = Scroll(w.hwnd());
    EXPECT_EQ(si.nMax, 124);
    EXPECT_EQ(si.nPos, 76) << "byte 608 stays at the top; the view does not jump to the last page";
}

TEST(Protocol, EmptyDataIsShownAsNothingAndNeverRead) {
    ControlWindow w(WithScrollBar(600), 400);
    w.Send(PM_SETDATA, 0, 0);
    w.Send(PM_SETDATA, reinterpret_cast<WPARAM>("x"), 0);
    UpdateWindow(w.hwnd());
    const SCROLLINFO si = Scroll(w.hwnd());
    EXPECT_EQ(si.nMax, 0);
    EXPECT_EQ(si.nPos, 0);
    w.Send(PM_SELECTRANGE, 5, 10);
    w.Send(PM_UNDO);
    w.Send(PM_REDO);
    UpdateWindow(w.hwnd());
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
}

// After going back to the placeholder nothing of the control points into
// the host's block any more: undo, redo and typing leave it as it is.
TEST(Protocol, BackToPlaceholderForgetsTheBlock) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(10000));
    w.Send(PM_SELECTRANGE, 5000, 5002);
    wt::Chars(w.hwnd(), "7A");
    w.Send(PM_UNDO);  // leaves 70 70, with a step to undo and one to redo
    ASSERT_EQ(w.Send(PM_CANUNDO) + w.Send(PM_CANREDO), 2);
    std::vector<std::uint8_t> expected(10000);
    expected[5000] = expected[5001] = 0x70;
    ASSERT_EQ(w.data(), expected);
    w.Send(PM_PLACEHOLDER);
    const Control* c = wt::StateOf(w.hwnd());
    EXPECT_EQ(c->data_size, 1u);
    EXPECT_EQ(c->caret + c->anchor + c->first_visible_line, 0u);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
    EXPECT_EQ(Scroll(w.hwnd()).nMax, 0);
    EXPECT_EQ(w.Send(PM_CANUNDO), 0);
    EXPECT_EQ(w.Send(PM_CANREDO), 0);
    w.Send(PM_UNDO);
    w.Send(PM_REDO);
    wt::Key(w.hwnd(), 'Z', false, true);
    wt::Chars(w.hwnd(), "55");
    UpdateWindow(w.hwnd());
    EXPECT_EQ(w.data(), expected);
}

TEST(Protocol, ColourAndOffsetMessagesReturnZero) {
    ControlWindow w;
    for (UINT m = PM_SETCOLOURPAIR; m <= PM_SETCOLOURPAIR_LAST; ++m)
        EXPECT_EQ(w.Send(m, 0x123456, 0x654321), 0);
    EXPECT_EQ(w.Send(PM_SETOFFSETBASE, 0x1000), 0);
    EXPECT_EQ(w.Send(PM_SETFONT, 1), 0);
    EXPECT_EQ(w.Send(PM_SETREADONLY, 1), 1);
}

namespace {

// What a parent hears: every WM_NOTIFY from the control, in order. The
// parent window's procedure is replaced for the listener's lifetime; a
// reply, when set, runs inside each notification.
struct Heard {
    UINT code;
    PELOMAR_OFFSET a, b;     // anchor and caret, or first and count
    unsigned cause, changed;
    bool operator==(const Heard& o) const {
        return code == o.code && a == o.a && b == o.b && cause == o.cause && changed == o.changed;
    }
};
void PrintTo(const Heard& e, std::ostream* os) {
    *os << (e.code == PMN_SELCHANGE ? "selchange " : "change ") << e.a << ' ' << e.b << ' ' << e.cause << ' '
        << e.changed;
}
Heard SelChange(PELOMAR_OFFSET anchor, PELOMAR_OFFSET caret) { return {PMN_SELCHANGE, anchor, caret, 0, 0}; }
Heard Change(PELOMAR_OFFSET first, PELOMAR_OFFSET count, unsigned cause, unsigned changed) {
    return {PMN_CHANGE, first, count, cause, changed};
}
using Heards = std::vector<Heard>;

class Listener {
public:
    explicit Listener(HWND parent) : parent_(parent) {
        current_ = this;
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~Listener() {
        SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        current_ = nullptr;
    }
    // The notifications heard since the last call.
    std::vector<Heard> Take() { return std::move(heard_); }
    void (*reply)(const Heard&) = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        Listener* l = current_;
        if (msg != WM_NOTIFY) return CallWindowProcA(l->old_, h, msg, wp, lp);
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        Heard e{hdr->code, 0, 0, 0, 0};
        EXPECT_EQ(wp, hdr->idFrom);
        EXPECT_EQ(hdr->idFrom, UINT_PTR(GetDlgCtrlID(hdr->hwndFrom)));
        if (hdr->code == PMN_SELCHANGE) {
            const auto* n = reinterpret_cast<const PELOMAR_NMSELCHANGE*>(lp);
            e.a = n->anchor;
            e.b = n->caret;
        } else {
            const auto* n = reinterpret_cast<const PELOMAR_NMCHANGE*>(lp);
            e = {hdr->code, n->first, n->count, n->cause, n->changed};
        }
        l->heard_.push_back(e);
        if (l->reply) l->reply(e);
        return 0;
    }
    static Listener* current_;
    HWND parent_;
    WNDPROC old_;
    std::vector<Heard> heard_;
};
Listener* Listener::current_ = nullptr;

LRESULT Write(const ControlWindow& w, PELOMAR_OFFSET at, const char* bytes, PELOMAR_OFFSET count) {
    PELOMAR_WRITE pw{at, bytes, count};
    return w.Send(PM_WRITE, 0, reinterpret_cast<LPARAM>(&pw));
}

 
}  // namespace

TEST(Notify, NothingIsSentWithoutTheOptIn) {
    ControlWindow w(WithScrollBar(600), 400);
    Listener parent(w.parent());
    w.SetData(std::vector<std::uint8_t>(100));
    wt::Chars(w.hwnd(), "41");
    wt::Click(w.hwnd(), wt::Cells(16).hex(2, 3));
    w.Send(PM_UNDO);
    EXPECT_EQ(w.Send(PM_SETNOTIFY, PM_NOTIFY_CHANGE | 0x100), 0);
    wt::Key(w.hwnd(), VK_RIGHT);
    EXPECT_EQ(w.Send(PM_SETNOTIFY, 0), PM_NOTIFY_CHANGE) << "a move is no change; other bits are dropped";
    Write(w, 5, "ab", 2);
    EXPECT_TRUE(parent.Take().empty());
}

TEST(Notify, EachKindOnceForEachActionWithItsValues) {
    ControlWindow w(WithScrollBar(600), 400);
    SetWindowLongPtrA(w.hwnd(), GWLP_ID, 77);
    w.SetData(std::vector<std::uint8_t>(1000));
    Listener parent(w.parent());
    w.Send(PM_SETNOTIFY, PM_NOTIFY_SELCHANGE | PM_NOTIFY_CHANGE);
    wt::Chars(w.hwnd(), "4");
    EXPECT_EQ(parent.Take(), (Heards{Change(0, 1, PM_CAUSE_TYPING, 1)})) << "control id 77";
    wt::Chars(w.hwnd(), "1");
    EXPECT_EQ(parent.Take(), (Heards{SelChange(1, 1), Change(0, 1, PM_CAUSE_TYPING, 1)}));
    wt::Key(w.hwnd(), VK_RIGHT, true);
    EXPECT_EQ(parent.Take(), (Heards{SelChange(1, 2)}));
    wt::Click(w.hwnd(), wt::Cells(16).hex(2, 3));
    EXPECT_EQ(parent.Take(), (Heards{SelChange(35, 35)}));
    w.Send(PM_UNDO);
    EXPECT_EQ(parent.Take(), (Heards{Change(0, 1, PM_CAUSE_UNDO, 1)}));
    w.Send(PM_UNDO);
    EXPECT_EQ(parent.Take(), (Heards{Change(0, 1, PM_CAUSE_UNDO, 0)}));
    w.Send(PM_REDO);
    EXPECT_EQ(parent.Take(), (Heards{Change(0, 1, PM_CAUSE_REDO, 1)}));
    EXPECT_EQ(Write(w, 998, "xyz", 3), 2);
    EXPECT_EQ(parent.Take(), (Heards{Change(998, 2, PM_CAUSE_WRITE, 1)}));
    w.Send(PM_SELECTRANGE, 10, 20);
    EXPECT_EQ(parent.Take(), (Heards{SelChange(10, 20)}));
    w.Send(PM_SELECTRANGE, 10, 20);
    UpdateWindow(w.hwnd());
    EXPECT_TRUE(parent.Take().empty()) << "nothing moved, and painting says nothing";

    // A drag: each timer tick of the auto-scroll is one message, one notice.
    const wt::Cells cells(16);
    w.Send(WM_LBUTTONDOWN, MK_LBUTTON, wt::At(cells.hex(0, 0)));
    w.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(cells.hex_left() + 2, 398));
    parent.Take();
    w.Send(WM_TIMER, 100);
    w.Send(WM_TIMER, 100);
    EXPECT_EQ(parent.Take(), (Heards{SelChange(0, 16), SelChange(0, 32)}));
    w.Send(WM_LBUTTONUP, 0, MAKELPARAM(cells.hex_left() + 2, 398));
}

// The parent may answer a notification with any message, even one that ends
// the control: each nested message reports for itself, afterwards.
TEST(Notify, TheParentMaySendMessagesBackFromInsideANotification) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData({0x00, 0x00, 0x00});
    Listener parent(w.parent());
    static HWND control;
    control = w.hwnd();
    parent.reply = [](const Heard& e) {
        if (e.code == PMN_CHANGE && e.cause == PM_CAUSE_TYPING) SendMessageA(control, PM_UNDO, 0, 0);
        if (e.code == PMN_SELCHANGE && e.b == 2) SendMessageA(control, PM_SELECTRANGE, 0, 0);
    };
    w.Send(PM_SETNOTIFY, PM_NOTIFY_SELCHANGE | PM_NOTIFY_CHANGE);
    wt::Chars(w.hwnd(), "A");
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{0x00, 0x00, 0x00})) << "undone from the notification";
    EXPECT_EQ(parent.Take(), (Heards{Change(0, 1, PM_CAUSE_TYPING, 1), Change(0, 1, PM_CAUSE_UNDO, 0)}));
    w.Send(PM_SELECTRANGE, 1, 2);
    EXPECT_EQ(parent.Take(), (Heards{SelChange(1, 2), SelChange(0, 0)}));
    EXPECT_EQ(w.Send(PM_GETCARET), 0);

    parent.reply = [](const Heard&) { DestroyWindow(control); };
    Write(w, 0, "z", 1);
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(w.data()[0], 'z');
}

TEST(ReadBack, EverySetterRoundTrips) {
    ControlWindow w(WithScrollBar(600), 400);
    EXPECT_EQ(w.Send(PM_GETDATA), 0) << "the placeholder is no block";
    EXPECT_EQ(w.Send(PM_GETDATASIZE), 0);
    EXPECT_EQ(w.Send(PM_GETFONT), 0);
    w.SetData(std::vector<std::uint8_t>(100000));
    EXPECT_EQ(w.Send(PM_GETDATA), reinterpret_cast<LRESULT>(w.data().data()));
    EXPECT_EQ(w.Send(PM_GETDATASIZE), 100000);
    w.Send(PM_SETFONT, 3);
    w.Send(PM_SETFONT, 7);
    EXPECT_EQ(w.Send(PM_GETFONT), 3);
    w.Send(PM_SETFONT, 0);
    for (unsigned pair = 0; pair < PM_COLOUR_PAIRS; ++pair) {
        w.Send(PM_SETCOLOURPAIR + pair, 0x010000 * pair + 1, 0x000100 * pair + 2);
        unsigned int got[2] = {};
        EXPECT_EQ(w.Send(PM_GETCOLOURPAIR, pair, reinterpret_cast<LPARAM>(got)), 1);
        EXPECT_EQ(got[0], 0x010000 * pair + 1);
        EXPECT_EQ(got[1], 0x000100 * pair + 2);
    }
    unsigned int untouched[2] = {5, 5};
    EXPECT_EQ(w.Send(PM_GETCOLOURPAIR, PM_COLOUR_PAIRS, reinterpret_cast<LPARAM>(untouched)), 0);
    EXPECT_EQ(untouched[0] + untouched[1], 10u);
    w.Send(PM_SETOFFSETBASE, 0x1000);
    EXPECT_EQ(w.Send(PM_GETOFFSETBASE), 0x1000);
    w.Send(PM_SELECTRANGE, 0x1000 + 5000, 0x1000 + 4990);
    EXPECT_EQ(w.Send(PM_GETANCHOR), 5000);
    EXPECT_EQ(w.Send(PM_GETCARET), 4990);
    EXPECT_EQ(w.Send(PM_GETFIRSTLINE), 5000 / 16);
    EXPECT_EQ(w.Send(PM_GETBYTESPERLINE), 16);
    MoveWindow(w.hwnd(), 0, 0, WithScrollBar(500), 400, TRUE);
    EXPECT_EQ(w.Send(PM_GETBYTESPERLINE), 13);
    w.Send(PM_SETREADONLY, 2);
    EXPECT_EQ(w.Send(PM_GETREADONLY), 2);
}

// A program's write is one undo step; clearing the history makes the bytes
// as they are the unchanged state; scrolling to an offset leaves the caret.
TEST(ProgramWrite, IsOneUndoStepAndTheHistoryCanBeCleared) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(1000, 0x11));
    EXPECT_EQ(Write(w, 998, "abc", 3), 2);
    EXPECT_EQ(w.data()[998] + w.data()[999], 'a' + 'b');
    EXPECT_EQ(w.Send(PM_GETCHANGED), 1);
    w.Send(PM_UNDO);
    EXPECT_EQ(w.data(), std::vector<std::uint8_t>(1000, 0x11));
    EXPECT_EQ(w.Send(PM_CANUNDO) + w.Send(PM_GETCHANGED), 0) << "one step, undone";
    w.Send(PM_REDO);
    w.Send(PM_CLEARHISTORY);
    EXPECT_EQ(w.Send(PM_CANUNDO) + w.Send(PM_CANREDO) + w.Send(PM_GETCHANGED), 0);
    EXPECT_EQ(w.data()[998], 'a');

    w.Send(PM_SCROLLTO, 999);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 62 - 24);
    w.Send(PM_SCROLLTO, 100);
    EXPECT_EQ(w.Send(PM_GETFIRSTLINE), 6);
    EXPECT_EQ(w.Send(PM_GETCARET) + w.Send(PM_GETANCHOR), 0);
}

// Without WS_VSCROLL the control has no bar while its data fits; the first
// layout whose data has more lines than rows adds it.
TEST(Protocol, WithoutScrollStyleTheBarComesWithTheFirstDataThatDoesNotFit) {
    ControlWindow w(600, 400, 0);
    w.SetData(std::vector<std::uint8_t>(100));
    EXPECT_FALSE(GetWindowLongPtrA(w.hwnd(), GWL_STYLE) & WS_VSCROLL);
    w.SetData(std::vector<std::uint8_t>(100000));
    EXPECT_TRUE(GetWindowLongPtrA(w.hwnd(), GWL_STYLE) & WS_VSCROLL);
}
