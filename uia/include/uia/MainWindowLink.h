#pragma once

namespace QX::UIA {

class WindowBase;

// What the application needs of its main window, defined by the window side.

// The window's native handle (an HWND), null when it has none.
void* getNativeWindowHandle(const WindowBase& window);
// Destroys the window's native window (WindowBase::destroy).
void destroyWindow(WindowBase& window);

}  // namespace QX::UIA
