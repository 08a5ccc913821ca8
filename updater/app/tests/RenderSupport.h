#pragma once
#include <cstdint>
#include <string>

namespace QX::NWL {
class Canvas;
}

namespace QX::Testing {

// Writes the canvas's pixels (0xAARRGGBB, straight alpha) as an RGBA PNG;
// false when the file cannot be written.
bool writeCanvasPng(const NWL::Canvas& canvas, std::int32_t width, std::int32_t height, const std::string& path);

// Registers, for the native build (which embeds nothing), the fonts, the
// pictures and the style sheet the program build embeds.
void registerProgramResources();

}  // namespace QX::Testing
