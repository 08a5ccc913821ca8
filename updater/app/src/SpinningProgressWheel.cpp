#include "updater/app/SpinningProgressWheel.h"

#include <string>

namespace QX {

void SpinningProgressWheel::onTimer() {
    if (!spinning_) return;
    if (++tickCount_ % 2 != 0) return;
    step_ = (step_ + 1) % kFrameCount;
    setAttribute("step", "S" + std::to_string(step_));
}

}  // namespace QX
