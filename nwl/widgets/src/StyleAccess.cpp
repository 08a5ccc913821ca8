// TEMPORARY stand-in until the style query lands
#include "StyleAccess.h"
namespace QX::NWL::DETAIL {
std::int32_t readIntProperty(const Widget&, std::string_view, std::int32_t d) { return d; }
std::uint32_t readHorizontalAlignment(const Widget&) { return 4096; }
std::uint32_t readVerticalAlignment(const Widget&) { return 256; }
std::optional<std::string> findDeclarationPlace(const Widget&, std::string_view) { return std::nullopt; }
}
