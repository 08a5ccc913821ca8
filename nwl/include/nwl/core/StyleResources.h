#pragma once
#include <vector>

#include "nwl/style/Property.h"
#include "nwl/style/Style.h"

namespace QX::NWL {

class ManagerContainer;

// Folds a style's picture, font and displacement declarations into the
// properties widgets read: "picture", "dye-mask-picture",
// "picture-displacement", "text-displacement" and "font". A declaration
// whose value is of the wrong kind has no effect and is reported.
void deriveStyleResources(ManagerContainer& container, const Style& style, std::vector<Property>& derived);

}  // namespace QX::NWL
