#pragma once
#include <memory>

#include "gp/Region.h"
#include "nwl/core/Pane.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL::Testing {

// Runs the update pass the way a window's tick does; answers the damage.
inline GP::Region settle(Pane& pane)
{
    GP::Region damage;
    pane.getDirtyRegion(damage);
    return damage;
}

// A pane whose widgets take their style from a sheet of their own, given as
// text (fonts and pictures resolved by the library's manager).
class StyledPane : public Pane {
public:
    explicit StyledPane(const char* sheetText);
};

}  // namespace QX::NWL::Testing
