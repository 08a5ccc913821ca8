#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gp/Resources.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"

namespace QX::NWL::TEST {

// The default font. The native build has no embedded resources: it gets the
// file the program build embeds (which looks in its own module first).
inline UIA::FontDescription defaultFont(std::int32_t baseSize) {
    static const bool registered = [] {
        std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/default.ttf", std::ios::binary);
        GP::registerResource(GP::ResourceId(1), UIA::kFontResourceType,
                             {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
        return true;
    }();
    (void)registered;
    UIA::FontDescription description;
    description.baseSize = baseSize;
    return description;
}

// Pixels of a picture, physical, row by row.
inline std::vector<std::uint32_t> pixelsOf(const UIA::Picture& picture) {
    const std::uint32_t* p = picture.getPixels();
    return {p, p + std::size_t(picture.getWidth()) * picture.getHeight()};
}

// An uncompressed top-down 32-bit TGA of one colour: pictures for tests are
// made by code.
inline std::vector<std::uint8_t> makeTga(std::uint16_t width, std::uint16_t height, std::uint32_t colour) {
    std::vector<std::uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (std::uint16_t v : {width, height}) bytes.insert(bytes.end(), {std::uint8_t(v & 0xFF), std::uint8_t(v >> 8)});
    bytes.insert(bytes.end(), {32, 0x28});
    for (int i = 0; i < width * height; ++i)
        for (int shift : {0, 8, 16, 24}) bytes.push_back(std::uint8_t(colour >> shift));
    return bytes;
}

inline std::uint32_t pixelAt(const UIA::Picture& picture, std::uint32_t x, std::uint32_t y) {
    return picture.getRow(y)[x];
}

}  // namespace QX::NWL::TEST
