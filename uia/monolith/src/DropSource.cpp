#include "uia/DropSource.h"

#include "gp/PerformanceCounter.h"
#include "uia/EventIds.h"
#include "uia/WindowEvents.h"

namespace QX::UIA {
namespace {

constexpr std::int64_t kMinimumSquaredDistance = 8;

std::uint64_t performanceCounterMilliseconds() {
    return GP::performanceCounterToMilliseconds(GP::getPerformanceCounter());
}

DropSource::tClock& clock() {
    static DropSource::tClock current = performanceCounterMilliseconds;
    return current;
}

}  // namespace

DropSource::DropSource() = default;
DropSource::~DropSource() = default;

void DropSource::setClock(tClock newClock) {
    clock() = newClock ? newClock : performanceCounterMilliseconds;
}

void DropSource::setFourthMember(std::uint32_t milliseconds) { dragDelay_ = milliseconds; }

int DropSource::handleMouseEvent(std::uint32_t eventId, const void* mouseRecord) {
    if (!mouseRecord)
        return kIgnored;
    switch (eventId) {
    case EventId::kMouseButton:
        return handlePress(*static_cast<const MouseButtonEvent*>(mouseRecord));
    case EventId::kMouseMoveCaptured:
    case EventId::kMouseMove: {
        const auto& move = *static_cast<const MousePositionEvent*>(mouseRecord);
        return handleMove(move.x, move.y);
    }
    case EventId::kMouseLeft:
        pressTime_.reset();
        return kIgnored;
    default:
        return kIgnored;
    }
}

int DropSource::handlePress(const MouseButtonEvent& event) {
    // Only a plain press of the left button starts tracking: a release or a
    // double click must not.
    if (enabled_ && event.button == kLeftButton && event.action == kPressed && canStartDrag(event)) {
        pressTime_ = clock()();
        startX_ = event.x;
        startY_ = event.y;
        return kTracking;
    }
    pressTime_.reset();
    return kIgnored;
}

int DropSource::handleMove(std::int32_t x, std::int32_t y) {
    if (!pressTime_)
        return kIgnored;
    const std::int64_t dx = std::int64_t(x) - startX_;
    const std::int64_t dy = std::int64_t(y) - startY_;
    const bool farEnough = dx * dx + dy * dy >= kMinimumSquaredDistance;
    const std::uint64_t now = clock()();
    const bool longEnough = now >= *pressTime_ && now - *pressTime_ >= dragDelay_;
    if (farEnough && longEnough) {
        pressTime_.reset();
        return kStartDrag;
    }
    return kTracking;
}

}  // namespace QX::UIA
