#include <windows.h>

#include <cmath>
#include <vector>

#include "KeyboardWin32.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA {
namespace {

using DETAIL::WindowImplWin32;

POINT pointOf(LPARAM lParam) { return POINT{short(LOWORD(lParam)), short(HIWORD(lParam))}; }

std::uint32_t buttonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP:
        return kRightButton;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: case WM_NCMBUTTONDOWN: case WM_NCMBUTTONUP:
        return kMiddleButton;
    default:
        return kLeftButton;
    }
}

std::uint32_t actionOf(UINT message) {
    switch (message) {
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_NCLBUTTONUP: case WM_NCRBUTTONUP: case WM_NCMBUTTONUP:
        return kReleased;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        return kDoubleClicked;
    default:
        return kPressed;
    }
}

// While a drag hides the cursor, a cursor at the edge of the screen goes
// back to the middle and the distance is kept as an offset, so the drag can
// go on without limit.
void recentreHiddenCursor(WindowImplWin32& impl) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return;
    const int x = cursor.x - left;
    const int y = cursor.y - top;
    const bool atEdge = x <= 1 || y <= 1 || x >= width - 1 || y >= height - 1;
    if (!atEdge || GetCursor() != nullptr) return;
    const POINT centre{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    POINT offset = impl.getMouseOffset();
    offset.x += cursor.x - centre.x;
    offset.y += cursor.y - centre.y;
    impl.setMouseOffset(offset);
    SetCursorPos(centre.x, centre.y);
}

LRESULT handleMouseMove(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    const POINT point = pointOf(lParam);
    impl.setLastMousePosition(point);
    const POINT offset = impl.getMouseOffset();
    MousePositionEvent event{point.x + offset.x, point.y + offset.y, getModifiers()};
    if (impl.isCaptured()) recentreHiddenCursor(impl);
    if (!impl.isMouseInside()) {
        impl.sendEvent(EventId::kMouseEntered, &event);
        impl.setMouseInside(true);
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, impl.getHandle(), 0};
        TrackMouseEvent(&track);
    }
    const std::uint32_t id = impl.isCaptured() ? EventId::kMouseMoveCaptured : EventId::kMouseMove;
    return handledOrDefault(impl.sendEvent(id, &event), impl, WM_MOUSEMOVE, wParam, lParam);
}

void endCapture(WindowImplWin32& impl) {
    impl.setCaptured(false);
    impl.setMouseOffset(POINT{});
}

LRESULT handleButton(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = impl.getHandle();
    if (message == WM_RBUTTONDOWN && impl.getRaiseOnRightClick()) BringWindowToTop(hwnd);
    const std::uint32_t action = actionOf(message);
    if (action == kReleased) {
        if (impl.isCaptured()) {
            endCapture(impl);
            if (GetCapture() == hwnd) ReleaseCapture();
        }
    } else {
        impl.setMouseOffset(POINT{});
        if (GetCapture() != hwnd) SetCapture(hwnd);
        impl.setCaptured(true);
    }
    const POINT point = pointOf(lParam);
    MouseButtonEvent event{point.x, point.y, getModifiers(), buttonOf(message), action};
    return handledOrDefault(impl.sendEvent(EventId::kMouseButton, &event), impl, message, wParam, lParam);
}

LRESULT handleWheel(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    POINT point = pointOf(lParam);
    ScreenToClient(impl.getHandle(), &point);
    const std::uint32_t modifiers = getModifiers();
    MouseWheelEvent event{point.x, point.y, modifiers, short(HIWORD(wParam)),
                          (modifiers & Key::kShift) ? 0u : 1u};
    return handledOrDefault(impl.sendEvent(EventId::kMouseWheel, &event), impl, WM_MOUSEWHEEL, wParam, lParam);
}

LRESULT handleMouseLeave(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    impl.setMouseInside(false);
    const POINT point = pointOf(lParam);
    MousePositionEvent event{point.x, point.y, getModifiers()};
    return handledOrDefault(impl.sendEvent(EventId::kMouseLeft, &event), impl, WM_MOUSELEAVE, wParam, lParam);
}

