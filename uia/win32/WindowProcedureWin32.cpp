#include <windows.h>

#include <cstdlib>
#include <exception>
#include <memory>

#include "gp/LastChanceFilter.h"
#include "uia/ApplicationLink.h"
#include "uia/WindowBase.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA {
namespace DETAIL {
namespace {
WindowImplWin32* gPendingCreation = nullptr;
}
WindowImplWin32* getPendingCreation() { return gPendingCreation; }
void setPendingCreation(WindowImplWin32* impl) { gPendingCreation = impl; }
}  // namespace DETAIL

namespace {

using DETAIL::WindowImplWin32;

WindowImplWin32* attachedImpl(HWND hwnd) {
    auto* impl = reinterpret_cast<WindowImplWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (impl != nullptr || DETAIL::getPendingCreation() == nullptr) return impl;
    // The first message of a window being created: attach its implementation.
    impl = DETAIL::getPendingCreation();
    impl->setHandle(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
    DETAIL::setPendingCreation(nullptr);
    return impl;
}

void detachOnFinalMessage(HWND hwnd, WindowImplWin32& impl) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    impl.setHandle(nullptr);
    impl.deleteBackgroundBrush();
    if (WindowBase* owner = impl.getOwner(); owner != nullptr && owner->getImpl() == &impl)
        owner->releaseImpl();
    impl.setDestroyedPending(true);
}

// Deletes a destroyed window's objects once no message of it is on the stack.
void deleteWhenOutermost(WindowImplWin32* impl) {
    if (impl->getHandle() != nullptr || impl->getNestingDepth() > 0) return;
    impl->setDestroyedPending(false);
    std::unique_ptr<WindowImplWin32> owned(impl);
    if (impl->getDeleteOnDestroy() && impl->getOwner() != nullptr) {
        std::unique_ptr<WindowBase> owner(impl->getOwner());
        impl->setOwner(nullptr);
    }
}

// Exceptions must not unwind through the platform's frames: they end here,
// reported like any other unhandled failure.
LRESULT guarded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC fallback) {
    try {
        return windowProcedure(hwnd, message, wParam, lParam, fallback);
    } catch (const std::exception& error) {
        GP::reportUnhandledException(error.what());
    } catch (...) {
        GP::reportUnhandledException("unknown exception");
    }
    std::abort();
}

// One message of an attached window: the nesting depth is raised while it is
// handled, and a window destroyed meanwhile is deleted once the outermost
// message has returned, also when a handler throws.
class MessageScope {
public:
    explicit MessageScope(WindowImplWin32* impl) : impl_(impl) { impl_->enterMessage(); }
    ~MessageScope() {
        impl_->leaveMessage();
        if (impl_->isDestroyedPending()) deleteWhenOutermost(impl_);
    }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

private:
    WindowImplWin32* impl_;
};

}  // namespace

LRESULT windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC fallback) {
    WindowImplWin32* impl = attachedImpl(hwnd);
    if (impl == nullptr || impl->getHandle() != hwnd) return fallback(hwnd, message, wParam, lParam);

    MessageScope scope(impl);
    const LRESULT answer = dispatchWindowMessage(*impl, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Still inside the scope: deletion waits until the depth is back to 0.
        detachOnFinalMessage(hwnd, *impl);
    }
    return answer;
}

LRESULT CALLBACK normalWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return guarded(hwnd, message, wParam, lParam, DefWindowProcW);
}

LRESULT CALLBACK framelessWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The client area is the whole window, and no frame is drawn.
    if (message == WM_NCCALCSIZE) return wParam != 0 ? (WVR_VALIDRECTS | WVR_HREDRAW | WVR_VREDRAW) : 0;
    if (message == WM_NCPAINT) return 0;
    return normalWindowProcedure(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK overlayWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return normalWindowProcedure(hwnd, message, wParam, lParam);
}

}  // namespace QX::UIA
