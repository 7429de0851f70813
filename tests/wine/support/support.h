// Helpers for tests that drive real windows under Wine.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "shared/pelomar.h"

namespace wt {

// Pelomar.dll, loaded once for the test process.
HMODULE Library();

// A visible top-level window whose client area holds one PELOMAR control.
class ControlWindow {
public:
    // client_width x client_height is the control's size (scroll bar
    // included, as a host would create it with WS_VSCROLL).
    explicit ControlWindow(int width = 600, int height = 400, DWORD style = WS_VSCROLL);
    ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    HWND parent() const { return parent_; }
    HWND hwnd() const { return control_; }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return SendMessageA(control_, msg, wp, lp);
    }
    // Hands the control a block of its own (kept alive by this object).
    void SetData(std::vector<std::uint8_t> bytes);
    std::vector<std::uint8_t>& data() { return data_; }
    // Client size of the control.
    SIZE Client() const;

private:
    HWND parent_ = nullptr;
    HWND control_ = nullptr;
    std::vector<std::uint8_t> data_;
};

// The vertical scroll bar's range, page and position.
SCROLLINFO VerticalScroll(HWND hwnd);

// Dispatches every message waiting for this thread.
void Pump();

// The colour at (x, y) of the window's client area after it has painted.
COLORREF PixelAt(HWND hwnd, int x, int y);

// The cell of font 0 in the test prefix: 8 x 15 pixels. Its Fixedsys
// measures 416 x 15 for the 52 letters; every program checks that before
// its first test, so that layouts can be given as literal numbers.
SIZE Font0Cell();

// The first window of process pid with the class cls (any case) and,
// unless null, the title: a top-level one when parent is null, otherwise a
// descendant of parent (a visible one when visible_only).
HWND WindowOf(DWORD pid, const char* cls, const char* title = nullptr, HWND parent = nullptr,
              bool visible_only = false);

// The path of a file in this test program's own directory.
std::string BesideThisProgram(const char* name);

// A number from the environment, or fallback when it is unset.
unsigned EnvNumber(const char* name, unsigned fallback);

// The seeds a seeded random test runs: the fixed list, or the single seed
// PELOMAR_STORM_SEED gives (a number replays that run; "random" draws a
// fresh one, for soak runs by hand).
std::vector<unsigned> StormSeeds(std::initializer_list<unsigned> fixed);

}  // namespace wt