LRESULT handleRawInput(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    auto input = reinterpret_cast<HRAWINPUT>(lParam);
    UINT size = 0;
    if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0)
        return impl.callDefaultProcedure(WM_INPUT, wParam, lParam);
    std::vector<std::uint8_t> buffer(size);
    if (GetRawInputData(input, RID_INPUT, buffer.data(), &size, sizeof(RAWINPUTHEADER)) == UINT(-1) ||
        size < sizeof(RAWINPUT))
        return impl.callDefaultProcedure(WM_INPUT, wParam, lParam);
    const auto* raw = reinterpret_cast<const RAWINPUT*>(buffer.data());
    if (raw->header.dwType != RIM_TYPEMOUSE || (raw->data.mouse.usFlags & MOUSE_MOVE_ABSOLUTE))
        return impl.callDefaultProcedure(WM_INPUT, wParam, lParam);
    int speed = 10;
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0);
    const double factor = std::pow(double(speed), 1.747) * 0.019;
    const POINT last = impl.getLastMousePosition();
    RawMouseMotionEvent event;
    event.x = last.x;
    event.y = last.y;
    event.modifiers = getModifiers();
    event.dx = raw->data.mouse.lLastX * factor;
    event.dy = raw->data.mouse.lLastY * factor;
    return handledOrDefault(impl.sendEvent(EventId::kMouseRawMotion, &event), impl, WM_INPUT, wParam, lParam);
}

LRESULT handleNonClientButton(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    if (impl.getNonClientMouse()) {
        POINT point = pointOf(lParam);
        ScreenToClient(impl.getHandle(), &point);
        MouseButtonEvent event{point.x, point.y, getModifiers(), buttonOf(message), actionOf(message)};
        impl.sendEvent(EventId::kMouseButton, &event);
    }
    return impl.callDefaultProcedure(message, wParam, lParam);
}

LRESULT handleParentNotify(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    const UINT childMessage = LOWORD(wParam);
    if (impl.getNonClientMouse() &&
        (childMessage == WM_LBUTTONDOWN || childMessage == WM_RBUTTONDOWN || childMessage == WM_MBUTTONDOWN)) {
        MouseButtonEvent event{-1, -1, getModifiers(), buttonOf(childMessage), kPressed};
        impl.sendEvent(EventId::kMouseButton, &event);
    }
    return impl.callDefaultProcedure(WM_PARENTNOTIFY, wParam, lParam);
}

}  // namespace

LRESULT handleMouseMessage(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: return handleMouseMove(impl, wParam, lParam);
    case WM_MOUSEWHEEL: return handleWheel(impl, wParam, lParam);
    case WM_MOUSELEAVE: return handleMouseLeave(impl, wParam, lParam);
    case WM_INPUT: return handleRawInput(impl, wParam, lParam);
    case WM_CAPTURECHANGED:
        if (lParam != 0 && reinterpret_cast<HWND>(lParam) != impl.getHandle()) {
            endCapture(impl);
            impl.sendEvent(EventId::kWindowCaptureLost, nullptr);
        }
        return impl.callDefaultProcedure(message, wParam, lParam);
    case WM_CANCELMODE:
        endCapture(impl);
        impl.sendEvent(EventId::kWindowCaptureLost, nullptr);
        impl.sendEvent(EventId::kWindowFocusLost, nullptr);
        return impl.callDefaultProcedure(message, wParam, lParam);
    case WM_SETCURSOR:
        if (impl.getCursor() != nullptr) {
            SetCursor(impl.getCursor());
            return TRUE;
        }
        return impl.callDefaultProcedure(message, wParam, lParam);
    case WM_PARENTNOTIFY: return handleParentNotify(impl, wParam, lParam);
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONUP:
        return handleNonClientButton(impl, message, wParam, lParam);
    default:
        return handleButton(impl, message, wParam, lParam);
    }
}

}  // namespace QX::UIA
