#pragma once
#include <functional>
#include <string>

namespace QX::GP {

// Device interfaces arriving and leaving, as the hidden device-notification
// window that `init` creates sees them (program build only).
enum DeviceChange : int {
    kDeviceArrived = 1,
    kDeviceRemoved = 2,
};

// Called on the UI thread with the change and the device interface's path.
using DeviceChangeListener = std::function<void(int change, const std::u16string& devicePath)>;

// Returns an id for `removeDeviceChangeListener`.
int addDeviceChangeListener(DeviceChangeListener listener);
void removeDeviceChangeListener(int id);

// The hidden window (an HWND), or null when there is none.
void* getDeviceNotificationWindow();

}  // namespace QX::GP
