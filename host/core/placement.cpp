// Placement keys and the rule for showing a stored placement.
#include "host/core/placement.h"

#include <algorithm>

namespace pm {

namespace {

// Height of the strip along the top that must be reachable to move the
// window, and the width of it that must show.
const std::int64_t kGrip = 32;

}  // namespace

const char* const placement_keys[kPlacementKeys] = {
    "window_left", "window_top", "window_width", "window_height", "window_maximized",
};

bool read_placement(const char* const texts[kPlacementKeys], Placement& out) {
    u32 v[kPlacementKeys];
    for (unsigned i = 0; i < kPlacementKeys; ++i) {
        if (!texts[i] || !texts[i][0]) return false;
        v[i] = parse_profile_int(texts[i], 0);
    }
    out = {static_cast<i32>(v[0]), static_cast<i32>(v[1]), static_cast<i32>(v[2]), static_cast<i32>(v[3]),
           v[4] != 0};
    return true;
}

void placement_values(const Placement& p, u32 out[kPlacementKeys]) {
    out[0] = static_cast<u32>(p.left);
    out[1] = static_cast<u32>(p.top);
    out[2] = static_cast<u32>(p.width);
    out[3] = static_cast<u32>(p.height);
    out[4] = p.maximized ? 1 : 0;
}

bool placement_usable(const Placement& p, const ScreenArea* monitors, std::size_t count) {
    if (p.width <= 0 || p.height <= 0 || count == 0) return false;
    ScreenArea desktop = monitors[0];
    for (std::size_t i = 1; i < count; ++i) {
        desktop.left = std::min(desktop.left, monitors[i].left);
        desktop.top = std::min(desktop.top, monitors[i].top);
        desktop.right = std::max(desktop.right, monitors[i].right);
        desktop.bottom = std::max(desktop.bottom, monitors[i].bottom);
    }
    if (p.width > std::int64_t(desktop.right) - desktop.left ||
        p.height > std::int64_t(desktop.bottom) - desktop.top)
        return false;
    // In 64 bits: a rectangle near the end of the coordinate range must not
    // wrap round onto a monitor.
    const std::int64_t left = p.left, right = left + p.width, top = p.top;
    const std::int64_t grip_bottom = top + std::min<std::int64_t>(kGrip, p.height);
    const std::int64_t grip_width = std::min<std::int64_t>(kGrip, p.width);
    for (std::size_t i = 0; i < count; ++i) {
        const ScreenArea& m = monitors[i];
        const std::int64_t shown = std::min<std::int64_t>(right, m.right) - std::max<std::int64_t>(left, m.left);
        if (top >= m.top && grip_bottom <= m.bottom && shown >= grip_width) return true;
    }
    return false;
}

}  // namespace pm
