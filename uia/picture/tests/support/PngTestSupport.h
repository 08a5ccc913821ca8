#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace QX::UIA {
class Picture;
}

// PNG files for tests: the codec tests encode their inputs with it, and the
// tests that draw write what they drew for a person to look at.
namespace QX::UIA::Test {

using Bytes = std::vector<std::uint8_t>;

struct tPngImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colourType = 6;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    Bytes rows;  // packed rows as the PNG stores them (16-bit samples big-endian)
    std::vector<std::uint8_t> palette;  // RGB triples
    Bytes transparency;                 // tRNS entries (palette) or one colour (grey, RGB)
};

Bytes encodePng(const tPngImage& image);

// Writes `height` rows of `width` pixels (0xAARRGGBB, straight alpha, no gap
// between rows) as an 8-bit RGBA PNG, making the file's folder when needed;
// false when the file cannot be written.
bool writePng(const std::uint32_t* pixels, std::uint32_t width, std::uint32_t height, const std::string& path);
bool writePng(const Picture& picture, const std::string& path);

}  // namespace QX::UIA::Test
