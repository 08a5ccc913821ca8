#include "nwl/widgets/Label.h"

namespace QX::NWL {

Label& Label::setup(std::string_view text, const char* styleClass)
{
    setPaintCallback([](Label& label, PaintContext& context) { label.paintPanel(context); });
    markDirty();
    setText(text);
    setStyleClass(styleClass);
    return *this;
}

std::string_view Label::getTypeName() const
{
    return "Label";
}

}  // namespace QX::NWL
