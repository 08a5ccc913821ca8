#include <windows.h>
#include <dbt.h>

#include <stdexcept>

#include "../common/DeviceNotificationDispatch.h"
#include "../common/Platform.h"
#include "gp/DeviceNotification.h"
#include "gp/Module.h"
#include "gp/Trace.h"

namespace QX::GP::DETAIL {
namespace {

// The hidden window that receives WM_DEVICECHANGE for device interfaces. It
// belongs to the thread that creates it (the UI thread, which pumps
// messages).
constexpr const char16_t* kClassName = u"QXDeviceNotificationWindow";

HWND window = nullptr;
HDEVNOTIFY registration = nullptr;

void dispatchDeviceChange(WPARAM event, LPARAM data)
{
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return;
    const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    notifyDeviceChange(event == DBT_DEVICEARRIVAL ? kDeviceArrived : kDeviceRemoved,
                       std::u16string(device->dbcc_name));
}

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE) {
        dispatchDeviceChange(wParam, lParam);
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

// A refused registration for device interfaces is only traced: the window
// still receives the broadcasts every top-level window receives.
void createDeviceNotificationWindow()
{
    if (window)
        return;
    HINSTANCE instance = static_cast<HINSTANCE>(getModuleHandle());
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("cannot register the device-notification window class");
    window = CreateWindowExW(0, kClassName, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) {
        UnregisterClassW(kClassName, instance);
        throw std::runtime_error("cannot create the device-notification window");
    }
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    registration = RegisterDeviceNotificationW(window, &filter,
                                               DEVICE_NOTIFY_WINDOW_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES);
    if (!registration)
        traceFormat("GP", "RegisterDeviceNotificationW failed (error %lu)",
                    static_cast<unsigned long>(GetLastError()));
}

void destroyDeviceNotificationWindow()
{
    if (registration)
        UnregisterDeviceNotification(registration);
    registration = nullptr;
    if (window) {
        DestroyWindow(window);
        UnregisterClassW(kClassName, static_cast<HINSTANCE>(getModuleHandle()));
    }
    window = nullptr;
}

}  // namespace QX::GP::DETAIL

namespace QX::GP {

void* getDeviceNotificationWindow() { return DETAIL::window; }

}  // namespace QX::GP
