#include <windows.h>
#include <shellapi.h>

#include "InternalWindow.h"
#include "MonitorsWin32.h"
#include "uia/Application.h"
#include "uia/Monitors.h"

// Fills the monitor cache from the system, and finds the scale factor of a
// window's monitor.
namespace QX::UIA {

namespace {

using DETAIL::toRect;

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
        MonitorInfo entry;
        entry.monitor = toRect(info.rcMonitor);
        entry.workArea = toRect(info.rcWork);
        entry.valid = true;
        reinterpret_cast<std::vector<MonitorInfo>*>(context)->push_back(entry);
    }
    return TRUE;
}

std::vector<MonitorInfo> enumerateMonitors() {
    std::vector<MonitorInfo> monitors;
    HDC screen = GetDC(nullptr);
    EnumDisplayMonitors(screen, nullptr, &addMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (screen)
        ReleaseDC(nullptr, screen);
    return monitors;
}

GP::Rect getScreenRect() { return GP::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

GP::Rect getDesktopRect() {
    RECT rect;
    if (GetWindowRect(GetDesktopWindow(), &rect))
        return toRect(rect);
    return getScreenRect();
}

// The desktop without the taskbar, found however the system lets us.
GP::Rect getFallbackWorkArea() {
    const GP::Rect desktop = getDesktopRect();
    if (HWND taskbar = FindWindowW(u"Shell_TrayWnd", nullptr)) {
        RECT rect;
        if (GetWindowRect(taskbar, &rect))
            return DETAIL::cutTaskbarWindow(desktop, toRect(rect));
        return desktop;
    }
    APPBARDATA bar = {};
    bar.cbSize = sizeof(bar);
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar))
        return DETAIL::cutAppBar(desktop, toRect(bar.rc));
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        return toRect(work);
    return GP::Rect{0, 0, GetSystemMetrics(SM_CXMAXIMIZED) - 8, GetSystemMetrics(SM_CYMAXIMIZED) - 8};
}

}  // namespace

void refreshMonitorCache() {
    std::vector<MonitorInfo> monitors = enumerateMonitors();
    if (monitors.empty()) {
        MonitorInfo entry;
        entry.monitor = getScreenRect();
        entry.workArea = getFallbackWorkArea();
        entry.valid = true;
        monitors.push_back(entry);
    }
    DETAIL::storeMonitors(std::move(monitors));
}

float DETAIL::getWindowScaleFactorWith(HWND window,
                                       InternalWindow::GetDpiForMonitorFunction getDpiForMonitor) {
    if (!getDpiForMonitor)
        return 1.0f;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    if (!monitor)
        return 1.0f;
    constexpr int kEffectiveDpi = 0;
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)))
        return 1.0f;
    return static_cast<float>(dpiX) / 96.0f;
}

float getWindowScaleFactor(void* window) {
    Application* application = Application::getInstance();
    // The per-monitor DPI is followed only when the application asks for it.
    if (!application || !application->isDpiChangeEnabled() || !application->getInternalWindow())
        return 1.0f;
    return DETAIL::getWindowScaleFactorWith(static_cast<HWND>(window),
                                            application->getInternalWindow()->getDpiForMonitor());
}

}  // namespace QX::UIA
