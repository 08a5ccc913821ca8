#include <algorithm>
#include <cstdint>

#include "uia/Monitors.h"

// The process-wide monitor cache: storing, arranging and bounding the
// entries, and the work area of the entry made up when the system reports no
// monitor. Filling it from the system is the platform's part.
namespace QX::UIA {

namespace {

struct MonitorCache {
    std::vector<MonitorInfo> entries;
    bool vertical = false;
    GP::Rect bounds{0, 0, 1, 1};
    bool valid = false;
};

MonitorCache& cache() {
    static MonitorCache monitorCache;
    return monitorCache;
}

GP::Rect unite(GP::Rect bounds, const GP::Rect& monitor) {
    bounds.left = std::min(bounds.left, monitor.left);
    bounds.top = std::min(bounds.top, monitor.top);
    bounds.right = std::max(bounds.right, monitor.right);
    bounds.bottom = std::max(bounds.bottom, monitor.bottom);
    return bounds;
}

}  // namespace

bool DETAIL::isVerticalArrangement(const std::vector<MonitorInfo>& monitors) {
    std::int64_t previousCentre = 0;
    bool first = true;
    for (const MonitorInfo& info : monitors) {
        const std::int64_t left = info.monitor.left;
        const std::int64_t width = info.monitor.width();
        // The first monitor has no predecessor to stand above.
        if (!first && previousCentre - left >= 0 && previousCentre - left <= width)
            return true;
        first = false;
        previousCentre = left + width / 2;
    }
    return false;
}

void DETAIL::storeMonitors(std::vector<MonitorInfo> monitors) {
    MonitorCache& c = cache();
    c.bounds = GP::Rect{0, 0, 1, 1};
    for (const MonitorInfo& info : monitors)
        c.bounds = unite(c.bounds, info.monitor);
    c.vertical = isVerticalArrangement(monitors);
    const bool vertical = c.vertical;
    std::sort(monitors.begin(), monitors.end(), [vertical](const MonitorInfo& a, const MonitorInfo& b) {
        return vertical ? a.monitor.top < b.monitor.top : a.monitor.left < b.monitor.left;
    });
    c.entries = std::move(monitors);
}

void DETAIL::setMonitorCacheValid(bool valid) { cache().valid = valid; }

void invalidateMonitorCache() {
    MonitorCache& c = cache();
    if (!c.valid)
        return;
    c.valid = false;
    c.entries.clear();
}

bool ensureMonitorCache() {
    if (!isMonitorCacheValid()) {
        DETAIL::setMonitorCacheValid(true);
        refreshMonitorCache();
    }
    return !getMonitors().empty();
}

bool isMonitorCacheValid() { return cache().valid; }
const std::vector<MonitorInfo>& getMonitors() { return cache().entries; }
bool areMonitorsVertical() { return cache().vertical; }
GP::Rect getMonitorBounds() { return cache().bounds; }

GP::Rect DETAIL::cutTaskbarWindow(GP::Rect desktop, const GP::Rect& taskbar) {
    if (taskbar.top < 0 && taskbar.bottom > desktop.bottom) {
        // A bar of full height at the left or right edge.
        if (taskbar.left < desktop.left) {
            desktop.left = taskbar.right;
            return desktop;
        }
        if (taskbar.right > desktop.right) {
            desktop.right = taskbar.left;
            return desktop;
        }
    }
    if (taskbar.left < 0 && taskbar.right > desktop.right) {
        // A bar of full width at the top or bottom edge.
        if (taskbar.top < desktop.top)
            desktop.top = taskbar.bottom;
        else if (taskbar.bottom > desktop.bottom)
            desktop.bottom = taskbar.top;
    }
    return desktop;
}

GP::Rect DETAIL::cutAppBar(GP::Rect desktop, const GP::Rect& bar) {
    if (bar.top == bar.left) {
        if (bar.bottom > bar.right) {  // taller than wide: at the left edge
            desktop.left = bar.right;
            return desktop;
        }
        if (bar.bottom < bar.right) {  // wider than tall: at the top edge
            desktop.top = bar.bottom;
            return desktop;
        }
    }
    if (bar.top <= bar.left)
        desktop.right = bar.left;
    else
        desktop.bottom = bar.top;
    return desktop;
}

}  // namespace QX::UIA
