// The library's entry and the control's message protocol, driven through
// real windows.
#include <gtest/gtest.h>

#include <string>

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
int WithScrollBar(int client) { return client + GetSystemMetrics(SM_CXVSCROLL); }

// Bytes per line the layout gives a client `w` pixels wide with font 0.
unsigned BytesPerLine(int w) {
    const SIZE cell = wt::Font0Cell();
    unsigned bpl = unsigned((w - 13 - 8 * cell.cx) / (4 * cell.cx));
    return bpl > 64 ? 64 : bpl;
}

unsigned Rows(int h) {
    const SIZE cell = wt::Font0Cell();
    return unsigned((h - cell.cy - 1) / cell.cy);
}

// Runs one case of this program alone in a new process; its exit code.
DWORD RunAlone(const char* test) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe + "\" --gtest_filter=" + test;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return ~0u;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = ~0u;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

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
        // Earlier cases keep the library loaded: this one runs in a process
        // of its own, where nothing loads it first.
        ASSERT_EQ(GetEnvironmentVariableA("PELOMAR_RUN_ALONE", nullptr, 0), 0u) << "loaded before the case";
        SetEnvironmentVariableA("PELOMAR_RUN_ALONE", "1");
        EXPECT_EQ(RunAlone("Library.UnregistersTheClassAtUnload"), 0u);
        SetEnvironmentVariableA("PELOMAR_RUN_ALONE", nullptr);
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

TEST(Layout, FontZeroIsMeasuredAsTheLayoutExpects) {
    const SIZE cell = wt::Font0Cell();
    EXPECT_GT(cell.cx, 0);
    EXPECT_GT(cell.cy, 0);
}

TEST(Protocol, SetDataLaysOutAndSetsTheScrollRange) {
    ControlWindow w(WithScrollBar(600), 400);
    ASSERT_EQ(w.Client().cx, 600);
    w.SetData(std::vector<std::uint8_t>(1000));
    const unsigned bpl = BytesPerLine(600);
    SCROLLINFO si = Scroll(w.hwnd());
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, int(999 / bpl));
    EXPECT_EQ(si.nPage, Rows(400));
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
    const unsigned bpl = BytesPerLine(600);
    w.Send(PM_SELECTRANGE, 0x1000, 0x1010);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, int(0x1000 / bpl));
    w.Send(PM_SETOFFSETBASE, 0x1000);
    w.Send(PM_SELECTRANGE, 0x1000, 0x1010);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
    w.Send(PM_SELECTRANGE, 0x3000, 0x2000);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, int(0x2000 / bpl));
}

TEST(Protocol, SelectRangeBeyondTheDataShowsTheLastPage) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(10000));
    w.Send(PM_SELECTRANGE, 0xFFFFFFFF, 0xFFFFFFFF);
    const unsigned last = 9999 / BytesPerLine(600);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, int(last - Rows(400) + 1));
}

// With exactly one line more than the rows, a range on that line (or on
// line 0 while the view is scrolled by one) must be brought into view.
TEST(Protocol, SelectRangeShowsTheOneLineThatDoesNotFit) {
    ControlWindow w(WithScrollBar(600), 400);
    const unsigned bpl = BytesPerLine(600), rows = Rows(400);
    w.SetData(std::vector<std::uint8_t>((rows + 1) * bpl));
    ASSERT_EQ(Scroll(w.hwnd()).nMax, int(rows));
    w.Send(PM_SELECTRANGE, rows * bpl + 2, rows * bpl + 4);
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
    const unsigned size = 1000000, bpl = BytesPerLine(600);
    w.SetData(std::vector<std::uint8_t>(size));
    const unsigned line = 30000;
    w.Send(PM_SELECTRANGE, line * bpl + 5, line * bpl + 5);
    ASSERT_EQ(Scroll(w.hwnd()).nPos, int(line));
    w.Send(PM_SETFONT, 0);
    for (UINT m = PM_SETCOLOURPAIR; m <= PM_SETCOLOURPAIR_LAST; ++m) w.Send(m, 0xFFFFFF, 0);
    w.Send(PM_SETOFFSETBASE, 0);
    EXPECT_EQ(Scroll(w.hwnd()).nPos, int(line));
    EXPECT_EQ(wt::StateOf(w.hwnd())->first_visible_line, line);
    unsigned top_byte = line * bpl;
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
    EXPECT_EQ(Scroll(w.hwnd()).nMax, int(99999 / BytesPerLine(500)));
    MoveWindow(w.hwnd(), 0, 0, WithScrollBar(4000), 400, TRUE);
    EXPECT_EQ(Scroll(w.hwnd()).nMax, int(99999 / 64));
}

TEST(Protocol, NarrowingKeepsTheTopByteInView) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(1000));
    const unsigned bpl = BytesPerLine(600), rows = Rows(400);
    // Scroll to the last page by selecting the last byte.
    w.Send(PM_SELECTRANGE, 999, 999);
    const unsigned first = Scroll(w.hwnd()).nPos;
    ASSERT_EQ(first, 999 / bpl - rows + 1);
    const SIZE cell = wt::Font0Cell();
    const int narrow = 13 + 8 * cell.cx + 8 * 4 * cell.cx;  // 8 bytes per line
    MoveWindow(w.hwnd(), 0, 0, WithScrollBar(narrow), 400, TRUE);
    const SCROLLINFO si = Scroll(w.hwnd());
    EXPECT_EQ(si.nMax, 999 / 8);
    const unsigned expected = first * bpl / 8;
    EXPECT_EQ(unsigned(si.nPos), expected + rows >= unsigned(si.nMax) ? si.nMax - rows + 1 : expected);
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

TEST(Protocol, BackToPlaceholderForgetsTheBlock) {
    ControlWindow w(WithScrollBar(600), 400);
    w.SetData(std::vector<std::uint8_t>(10000));
    w.Send(PM_SELECTRANGE, 5000, 5001);
    w.Send(PM_PLACEHOLDER);
    w.data() = {};  // the block is gone
    EXPECT_EQ(Scroll(w.hwnd()).nPos, 0);
    EXPECT_EQ(Scroll(w.hwnd()).nMax, 0);
    EXPECT_EQ(w.Send(PM_CANUNDO), 0);
    w.Send(PM_UNDO);
    w.Send(PM_REDO);
    UpdateWindow(w.hwnd());
}

TEST(Protocol, ColourAndOffsetMessagesReturnZero) {
    ControlWindow w;
    for (UINT m = PM_SETCOLOURPAIR; m <= PM_SETCOLOURPAIR_LAST; ++m)
        EXPECT_EQ(w.Send(m, 0x123456, 0x654321), 0);
    EXPECT_EQ(w.Send(PM_SETOFFSETBASE, 0x1000), 0);
    EXPECT_EQ(w.Send(PM_SETFONT, 1), 0);
    EXPECT_EQ(w.Send(PM_SETREADONLY, 1), 1);
}
