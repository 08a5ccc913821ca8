#pragma once
#include <cstdint>

#include "nwl/widgets/Bar.h"

namespace QX {

// The busy indicator of the wizard's message panel. It draws nothing of its
// own: its "step" attribute picks one of twelve frames of its styled picture.
// It has no timer; its owner hands it a tick on each of its own ticks, and
// every second tick moves the wheel on by one frame.
class SpinningProgressWheel : public NWL::Bar {
public:
    static constexpr std::uint32_t kFrameCount = 12;

    SpinningProgressWheel() = default;

    void setSpinning(bool spinning) { spinning_ = spinning; }
    bool isSpinning() const { return spinning_; }
    std::uint32_t getStep() const { return step_; }

    void onTimer() override;

private:
    bool spinning_ = false;
    std::uint32_t tickCount_ = 0;
    // Neither count is reset: a second spin goes on from where the first stopped.
    std::uint32_t step_ = 0;
};

}  // namespace QX
