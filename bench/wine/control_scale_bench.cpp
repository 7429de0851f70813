// A control's open, scrolling and typing must cost the same on a large file
// (1 GiB; and past 4 GiB, 16 and 64 GiB sparse files, in the 64-bit build)
// as on a 16 KiB one, and take no more private memory. Each operation is
// timed at the end of the large file and at the start of the small one, in
// two controls of one size, the two taking turns round by round so that
// load on the machine hits both alike; the medians are compared. A file the
// system maps for reading only (a 64 GiB one under Wine) is shown
// read-only, and its typing is not timed.
// Usage: control_scale_bench SMALL_FILE LARGE_FILE...
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/wine/bench_support.h"
#include "control/control.h"
#include "support/support.h"

namespace {

constexpr int kRounds = 41;
constexpr int kClientWidth = 600, kClientHeight = 450;

struct Side {
    wt::ControlWindow* window;
    const wb::MappedFile* file;
    bool at_end;  // the large file is worked at its end, the small at its start

    HWND hwnd() const { return window->hwnd(); }
    const Control* state() const {
        return static_cast<const Control*>(GetPropA(hwnd(), kStateProperty));
    }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return window->Send(msg, wp, lp); }
    // Caret and view at a byte, nothing selected, nothing half typed.
    void Place(pm::Offset offset) const {
        Send(PM_SELECTRANGE, offset, offset);
        UpdateWindow(hwnd());
    }
    pm::Offset LastPage() const { return state()->last_line - state()->rows + 1; }
};

// From the start of set data to the end of the paint it asks for.
double Open(const Side& s) {
    const double t0 = wb::Now();
    s.Send(PM_SETREADONLY, s.file->read_only() ? 1 : 0);
    s.Send(PM_SETDATA, reinterpret_cast<WPARAM>(s.file->data()), static_cast<LPARAM>(s.file->size()));
    UpdateWindow(s.hwnd());
    return wb::Now() - t0;
}

// The end of a drag of the scroll box to the bottom: the scroll bar holds
// the 32-bit position, and SB_THUMBPOSITION makes the control read it.
double ThumbToLastLine(const Side& s) {
    s.Send(WM_VSCROLL, SB_TOP);
    UpdateWindow(s.hwnd());
    const double t0 = wb::Now();
    const SCROLLINFO range = wt::VerticalScroll(s.hwnd());
    SetScrollPos(s.hwnd(), SB_VERT, range.nMax - static_cast<int>(range.nPage) + 1, FALSE);
    s.Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
    UpdateWindow(s.hwnd());
    return wb::Now() - t0;
}

// A whole page scrolled by the key: at the end, from two pages before the
// last one.
double PageDown(const Side& s) {
    const Control* c = s.state();
    s.Place(s.at_end ? (s.LastPage() - c->rows) * c->bytes_per_line : 0);
    const double t0 = wb::Now();
    s.Send(WM_KEYDOWN, VK_NEXT, 0);
    UpdateWindow(s.hwnd());
    return wb::Now() - t0;
}

// Two hex digits typed on the first byte of the last line (or on byte 0),
// each painted; the time per digit. The bytes are put back afterwards.
double TypeDigit(const Side& s) {
    const Control* c = s.state();
    s.Place(s.at_end ? c->last_line * c->bytes_per_line : 0);
    const double t0 = wb::Now();
    s.Send(WM_CHAR, '5', 0);
    UpdateWindow(s.hwnd());
    s.Send(WM_CHAR, 'a', 0);
    UpdateWindow(s.hwnd());
    const double t = (wb::Now() - t0) / 2;
    while (s.Send(PM_CANUNDO)) s.Send(PM_UNDO);
    return t;
}

struct Operation {
    const char* figure;
    double (*run)(const Side&);
    double goal;
    bool writes;
    std::vector<double> small, large;
};

// One large file against the small one, in two new controls.
void Compare(const wb::MappedFile& small, const wb::MappedFile& large) {
    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    wt::ControlWindow small_window(kClientWidth + sb, kClientHeight);
    wt::ControlWindow large_window(kClientWidth + sb, kClientHeight);
    SetWindowPos(large_window.parent(), nullptr, 640, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const Side sides[2] = {{&small_window, &small, false}, {&large_window, &large, true}};
    wt::Pump();
    // What each first set data takes in private memory: the block itself is
    // mapped, so only the control's own records may count.
    const SIZE_T before = wb::PrivateBytes();
    Open(sides[0]);
    wt::Pump();
    const SIZE_T after_small = wb::PrivateBytes();
    Open(sides[1]);
    wt::Pump();
    const SIZE_T after_large = wb::PrivateBytes();

    Operation ops[] = {
        {"set data to end of first paint", Open, 1.1, false, {}, {}},
        {"thumb jump to the last line", ThumbToLastLine, 1.2, false, {}, {}},
        {"Page Down", PageDown, 1.2, false, {}, {}},
        {"typed hex digit", TypeDigit, 1.2, true, {}, {}},
    };
    // Round 0 warms up and is not counted.
    for (int round = 0; round <= kRounds; ++round) {
        for (Operation& op : ops) {
            if (op.writes && large.read_only()) continue;
            const double a = op.run(sides[0]);
            const double b = op.run(sides[1]);
            if (round) {
                op.small.push_back(a);
                op.large.push_back(b);
            }
            wt::Pump();
        }
    }

    const std::string small_name = wb::SizeText(small.size()), large_name = wb::SizeText(large.size());
    std::printf("control, %d rounds; %s at its start, %s%s at its end; medians\n", kRounds, small_name.c_str(),
                large_name.c_str(), large.read_only() ? " (read-only)" : "");
    for (Operation& op : ops) {
        if (op.large.empty()) continue;
        const double a = wb::Median(op.small), b = wb::Median(op.large);
        std::printf("%-32s %s %8.1f us   %s %8.1f us   ratio %.3f\n", op.figure, small_name.c_str(), a,
                    large_name.c_str(), b, b / a);
        char figure[128];
        std::snprintf(figure, sizeof figure, "control: %s, %s / %s", op.figure, large_name.c_str(),
                      small_name.c_str());
        wb::Ratio(figure, b / a, op.goal);
    }
    const double extra = (double(after_large - after_small) - double(after_small - before)) / (1 << 20);
    char figure[128], value[32];
    std::snprintf(figure, sizeof figure, "control: private memory of set data, %s − %s", large_name.c_str(),
                  small_name.c_str());
    std::snprintf(value, sizeof value, "%+.2f MiB", extra);
    wb::Figure(figure, value, "within 4 MiB", true, extra <= 4 && extra >= -4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: control_scale_bench SMALL_FILE LARGE_FILE...\n");
        return 2;
    }
    wb::MappedFile small(argv[1]);
    if (!small.data()) {
        std::printf("could not map %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        wb::MappedFile large(argv[i]);
        if (!large.data()) {
            std::printf("could not map %s\n", argv[i]);
            continue;
        }
        Compare(small, large);
    }
    return 0;
}
