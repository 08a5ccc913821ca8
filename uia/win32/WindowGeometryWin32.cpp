#include <windows.h>

#include <algorithm>

#include "MonitorsWin32.h"
#include "WindowMonitorsWin32.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA::DETAIL {
namespace {

RECT toRECT(const GP::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

GP::Rect widen(const GP::Rect& r, const GP::Rect& margins) {
    return GP::Rect{r.left - margins.left, r.top - margins.top, r.right + margins.right,
                    r.bottom + margins.bottom};
}

GP::Rect shrink(const GP::Rect& r, const GP::Rect& margins) {
    return GP::Rect{r.left + margins.left, r.top + margins.top, r.right - margins.right,
                    r.bottom - margins.bottom};
}

bool readPlacement(HWND hwnd, WINDOWPLACEMENT& placement) {
    placement = WINDOWPLACEMENT{};
    placement.length = sizeof placement;
    return hwnd != nullptr && GetWindowPlacement(hwnd, &placement);
}

// The frame that the platform adds around a client rectangle for a window of
// these styles.
RECT frameFor(HWND hwnd, bool hasMenu, RECT client) {
    AdjustWindowRectEx(&client, DWORD(GetWindowLongW(hwnd, GWL_STYLE)), hasMenu,
                       DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    return client;
}

std::int32_t layerOf(HWND hwnd) {
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    const LONG extended = GetWindowLongW(hwnd, GWL_EXSTYLE);
    if (extended & WS_EX_MDICHILD) return 3;
    if ((style & WS_POPUP) && (extended & WS_EX_TOOLWINDOW)) return (extended & WS_EX_NOACTIVATE) ? 10 : 5;
    return (extended & WS_EX_TOPMOST) ? 4 : 0;
}

}  // namespace

GP::Rect WindowImplBaseWin32::getFrameMargins() {
    GP::Rect frame;
    GP::Rect client;
    getRect(frame, false);
    getRect(client, true);
    return GP::Rect{client.left - frame.left, client.top - frame.top, frame.right - client.right,
                    frame.bottom - client.bottom};
}

void WindowImplBaseWin32::getRect(GP::Rect& rect, bool clientArea) {
    rect = GP::Rect{};
    WINDOWPLACEMENT placement;
    if (!readPlacement(hwnd_, placement)) return;
    POINT corner{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
    if (IsZoomed(hwnd_)) corner = POINT{std::max(LONG(0), placement.ptMaxPosition.x), std::max(LONG(0), placement.ptMaxPosition.y)};
    else if (IsIconic(hwnd_)) corner = placement.ptMinPosition;

    RECT windowRect{};
    GetWindowRect(hwnd_, &windowRect);
    if (!clientArea) {
        rect = GP::Rect::fromSize(corner.x, corner.y, windowRect.right - windowRect.left,
                                  windowRect.bottom - windowRect.top);
        return;
    }
    RECT clientRect{};
    GetClientRect(hwnd_, &clientRect);
    POINT clientOrigin{0, 0};
    ClientToScreen(hwnd_, &clientOrigin);
    rect = GP::Rect::fromSize(corner.x + clientOrigin.x - windowRect.left,
                              corner.y + clientOrigin.y - windowRect.top, clientRect.right, clientRect.bottom);
}

void WindowImplBaseWin32::setRect(const GP::Rect& requested, bool clientArea) {
    if (hwnd_ == nullptr) return;
    const GP::Rect rect = clientArea ? widen(requested, getFrameMargins()) : requested;
    if (!isNormal()) {
        setRestoredRect(rect, false);
        std::uint32_t state = kSizeRestored;
        sendEvent(EventId::kWindowResized, &state);
        return;
    }
    WINDOWPLACEMENT placement;
    if (!readPlacement(hwnd_, placement)) {
        SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     positionFlags(SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER));
        return;
    }
    placement.rcNormalPosition = toRECT(rect);
    // Applying a placement must not show a hidden window.
    if (!IsWindowVisible(hwnd_)) placement.showCmd = SW_HIDE;
    SetWindowPlacement(hwnd_, &placement);
}

void WindowImplBaseWin32::setSize(const WindowSize& requested, bool clientArea) {
    if (hwnd_ == nullptr) return;
    WindowSize size = requested;
    if (clientArea) {
        const GP::Rect margins = getFrameMargins();
        size.width += margins.left + margins.right;
        size.height += margins.top + margins.bottom;
    }
    if (!isNormal()) {
        GP::Rect restored;
        getRestoredRect(restored, false);
        setRestoredRect(GP::Rect::fromSize(restored.left, restored.top, size.width, size.height), false);
        std::uint32_t state = kSizeRestored;
        sendEvent(EventId::kWindowResized, &state);
        return;
    }
    SetWindowPos(hwnd_, nullptr, 0, 0, size.width, size.height,
                 positionFlags(SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER));
}

void WindowImplBaseWin32::setPosition(const GP::Point& requested, bool clientArea) {
    if (hwnd_ == nullptr) return;
    POINT point{requested.x, requested.y};
    if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) {
        SetWindowPos(hwnd_, nullptr, point.x, point.y, 0, 0,
                     positionFlags(SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER));
        return;
    }
    if (clientArea) {
        const GP::Rect margins = getFrameMargins();
        point.x -= margins.left;
        point.y -= margins.top;
    }
    const RECT work = getNearestWorkArea(point);
    point.x = std::min(point.x, work.right - 4);
    point.y = std::min(point.y, work.bottom - 4);

    if (!isNormal()) {
        GP::Rect restored;
        getRestoredRect(restored, false);
        restored.offset(point.x - restored.left, point.y - restored.top);
        setRestoredRect(restored, false);
        return;
    }
    WINDOWPLACEMENT placement;
    if (!readPlacement(hwnd_, placement)) {
        SetWindowPos(hwnd_, nullptr, point.x, point.y, 0, 0,
                     positionFlags(SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER));
        return;
    }
    OffsetRect(&placement.rcNormalPosition, point.x - placement.rcNormalPosition.left,
               point.y - placement.rcNormalPosition.top);
    if (!IsWindowVisible(hwnd_)) placement.showCmd = SW_HIDE;
    SetWindowPlacement(hwnd_, &placement);
}

void WindowImplBaseWin32::getRestoredRect(GP::Rect& rect, bool clientArea) {
    WINDOWPLACEMENT placement;
    rect = GP::Rect{};
    if (!readPlacement(hwnd_, placement)) return;
    rect = toRect(placement.rcNormalPosition);
    if (clientArea) rect = shrink(rect, getFrameMargins());
}

void WindowImplBaseWin32::setRestoredRect(const GP::Rect& requested, bool clientArea) {
    WINDOWPLACEMENT placement;
    if (!readPlacement(hwnd_, placement)) return;
    const GP::Rect rect = clientArea ? widen(requested, getFrameMargins()) : requested;
    placement.rcNormalPosition = toRECT(rect);
    placement.showCmd = IsWindowVisible(hwnd_) ? SW_SHOWNA : SW_HIDE;
    SetWindowPlacement(hwnd_, &placement);
}

void WindowImplBaseWin32::getPlacement(WindowPlacement& result) {
    result = WindowPlacement{};
    WINDOWPLACEMENT placement;
    if (!readPlacement(hwnd_, placement)) return;
    if (!IsWindowVisible(hwnd_)) result.showState = WindowPlacement::kHidden;
    else if (IsZoomed(hwnd_)) result.showState = WindowPlacement::kMaximized;
    else if (IsIconic(hwnd_)) result.showState = WindowPlacement::kMinimized;
    else result.showState = WindowPlacement::kNormal;

    const RECT& normal = placement.rcNormalPosition;
    result.x = normal.left;
    result.y = normal.top;
    const RECT frame = frameFor(hwnd_, menuBar_ != nullptr, RECT{0, 0, 0, 0});
    result.width = (normal.right - normal.left) - (frame.right - frame.left);
    result.height = (normal.bottom - normal.top) - (frame.bottom - frame.top);
    if (placement.ptMinPosition.x >= 0 || placement.ptMinPosition.y >= 0) {
        result.minimizedX = placement.ptMinPosition.x;
        result.minimizedY = placement.ptMinPosition.y;
    }
    result.layer = layerOf(hwnd_);
    for (HWND next = GetWindow(hwnd_, GW_HWNDNEXT); next != nullptr && layerOf(next) == result.layer;
         next = GetWindow(next, GW_HWNDNEXT))
        ++result.layerIndex;
}

void WindowImplBaseWin32::setPlacement(const WindowPlacement& wanted) {
    WINDOWPLACEMENT placement;
    if (!readPlacement(hwnd_, placement)) return;
    const RECT screen = getVirtualScreen();
    std::int32_t width = wanted.width;
    std::int32_t height = wanted.height;
    if (width < 0 || width > screen.right - screen.left || height < 0 || height > screen.bottom - screen.top)
        width = height = 0;

    RECT& normal = placement.rcNormalPosition;
    if (wanted.x > WindowPlacement::kUnset && wanted.y > WindowPlacement::kUnset) {
        POINT corner{wanted.x, wanted.y};
        if (!isPointOnMonitor(corner) && !isPointOnMonitor(POINT{wanted.x + width, wanted.y})) {
            const RECT work = getNearestWorkArea(corner);
            corner.x = std::clamp(corner.x, work.left, std::max(work.left, work.right - 1));
            corner.y = std::clamp(corner.y, work.top, std::max(work.top, work.bottom - 1));
        }
        OffsetRect(&normal, corner.x - normal.left, corner.y - normal.top);
    }
    if (width > 0 || height >= 1) {
        const RECT frame = frameFor(hwnd_, menuBar_ != nullptr, RECT{100, 100, 100 + width, 100 + height});
        normal.right = normal.left + (frame.right - frame.left);
        normal.bottom = normal.top + (frame.bottom - frame.top);
    }
    placement.flags = 0;
    if (wanted.minimizedX > WindowPlacement::kUnset && wanted.minimizedY > WindowPlacement::kUnset) {
        placement.flags |= WPF_SETMINPOSITION;
        placement.ptMinPosition = POINT{wanted.minimizedX, wanted.minimizedY};
    }
    switch (wanted.showState) {
    case WindowPlacement::kNormal: placement.showCmd = SW_RESTORE; break;
    case WindowPlacement::kMinimized: placement.showCmd = SW_SHOWMINIMIZED; break;
    case WindowPlacement::kMaximized: placement.showCmd = SW_SHOWMAXIMIZED; break;
    default: placement.showCmd = SW_HIDE; break;
    }
    SetWindowPlacement(hwnd_, &placement);
}

}  // namespace QX::UIA::DETAIL

