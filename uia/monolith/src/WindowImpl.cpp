#include "uia/WindowImpl.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "gp/Region.h"
#include "uia/ApplicationLink.h"
#include "uia/WindowBase.h"

namespace QX::UIA::DETAIL {

bool WindowImpl::sendEvent(std::uint32_t id, void* data, bool alsoToApplication) {
    const bool handled = owner_ != nullptr && owner_->sendEvent(id, data);
    if (!handled && alsoToApplication) return sendEventToApplication(id, data);
    return handled;
}

void WindowImpl::getPosition(GP::Point& point, bool clientArea) {
    GP::Rect rect;
    getRect(rect, clientArea);
    point = GP::Point{rect.left, rect.top};
}

void WindowImpl::getSize(WindowSize& size, bool clientArea) {
    GP::Rect rect;
    getRect(rect, clientArea);
    size = WindowSize{rect.right - rect.left, rect.bottom - rect.top};
}

void WindowImpl::applyDefaultSize() {
    if (!isNormal()) return;
    DefaultSizeEventData size;
    if (sendEvent(EventId::kWindowDefaultSizeWanted, &size)) setSize(WindowSize{size.width, size.height}, true);
}

bool WindowImpl::hasDefaultSize() {
    if (!isNormal()) return false;
    DefaultSizeEventData wanted;
    if (!sendEvent(EventId::kWindowDefaultSizeWanted, &wanted)) return true;
    WindowSize current;
    getSize(current, true);
    return current == WindowSize{wanted.width, wanted.height};
}

void WindowImpl::invalidateRegion(const GP::Region& region) {
    if (region.first() == nullptr) {
        if (!region.bounds().isEmpty()) invalidateRect(region.bounds());
        return;
    }
    for (const GP::RegionNode* node = region.first(); node != nullptr; node = node->next)
        invalidateRect(node->rect);
}

namespace {

int gDeliveryDepth = 0;

// Windows destroyed during a delivery, deleted when it ends.
std::vector<WindowImpl*>& waitingForDelivery() {
    static std::vector<WindowImpl*> impls;
    return impls;
}

void deleteWhenOutermost(WindowImpl* impl) {
    if (impl->getNativeHandle() != nullptr || impl->getNestingDepth() > 0) return;
    if (gDeliveryDepth > 0) {
        auto& waiting = waitingForDelivery();
        if (std::find(waiting.begin(), waiting.end(), impl) == waiting.end()) waiting.push_back(impl);
        return;
    }
    impl->setDestroyedPending(false);
    std::unique_ptr<WindowImpl> owned(impl);
    if (impl->getDeleteOnDestroy() && impl->getOwner() != nullptr) {
        std::unique_ptr<WindowBase> owner(impl->getOwner());
        impl->setOwner(nullptr);
    }
}

}  // namespace

DeliveryScope::DeliveryScope() {
    ++gDeliveryDepth;
}

DeliveryScope::~DeliveryScope() {
    if (--gDeliveryDepth > 0) return;
    std::vector<WindowImpl*> waiting;
    waiting.swap(waitingForDelivery());
    for (WindowImpl* impl : waiting) {
        if (impl->isDestroyedPending()) deleteWhenOutermost(impl);
    }
}

NestingGuard::~NestingGuard() {
    if (impl_ == nullptr) return;
    impl_->leaveMessage();
    if (impl_->isDestroyedPending()) deleteWhenOutermost(impl_);
}

}  // namespace QX::UIA::DETAIL
