// The library's entry and the control's message protocol, driven through
// real windows.
#include <gtest/gtest.h>

#include "support/support.h"

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
