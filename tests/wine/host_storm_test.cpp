// Message storm against the host's main window: drops of good, empty,
// read-only, missing and duplicate files and of directories, clicks and
// gestures anywhere on the tab strip, theme and menu commands, resizes and
// activations, in a seeded random order. After every step the document
// table must agree with the tabs, the current control must be the one
// shown, every document's view must be mapped and handed to its control,
// and the title must name it. Every run uses the same two seeds;
// PELOMAR_STORM_SEED=<n> replays one, PELOMAR_STORM_SEED=random draws a
// fresh one and PELOMAR_HOST_STORM_STEPS makes a run longer.
#include <random>

#include "host/core/tabs.h"
#include "host_fixture.h"

namespace {

const unsigned kThemes = 3;  // a.ini, b.ini, gone.ini (removed after start)

class HostStorm : public ht::HostTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void PrepareDirectory() override {
        CreateDirectoryA((dir / "Themes").c_str(), nullptr);
        ht::WriteBytes(dir / "Themes\\a.ini", "[HEXEDITOR]\r\nfont_number=1\r\nview2_bk_color=0x00ff00\r\n");
        ht::WriteBytes(dir / "Themes\\b.ini", "[HEXEDITOR]\r\nfont_number=99999999999\r\noffset=-1\r\n");
        ht::WriteBytes(dir / "Themes\\gone.ini", "[HEXEDITOR]\r\nfont_number=2\r\n");
        ht::WriteBytes(dir / "pmr.ini", "[HEXEDITOR]\r\nfont_number=3\r\n");
    }

    // The files a drop picks from.
    void MakeFiles() {
        DeleteFileA((dir / "Themes\\gone.ini").c_str());
        const size_t sizes[] = {1, 7, 16, 4095, 4097, 65536 + 3};
        for (size_t i = 0; i < 6; ++i) {
            const std::string name = dir / ("rw" + std::to_string(i) + ".bin");
            std::string bytes(sizes[i], '\0');
            for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = char(k * 7 + i);
            ht::WriteBytes(name, bytes);
            pool_.push_back(name);
        }
        ht::WriteBytes(dir / "ro.bin", "read only bytes");
        holds_.emplace_back(new ht::ReadOnlyHold(dir / "ro.bin"));
        ht::WriteBytes(dir / "ro-attr.bin", "attribute", true);
        ht::WriteBytes(dir / "empty.bin", "");
        CreateDirectoryA((dir / "sub").c_str(), nullptr);
        for (const char* n : {"ro.bin", "ro.bin", "ro-attr.bin", "empty.bin", "sub", "missing.bin", ""})
            pool_.push_back(*n ? dir / n : std::string(dir.path() + "\\sub\\"));
        pool_.push_back(dir.path());
        pool_.push_back(dir.path() + "\\" + std::string(520, 'n'));
    }

