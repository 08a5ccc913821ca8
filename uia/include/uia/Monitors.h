#pragma once
#include <vector>

#include "gp/Geometry.h"

namespace QX::UIA {

// One monitor in virtual-screen coordinates and its work area (the part not
// covered by the taskbar and docked bars).
struct MonitorInfo {
    GP::Rect monitor;
    GP::Rect workArea;
    bool spare = false;
    bool valid = false;  // false only in the empty entry of a failed lookup
};

// The process-wide monitor cache, UI thread only. Entries are sorted by their
// left edges, or by their top edges when the monitors stand one above the
// other.

// Refills the cache from the system (the native build has no monitors).
void refreshMonitorCache();
// Fills the cache unless it is valid; answers whether it holds a monitor.
bool ensureMonitorCache();
// Marks the cache not valid and empties it.
void invalidateMonitorCache();
bool isMonitorCacheValid();
const std::vector<MonitorInfo>& getMonitors();
bool areMonitorsVertical();
// The union of all monitor rectangles, starting from (0, 0, 1, 1).
GP::Rect getMonitorBounds();

// The scale factor of the monitor that shows the window (an HWND); 1.0
// unless the application follows DPI changes (program build).
float getWindowScaleFactor(void* window);

namespace DETAIL {

// Stores freshly enumerated monitors: decides the arrangement, sorts the
// entries and computes the bounds.
void storeMonitors(std::vector<MonitorInfo> monitors);
void setMonitorCacheValid(bool valid);

// Monitors stand one above the other when a monitor's left edge lies within
// the previous one's width of the previous one's centre.
bool isVerticalArrangement(const std::vector<MonitorInfo>& monitors);

// Without any monitor reported: cuts the taskbar window's rectangle off the
// desktop rectangle (a bar of full height at a side edge, else a bar of full
// width at the top or bottom edge).
GP::Rect cutTaskbarWindow(GP::Rect desktop, const GP::Rect& taskbar);
// The same from the application bar's reported position.
GP::Rect cutAppBar(GP::Rect desktop, const GP::Rect& bar);

}  // namespace DETAIL

}  // namespace QX::UIA
