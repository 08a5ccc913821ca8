// Feeds arbitrary bytes, and edits of a font with composite glyphs, to the
// check that a font can draw, then draws a few glyphs of a face it accepts:
// both must end quickly and cleanly (the run's time-out catches a slow one).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "SeedMutation.h"
#include "TrueTypeTestFont.h"
#include "uia/picture/FaceCache.h"

namespace {

// An arrow under two levels of composites, and an arrow with an accent.
const std::vector<std::uint8_t>& seedFont()
{
    static const std::vector<std::uint8_t> bytes = [] {
        using namespace QX::UIA::Test;
        tTestFont font = nestedArrowFont(2, 2);
        font.glyphs.push_back({{}, {{{400, 750}, {400, 850}, {600, 850}, {600, 750}}}});
        font.glyphs.push_back({{0x2190, U'A'}, {}, {1, std::uint16_t(font.glyphs.size())}});
        return writeTrueTypeFont(font);
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace QX::UIA;
    const std::vector<std::uint8_t>& seed = seedFont();
    for (std::vector<std::uint8_t> bytes :
         {std::vector<std::uint8_t>(data, data + size), Fuzzing::mutateSeed(seed.data(), seed.size(), data, size)}) {
        DETAIL::FaceCache faces;
        const auto holder = faces.getFaceHolder(DETAIL::FaceKey(1), std::move(bytes));
        const auto glyphs = holder ? holder->getRenderCache(faces.getLibrary(), {16, true}) : nullptr;
        if (glyphs) {
            for (const char32_t codePoint : {U'A', U'?', char32_t(0x2190), char32_t(0x2192)})
                glyphs->getGlyph(codePoint);
        }
    }
    return 0;
}