    unsigned Pick(unsigned n) { return unsigned(rng_() % n); }
    LRESULT Send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(h, msg, wp, lp); }
    LPARAM StripPoint() {
        const int width = int(w->client_width) + 60;
        int x = int(Pick(unsigned(width > 0 ? width : 1) + 60)) - 30, y = int(Pick(60)) - 10;
        if (Pick(4) == 0) x = int(Pick(4)) * 106 + 84 + int(Pick(22));  // a close part
        return MAKELPARAM(x, y);
    }

    void DropSome() {
        std::vector<std::string> paths;
        for (unsigned n = 1 + Pick(Pick(8) == 0 ? 12 : 3); n; --n) paths.push_back(pool_[Pick(unsigned(pool_.size()))]);
        ht::Drop(main, paths);
    }

    void Step() {
        HWND strip = w->strip;
        switch (Pick(20)) {
        case 0: case 1:
            // Few drops once many documents are open, so closes keep up.
            if (w->docs.count < 40 || Pick(4) == 0) DropSome();
            break;
        case 2: case 3: case 4: {  // a whole click somewhere on the strip
            const LPARAM at = StripPoint();
            Send(strip, WM_MOUSEMOVE, 0, at);
            Send(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
            Send(strip, WM_LBUTTONUP, 0, Pick(4) ? at : StripPoint());
            break;
        }
        case 5: Send(strip, WM_MOUSEMOVE, Pick(2) ? MK_LBUTTON : 0, StripPoint()); break;
        case 6: Send(strip, Pick(2) ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK, MK_LBUTTON, StripPoint()); break;
        case 7: Send(strip, WM_LBUTTONUP, 0, StripPoint()); break;
        case 8: Send(strip, WM_MOUSELEAVE); break;
        case 9: case 10: {  // close the tab in a shown place
            const LPARAM at = MAKELPARAM(int(Pick(4)) * 106 + 95, 12);
            Send(strip, WM_MOUSEMOVE, 0, at);
            Send(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
            Send(strip, WM_LBUTTONUP, 0, at);
            break;
        }
        case 11: {
            const UINT command = Pick(3) ? IDM_THEME_FIRST_FILE + Pick(kThemes + 2)
                                         : (Pick(2) ? UINT(IDM_THEME_CURRENT) : UINT(IDM_THEME_SEPARATOR + Pick(2)));
            Send(main, WM_COMMAND, command);
            break;
        }
        case 12: {
            // Every id of the menu that opens no modal dialog and does not
            // end the program, and numbers that are no command at all.
            static const WPARAM other[] = {0, 1, IDM_FILE, IDM_PROPERTIES, IDM_THEMES, 10009, 0xFFFF,
                                           0x10000 | IDM_THEME_CURRENT, 0xFFFFFFFF, 9999};
            Send(main, WM_COMMAND, other[Pick(10)]);
            break;
        }
        case 13: {
            static const int sizes[][2] = {{0, 0}, {1, 1}, {120, 20}, {400, 416}, {900, 700}, {60, 40},
                                           {3000, 2000}, {250, 500}};
            const auto& s = sizes[Pick(8)];
                MoveWindow(main, 100, 100, s[0], s[1], TRUE);
            break;
        }
        case 14: Send(main, WM_ACTIVATE, Pick(3), 0); break;
        case 15: case 16: {  // typing into the shown document
            const WPARAM ch = "0123456789abcdefXYZ"[Pick(19)];
            Send(w->current, WM_CHAR, ch, 0);
            if (Pick(4) == 0) Send(w->current, PM_UNDO);
            break;
        }
        case 17: Send(w->current, WM_KEYDOWN, Pick(2) ? VK_RIGHT : VK_NEXT, 0); break;
        case 18: Send(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(Pick(2000), Pick(1500))); break;
        case 19:
            if (Pick(16) == 0) {
                        UpdateWindow(main);
                wt::Pump();
            }
            break;
        }
    }

    void Check() {
        ASSERT_TRUE(IsWindow(main)) << Where();
        ASSERT_EQ(MainWindowState(main), w) << Where();
        const auto* strip = reinterpret_cast<const pm::TabStrip*>(GetWindowLongPtrA(w->strip, GWLP_USERDATA));
        ASSERT_NE(strip, nullptr) << Where();
        const unsigned count = w->docs.count;
        ASSERT_EQ(count, strip->count) << "the table and the tabs disagree; " << Where();
        ASSERT_LE(count, pm::kMaxDocuments) << Where();
        ASSERT_TRUE(IsWindowVisible(w->current)) << "the current control is hidden; " << Where();
        if (count == 0) {
            ASSERT_EQ(w->current, w->placeholder) << Where();
        } else {
            const unsigned selected = unsigned(SendMessageA(w->strip, GDTM_GETCURSEL, 0, 0));
            ASSERT_GE(selected, 1u) << Where();
            ASSERT_LE(selected, count) << Where();
            ASSERT_EQ(w->current, Control(selected)) << "the shown control is not the selected tab's; " << Where();
            ASSERT_FALSE(IsWindowVisible(w->placeholder)) << Where();
        }
        for (unsigned i = 0; i < count; ++i) {
            const pm::Document& d = w->docs.records[i];
            ASSERT_NE(d.path, nullptr) << Where();
            ASSERT_TRUE(IsWindow(static_cast<HWND>(d.control))) << "record " << i << "; " << Where();
            if (d.control != w->current) {
                ASSERT_FALSE(IsWindowVisible(static_cast<HWND>(d.control))) << "record " << i << "; " << Where();
            }
            MEMORY_BASIC_INFORMATION mbi{};
            ASSERT_NE(VirtualQuery(d.view, &mbi, sizeof mbi), 0u) << Where();
            ASSERT_EQ(mbi.State, DWORD(MEM_COMMIT)) << "record " << i << " lost its view; " << Where();
            ASSERT_EQ(mbi.Type, DWORD(MEM_MAPPED)) << Where();
            const ::Control* c = ht::ControlOf(static_cast<HWND>(d.control));
            ASSERT_NE(c, nullptr) << Where();
            ASSERT_EQ(c->data, d.view) << Where();
            ASSERT_EQ(c->data_size, GetFileSize(static_cast<HANDLE>(d.file), nullptr)) << Where();
        }
        const std::wstring want = w->current_path ? L"Pelomar.dll - " + std::wstring(w->current_path) : L"Pelomar.dll";
        ASSERT_EQ(ht::TitleW(main), want) << Where();
        const LRESULT can = SendMessageA(w->current, PM_CANUNDO, 0, 0);
        ASSERT_TRUE(can == 0 || can == 1) << Where();
        ASSERT_EQ(ht::ControlOf(w->placeholder)->read_only, 1u) << Where();
    }

    std::string Where() const { return "step " + std::to_string(step_); }

    std::mt19937 rng_;
    std::vector<std::string> pool_;
    std::vector<std::unique_ptr<ht::ReadOnlyHold>> holds_;
    unsigned step_ = 0;
};

}  // namespace

TEST_P(HostStorm, RandomUseKeepsTheTableTheTabsAndTheViewsInStep) {
    const unsigned seed = GetParam();
    const unsigned steps = wt::EnvNumber("PELOMAR_HOST_STORM_STEPS", 3000);
    // Printed before the run: a crash prints no failure message.
    std::printf("host storm: PELOMAR_STORM_SEED=%u, %u steps\n", seed, steps);
    std::fflush(stdout);
    SCOPED_TRACE("PELOMAR_STORM_SEED=" + std::to_string(seed) + " replays this run");
    rng_.seed(seed);
    MakeFiles();
    ASSERT_EQ(GetMenuItemCount(w->themes), int(2 + kThemes));
    for (step_ = 0; step_ < steps && !HasFatalFailure(); ++step_) {
        Step();
        Check();
    }
    // Everything goes at the end; every file is free again.
    SendMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(w->docs.count, 0u);
    holds_.clear();
    for (size_t i = 0; i < 6; ++i) EXPECT_TRUE(ht::OpensForWriting(pool_[i])) << pool_[i];
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

INSTANTIATE_TEST_SUITE_P(Seeds, HostStorm, ::testing::ValuesIn(wt::StormSeeds({1, 2})));
