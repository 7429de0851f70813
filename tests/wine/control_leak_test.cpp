// Creating, using and destroying controls leaves no system object behind:
// the library's own calls are watched through its import table.
#include <gtest/gtest.h>

#include <vector>

#include "support/resources.h"
#include "support/support.h"

namespace {

void Exercise(HWND parent, std::vector<std::uint8_t>& data, int i) {
    HWND c = CreateWindowExA(0, PELOMAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0,
                             300 + i % 200, 200 + i % 100, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(c, nullptr);
    SendMessageA(c, PM_SETDATA, reinterpret_cast<WPARAM>(data.data()), LPARAM(data.size()));
    for (UINT m = PM_SETCOLOURPAIR; m <= PM_SETCOLOURPAIR_LAST; ++m) SendMessageA(c, m, i, ~i);
    SendMessageA(c, PM_SETFONT, WPARAM(i % 5), 0);
    SendMessageA(c, PM_SELECTRANGE, WPARAM(i * 7), WPARAM(i * 13));
    SendMessageA(c, WM_CHAR, 'a', 0);
    SendMessageA(c, PM_UNDO, 0, 0);
    MoveWindow(c, 0, 0, 500, 300, TRUE);
    UpdateWindow(c);
    if (i % 2) SendMessageA(c, PM_PLACEHOLDER, 0, 0);
    DestroyWindow(c);
}

}  // namespace

TEST(Leaks, ThousandControlsLeaveNoObjectBehind) {
    wt::ControlWindow host(100, 100);
    wt::WatchModule(wt::Library());
    std::vector<std::uint8_t> data(100000, 0x41);
    Exercise(host.parent(), data, 0);  // first-use allocations of the runtime
    wt::Pump();
    const wt::LiveObjects before = wt::Live();

    HWND probe = CreateWindowExA(0, PELOMAR_CLASS, "", WS_CHILD, 0, 0, 300, 200, host.parent(),
                                 nullptr, nullptr, nullptr);
    const wt::LiveObjects alive = wt::Live();
    EXPECT_GE(alive.gdi - before.gdi, 5) << "the watch must see the control's fonts";
    EXPECT_GE(alive.memory - before.memory, 1) << "and its state record";
    DestroyWindow(probe);

    for (int i = 1; i <= 1000; ++i) {
        Exercise(host.parent(), data, i);
        if (i % 50 == 0) wt::Pump();
    }
    wt::Pump();
    const wt::LiveObjects after = wt::Live();
    EXPECT_EQ(after, before) << "before: " << before.Describe() << "\nafter:  " << after.Describe();
}
