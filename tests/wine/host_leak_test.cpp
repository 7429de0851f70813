// Opening and closing 200 documents leaves nothing behind: the host's own
// calls (this program, which links the host in) and the control library's
// are watched through their import tables; each kind is seen to rise, so
// that its return to the start means something. (The system's own GUI object
// and handle counts of a process read 0 under Wine, so they are not used.)
#include "host_fixture.h"
#include "support/resources.h"

namespace {

class HostLeaks : public ht::HostTest {
protected:
    void PrepareDirectory() override {
        CreateDirectoryA((dir / "Themes").c_str(), nullptr);
        ht::WriteBytes(dir / "Themes\\one.ini", "[HEXEDITOR]\r\nfont_number=2\r\n");
        for (int i = 0; i < kFiles; ++i) ht::WriteBytes(File(i), std::string(100 + 1000 * i, char('a' + i)));
        ht::WriteBytes(dir / "empty.bin", "");
        CreateDirectoryA((dir / "sub").c_str(), nullptr);
    }
    std::string File(int i) const { return dir / ("doc" + std::to_string(i) + ".bin"); }

    // Ten documents (and three that fail) opened, used and closed again.
    void Round(int round) {
        std::vector<std::string> paths;
        for (int i = 0; i < kFiles; ++i) paths.push_back(File(i));
        paths.insert(paths.begin() + round % kFiles, dir / "empty.bin");
        paths.push_back(dir / "sub");
        paths.push_back(dir / "missing.bin");
        ht::Drop(main, paths);
        ASSERT_EQ(w->docs.count, unsigned(kFiles));
        SelectAtPlace(1 + round % 2);
        SendMessageA(w->current, WM_CHAR, 'a' + round % 6, 0);
        SendMessageA(w->current, PM_SELECTRANGE, 0, 5);
        SendMessageA(w->current, WM_COMMAND, PMC_COPY_HEX, 0);
        SendMessageA(main, WM_COMMAND, round % 2 ? IDM_THEME_FIRST_FILE : IDM_THEME_CURRENT, 0);
        // A drag out of the top starts the auto-scroll timer; the release ends it.
        SendMessageA(w->current, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 40));
        SendMessageA(w->current, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 0xFFFF));
        SendMessageA(w->current, WM_LBUTTONUP, 0, MAKELPARAM(100, 40));
        MoveWindow(main, 100, 100, 300 + round, 400, TRUE);
        UpdateWindow(main);
        while (w->docs.count) CloseAtPlace(w->docs.count > 1 ? 1 + (round + w->docs.count) % 2 : 1);
        wt::Pump();
    }

    static const int kFiles = 10;
};

}  // namespace

TEST_F(HostLeaks, TwoHundredDocumentsOpenedAndClosedLeaveNothing) {
    wt::WatchModule(GetModuleHandleA(nullptr));
    wt::WatchModule(wt::Library());
    Round(0);  // first-use allocations of the runtime and the system
    Round(1);
    const wt::LiveObjects before = wt::Live();

    // The watch sees what an open document holds.
    ht::Drop(main, {File(0)});
    const wt::LiveObjects one = wt::Live();
    EXPECT_GE(one.handles - before.handles, 2) << "the file and its view";
    EXPECT_GE(one.windows - before.windows, 1) << "the document's control";
    EXPECT_GE(one.memory - before.memory, 2) << "the path buffer and the control's record";
    EXPECT_GE(one.gdi - before.gdi, 5) << "the control's fonts";
    EXPECT_GE(one.menus - before.menus, 2) << "the control's two menus";
    CloseAtPlace(1);

    wt::ResetPeaks();  // the kinds a document holds only within a call
    for (int round = 2; round < 22 && !HasFatalFailure(); ++round) Round(round);
    const wt::LiveObjects peaks = wt::Peaks();
    EXPECT_GT(peaks.dcs, before.dcs) << "the layout's window DC";
    EXPECT_GT(peaks.timers, before.timers) << "the auto-scroll timer";
    EXPECT_GT(peaks.globals, before.globals) << "the copy's clipboard block";
    const wt::LiveObjects after = wt::Live();
    EXPECT_EQ(after, before) << "before: " << before.Describe() << "\nafter:  " << after.Describe();
}
