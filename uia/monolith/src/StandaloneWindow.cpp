#include "uia/ApplicationLink.h"
#include "uia/HMenu.h"
#include "uia/WindowBase.h"
#include "uia/WindowImpl.h"

namespace QX::UIA {

bool StandaloneWindow::create(const WindowOptions& options) {
    const bool created = DETAIL::createStandaloneWindowImpl(*this, options);
    DETAIL::setApplicationMainWindow(this);
    const HMenuBar* menuBar = DETAIL::getApplicationMenuBar();
    if (created && menuBar != nullptr && menuBar->getHandle() != nullptr && getImpl() != nullptr)
        getImpl()->setMenuBar(*menuBar);
    return created;
}

bool StandaloneWindow::onEvent(std::uint32_t id, void* data) {
    if (id == EventId::kWindowDestroyed) {
        if (!DETAIL::isApplicationQuitting()) DETAIL::requestApplicationQuit();
        return true;
    }
    const bool forwarded = id == EventId::kWindowCloseRequest || (id >= 1300 && id <= 1399);
    if (!forwarded) return WindowBase::onEvent(id, data);

    // Keep the implementation alive while the application decides: it may
    // destroy this window meanwhile.
    DETAIL::NestingGuard guard(getImpl());
    if (id == EventId::kWindowCloseRequest) {
        Answer mayQuit = 1;
        DETAIL::sendEventToApplication(EventId::kQuitRequest, &mayQuit);
        *static_cast<Answer*>(data) = mayQuit;
        return true;
    }
    return DETAIL::sendEventToApplication(id, data);
}

}  // namespace QX::UIA
