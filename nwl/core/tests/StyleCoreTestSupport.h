#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../../style/tests/FakeWidget.h"
#include "../../style/tests/StyleTestSupport.h"
#include "gp/Resources.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/style/StyleParser2.h"

namespace QX::NWL::Testing {

inline std::vector<std::uint8_t> readFontFile(const std::string& name)
{
    std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The native build has no embedded resources; the program build finds its
// own first.
inline void registerProgramFonts()
{
    GP::registerResource(GP::ResourceId(1), UIA::kFontResourceType, readFontFile("default.ttf"));
    GP::registerResource(GP::ResourceId("VIRID.TTF"), UIA::kFontResourceType, readFontFile("virid.ttf"));
}

// An uncompressed 32-bit TGA picture of one colour.
inline std::vector<std::uint8_t> makeTga(std::uint16_t width, std::uint16_t height, std::uint32_t colour)
{
    std::vector<std::uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (std::uint16_t v : {width, height})
        bytes.insert(bytes.end(), {std::uint8_t(v & 0xFF), std::uint8_t(v >> 8)});
    bytes.insert(bytes.end(), {32, 0x28});
    for (int i = 0; i < width * height; ++i)
        for (int shift : {0, 8, 16, 24})
            bytes.push_back(std::uint8_t(colour >> shift));
    return bytes;
}

// Loads a sheet text into the container's current sheet, as a named load.
inline bool loadSheet(ManagerContainer& container, const std::string& text)
{
    return StyleParser2::loadStylesheet(
        container.getStyleManager().getStyleSheet(),
        std::make_shared<GP::MemoryStream>(std::vector<std::uint8_t>(text.begin(), text.end())), "test.txt",
        container.makeResourceDeriver());
}

// The value of the first rule of a property for a widget of the sheet.
inline const Property* derivedOf(ManagerContainer& container, FakeWidget& widget, const char* property)
{
    widget.sheet = &container.getStyleManager().getStyleSheet();
    widget.sheet->clearCaches();
    const auto rules = StyleSheet::findMatchingRules(widget, qx::symbol(property));
    return rules.empty() ? nullptr : &rules.front()->property;
}

}  // namespace QX::NWL::Testing
