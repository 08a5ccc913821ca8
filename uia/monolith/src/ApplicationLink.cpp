#include "uia/ApplicationLink.h"

#include "uia/Application.h"

namespace QX::UIA::DETAIL {

EventTarget* getApplicationTarget() { return Application::getInstance(); }

bool sendEventToApplication(std::uint32_t id, void* data) {
    Application* application = Application::getInstance();
    return application != nullptr && application->sendEvent(id, data);
}

void setApplicationMainWindow(WindowBase* window) {
    if (Application* application = Application::getInstance()) application->setMainWindow(window);
}

void forgetApplicationMainWindow(WindowBase* window) {
    Application* application = Application::getInstance();
    if (application != nullptr && application->getMainWindow() == window) application->setMainWindow(nullptr);
}

const HMenuBar* getApplicationMenuBar() {
    Application* application = Application::getInstance();
    return application != nullptr ? &application->getMenuBar() : nullptr;
}

bool isApplicationQuitting() {
    Application* application = Application::getInstance();
    return application != nullptr && application->isQuitting();
}

void requestApplicationQuit() {
    if (Application* application = Application::getInstance()) application->requestQuit();
}

void notifyApplicationSuspend() {
    if (Application* application = Application::getInstance()) application->onSuspend();
}

void notifyApplicationResume() {
    if (Application* application = Application::getInstance()) application->onResume();
}

const char* getApplicationTitle() {
    Application* application = Application::getInstance();
    return application != nullptr ? application->getTitle() : "";
}

}  // namespace QX::UIA::DETAIL