namespace QX::UIA {
namespace {

POINT frameSizeOf(DETAIL::WindowImplWin32& impl, std::int32_t width, std::int32_t height) {
    RECT rect{50, 50, 50 + width, 50 + height};
    HWND hwnd = impl.getHandle();
    AdjustWindowRectEx(&rect, DWORD(GetWindowLongW(hwnd, GWL_STYLE)), impl.getMenuBarHandle() != nullptr,
                       DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    return POINT{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

LRESULT handleFrameMessage(DETAIL::WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GETMINMAXINFO) return impl.callDefaultProcedure(message, wParam, lParam);
    impl.callDefaultProcedure(message, wParam, lParam);
    SizeLimitsEventData limits;
    impl.sendEvent(EventId::kWindowSizeLimitsWanted, &limits);
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr) return 0;
    if (limits.flags & SizeLimitsEventData::kMaximumGiven) {
        const POINT frame = frameSizeOf(impl, limits.maximumWidth, limits.maximumHeight);
        info->ptMaxTrackSize.x = std::min(info->ptMaxTrackSize.x, frame.x);
        info->ptMaxTrackSize.y = std::min(info->ptMaxTrackSize.y, frame.y);
    }
    if (limits.flags & SizeLimitsEventData::kMinimumGiven) {
        const POINT frame = frameSizeOf(impl, limits.minimumWidth, limits.minimumHeight);
        info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, frame.x);
        info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, frame.y);
    }
    return 0;
}

}  // namespace QX::UIA
