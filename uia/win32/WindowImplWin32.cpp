#include <windows.h>

#include "gp/Text.h"
#include "uia/WindowBase.h"
#include "CursorsWin32.h"
#include "RawMouseInputWin32.h"
#include "WindowImplWin32.h"

namespace QX::UIA::DETAIL {

WindowImplBaseWin32::WindowImplBaseWin32(WindowBase* owner) : WindowImpl(owner) {}

WindowImplBaseWin32::~WindowImplBaseWin32() { deleteBackgroundBrush(); }

bool WindowImplBaseWin32::isVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

void WindowImplBaseWin32::showTitle() {
    if (hwnd_ == nullptr) return;
    std::u16string text = GP::utf8ToWide(title_);
    if (modified_) text += u'*';
    SetWindowTextW(hwnd_, text.c_str());
}

void WindowImplBaseWin32::setTitle(const char* utf8) {
    title_ = utf8 != nullptr ? utf8 : "";
    showTitle();
}

void WindowImplBaseWin32::setModified(bool modified) {
    if (modified == modified_) return;
    modified_ = modified;
    showTitle();
}

void WindowImplBaseWin32::setIcon(void* module, int iconId) {
    if (hwnd_ == nullptr) return;
    auto* instance = static_cast<HINSTANCE>(module);
    // Shared icons belong to the module: setting an icon again leaks none.
    HICON largeIcon = LoadIconW(instance, MAKEINTRESOURCEW(iconId));
    auto smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

void WindowImplBaseWin32::setCursor(void* cursor) {
    cursor_ = static_cast<HCURSOR>(cursor);
    SetCursor(cursor_);
}

void WindowImplBaseWin32::resetCursor() {
    if (cursor_ == nullptr) return;
    cursor_ = nullptr;
    SetCursor(static_cast<HCURSOR>(getStandardCursor(0)));
}

void WindowImplBaseWin32::setVisible(bool visible) {
    if (hwnd_ != nullptr) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void WindowImplBaseWin32::raise() {
    if (hwnd_ != nullptr)
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0,
                     positionFlags(SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER));
}

void WindowImplBaseWin32::destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void WindowImplBaseWin32::maximize() { if (hwnd_) ShowWindow(hwnd_, SW_MAXIMIZE); }
void WindowImplBaseWin32::minimize() { if (hwnd_) ShowWindow(hwnd_, SW_MINIMIZE); }
void WindowImplBaseWin32::restore() { if (hwnd_) ShowWindow(hwnd_, SW_RESTORE); }
bool WindowImplBaseWin32::isMaximized() const { return hwnd_ != nullptr && IsZoomed(hwnd_); }
bool WindowImplBaseWin32::isMinimized() const { return hwnd_ != nullptr && IsIconic(hwnd_); }
bool WindowImplBaseWin32::isNormal() const { return !isMaximized() && !isMinimized(); }

void WindowImplBaseWin32::invalidate() {
    if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

void WindowImplBaseWin32::invalidateRect(const GP::Rect& rect) {
    if (hwnd_ == nullptr) return;
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    InvalidateRect(hwnd_, &area, FALSE);
}

void WindowImplBaseWin32::update() {
    if (hwnd_ != nullptr) UpdateWindow(hwnd_);
}

void WindowImplBaseWin32::setParent(WindowBase* parent) {
    if (hwnd_ == nullptr) return;
    HWND parentHandle = nullptr;
    if (parent != nullptr && parent->getImpl() != nullptr)
        parentHandle = static_cast<HWND>(parent->getImpl()->getNativeHandle());
    SetParent(hwnd_, parentHandle);
}

void WindowImplBaseWin32::clientToScreen(GP::Point& point) {
    POINT p{point.x, point.y};
    if (hwnd_ != nullptr) ClientToScreen(hwnd_, &p);
    point = GP::Point{p.x, p.y};
}

void WindowImplBaseWin32::screenToClient(GP::Point& point) {
    POINT p{point.x, point.y};
    if (hwnd_ != nullptr) ScreenToClient(hwnd_, &p);
    point = GP::Point{p.x, p.y};
}

void WindowImplBaseWin32::clientToScreenRect(GP::Rect& rect) {
    GP::Point topLeft{rect.left, rect.top};
    GP::Point bottomRight{rect.right, rect.bottom};
    clientToScreen(topLeft);
    clientToScreen(bottomRight);
    rect = GP::Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void WindowImplBaseWin32::setFocus() {
    if (hwnd_ != nullptr) SetFocus(hwnd_);
}

void WindowImplBaseWin32::setBackgroundBrush(HBRUSH brush) {
    deleteBackgroundBrush();
    backgroundBrush_ = brush;
}

void WindowImplBaseWin32::deleteBackgroundBrush() {
    if (backgroundBrush_ != nullptr) DeleteObject(backgroundBrush_);
    backgroundBrush_ = nullptr;
}

WindowImplWin32::~WindowImplWin32() {
    if (hwnd_ != nullptr) detachAndDestroyNativeWindow();
    // The process-wide holder must not outlive it, also when a capture came
    // after the native window had gone.
    removeRawMouseInput();
}

void WindowImplWin32::setHandle(void* nativeHandle) {
    HWND handle = static_cast<HWND>(nativeHandle);
    if (handle == hwnd_) return;
    // The window may go inside its own paint handler: painting still ends
    // with this device context and drop target, so they are kept until the
    // deferred deletion of this implementation.
    if (handle == nullptr && dropTarget_) {
        dropTarget_->revoke();
        revokedDropTarget_ = std::move(dropTarget_);
    }
    // A window destroyed while it holds the capture hears only that the
    // capture went nowhere; its raw mouse input would outlive it.
    if (handle == nullptr) removeRawMouseInput();
    if (deviceContext_) detachedDeviceContext_ = std::move(deviceContext_);
    if (handle != nullptr) deviceContext_ = std::make_unique<DeviceContext>();
    hwnd_ = handle;
}

std::intptr_t WindowImplWin32::callDefaultProcedure(std::uint32_t message, std::uintptr_t wParam,
                                                    std::intptr_t lParam) {
    return CallWindowProcW(defaultProcedure_, hwnd_, message, wParam, lParam);
}

void WindowImplWin32::detachAndDestroyNativeWindow() {
    HWND handle = hwnd_;
    if (handle == nullptr) return;
    if (GetWindowLongPtrW(handle, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    if (captured_) releaseMouse();
    setHandle(nullptr);
    DestroyWindow(handle);
}

void WindowImplWin32::captureMouse() {
    registerRawMouseInput(*this);
    if (hwnd_ != nullptr && GetCapture() != hwnd_) SetCapture(hwnd_);
    captured_ = true;
}

void WindowImplWin32::releaseMouse() {
    removeRawMouseInput();
    captured_ = false;
    mouseOffset_ = POINT{};
    if (hwnd_ != nullptr && GetCapture() == hwnd_) ReleaseCapture();
}

void WindowImplWin32::removeRawMouseInput() { unregisterRawMouseInput(*this); }

}  // namespace QX::UIA::DETAIL
