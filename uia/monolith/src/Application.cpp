#include "uia/Application.h"

#include "uia/AppModule.h"
#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/MainWindowLink.h"
#include "uia/Monitors.h"

// The application's decisions (quit command, veto, quit flag) are portable;
// the message loop and the internal window are the platform's part.
namespace QX::UIA {

Application::Application()
    : acceleratorManager_(AcceleratorManagerImplMap::create()) {
    setDragDropDelegate(createWindowingDragDropDelegate());
    internalWindow_ = makeInternalWindow(*this);
}

Application::~Application() = default;

Application* Application::getInstance() {
    AppModule* module = AppModule::getInstance();
    return module ? dynamic_cast<Application*>(module->getApplication()) : nullptr;
}

bool Application::initialize() {
    ensureMonitorCache();
    return true;
}

void Application::shutdown(int) { invalidateMonitorCache(); }

bool Application::requestQuit() {
    quitting_ = true;
    postCommandToMainWindow(CommandId::kQuit);
    return true;
}

bool Application::sendEvent(std::uint32_t eventId, void* data) {
    return dispatchEvent(eventId, data, mainWindow_);
}

bool Application::dispatchEvent(std::uint32_t eventId, void* data, WindowBase*) {
    return onEvent(eventId, data);
}

bool Application::onEvent(std::uint32_t eventId, void* data) {
    if (eventId == EventId::kCommand && data &&
        *static_cast<const std::uint32_t*>(data) == CommandId::kQuit)
        return handleQuitCommand();
    return EventTarget::onEvent(eventId, data);
}

bool Application::handleQuitCommand() {
    Answer mayQuit = kAllowed;
    onEvent(EventId::kQuitRequest, &mayQuit);
    if (mayQuit == kVetoed)
        return true;
    if (WindowBase* window = mainWindow_) {
        mainWindow_ = nullptr;
        destroyWindow(*window);
    }
    quitting_ = true;
    return true;
}

}  // namespace QX::UIA
