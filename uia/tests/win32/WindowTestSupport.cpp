#include "WindowTestSupport.h"

#include "gp/Path.h"
#include "uia/SingleInstance.h"

namespace QX::UIA::Test {

bool TestApplication::onEvent(std::uint32_t id, void* data) {
    events.push_back(id);
    if (id == EventId::kQuitRequest && onQuitRequest) onQuitRequest();
    if (id == EventId::kQuitRequest && vetoQuit) {
        *static_cast<Answer*>(data) = kVetoed;
        return true;
    }
    if (id == EventId::kPathFromSecondInstance) {
        paths.push_back(static_cast<PathEventData*>(data)->path->toString());
        return takePaths;
    }
    return Application::onEvent(id, data);
}

ScopedApplication::ScopedApplication() {
    AppModule* module = AppModule::getInstance();
    if (module == nullptr) return;
    module->stopApplication();
    module->startApplication(std::make_unique<TestApplication>());
    application_ = static_cast<TestApplication*>(Application::getInstance());
}

ScopedApplication::~ScopedApplication() {
    if (AppModule* module = AppModule::getInstance()) module->stopApplication();
}

}  // namespace QX::UIA::Test
