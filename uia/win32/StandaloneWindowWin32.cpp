#include <windows.h>

#include <algorithm>

#include "gp/Text.h"
#include "uia/WindowBase.h"
#include "WindowMonitorsWin32.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA::DETAIL {
namespace {

constexpr DWORD kFixedSizeStyle = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kSizableStyle = kFixedSizeStyle | WS_THICKFRAME | WS_MAXIMIZEBOX;

DropTargetFactory gDropTargetFactory = nullptr;

struct Geometry {
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
};

Geometry initialGeometry(const WindowOptions& options, DWORD style, DWORD extendedStyle) {
    Geometry geometry;
    DWORD adjustStyle = style;
    DWORD adjustExtended = extendedStyle;
    if (extendedStyle & WS_EX_MDICHILD) {
        adjustStyle = WS_OVERLAPPEDWINDOW;
        adjustExtended = 0;
    }
    const GP::Rect& r = options.rect;
    if (options.mask & WindowOptions::kSizeGiven) {
        geometry.width = r.right - r.left;
        geometry.height = r.bottom - r.top;
        if (options.mask & WindowOptions::kClientSize) {
            RECT frame{50, 50, 50 + geometry.width, 50 + geometry.height};
            AdjustWindowRectEx(&frame, adjustStyle, FALSE, adjustExtended);
            geometry.width = frame.right - frame.left;
            geometry.height = frame.bottom - frame.top;
        }
    }
    if (options.mask & WindowOptions::kPositionGiven) {
        geometry.x = r.left;
        geometry.y = r.top;
        if (options.mask & WindowOptions::kClientPosition) {
            RECT frame{r.left, r.top, r.left + 50, r.top + 50};
            AdjustWindowRectEx(&frame, adjustStyle, FALSE, adjustExtended);
            geometry.x = frame.left;
            geometry.y = frame.top;
        }
        if ((style & WS_CHILD) == 0) {
            RECT work{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            geometry.x = std::max(LONG(work.left), std::min(LONG(geometry.x), work.right));
            geometry.y = std::max(LONG(work.top), std::min(LONG(geometry.y), work.bottom));
        }
    }
    return geometry;
}

void addSystemMenuItems(HWND hwnd, std::uint32_t styleBits) {
    if ((styleBits & (WindowOptions::kZoomMenuItem | WindowOptions::kToolbarMenuItem)) == 0) return;
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    if (styleBits & WindowOptions::kToolbarMenuItem)
        AppendMenuW(menu, MF_BYPOSITION | MF_STRING, SystemMenuCommand::kShowToolbar, u"Show &Toolbar");
    if (styleBits & WindowOptions::kZoomMenuItem)
        AppendMenuW(menu, MF_BYPOSITION | MF_STRING, SystemMenuCommand::kZoomWindow, u"&Zoom Window");
}

}  // namespace

void setDropTargetFactory(DropTargetFactory factory) { gDropTargetFactory = factory; }

bool createNativeWindow(WindowImplWin32& impl, const WindowOptions& options, int classIndex,
                        DWORD style, DWORD extendedStyle) {
    if (getPendingCreation() != nullptr) return false;
    WindowBase* owner = impl.getOwner();
    if (options.style & WindowOptions::kLayered) {
        extendedStyle |= WS_EX_LAYERED;
        if (owner != nullptr) owner->setLayered(true, true);
    }
    impl.setDeferredErase((options.style & WindowOptions::kDeferredErase) != 0);
    if (owner != nullptr) impl.setDeleteOnDestroy(owner->getDeleteOnDestroy());

    if (options.mask & WindowOptions::kBackgroundGiven) {
        const COLORREF colour = options.backgroundColour != 0 ? COLORREF(options.backgroundColour & 0xFFFFFF)
                                                              : GetSysColor(COLOR_WINDOW);
        impl.setBackgroundBrush(CreateSolidBrush(colour));
    }
    HWND parentHandle = nullptr;
    if (options.mask & WindowOptions::kParentGiven) {
        if (owner != nullptr) owner->setParentWindow(options.parent);
        if (options.parent != nullptr && options.parent->getImpl() != nullptr)
            parentHandle = static_cast<HWND>(options.parent->getImpl()->getNativeHandle());
        if (parentHandle != nullptr && !IsWindow(parentHandle)) return false;
    }
    const Geometry geometry = initialGeometry(options, style, extendedStyle);
    std::u16string title;
    if (options.mask & WindowOptions::kTitleGiven) {
        impl.storeTitle(options.getTitle());
        title = GP::utf8ToWide(options.getTitle());
    }

    impl.setDefaultProcedure(DefWindowProcW);
    setPendingCreation(&impl);
    HWND hwnd = CreateWindowExW(extendedStyle, getWindowClassName(classIndex), title.c_str(), style,
                                geometry.x, geometry.y, geometry.width, geometry.height, parentHandle,
                                nullptr, frameworkInstance(), nullptr);
    if (hwnd == nullptr || impl.getHandle() != hwnd) {
        if (getPendingCreation() == &impl) setPendingCreation(nullptr);
        return false;
    }
    addSystemMenuItems(hwnd, options.style);
    if ((options.style & WindowOptions::kAcceptDrops) && gDropTargetFactory != nullptr)
        impl.setDropTarget(gDropTargetFactory(impl));
    return true;
}

bool createStandaloneWindowImpl(StandaloneWindow& window, const WindowOptions& options) {
    auto owned = std::make_unique<StandaloneWindowImpl>(&window);
    StandaloneWindowImpl& impl = *owned;
    window.attachImpl(std::move(owned));
    const bool frameless = (options.style & WindowOptions::kFramelessPopup) != 0;
    DWORD style = WS_POPUP;
    if (!frameless) style = (options.style & WindowOptions::kFixedSize) ? kFixedSizeStyle : kSizableStyle;
    return createNativeWindow(impl, options, frameless ? 1 : 0, style, 0);
}

void StandaloneWindowImpl::enterFullScreen() {
    if (fullScreen_ || hwnd_ == nullptr) return;
    getRect(savedRect_, true);
    savedStyle_ = GetWindowLongW(hwnd_, GWL_STYLE);
    savedMenu_ = GetMenu(hwnd_);

    POINT centre{0, 0};
    RECT foreground{};
    if (HWND front = GetForegroundWindow(); front != nullptr && GetWindowRect(front, &foreground))
        centre = POINT{(foreground.left + foreground.right) / 2, (foreground.top + foreground.bottom) / 2};
    const RECT monitor = getNearestMonitorRect(centre);

    SetWindowLongW(hwnd_, GWL_STYLE, LONG(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN));
    SetMenu(hwnd_, nullptr);
    SetWindowPos(hwnd_, nullptr, monitor.left, monitor.top, monitor.right - monitor.left,
                 monitor.bottom - monitor.top, SWP_SHOWWINDOW);
    ShowWindow(hwnd_, SW_RESTORE);
    BringWindowToTop(hwnd_);
    fullScreen_ = true;
}

void StandaloneWindowImpl::leaveFullScreen() {
    if (!fullScreen_ || hwnd_ == nullptr) return;
    ShowWindow(hwnd_, SW_SHOWMINIMIZED);
    SetWindowLongW(hwnd_, GWL_STYLE, savedStyle_);
    SetMenu(hwnd_, savedMenu_);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    ShowWindow(hwnd_, SW_RESTORE);
    fullScreen_ = false;
    setRect(savedRect_, true);
}

std::intptr_t StandaloneWindowImpl::callDefaultProcedure(std::uint32_t message, std::uintptr_t wParam,
                                                         std::intptr_t lParam) {
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED &&
        onResized(LOWORD(lParam), HIWORD(lParam)))
        return 0;
    return WindowImplWin32::callDefaultProcedure(message, wParam, lParam);
}

bool StandaloneWindowImpl::onResized(std::int32_t width, std::int32_t) {
    if (embeddedChild_ == nullptr || embeddedChild_->getImpl() == nullptr || !embeddedChild_->isVisible())
        return false;
    WindowSize childSize;
    embeddedChild_->getSize(childSize, true);
    SetWindowPos(static_cast<HWND>(embeddedChild_->getImpl()->getNativeHandle()), nullptr, 0, 0, width,
                 childSize.height, SWP_NOZORDER | SWP_NOACTIVATE);
    std::uint32_t state = kSizeRestored;
    sendEvent(EventId::kWindowResized, &state);
    return true;
}

}  // namespace QX::UIA::DETAIL
