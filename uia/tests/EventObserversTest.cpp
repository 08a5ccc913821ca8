#include <gtest/gtest.h>

#include <vector>

#include "uia/EventObservers.h"
#include "uia/EventTarget.h"

namespace QX::UIA {
namespace {

class Recorder : public EventTarget {
public:
    std::vector<std::uint32_t> events;
    std::vector<std::uint32_t> notifications;
    bool handles = false;

protected:
    bool onEvent(std::uint32_t id, void*) override {
        events.push_back(id);
        return handles;
    }
    void onNotification(std::uint32_t id, void*) override { notifications.push_back(id); }
};

TEST(EventObserversTest, TargetAnswersAndObserversAreTold) {
    Recorder target;
    Recorder observer;
    target.handles = true;
    addEventObserver(&observer);
    addEventObserver(&observer);  // once only
    EXPECT_TRUE(sendEventToTargetAndObservers(&target, 1300, nullptr));
    EXPECT_FALSE(sendEventToTargetAndObservers(nullptr, 1303, nullptr));
    EXPECT_EQ(target.events, (std::vector<std::uint32_t>{1300}));
    EXPECT_EQ(observer.notifications, (std::vector<std::uint32_t>{1300, 1303}));
    removeEventObserver(&observer);
    sendEventToTargetAndObservers(&target, 1301, nullptr);
    EXPECT_EQ(observer.notifications.size(), 2u);
}

}  // namespace
}  // namespace QX::UIA
