// Caret keys and typing through real windows: bytes, caret, selection and
// scroll position after WM_KEYDOWN and WM_CHAR.
#include <gtest/gtest.h>

#include "support/edit_support.h"

using wt::ControlWindow;
using wt::Key;
using wt::StateOf;
using Bytes = std::vector<std::uint8_t>;

namespace {

int ScrollPos(HWND hwnd) { return wt::VerticalScroll(hwnd).nPos; }

void ClickText(ControlWindow& w, int row, int column) {
    wt::Cells cells(int(StateOf(w.hwnd())->bytes_per_line));
    wt::Click(w.hwnd(), cells.text(row, column));
}

}  // namespace

TEST(Typing, TwoHexDigitsOverwriteAByteAndStepOn) {
    ControlWindow w;
    w.SetData({0x41, 0x42, 0x43});
    wt::Chars(w.hwnd(), "7");
    EXPECT_EQ(w.data(), (Bytes{0x71, 0x42, 0x43}));
    EXPECT_EQ(StateOf(w.hwnd())->caret, 0u);
    EXPECT_EQ(w.Send(PM_CANUNDO), 1);
    wt::Chars(w.hwnd(), "F");
    EXPECT_EQ(w.data(), (Bytes{0x7F, 0x42, 0x43}));
    EXPECT_EQ(StateOf(w.hwnd())->caret, 1u);
}

TEST(Typing, FirstDigitThenDownWritesTheHighNibbleBelow) {
    ControlWindow w;
    w.SetData(Bytes(64, 0x00));
    wt::Chars(w.hwnd(), "3");
    Key(w.hwnd(), VK_DOWN);
    wt::Chars(w.hwnd(), "9");
    EXPECT_EQ(w.data()[0], 0x30);
    EXPECT_EQ(w.data()[15], 0x90);  // 15 bytes per line
}

TEST(Typing, DigitsFillASelectedRange) {
    ControlWindow w;
    w.SetData({0x00, 0x11, 0x22, 0x33});
    w.Send(PM_SELECTRANGE, 1, 3);
    wt::Chars(w.hwnd(), "AB");
    EXPECT_EQ(w.data(), (Bytes{0x00, 0xAB, 0xAB, 0x33}));
    EXPECT_EQ(StateOf(w.hwnd())->anchor, 1u);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 3u);
}

TEST(Typing, TextViewTakesShiftedLettersAndControlCharacters) {
    ControlWindow w;
    w.SetData({0x00, 0x00, 0x00, 0x00});
    ClickText(w, 0, 0);
    ASSERT_EQ(StateOf(w.hwnd())->active_view, 1u);
    wt::SetModifiers(true, false);
    SendMessageA(w.hwnd(), WM_KEYDOWN, 'A', 1);
    SendMessageA(w.hwnd(), WM_CHAR, 'A', 1);
    wt::SetModifiers(false, false);
    EXPECT_EQ(w.data(), (Bytes{0x41, 0x00, 0x00, 0x00}));
    EXPECT_EQ(StateOf(w.hwnd())->caret, 1u);
    EXPECT_EQ(StateOf(w.hwnd())->anchor, 1u);
    Key(w.hwnd(), VK_BACK);
    wt::Chars(w.hwnd(), "\b\r");
    EXPECT_EQ(w.data(), (Bytes{0x41, 0x08, 0x0D, 0x00}));
}

TEST(Typing, ReadOnlyBlocksTypingButNotUndo) {
    ControlWindow w;
    w.SetData({0x10, 0x20});
    wt::Chars(w.hwnd(), "55");
    w.Send(PM_SETREADONLY, 1);
    wt::Chars(w.hwnd(), "99");
    EXPECT_EQ(w.data(), (Bytes{0x55, 0x20}));
    Key(w.hwnd(), 'Z', false, true);
    EXPECT_EQ(w.data()[0], 0x50);
    Key(w.hwnd(), 'Y', false, true);
    EXPECT_EQ(w.data()[0], 0x55);
    w.Send(PM_SETREADONLY, 2);
    Key(w.hwnd(), VK_LEFT);
    wt::Chars(w.hwnd(), "77");
    EXPECT_EQ(w.data()[0], 0x77);
}

