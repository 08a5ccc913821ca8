#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gp/Resources.h"
#include "uia/picture/Font.h"

// What the widget library's tests and benchmarks load: the program's fonts
// and pictures made by code.
namespace QX::NWL::Testing {

inline std::vector<std::uint8_t> readFontFile(const std::string& name) {
    std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The native build has no embedded resources: it is given the files the
// program build embeds (which finds its own first).
inline void registerProgramFonts() {
    static const bool registered = [] {
        GP::registerResource(GP::ResourceId(1), UIA::kFontResourceType, readFontFile("default.ttf"));
        GP::registerResource(GP::ResourceId("VIRID.TTF"), UIA::kFontResourceType, readFontFile("virid.ttf"));
        return true;
    }();
    (void)registered;
}

// The default font at a size.
inline UIA::FontDescription defaultFont(std::int32_t baseSize) {
    registerProgramFonts();
    UIA::FontDescription description;
    description.baseSize = baseSize;
    return description;
}

// An uncompressed top-down 32-bit TGA of one colour.
inline std::vector<std::uint8_t> makeTga(std::uint16_t width, std::uint16_t height, std::uint32_t colour) {
    std::vector<std::uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (std::uint16_t v : {width, height}) bytes.insert(bytes.end(), {std::uint8_t(v & 0xFF), std::uint8_t(v >> 8)});
    bytes.insert(bytes.end(), {32, 0x28});
    for (int i = 0; i < width * height; ++i)
        for (int shift : {0, 8, 16, 24}) bytes.push_back(std::uint8_t(colour >> shift));
    return bytes;
}

}  // namespace QX::NWL::Testing
