#pragma once
#include "gp/Region.h"
#include "nwl/core/Pane.h"

namespace QX::NWL::Testing {

// Runs the update pass the way a window's tick does; answers the damage.
inline GP::Region settle(Pane& pane)
{
    GP::Region damage;
    pane.getDirtyRegion(damage);
    return damage;
}

}  // namespace QX::NWL::Testing