#ifdef _WIN64
// A 64-bit caller hands over more than 4 GiB: the control takes the whole
// size, neither cut to its low 32 bits (here 3) nor held at 4 GiB - 1, and
// its last byte, past 4 GiB, is typed into where it lies.
TEST(Typing, ABlockOverFourGigabytesIsTakenWhole) {
    const SIZE_T size = (SIZE_T(1) << 32) + 3;
    const SIZE_T page = 0x10000, tail = (SIZE_T(1) << 32) - 16 * page;
    auto* block = static_cast<std::uint8_t*>(VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(block, nullptr);
    // What the view can show at either end; the rest is never touched.
    ASSERT_NE(VirtualAlloc(block, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
    ASSERT_NE(VirtualAlloc(block + tail, size - tail, MEM_COMMIT, PAGE_READWRITE), nullptr);
    {
        ControlWindow w;
        w.Send(PM_SETDATA, reinterpret_cast<WPARAM>(block), LPARAM(size));
        EXPECT_EQ(StateOf(w.hwnd())->data_size, size);
        w.Send(PM_SELECTRANGE, size - 1, size - 1);
        UpdateWindow(w.hwnd());
        wt::Chars(w.hwnd(), "7e");
        EXPECT_EQ(block[size - 1], 0x7E);
        EXPECT_EQ(block[2], 0x00);
        EXPECT_EQ(StateOf(w.hwnd())->caret, size);
        w.Send(PM_PLACEHOLDER);
    }
    VirtualFree(block, 0, MEM_RELEASE);
}
#endif

TEST(Typing, CharacterWithCtrlHeldWritesNothing) {
    ControlWindow w;
    w.SetData({0x10});
    wt::SetModifiers(false, true);
    SendMessageA(w.hwnd(), WM_KEYDOWN, 'A', 1);
    SendMessageA(w.hwnd(), WM_CHAR, 0x01, 1);
    SendMessageA(w.hwnd(), WM_CHAR, 'a', 1);
    wt::SetModifiers(false, false);
    EXPECT_EQ(w.data()[0], 0x10);
}

TEST(Typing, AltGrCharactersAreTyped) {
    ControlWindow w;
    w.SetData({0x10, 0x20});
    w.Send(PM_SELECTRANGE, 0, 0);
    BYTE ks[256];
    GetKeyboardState(ks);
    ks[VK_CONTROL] = ks[VK_LCONTROL] = ks[VK_MENU] = ks[VK_RMENU] = 0x80;
    SetKeyboardState(ks);
    SendMessageA(w.hwnd(), WM_KEYDOWN, 'Q', 1);  // AltGr+Q gives '@' on a German layout
    SendMessageA(w.hwnd(), WM_CHAR, 'a', 1);     // a hex digit in the hex view
    wt::SetModifiers(false, false);
    ks[VK_MENU] = ks[VK_RMENU] = 0;
    SetKeyboardState(ks);
    wt::SetModifiers(false, false);
    EXPECT_EQ(w.data()[0], 0xA0) << "Ctrl with Alt is AltGr: its characters are typed";
}

TEST(Typing, AtTheEndPositionWritesNothing) {
    ControlWindow w;
    w.SetData({0x01, 0x02});
    Key(w.hwnd(), VK_RIGHT);
    Key(w.hwnd(), VK_RIGHT);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 2u);
    Key(w.hwnd(), VK_RIGHT);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 2u);
    wt::Chars(w.hwnd(), "FF");
    EXPECT_EQ(w.data(), (Bytes{0x01, 0x02}));
    EXPECT_EQ(w.Send(PM_CANUNDO), 0);
}

TEST(Typing, PlaceholderIsNeverWritten) {
    ControlWindow w;
    const Control* c = StateOf(w.hwnd());
    const std::uint8_t* placeholder = c->data;
    ASSERT_EQ(placeholder[0], 0x0D);
    wt::Chars(w.hwnd(), "12");
    ClickText(w, 0, 0);
    wt::Chars(w.hwnd(), "x");
    EXPECT_EQ(placeholder[0], 0x0D);
    // Given back the placeholder, the control no longer walks the old history.
    w.SetData({0x00, 0x00});
    wt::Chars(w.hwnd(), "ab");
    ASSERT_EQ(w.data()[0], 'a');
    w.Send(PM_PLACEHOLDER);
    w.data()[0] = 0x77;
    w.Send(PM_UNDO);
    Key(w.hwnd(), 'Z', false, true);
    w.Send(PM_REDO);
    wt::Chars(w.hwnd(), "c");
    EXPECT_EQ(w.data(), (Bytes{0x77, 'b'}));
    EXPECT_EQ(StateOf(w.hwnd())->data[0], 0x0D);
}

TEST(Typing, EmptyDataTakesNoKeyAndNoCharacter) {
    ControlWindow w;
    Bytes guard = {0xAA, 0xBB};
    w.Send(PM_SETDATA, reinterpret_cast<WPARAM>(guard.data()), 0);
    const WPARAM keys[] = {VK_RIGHT, VK_LEFT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT};
    for (WPARAM k : keys) {
        Key(w.hwnd(), k);
        Key(w.hwnd(), k, true);
        wt::Chars(w.hwnd(), "5a");
    }
    const Control* c = StateOf(w.hwnd());
    EXPECT_EQ(c->caret, 0u);
    EXPECT_EQ(c->anchor, 0u);
    EXPECT_EQ(c->first_visible_line, 0u);
    EXPECT_EQ(guard, (Bytes{0xAA, 0xBB}));
    EXPECT_EQ(w.Send(PM_CANUNDO), 0);
}

TEST(Keys, ShiftRightSelectsAndLeftCollapses) {
    ControlWindow w;
    w.SetData(Bytes(100, 0));
    w.Send(PM_SELECTRANGE, 5, 5);
    for (int i = 0; i < 3; ++i) Key(w.hwnd(), VK_RIGHT, true);
    EXPECT_EQ(StateOf(w.hwnd())->anchor, 5u);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 8u);
    Key(w.hwnd(), VK_LEFT);
    EXPECT_EQ(StateOf(w.hwnd())->anchor, 7u);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 7u);
}

