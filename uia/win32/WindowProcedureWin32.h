#pragma once
#include <windows.h>

namespace QX::UIA {

namespace DETAIL {
class WindowImplWin32;

// The implementation whose native window is being created, null outside
// CreateWindowExW; its first message attaches it.
WindowImplWin32* getPendingCreation();
void setPendingCreation(WindowImplWin32* impl);
}  // namespace DETAIL

// The module that holds the framework: the instance of its window classes
// and of the windows made from them.
HINSTANCE frameworkInstance();

inline constexpr int kWindowClassCount = 5;
// 0 normal, 1 frameless, 2 child, 3 child with its own device context,
// 4 overlay; any other index means 0.
const char16_t* getWindowClassName(int classIndex);
bool registerWindowClasses();
void unregisterWindowClasses();
bool areWindowClassesRegistered();

LRESULT CALLBACK normalWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK framelessWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK overlayWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC fallback);
LRESULT dispatchWindowMessage(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam,
                              LPARAM lParam);

// The answers the handlers share: what the default procedure says for the
// message; 0 when its event was handled, else the default procedure's.
LRESULT defaultAnswer(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT handledOrDefault(bool handled, DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam,
                         LPARAM lParam);

// Handlers of the message groups; each answers what the procedure returns.
LRESULT handleFrameMessage(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT handlePaintMessage(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT handleKeyboardMessage(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT handleMouseMessage(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT handleMenuMessage(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace QX::UIA
