// Feeds arbitrary bytes, and edits of one small font in each format
// FreeType opens as outlines (TrueType with composites, Type 1 and CFF
// with subroutine chains, Type 42), to the check that a font can draw, then
// draws a few glyphs of a face it accepts: both must end quickly and cleanly
// (the run's time-out catches a slow one).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "PostScriptTestFonts.h"
#include "SeedMutation.h"
#include "TrueTypeTestFont.h"
#include "uia/picture/FaceCache.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// An arrow under two levels of composites, an arrow with an accent and a
// '?' (drawn as an arrow). The charstring formats draw the outlines only and
// call a short chain of subroutines first.
const std::vector<Bytes>& seedFonts()
{
    static const std::vector<Bytes> fonts = [] {
        using namespace QX::UIA::Test;
        tTestFont font = nestedArrowFont(2, 2);
        font.glyphs.push_back({{}, {{{400, 750}, {400, 850}, {600, 850}, {600, 750}}}});
        font.glyphs.push_back({{0x2190, U'A'}, {}, {1, std::uint16_t(font.glyphs.size())}});
        font.glyphs.push_back({{U'?'}, arrowOutline()});
        const tSubroutineChain chain{2, 2};
        return std::vector<Bytes>{writeTrueTypeFont(font), writeType1Font(font, chain), writeCffFont(font, chain),
                                  writeType42Font(font)};
    }();
    return fonts;
}

void judgeAndDraw(Bytes bytes)
{
    using namespace QX::UIA;
    DETAIL::FaceCache faces;
    const auto holder = faces.getFaceHolder(DETAIL::FaceKey(1), std::move(bytes));
    const auto glyphs = holder ? holder->getRenderCache(faces.getLibrary(), {16, true}) : nullptr;
    if (glyphs) {
        for (const char32_t codePoint : {U'A', U'?', char32_t(0x2190), char32_t(0x2192)})
            glyphs->getGlyph(codePoint);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    judgeAndDraw(Bytes(data, data + size));
    for (const Bytes& seed : seedFonts())
        judgeAndDraw(QX::UIA::Fuzzing::mutateSeed(seed.data(), seed.size(), data, size));
    return 0;
}