// The default window (600 x 400 with its scroll bar, font 0's 8 x 15
// cell) shows 15 bytes per line in 25 rows.
TEST(Keys, ShiftHomeEndAndTheLastLine) {
    ControlWindow w;
    w.SetData(Bytes(100, 0));
    ASSERT_EQ(StateOf(w.hwnd())->bytes_per_line, 15u);
    w.Send(PM_SELECTRANGE, 19, 20);
    Key(w.hwnd(), VK_HOME, true);
    EXPECT_EQ(StateOf(w.hwnd())->anchor, 19u);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 15u);
    w.Send(PM_SELECTRANGE, 90, 90);  // the last line, 90 to 99
    Key(w.hwnd(), VK_END);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 99u);
}

TEST(Keys, PageDownOnDataThatFits) {
    ControlWindow w;
    w.SetData(Bytes(100, 0));
    Key(w.hwnd(), VK_RIGHT);
    Key(w.hwnd(), VK_NEXT);
    EXPECT_EQ(StateOf(w.hwnd())->caret, 91u);  // column 1 of the last line
    EXPECT_EQ(StateOf(w.hwnd())->first_visible_line, 0u);
    EXPECT_EQ(ScrollPos(w.hwnd()), 0);
}

TEST(Keys, PagesAndLinesScrollLongData) {
    ControlWindow w;
    w.SetData(Bytes(100000, 0));  // lines 0 to 6666
    const Control* c = StateOf(w.hwnd());
    ASSERT_EQ(c->bytes_per_line, 15u);
    ASSERT_EQ(c->rows, 25u);
    Key(w.hwnd(), VK_NEXT);
    EXPECT_EQ(c->caret, 375u);
    EXPECT_EQ(c->first_visible_line, 25u);
    EXPECT_EQ(ScrollPos(w.hwnd()), 25);
    Key(w.hwnd(), VK_PRIOR);
    EXPECT_EQ(c->caret, 0u);
    EXPECT_EQ(c->first_visible_line, 0u);
    // Down from the last visible row scrolls one line.
    for (int i = 0; i < 25; ++i) Key(w.hwnd(), VK_DOWN);
    EXPECT_EQ(c->caret, 375u);
    EXPECT_EQ(c->first_visible_line, 1u);
    EXPECT_EQ(ScrollPos(w.hwnd()), 1);
    // Right in the last cell of the view scrolls; Left on the first byte.
    Key(w.hwnd(), VK_END);
    Key(w.hwnd(), VK_RIGHT);
    EXPECT_EQ(c->first_visible_line, 2u);
    w.Send(PM_SELECTRANGE, 30, 30);
    Key(w.hwnd(), VK_LEFT);
    EXPECT_EQ(c->first_visible_line, 1u);
    // Page Down near the end shows the last page and the bar follows; the
    // caret keeps its column two lines further down.
    w.Send(PM_SELECTRANGE, 99963, 99963);
    Key(w.hwnd(), VK_NEXT);
    EXPECT_EQ(c->caret, 99993u);
    EXPECT_EQ(c->first_visible_line, 6642u);
    EXPECT_EQ(ScrollPos(w.hwnd()), 6642);
}

