// What it costs to judge whether a font can draw, side by side: the
// program's default font, a plain unusable font, fonts of composite glyphs
// nested past the bounds (refused before any glyph is loaded), the costliest
// fonts within them, fonts of the other formats FreeType opens whose glyphs
// each keep it busy (refused as they are not TrueType) and TrueType fonts
// whose every glyph is too large to be rendered.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PostScriptTestFonts.h"
#include "TrueTypeTestFont.h"
#include "uia/picture/FaceCache.h"

namespace {

using namespace QX::UIA::Test;
using Bytes = std::vector<std::uint8_t>;

constexpr char32_t kFirstCodePoint = 0x1000;
constexpr std::uint16_t kMappedGlyphs = 1024;

Bytes defaultFont()
{
    std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/default.ttf", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// As many code points as the check loads glyphs, each on an empty glyph of
// its own.
tTestFont emptyGlyphs()
{
    tTestFont font;
    for (char32_t codePoint = kFirstCodePoint; codePoint < kFirstCodePoint + kMappedGlyphs; ++codePoint)
        font.glyphs.push_back({{codePoint}, {}});
    return font;
}

// The empty glyphs, then an arrow: the check loads them all and gives up.
Bytes plainUnusableFont()
{
    tTestFont font = emptyGlyphs();
    font.glyphs.push_back({{0x2192}, arrowOutline()});
    return writeTrueTypeFont(font);
}

// Glyph 1 is empty; glyphs 2 to depth + 1 nest composites of `width`
// copies of the glyph below; then 1024 mapped composites of the top one. The
// check loads the mapped ones, and each loads everything below it: all is
// empty, so it loads 1024 of them.
tTestFont nestedEmptyComposites(std::uint16_t depth, std::uint16_t width)
{
    tTestFont font{{{{}, {}}}};
    for (std::uint16_t level = 1; level <= depth; ++level)
        font.glyphs.push_back({{}, {}, std::vector<std::uint16_t>(width, level)});
    for (char32_t codePoint = kFirstCodePoint; codePoint < kFirstCodePoint + kMappedGlyphs; ++codePoint)
        font.glyphs.push_back({{codePoint}, {}, {std::uint16_t(depth + 1)}});
    return font;
}

// The kind of font: 1024 glyphs, each expanding to 2^(depth+1) - 1
// components.
Bytes nested12Deep() { return writeTrueTypeFont(nestedEmptyComposites(12, 2)); }
Bytes nested16Deep() { return writeTrueTypeFont(nestedEmptyComposites(16, 2)); }
// Each mapped glyph expands to 128 components, 2 deep: as much as the bounds
// allow.
Bytes atTheBounds() { return writeTrueTypeFont(nestedEmptyComposites(1, 127)); }

// As many glyphs as a font can have, each a composite of 128 copies of an
// empty glyph, the first 1024 mapped: the walk over the composite structure
// reads 128 components of every glyph, then the check loads 1024 of them.
Bytes everyGlyphAtTheBounds()
{
    tTestFont font{{{{}, {}}}};
    for (std::uint16_t glyph = 2; glyph < 0xFFFF; ++glyph) {
        const char32_t codePoint = kFirstCodePoint + glyph - 2;
        font.glyphs.push_back({{}, {}, std::vector<std::uint16_t>(128, 1)});
        if (glyph - 2 < kMappedGlyphs) font.glyphs.back().codePoints = {codePoint};
    }
    return writeTrueTypeFont(font);
}

// The composites nested 14 deep, wrapped as a Type 42 font: FreeType
// composes its glyphs out of sight of the composite walk.
Bytes type42Nested14Deep() { return writeType42Font(nestedEmptyComposites(14, 2)); }

// 1024 mapped glyphs, each empty after a chain of subroutine calls that runs
// into FreeType's own limit on the work of one glyph (0.1 s and more): the
// check would load them all.
constexpr tSubroutineChain kLongChain{10, 5};
Bytes type1SubroutineChains() { return writeType1Font(emptyGlyphs(), kLongChain); }
Bytes cffSubroutineChains() { return writeCffFont(emptyGlyphs(), kLongChain); }

// '?', the letters and 1024 more mapped glyphs, each spanning 60 ems: every
// glyph would be drawn as '?', which is itself too large to draw.
Bytes everyGlyphTooLarge()
{
    tTestFont font = emptyGlyphs();
    for (tTestGlyph& glyph : font.glyphs)
        glyph.contours = manyEmsWideOutline();
    font.glyphs.push_back({{U'?'}, manyEmsWideOutline()});
    for (char32_t letter = U'A'; letter <= U'Z'; ++letter)
        font.glyphs.push_back({{letter}, manyEmsWideOutline()});
    return writeTrueTypeFont(font);
}

// A glyph of 16000 points on the sides of a square 60 ems wide, and 1024
// mapped composites of two copies of it: the check loads each of them, at
// 32000 points close to the most FreeType takes in one glyph, and finds
// each too large to be drawn.
Bytes heavyGlyphsTooLarge()
{
    constexpr int kPoints = 16000, kSide = kPoints / 4;
    tContour square;
    for (int point = 0; point < kPoints; ++point) {
        const auto along = std::int16_t(-30000 + (point % kSide) * 60000 / kSide);
        const std::int16_t corners[4][2] = {{-30000, along}, {along, 30000}, {30000, std::int16_t(-along)},
                                            {std::int16_t(-along), -30000}};
        square.push_back({corners[point / kSide][0], corners[point / kSide][1]});
    }
    tTestFont font{{{{}, {square}}}};
    for (char32_t codePoint = kFirstCodePoint; codePoint < kFirstCodePoint + kMappedGlyphs; ++codePoint)
        font.glyphs.push_back({{codePoint}, {}, {1, 1}});
    return writeTrueTypeFont(font);
}

// One judgement per iteration, by a face cache of its own (made and
// released outside the timing). Reports whether the font was accepted.
void BM_JudgeFont(benchmark::State& state, Bytes (*makeFont)())
{
    const Bytes bytes = makeFont();
    bool accepted = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto faces = std::make_optional<QX::UIA::DETAIL::FaceCache>();
        Bytes copy = bytes;
        state.ResumeTiming();
        accepted = faces->getFaceHolder(QX::UIA::DETAIL::FaceKey(1), std::move(copy)) != nullptr;
        state.PauseTiming();
        faces.reset();
        state.ResumeTiming();
    }
    state.counters["accepted"] = accepted;
    state.counters["file_kb"] = double(bytes.size()) / 1024;
}
BENCHMARK_CAPTURE(BM_JudgeFont, default_font, &defaultFont)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, plain_unusable, &plainUnusableFont)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, composites_12_deep, &nested12Deep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, composites_16_deep, &nested16Deep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, composites_at_the_bounds, &atTheBounds)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, every_glyph_at_the_bounds, &everyGlyphAtTheBounds)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, type42_composites_14_deep, &type42Nested14Deep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, type1_subroutine_chains, &type1SubroutineChains)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, cff_subroutine_chains, &cffSubroutineChains)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, every_glyph_too_large, &everyGlyphTooLarge)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JudgeFont, heavy_glyphs_too_large, &heavyGlyphsTooLarge)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
