// Any text after a complete style: no crash, no hang, and the style read
// before the text stays as it was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "nwl/style/StyleParser2.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Imports would open whatever file the input names.
    if (input.find("@import") != std::string_view::npos)
        return 0;

    const std::string text = "Guard#g { width: 7px; }\n" + std::string(input);
    QX::NWL::StyleSheet sheet;
    QX::NWL::StyleParser2 parser(sheet);
    parser.parseBuffer(text, "fuzz");

    const auto& styles = parser.getStyles();
    if (styles.empty())
        std::abort();
    const QX::NWL::Style& guard = styles.front();
    const bool intact = guard.selectors.size() == 1 && guard.selectors[0].type == qx::symbol("Guard") &&
                        guard.selectors[0].name == qx::symbol("g") && guard.properties.size() == 1 &&
                        guard.properties[0].name == qx::symbol("width") &&
                        guard.properties[0].unit == QX::NWL::Property::ePixels &&
                        guard.properties[0].value == QX::NWL::PropertyVariant(std::int32_t(7));
    if (!intact)
        std::abort();

    // The rule index must take whatever the parser delivered.
    sheet.buildRuleIndex(styles);
    return 0;
}
