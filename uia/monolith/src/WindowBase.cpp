#include "uia/WindowBase.h"

#include "uia/ApplicationLink.h"
#include "uia/MainWindowLink.h"
#include "uia/WindowImpl.h"

namespace QX::UIA {

WindowBase::WindowBase() = default;

WindowBase::~WindowBase() {
    DETAIL::forgetApplicationMainWindow(this);
    if (!impl_) return;
    // The native window must not outlive its object: cut it loose first so
    // that none of its messages reaches this half-destroyed object.
    if (impl_->getNativeHandle() != nullptr) impl_->detachAndDestroyNativeWindow();
    impl_->setOwner(nullptr);
    if (impl_->getNestingDepth() > 0) {
        // A message of this window is still being handled: the window
        // procedure deletes the implementation when it returns.
        impl_->setDestroyedPending(true);
        impl_.release();
    }
}

bool WindowBase::onEvent(std::uint32_t, void*) { return false; }

void WindowBase::setCursor(void* cursor) {
    if (impl_) impl_->setCursor(cursor);
}

void WindowBase::resetCursor() {
    if (impl_) impl_->resetCursor();
}

void WindowBase::invalidate() {
    if (impl_) impl_->invalidate();
}

void WindowBase::invalidateRegion(const GP::Region& region) {
    if (impl_) impl_->invalidateRegion(region);
}

bool WindowBase::isVisible() const { return impl_ && impl_->isVisible(); }

void WindowBase::setVisible(bool visible) {
    DETAIL::WindowImpl* impl = impl_.get();
    if (impl == nullptr) return;
    // The about-to-show handler may destroy or even delete this window: the
    // guard keeps the implementation until it ends, and this object is not
    // touched after the event.
    DETAIL::NestingGuard guard(impl);
    if (visible && !impl->isVisible()) sendEvent(EventId::kWindowAboutToShow, nullptr);
    if (!impl->isDestroyedPending()) impl->setVisible(visible);
}

void WindowBase::destroy() {
    if (impl_) impl_->destroy();
}

double WindowBase::getScaleFactor() const { return impl_ ? impl_->getScaleFactor() : 1.0; }

void WindowBase::getSize(WindowSize& size, bool clientArea) const {
    if (impl_) impl_->getSize(size, clientArea);
    else size = WindowSize{};
}

void WindowBase::setFocus() {
    if (impl_) impl_->setFocus();
}

void WindowBase::setIcon(void* module, int iconId) {
    if (impl_) impl_->setIcon(module, iconId);
}

void WindowBase::captureMouse() {
    if (impl_) impl_->captureMouse();
}

void WindowBase::releaseMouse() {
    if (impl_) impl_->releaseMouse();
}

void WindowBase::clientToScreen(GP::Point& point) const {
    if (impl_) impl_->clientToScreen(point);
}

bool WindowBase::presentLayered(const Picture& picture) {
    return impl_ && layered_ && impl_->presentLayered(picture);
}

void WindowBase::setDeleteOnDestroy(bool flag) {
    deleteOnDestroy_ = flag;
    if (impl_) impl_->setDeleteOnDestroy(flag);
}

void* getNativeWindowHandle(const WindowBase& window) {
    return window.getImpl() != nullptr ? window.getImpl()->getNativeHandle() : nullptr;
}

void destroyWindow(WindowBase& window) { window.destroy(); }

void WindowBase::attachImpl(std::unique_ptr<DETAIL::WindowImpl> impl) { impl_ = std::move(impl); }

DETAIL::WindowImpl* WindowBase::releaseImpl() { return impl_.release(); }

}  // namespace QX::UIA
