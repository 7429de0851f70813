// The context menu: its items, commands and order, and the greying it gets
// each time a right click opens it. The menu is read while it is open,
// from a timer that its modal loop dispatches, and then closed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "menu_support.h"
#include "support/edit_support.h"

using wt::ControlWindow;

namespace {

constexpr UINT kMnGetHMenu = 0x01E1;

struct Item {
    std::string text;
    UINT id;
    bool greyed;
    bool popup;
    bool separator;
};

struct OpenMenu {
    bool seen = false;
    HMENU handle = nullptr;
    std::vector<Item> items;
    std::vector<Item> copy_items;
};

OpenMenu g_menu;

std::vector<Item> ReadItems(HMENU m) {
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
        char text[64] = {};
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        mi.dwTypeData = text;
        mi.cch = sizeof text;
        GetMenuItemInfoA(m, UINT(i), TRUE, &mi);
        items.push_back({text, mi.wID, (mi.fState & MFS_GRAYED) != 0, mi.hSubMenu != nullptr,
                         (mi.fType & MFT_SEPARATOR) != 0});
    }
    return items;
}

BOOL CALLBACK FindMenuWindow(HWND h, LPARAM lp) {
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&popup));
    if (!popup) return;
    KillTimer(nullptr, id);
    auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, kMnGetHMenu, 0, 0));
    if (menu) {
        g_menu.seen = true;
        g_menu.handle = menu;
        g_menu.items = ReadItems(menu);
        if (HMENU copy = GetSubMenu(menu, 2)) g_menu.copy_items = ReadItems(copy);
    }
    EndMenu();
}

POINT g_menu_at{};

void CALLBACK ReadPlaceAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&popup));
    if (!popup) return;
    RECT r{};
    GetWindowRect(popup, &r);
    g_menu_at = POINT{r.left, r.top};
    ReadAndClose(nullptr, 0, id, 0);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// Right-clicks the control and returns the menu as it was shown.
OpenMenu RightClick(const ControlWindow& w) {
    g_menu = OpenMenu{};
    UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadAndClose);
    // Fails the test rather than hang when the menu never opens.
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, GiveUp);
    w.Send(WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    KillTimer(nullptr, timer);
    KillTimer(nullptr, guard);
    wt::Pump();
    return g_menu;
}

}  // namespace

TEST(ContextMenu, ItemsCommandsAndOrder) {
    ControlWindow w;
    w.SetData({1, 2, 3, 4});
    OpenMenu m = RightClick(w);
    ASSERT_TRUE(m.seen);
    ASSERT_EQ(m.items.size(), 7u);
    EXPECT_EQ(m.items[0].text, "Undo");
    EXPECT_EQ(m.items[0].id, UINT(PMC_UNDO));
    EXPECT_EQ(m.items[1].text, "Redo");
    EXPECT_EQ(m.items[1].id, UINT(PMC_REDO));
    EXPECT_EQ(m.items[2].text, "Copy");
    EXPECT_TRUE(m.items[2].popup);
    EXPECT_EQ(m.items[3].text, "Paste");
    EXPECT_EQ(m.items[3].id, UINT(PMC_PASTE));
    EXPECT_TRUE(m.items[4].separator);
    EXPECT_EQ(m.items[5].text, "Find...");
    EXPECT_EQ(m.items[5].id, UINT(PMC_FIND));
    EXPECT_EQ(m.items[6].text, "Select...");
    EXPECT_EQ(m.items[6].id, UINT(PMC_SELECT));

    const struct {
        const char* text;
        unsigned id;
    } copy[] = {
        {"Ansi", PMC_COPY_ANSI},           {"Hex", PMC_COPY_HEX},
        {"db sel", PMC_COPY_DB_SEL},       {"db \xAC" "sel", PMC_COPY_DB_NOTSEL},
        {"\\x00 sel", PMC_COPY_X_SEL},     {"\\x00 \xAC" "sel", PMC_COPY_X_NOTSEL},
    };
    ASSERT_EQ(m.copy_items.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(m.copy_items[i].text, copy[i].text) << i;
        EXPECT_EQ(m.copy_items[i].id, copy[i].id) << i;
    }
}

