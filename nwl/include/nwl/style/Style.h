#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "nwl/style/Property.h"
#include "nwl/style/Selector.h"

namespace QX::NWL {

// A style as the parser delivers it.
struct Style {
    std::vector<Selector> selectors;
    // In written order.
    std::vector<Property> properties;
    std::uint32_t line = 0;
};

// One declaration of one selector of one style. The rules of a style's
// declarations share its selectors rather than copy them.
struct StyleRule {
    std::shared_ptr<const Selector> selector;
    Property property;
};

}  // namespace QX::NWL
