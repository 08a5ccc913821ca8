#include <windows.h>

#include "WindowMonitorsWin32.h"

namespace QX::UIA::DETAIL {
namespace {

MONITORINFO nearestMonitorInfo(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        info.rcMonitor = getVirtualScreen();
        info.rcWork = info.rcMonitor;
    }
    return info;
}

}  // namespace

RECT getNearestWorkArea(POINT point) { return nearestMonitorInfo(point).rcWork; }

RECT getNearestMonitorRect(POINT point) { return nearestMonitorInfo(point).rcMonitor; }

bool isPointOnMonitor(POINT point) { return MonitorFromPoint(point, MONITOR_DEFAULTTONULL) != nullptr; }

RECT getVirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace QX::UIA::DETAIL