TEST(ContextMenu, GreyingFollowsTheSelection) {
    ControlWindow w;
    w.SetData({1, 2, 3, 4});
    OpenMenu none = RightClick(w);
    ASSERT_TRUE(none.seen);
    ASSERT_EQ(none.copy_items.size(), 6u);
    const bool greyed_without_selection[] = {true, true, true, false, true, false};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(none.copy_items[i].greyed, greyed_without_selection[i]) << i;
    // Right after set data there is nothing to undo or redo.
    EXPECT_TRUE(none.items[0].greyed);
    EXPECT_TRUE(none.items[1].greyed);
    EXPECT_FALSE(none.items[3].greyed);
    EXPECT_FALSE(none.items[5].greyed);
    EXPECT_FALSE(none.items[6].greyed);
    w.Send(PM_SETREADONLY, 1);
    EXPECT_TRUE(RightClick(w).items[3].greyed) << "no Paste in a read-only control";
    w.Send(PM_SETREADONLY, 0);

    w.Send(PM_SELECTRANGE, 1, 3);
    OpenMenu some = RightClick(w);
    ASSERT_EQ(some.copy_items.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(some.copy_items[i].greyed) << i;

    // And grey again once the selection is gone.
    w.Send(PM_SELECTRANGE, 2, 2);
    OpenMenu again = RightClick(w);
    ASSERT_EQ(again.copy_items.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(again.copy_items[i].greyed, greyed_without_selection[i]) << i;
}

TEST(ContextMenu, RightClickLeavesTheSelection) {
    ControlWindow w;
    w.SetData({1, 2, 3, 4, 5});
    w.Send(PM_SELECTRANGE, 1, 3);
    ASSERT_TRUE(RightClick(w).seen) << "no menu opened";
    EXPECT_EQ(mt::Selection(w), std::make_pair(1, 3));
}

// A typed digit makes Undo available; the Undo command takes it back and
// makes Redo available instead; the Redo command writes it again.
TEST(ContextMenu, UndoAndRedoFollowTheHistory) {
    ControlWindow w;
    w.SetData({0x11, 0x22});
    w.Send(WM_CHAR, 'A');  // the high digit of byte 0, in the hex view
    ASSERT_EQ(w.data()[0], 0xA1);
    OpenMenu after_typing = RightClick(w);
    ASSERT_EQ(after_typing.items.size(), 7u);
    EXPECT_FALSE(after_typing.items[0].greyed);
    EXPECT_TRUE(after_typing.items[1].greyed);

    w.Send(WM_COMMAND, PMC_UNDO);
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{0x11, 0x22}));
    OpenMenu after_undo = RightClick(w);
    ASSERT_EQ(after_undo.items.size(), 7u);
    EXPECT_TRUE(after_undo.items[0].greyed);
    EXPECT_FALSE(after_undo.items[1].greyed);

    w.Send(WM_COMMAND, PMC_REDO);
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{0xA1, 0x22}));
}

// Shift+F10 and the menu key open the menu at the caret's cell, from the
// keyboard alone; F10 alone is left to the window's menu bar.
TEST(ContextMenu, ShiftF10AndTheMenuKeyOpenItAtTheCaret) {
    ControlWindow w;
    w.SetData(std::vector<std::uint8_t>(200, 0));
    w.Send(PM_SELECTRANGE, 17, 17);  // row 1, column 2 at 15 bytes per line
    wt::Cells cells(15);
    POINT caret = cells.hex(1, 2);
    ClientToScreen(w.hwnd(), &caret);
    for (int how = 0; how < 2; ++how) {
        g_menu = OpenMenu{};
        g_menu_at = POINT{-1, -1};
        UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadPlaceAndClose);
        UINT_PTR guard = SetTimer(nullptr, 0, 5000, GiveUp);
        if (how == 0) {
            wt::SetModifiers(true, false);
            w.Send(WM_SYSKEYDOWN, VK_F10, 1);
            wt::SetModifiers(false, false);
        } else {
            w.Send(WM_KEYDOWN, VK_APPS, 1);
        }
        KillTimer(nullptr, timer);
        KillTimer(nullptr, guard);
        ASSERT_TRUE(g_menu.seen) << how;
        EXPECT_EQ(g_menu.items.size(), 7u);
        EXPECT_LE(std::abs(g_menu_at.x - caret.x), 2 * cells.cw) << how;
        EXPECT_LE(std::abs(g_menu_at.y - caret.y), cells.lh) << how;
    }
}

TEST(ContextMenu, MenusLiveAsLongAsTheControl) {
    HMENU menu = nullptr, copy = nullptr;
    {
        ControlWindow w;
        w.SetData({1});
        RightClick(w);
        ASSERT_TRUE(g_menu.seen);
        menu = g_menu.handle;
        copy = GetSubMenu(menu, 2);
        ASSERT_TRUE(IsMenu(menu));
        ASSERT_TRUE(IsMenu(copy));
        // The same menu opens again: it is built once, not per click.
        RightClick(w);
        EXPECT_EQ(g_menu.handle, menu);
    }
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(copy));
}
