// Creating, using and destroying controls leaves no system object behind:
// the library's own calls are watched through its import table. Each kind
// of object the library makes must be seen made (the exercise opens Find
// and Select, drags past the rows and copies) and seen gone again.
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
    // A drag past the bottom row runs the auto-scroll timer until release.
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 40));
    SendMessageA(c, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 290));
    SendMessageA(c, WM_TIMER, 100, 0);
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(200, 290));
    EXPECT_EQ(wt::Live().timers, 0) << "the timer outlives the drag";
    // A copy makes the only global block; the dialogs go with the control.
    if (i % 4 == 0) SendMessageA(c, WM_COMMAND, PMC_COPY_HEX, 0);
    if (i % 8 == 1) SendMessageA(c, WM_COMMAND, PMC_FIND, 0);
    if (i % 8 == 2) SendMessageA(c, WM_COMMAND, PMC_SELECT, 0);
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
    wt::ResetPeaks();
    for (int i = 1; i <= 1000; ++i) {
        Exercise(host.parent(), data, i);
        if (i % 50 == 0) wt::Pump();
    }
    wt::Pump();
    const wt::LiveObjects peaks = wt::Peaks(), after = wt::Live();
    // The library opens no kernel objects; every other kind must have risen.
    using L = wt::LiveObjects;
    const std::pair<const char*, long L::*> kinds[] = {
        {"gdi", &L::gdi}, {"dcs", &L::dcs}, {"menus", &L::menus}, {"windows", &L::windows},
        {"timers", &L::timers}, {"globals", &L::globals}, {"memory", &L::memory}};
    for (const auto& [name, kind] : kinds) EXPECT_GT(peaks.*kind, before.*kind) << name << " never rose";
    EXPECT_EQ(after, before) << "before: " << before.Describe() << "\nafter:  " << after.Describe();
}
