// The main window's placement in "pmr.ini": read before the window is
// first shown, written when it is destroyed. Always "pmr.ini", whichever
// theme is chosen: the placement belongs to the program, not to a theme.
#include <string>
#include <vector>

#include "host/core/placement.h"
#include "host/host.h"

namespace {

std::string PlacementPath() { return std::string(ProgramDirectory()) + SETTINGS_FILE; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lp) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<pm::ScreenArea>*>(lp)->push_back({r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}

bool StoredPlacement(pm::Placement* p) {
    const std::string path = PlacementPath();
    char values[pm::kPlacementKeys][16];
    const char* texts[pm::kPlacementKeys];
    for (unsigned i = 0; i < pm::kPlacementKeys; ++i) {
        GetPrivateProfileStringA(SETTINGS_SECTION, pm::placement_keys[i], "", values[i], sizeof values[i],
                                 path.c_str());
        texts[i] = values[i];
    }
    if (!pm::read_placement(texts, *p)) return false;
    std::vector<pm::ScreenArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return pm::placement_usable(*p, monitors.data(), monitors.size());
}

}  // namespace

void ShowAtStoredPlacement(HWND main_window) {
    pm::Placement p;
    if (StoredPlacement(&p)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(main_window, &wp);
        wp.flags = 0;
        wp.showCmd = p.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        wp.rcNormalPosition = {p.left, p.top, p.left + p.width, p.top + p.height};
        if (SetWindowPlacement(main_window, &wp)) return;
    }
    ShowWindow(main_window, SW_SHOWNORMAL);
}

// A file that cannot be written keeps what it had: nothing else is written
// here, so only the placement is lost.
void SavePlacement(const MainWindow* w) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(w->window, &wp)) return;
    const RECT& r = wp.rcNormalPosition;
    const bool maximized = wp.showCmd == SW_SHOWMAXIMIZED ||
                           (wp.showCmd == SW_SHOWMINIMIZED && (wp.flags & WPF_RESTORETOMAXIMIZED));
    const pm::Placement p{r.left, r.top, r.right - r.left, r.bottom - r.top, maximized};
    pm::u32 values[pm::kPlacementKeys];
    pm::placement_values(p, values);
    const std::string path = PlacementPath();
    char text[pm::kProfileValueBytes];
    for (unsigned i = 0; i < pm::kPlacementKeys; ++i) {
        pm::format_profile_hex(values[i], text);
        WritePrivateProfileStringA(SETTINGS_SECTION, pm::placement_keys[i], text, path.c_str());
    }
}