TEST(Keys, UpFromAboveTheViewScrollsOneLineAtATime) {
    ControlWindow w;
    w.SetData(Bytes(100000, 0));
    const Control* c = StateOf(w.hwnd());
    w.Send(PM_SELECTRANGE, 45, 45);  // line 3
    w.Send(WM_VSCROLL, SB_PAGEDOWN);
    w.Send(WM_VSCROLL, SB_PAGEDOWN);
    const pm::u32 top = c->first_visible_line;
    Key(w.hwnd(), VK_UP);
    EXPECT_EQ(c->first_visible_line, top - 1);
    EXPECT_EQ(c->caret, 30u);
    Key(w.hwnd(), VK_RIGHT);  // out of view: no scroll
    EXPECT_EQ(c->first_visible_line, top - 1);
}

TEST(Keys, UndoRedoByCtrlKeys) {
    ControlWindow w;
    w.SetData({0x00});
    Key(w.hwnd(), 'Z', false, true);  // nothing to undo
    EXPECT_EQ(w.data()[0], 0x00);
    wt::Chars(w.hwnd(), "41");
    Key(w.hwnd(), 'Z', false, true);
    EXPECT_EQ(w.data()[0], 0x40);
    Key(w.hwnd(), 'Z', false, true);
    EXPECT_EQ(w.data()[0], 0x00);
    EXPECT_EQ(w.Send(PM_CANUNDO), 0);
    Key(w.hwnd(), 'Z');  // without Ctrl: not an undo
    Key(w.hwnd(), 'Y', false, true);
    EXPECT_EQ(w.data()[0], 0x40);
    Key(w.hwnd(), 'Y', false, true);
    EXPECT_EQ(w.data()[0], 0x41);
    EXPECT_EQ(w.Send(PM_CANREDO), 0);
    // Undo keeps the caret where it is.
    EXPECT_EQ(StateOf(w.hwnd())->caret, 1u);
}

