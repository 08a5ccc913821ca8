#pragma once
#include <cstdint>
#include <optional>

namespace QX::UIA {

struct MouseButtonEvent;

// Decides from mouse events when a press and a move become a drag: the
// left button must be pressed where the owner allows a drag, and the
// pointer must move at least about 3 pixels once the drag delay has passed.
class DropSource {
public:
    // What handleMouseEvent answers.
    enum tDecision { kIgnored = 0, kTracking = 1, kStartDrag = 2 };
    // Milliseconds of a monotonic clock.
    using tClock = std::uint64_t (*)();

    DropSource();
    virtual ~DropSource();

    // Events 1000 to 1005 with their mouse records; every other id is
    // ignored.
    int handleMouseEvent(std::uint32_t eventId, const void* mouseRecord);

    // Whether a press at this point may start a drag.
    virtual bool canStartDrag(const MouseButtonEvent& press) = 0;
    // Sets the drag delay in milliseconds.
    virtual void setFourthMember(std::uint32_t milliseconds);

    std::uint32_t getDragDelay() const { return dragDelay_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isTracking() const { return pressTime_.has_value(); }

    // The clock of every drop source; null restores the performance counter.
    static void setClock(tClock clock);

private:
    int handlePress(const MouseButtonEvent& event);
    int handleMove(std::int32_t x, std::int32_t y);

    std::int32_t startX_ = 0;
    std::int32_t startY_ = 0;
    std::optional<std::uint64_t> pressTime_;
    std::uint32_t dragDelay_ = 0;
    bool enabled_ = true;
};

}  // namespace QX::UIA
