#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace QX::NWL {
class Widget;
}

// The style readings the widgets of this part share.
namespace QX::NWL::DETAIL {

std::int32_t readIntProperty(const Widget& widget, std::string_view property, std::int32_t defaultValue);
// "left" 4096, "right" 1, "center" 0; any other word (or none) 4096.
std::uint32_t readHorizontalAlignment(const Widget& widget);
// "top" 256, "bottom" 16, "center" 0; any other word (or none) 256, the top.
std::uint32_t readVerticalAlignment(const Widget& widget);
// "source:line" of the declaration that gives the widget the property now;
// nothing when the style does not give it.
std::optional<std::string> findDeclarationPlace(const Widget& widget, std::string_view property);

}  // namespace QX::NWL::DETAIL
