#pragma once
#include "uia/Application.h"
#include "uia/EventIds.h"

namespace QX::UIA::Testing {

// An application that counts its quit requests and vetoes them when asked to.
class VetoingApplication : public Application {
public:
    bool veto = false;
    int quitRequests = 0;

protected:
    bool onEvent(std::uint32_t eventId, void* data) override {
        if (eventId == EventId::kQuitRequest) {
            ++quitRequests;
            if (veto)
                *static_cast<Answer*>(data) = kVetoed;
            return true;
        }
        return Application::onEvent(eventId, data);
    }
};

}  // namespace QX::UIA::Testing
