// Accounting of the system objects a module makes through its imports, for
// leak checks. Wine reports no GUI object or handle counts of a process, so
// the module's calls are watched instead: every creation is recorded and
// every matching release takes it out again.
#pragma once
#include <windows.h>

#include <string>

namespace wt {

struct LiveObjects {
    long gdi = 0;      // fonts, bitmaps, brushes, pens, memory DCs
    long dcs = 0;      // window DCs taken and not released
    long menus = 0;
    long windows = 0;  // windows the module created that still exist
    long timers = 0;   // timers of windows that still exist
    long globals = 0;  // global blocks neither freed nor given to the clipboard
    long memory = 0;   // heap and C-runtime blocks
    long handles = 0;  // kernel handles and mapped views
    std::string Describe() const;
    bool operator==(const LiveObjects& o) const;
};

// Installs the watch on `module` (once per module).
void WatchModule(HMODULE module);
LiveObjects Live();
// The most objects of each kind that were alive at once since ResetPeaks,
// even inside a single call (a clipboard block, a DC taken and released).
void ResetPeaks();
LiveObjects Peaks();

}  // namespace wt
