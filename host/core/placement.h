// Where the main window was when it closed: its restored rectangle and
// whether it was maximized, kept as five keys of the settings file, and
// the rule that decides whether a stored placement can be shown again.
#pragma once
#include <cstddef>
#include <cstdint>

#include "host/core/settings.h"

namespace pm {

using i32 = std::int32_t;

enum : unsigned { kPlacementKeys = 5 };

// "window_left", "window_top", "window_width", "window_height",
// "window_maximized", in that order.
extern const char* const placement_keys[kPlacementKeys];

struct Placement {
    i32 left, top, width, height;  // the restored rectangle
    bool maximized;
};

// A monitor's work area, in screen coordinates.
struct ScreenArea {
    i32 left, top, right, bottom;
};

// The key values as the settings file gives them, in key order (an empty
// text or null for a missing key). False when any key is missing.
bool read_placement(const char* const texts[kPlacementKeys], Placement& out);
// The values to write, in key order.
void placement_values(const Placement& p, u32 out[kPlacementKeys]);

// A placement can be shown when its size is positive and no larger than
// the desktop (the rectangle around all monitors), and its title bar lies
// on one monitor: wholly inside it from top to bottom and with at least a
// grip's width of it inside from left to right.
bool placement_usable(const Placement& p, const ScreenArea* monitors, std::size_t count);

}  // namespace pm