TEST(Keys, TabMovesTheFocusToTheNextControl) {
    ControlWindow w;
    HWND second = CreateWindowExA(0, PELOMAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 100, 100,
                                  w.parent(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(second, nullptr);
    SetFocus(w.hwnd());
    ASSERT_EQ(GetFocus(), w.hwnd());
    Key(w.hwnd(), VK_TAB);
    EXPECT_EQ(GetFocus(), second);
    Key(second, VK_TAB, true);
    EXPECT_EQ(GetFocus(), w.hwnd());
}

TEST(Keys, RecencyListKeepsTheNewestTwentyFour) {
    ControlWindow w;
    w.SetData(Bytes(40, 0));
    ClickText(w, 0, 0);
    std::string text(25, 'q');
    wt::Chars(w.hwnd(), text.c_str());
    const Control* c = StateOf(w.hwnd());
    ASSERT_EQ(c->recency_count, 24u);
    EXPECT_EQ(c->recency[0], 24u);
    EXPECT_EQ(c->recency[23], 1u);
    Key(w.hwnd(), VK_HOME);
    Key(w.hwnd(), VK_RIGHT);
    Key(w.hwnd(), VK_RIGHT);
    wt::Chars(w.hwnd(), "r");  // offset 2, already listed: keeps its place
    EXPECT_EQ(c->recency[0], 24u);
    EXPECT_EQ(c->recency[22], 2u);
}

// A half-typed hex byte ends whenever the edit range or the history
// position moves, even when the caret itself stays: otherwise the second
// digit writes a byte that has no before-snapshot and undo can never take
// it back.
TEST(Typing, KeysAndUndoThatMoveTheEditEndTheHalfTypedByte) {
    const Bytes original{0x00, 0x11, 0x22, 0x33};
    struct Case { WPARAM anchor, caret, key; Bytes typed; };
    const Case cases[] = {
        // Bytes 1 and 2 selected, caret on byte 3 of line 0: none of these
        // keys moves the caret, each collapses the selection onto byte 3.
        {1, 3, VK_UP, {0x00, 0xA1, 0xA2, 0xB3}},
        {1, 3, VK_DOWN, {0x00, 0xA1, 0xA2, 0xB3}},
        {1, 3, VK_PRIOR, {0x00, 0xA1, 0xA2, 0xB3}},
        {1, 3, VK_NEXT, {0x00, 0xA1, 0xA2, 0xB3}},
        {1, 3, VK_END, {0x00, 0xA1, 0xA2, 0xB3}},
        // Bytes 0 to 2 selected from the caret side: Home in column 0.
        {3, 0, VK_HOME, {0xB0, 0xA1, 0xA2, 0x33}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "key " << k.key);
        ControlWindow w;
        w.SetData(original);
        w.Send(PM_SELECTRANGE, k.anchor, LPARAM(k.caret));
        wt::Chars(w.hwnd(), "A");
        Key(w.hwnd(), k.key);
        wt::Chars(w.hwnd(), "B");  // a new edit: the high nibble of the caret's byte
        EXPECT_EQ(w.data(), k.typed);
        for (int i = 0; i < 10 && w.Send(PM_CANUNDO); ++i) Key(w.hwnd(), 'Z', false, true);
        EXPECT_EQ(w.data(), original) << "undoing everything restores every byte";
    }
    {
        SCOPED_TRACE("undo between the digits");
        ControlWindow w;
        w.SetData({0x00, 0x11});
        wt::Chars(w.hwnd(), "123");  // 12 on byte 0, then 3 on byte 1
        Key(w.hwnd(), 'Z', false, true);
        Key(w.hwnd(), 'Z', false, true);
        EXPECT_EQ(w.data(), (Bytes{0x10, 0x11}));
        wt::Chars(w.hwnd(), "4");
        EXPECT_EQ(w.data(), (Bytes{0x10, 0x41}));
        for (int i = 0; i < 10 && w.Send(PM_CANUNDO); ++i) w.Send(PM_UNDO);
        EXPECT_EQ(w.data(), (Bytes{0x00, 0x11}));
    }
}
