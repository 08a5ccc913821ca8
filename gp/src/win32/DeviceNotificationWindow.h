#pragma once

namespace QX::GP::DETAIL {

// The hidden window that receives WM_DEVICECHANGE for device interfaces.
// It belongs to the thread that creates it (the UI thread, which pumps
// messages).
class DeviceNotificationWindow {
public:
    // Throws when the window cannot be made; a refused registration for
    // device interfaces is only traced (the window still works for the
    // broadcasts every top-level window receives).
    static void create();
    static void destroy();
};

}  // namespace QX::GP::DETAIL
