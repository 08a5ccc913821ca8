#include <windows.h>

#include "uia/ApplicationLink.h"
#include "uia/Monitors.h"
#include "uia/WindowBase.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA {

using DETAIL::WindowImplWin32;

LRESULT defaultAnswer(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    return impl.callDefaultProcedure(message, wParam, lParam);
}

LRESULT handledOrDefault(bool handled, WindowImplWin32& impl, UINT message, WPARAM wParam,
                         LPARAM lParam) {
    return handled ? 0 : defaultAnswer(impl, message, wParam, lParam);
}

namespace {

LRESULT notifyThenDefault(WindowImplWin32& impl, std::uint32_t event, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    impl.sendEvent(event, nullptr);
    return defaultAnswer(impl, message, wParam, lParam);
}

LRESULT handleClose(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    Answer mayClose = 1;
    impl.sendEvent(EventId::kWindowCloseRequest, &mayClose);
    if (mayClose == 0) return 0;
    return defaultAnswer(impl, WM_CLOSE, wParam, lParam);
}

LRESULT handleSize(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    std::uint32_t state = kSizeRestored;
    if (wParam == SIZE_MAXIMIZED) state = kSizeMaximised;
    else if (wParam == SIZE_MINIMIZED) state = kSizeMinimised;
    return handledOrDefault(impl.sendEvent(EventId::kWindowResized, &state), impl, WM_SIZE, wParam, lParam);
}

LRESULT handleWindowPosChanged(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = defaultAnswer(impl, WM_WINDOWPOSCHANGED, wParam, lParam);
    const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (position != nullptr && (position->flags & SWP_NOZORDER) == 0 && position->hwndInsertAfter == HWND_TOP)
        impl.sendEvent(EventId::kWindowRaised, nullptr);
    return answer;
}

LRESULT handleActivateApp(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    WPARAM data = wParam;
    DETAIL::sendEventToApplication(wParam != 0 ? EventId::kApplicationActivated
                                               : EventId::kApplicationDeactivated,
                                   &data);
    return defaultAnswer(impl, WM_ACTIVATEAPP, wParam, lParam);
}

LRESULT handleDisplayChange(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    if (!isMonitorCacheValid()) return defaultAnswer(impl, WM_DISPLAYCHANGE, wParam, lParam);
    refreshMonitorCache();
    LPARAM data = lParam;
    DETAIL::sendEventToApplication(EventId::kDisplayChanged, &data);
    return 1;
}

LRESULT handlePowerBroadcast(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    if (DETAIL::getApplicationTarget() != nullptr) {
        if (wParam == PBT_APMSUSPEND) {
            DETAIL::notifyApplicationSuspend();
            return 0;
        }
        if (wParam == PBT_APMRESUMESUSPEND) {
            DETAIL::notifyApplicationResume();
            return 0;
        }
    }
    return defaultAnswer(impl, WM_POWERBROADCAST, wParam, lParam);
}

// Owner-drawn controls get their notifications back.
LRESULT reflectToChild(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND child = GetDlgItem(impl.getHandle(), int(wParam)); child != nullptr)
        SendMessageW(child, message, wParam, lParam);
    return defaultAnswer(impl, message, wParam, lParam);
}

bool isKeyboardMessage(UINT message) {
    return (message >= WM_KEYDOWN && message <= WM_SYSDEADCHAR) || message == WM_IME_CHAR ||
           message == WM_IME_KEYDOWN || message == WM_IME_KEYUP;
}

bool isMouseMessage(UINT message) {
    switch (message) {
    case WM_INPUT: case WM_MOUSEMOVE: case WM_MOUSEWHEEL: case WM_CAPTURECHANGED:
    case WM_MOUSELEAVE: case WM_CANCELMODE: case WM_SETCURSOR: case WM_PARENTNOTIFY:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONUP:
        return true;
    default:
        return message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK;
    }
}

}  // namespace

LRESULT dispatchWindowMessage(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isKeyboardMessage(message) || message == WM_SETFOCUS || message == WM_KILLFOCUS ||
        message == WM_INPUTLANGCHANGE)
        return handleKeyboardMessage(impl, message, wParam, lParam);
    if (isMouseMessage(message)) return handleMouseMessage(impl, message, wParam, lParam);

    switch (message) {
    case WM_CREATE: return notifyThenDefault(impl, EventId::kWindowCreated, message, wParam, lParam);
    case WM_DESTROY: return notifyThenDefault(impl, EventId::kWindowDestroyed, message, wParam, lParam);
    case WM_CLOSE: return handleClose(impl, wParam, lParam);
    case WM_SIZE: return handleSize(impl, wParam, lParam);
    case WM_ACTIVATE:
        return notifyThenDefault(impl, LOWORD(wParam) == WA_INACTIVE ? EventId::kWindowDeactivated
                                                                      : EventId::kWindowActivated,
                                 message, wParam, lParam);
    case WM_CHILDACTIVATE: return notifyThenDefault(impl, EventId::kWindowActivated, message, wParam, lParam);
    case WM_GETMINMAXINFO: return handleFrameMessage(impl, message, wParam, lParam);
    case WM_WINDOWPOSCHANGED: return handleWindowPosChanged(impl, wParam, lParam);
    case WM_PAINT:
    case WM_ERASEBKGND: return handlePaintMessage(impl, message, wParam, lParam);
    case WM_ACTIVATEAPP: return handleActivateApp(impl, wParam, lParam);
    case WM_DISPLAYCHANGE: return handleDisplayChange(impl, wParam, lParam);
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_INITMENUPOPUP: return handleMenuMessage(impl, message, wParam, lParam);
    case WM_POWERBROADCAST: return handlePowerBroadcast(impl, wParam, lParam);
    case WM_DRAWITEM: case WM_MEASUREITEM: case WM_DELETEITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_COMPAREITEM:
        return reflectToChild(impl, message, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    default: return defaultAnswer(impl, message, wParam, lParam);
    }
}

}  // namespace QX::UIA
