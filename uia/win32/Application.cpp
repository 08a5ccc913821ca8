#include <windows.h>

#include "InternalWindow.h"
#include "uia/AppModule.h"
#include "uia/Application.h"
#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/MainWindowLink.h"
#include "uia/Monitors.h"

namespace QX::UIA {

namespace {

std::unique_ptr<InternalWindow> makeInternalWindow(Application& application) {
    auto window = std::make_unique<InternalWindow>(application);
    // Without its native window the queue could never run: treat it as absent.
    if (!window->isCreated())
        window.reset();
    return window;
}

}  // namespace

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

int Application::runMessageLoop() {
    MSG message = {};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0)
            break;
        // A failed get leaves the record undefined: nothing to handle then.
        if (result != -1) {
            if (DETAIL::isProgramMessage(message.message))
                timerManager_.fireTimersIfLate();
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (quitting_)
            PostQuitMessage(0);
    }
    return 0;
}

bool Application::initialize() {
    ensureMonitorCache();
    return true;
}

void Application::shutdown(int) { invalidateMonitorCache(); }

bool Application::requestQuit() {
    quitting_ = true;
    if (internalWindow_)
        internalWindow_->postCommand(CommandId::kQuit);
    return true;
}

void Application::postToMainThread(std::function<void()> callback) {
    if (internalWindow_)
        internalWindow_->post(std::move(callback));
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
