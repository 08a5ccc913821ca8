#pragma once
#include <windows.h>

#include "InternalWindow.h"

namespace QX::UIA::DETAIL {

// The scale factor of the window's monitor through the given per-monitor DPI
// entry point; 1.0 without it, without a monitor or when it fails.
float getWindowScaleFactorWith(HWND window, InternalWindow::GetDpiForMonitorFunction getDpiForMonitor);

}  // namespace QX::UIA::DETAIL
