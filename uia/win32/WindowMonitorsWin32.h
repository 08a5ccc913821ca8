#pragma once
#include <windows.h>

namespace QX::UIA::DETAIL {

// The work area of the monitor nearest to a point.
RECT getNearestWorkArea(POINT point);
// The full rectangle of the monitor nearest to a point.
RECT getNearestMonitorRect(POINT point);
bool isPointOnMonitor(POINT point);
// The rectangle that bounds all monitors.
RECT getVirtualScreen();

}  // namespace QX::UIA::DETAIL
