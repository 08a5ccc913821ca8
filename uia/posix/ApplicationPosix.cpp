#include "uia/Application.h"

// The native build has no message queue and no internal window: the loop
// ends at once and posts go nowhere, as when the internal window cannot be
// made in the program build.
namespace QX::UIA {

Application::InternalWindowOwner Application::makeInternalWindow(Application&) { return {nullptr, nullptr}; }

int Application::runMessageLoop() { return 0; }

void Application::postCommandToMainWindow(std::uint32_t) {}

void Application::postToMainThread(std::function<void()>) {}

}  // namespace QX::UIA
