#include "StyleAccess.h"

#include <fmt/format.h>

#include "gp/Symbol.h"
#include "nwl/core/Widget.h"
#include "nwl/style/Selector.h"
#include "nwl/style/StyleQuery.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL::DETAIL {
namespace {

std::string_view readWord(const Widget& widget, std::string_view property)
{
    static const std::string none;
    return *findStringProperty(widget, qx::symbol(property), &none);
}

}  // namespace

std::int32_t readIntProperty(const Widget& widget, std::string_view property, std::int32_t defaultValue)
{
    return *findIntProperty(widget, qx::symbol(property), &defaultValue);
}

std::uint32_t readHorizontalAlignment(const Widget& widget)
{
    const std::string_view word = readWord(widget, "horizontal-alignment");
    if (word == "right")
        return 1;
    if (word == "center")
        return 0;
    return 4096;
}

std::uint32_t readVerticalAlignment(const Widget& widget)
{
    const std::string_view word = readWord(widget, "vertical-alignment");
    if (word == "bottom")
        return 16;
    if (word == "center")
        return 0;
    // Any other word is the top: 4096 would be the left bit of the text flags.
    return 256;
}

std::optional<std::string> findDeclarationPlace(const Widget& widget, std::string_view property)
{
    for (const StyleRule* rule : StyleSheet::findMatchingRules(widget, qx::symbol(property))) {
        if (matchStateConditions(rule->selector->states, widget))
            return fmt::format("{0}:{1}", rule->selector->sourceName.str(), rule->selector->line);
    }
    return std::nullopt;
}

}  // namespace QX::NWL::DETAIL
