#pragma once

namespace QX::UIA {

class WindowBase;

// What the application needs of its main window. The window side defines
// both next to WindowBase's constructor.

// The window's native handle (an HWND), null when it has none.
void* getNativeWindowHandle(const WindowBase& window);
// Destroys the window's native window (WindowBase::destroy).
void destroyWindow(WindowBase& window);

}  // namespace QX::UIA
