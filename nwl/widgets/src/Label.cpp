#include "nwl/widgets/Label.h"

namespace QX::NWL {

Label& Label::setup(std::string_view text, const char* styleClass)
{
    setupPanel(text, styleClass);
    return *this;
}

std::string_view Label::getTypeName() const
{
    return "Label";
}

}  // namespace QX::NWL
