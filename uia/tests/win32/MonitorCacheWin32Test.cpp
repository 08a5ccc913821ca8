#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "MonitorsWin32.h"
#include "uia/Application.h"
#include "uia/Monitors.h"

using namespace QX::UIA;

namespace {

HRESULT WINAPI reportDpi144(HMONITOR, int, UINT* x, UINT* y) {
    *x = *y = 144;
    return S_OK;
}

HRESULT WINAPI failDpi(HMONITOR, int, UINT*, UINT*) { return E_FAIL; }

TEST(MonitorCacheWin32Test, EnsureFillsFromTheScreenOnce) {
    invalidateMonitorCache();
    EXPECT_TRUE(ensureMonitorCache());
    ASSERT_FALSE(getMonitors().empty());
    const MonitorInfo& primary = getMonitors().front();
    EXPECT_TRUE(primary.valid);
    EXPECT_FALSE(primary.spare);
    EXPECT_EQ(primary.monitor.width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(primary.monitor.height(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(primary.workArea.isEmpty());
    EXPECT_EQ(getMonitorBounds().right, primary.monitor.right);
    EXPECT_TRUE(isMonitorCacheValid());
    invalidateMonitorCache();
    EXPECT_TRUE(getMonitors().empty());
}

TEST(MonitorCacheWin32Test, ScaleFactorFromTheMonitorsDpi) {
    HWND window = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FLOAT_EQ(DETAIL::getWindowScaleFactorWith(window, &reportDpi144), 1.5f);
    EXPECT_FLOAT_EQ(DETAIL::getWindowScaleFactorWith(window, nullptr), 1.0f);
    EXPECT_FLOAT_EQ(DETAIL::getWindowScaleFactorWith(window, &failDpi), 1.0f);
    // This program never follows DPI changes: every window has scale 1.0.
    Application application;
    EXPECT_FLOAT_EQ(getWindowScaleFactor(window), 1.0f);
    DestroyWindow(window);
}

}  // namespace
