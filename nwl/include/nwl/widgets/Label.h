#pragma once
#include <string_view>

#include "nwl/widgets/TextPanel.h"

namespace QX::NWL {

// A styled panel that shows one text.
class Label : public TextPanel<Label> {
public:
    Label() = default;

    // Installs the painting (panel, then text), sets the text and the style
    // class (null keeps it).
    virtual Label& setup(std::string_view text, const char* styleClass);

    std::string_view getTypeName() const override;
};

}  // namespace QX::NWL
