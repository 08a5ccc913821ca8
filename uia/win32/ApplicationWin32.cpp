#include <windows.h>

#include "InternalWindow.h"
#include "uia/Application.h"

// The application's Win32 part: the UI thread's message loop and the
// internal window that carries posts to it.
namespace QX::UIA {

namespace {

void deleteInternalWindow(InternalWindow* window) { delete window; }

}  // namespace

Application::InternalWindowOwner Application::makeInternalWindow(Application& application) {
    InternalWindowOwner window(new InternalWindow(application), &deleteInternalWindow);
    // Without its native window the queue could never run: treat it as absent.
    if (!window->isCreated())
        window.reset();
    return window;
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

void Application::postCommandToMainWindow(std::uint32_t command) {
    if (internalWindow_)
        internalWindow_->postCommand(command);
}

void Application::postToMainThread(std::function<void()> callback) {
    if (internalWindow_)
        internalWindow_->post(std::move(callback));
}

}  // namespace QX::UIA
