#include <windows.h>

#include "uia/ApplicationLink.h"
#include "uia/WindowBase.h"
#include "GuardedCall.h"
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

LRESULT guarded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC fallback) {
    return DETAIL::callGuarded([&] { return windowProcedure(hwnd, message, wParam, lParam, fallback); });
}

}  // namespace

LRESULT windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC fallback) {
    WindowImplWin32* impl = attachedImpl(hwnd);
    if (impl == nullptr || impl->getHandle() != hwnd) return fallback(hwnd, message, wParam, lParam);

    // A window destroyed while the message is handled goes once the outermost
    // of its messages has returned.
    DETAIL::NestingGuard scope(impl);
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
