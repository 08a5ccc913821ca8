#include <windows.h>

#include "RawMouseInputWin32.h"

namespace QX::UIA::DETAIL {
namespace {

// Only compared, never followed: the holder forgets it before it goes.
const WindowImplWin32* gHolder = nullptr;

bool registerMouse(DWORD flags) {
    RAWINPUTDEVICE device{1, 2, flags, nullptr};
    return RegisterRawInputDevices(&device, 1, sizeof device);
}

}  // namespace

void registerRawMouseInput(const WindowImplWin32& window) {
    if (registerMouse(0)) gHolder = &window;
}

void unregisterRawMouseInput(const WindowImplWin32& window) {
    if (gHolder != &window) return;
    registerMouse(RIDEV_REMOVE);
    gHolder = nullptr;
}

}  // namespace QX::UIA::DETAIL
