#pragma once
#include <windows.h>

#include "InternalWindow.h"
#include "gp/Geometry.h"

namespace QX::UIA::DETAIL {

// A system rectangle (monitors, work areas, windows) as the framework's.
inline GP::Rect toRect(const RECT& rect) { return GP::Rect{rect.left, rect.top, rect.right, rect.bottom}; }

// The scale factor of the window's monitor through the given per-monitor DPI
// entry point; 1.0 without it, without a monitor or when it fails.
float getWindowScaleFactorWith(HWND window, InternalWindow::GetDpiForMonitorFunction getDpiForMonitor);

}  // namespace QX::UIA::DETAIL
