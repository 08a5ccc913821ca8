#include <gtest/gtest.h>

#include <cmath>

#include "FontTestSupport.h"
#include "PostScriptTestFonts.h"
#include "TrueTypeTestFont.h"
#include "gp/Stream.h"

namespace QX::UIA {
namespace {

using namespace QX::UIA::Test;

// The first half of a font file: FreeType still opens it, but the glyph
// table runs past the end, so every glyph is empty.
std::vector<std::uint8_t> truncated(std::vector<std::uint8_t> bytes)
{
    bytes.resize(bytes.size() / 2);
    return bytes;
}

// The code points from `first` up to `end`.
std::vector<char32_t> codePointRun(char32_t first, char32_t end)
{
    std::vector<char32_t> codePoints;
    for (char32_t codePoint = first; codePoint < end; ++codePoint)
        codePoints.push_back(codePoint);
    return codePoints;
}

// A font of arrows with no glyph below U+2000.
tTestFont arrowFont(std::vector<char32_t> codePoints, std::uint16_t mapPlatform = 3, std::uint16_t mapEncoding = 1)
{
    return {{{std::move(codePoints), arrowOutline()}}, mapPlatform, mapEncoding};
}

// An arrow at U+2192 after `count` code points, each with an empty glyph of
// its own.
tTestFont emptyGlyphsThenArrow(char32_t count)
{
    tTestFont font = arrowFont({0x2192});
    for (const char32_t codePoint : codePointRun(0x1000, 0x1000 + count))
        font.glyphs.push_back({{codePoint}, {}});
    return font;
}

class FontCache : public ::testing::Test {
protected:
    void SetUp() override { registerProgramFonts(); }
};

TEST_F(FontCache, EmbeddedFontsAreTheChosenFiles)
{
    for (const auto& [id, file] : {std::pair<GP::ResourceId, const char*>{GP::ResourceId(1), "default.ttf"},
                                   {GP::ResourceId("virid.ttf"), "virid.ttf"}}) {
        const auto stream = GP::createResourceStream(id, kFontResourceType, 1);
        ASSERT_TRUE(stream) << file;
        const auto expected = readFontFile(file);
        ASSERT_FALSE(expected.empty());
        std::vector<std::uint8_t> bytes(expected.size() + 1);
        EXPECT_EQ(stream->read(bytes.data(), bytes.size()), expected.size()) << file;
        bytes.resize(expected.size());
        EXPECT_EQ(bytes, expected) << file;
    }
}

TEST_F(FontCache, FontsOfOneIdShareHolderAndRenderCache)
{
    const auto description = makeDescription(12);
    const Font first(description);
    const Font second(description);
    ASSERT_TRUE(first.getRenderCache());
    EXPECT_EQ(first.getRenderCache(), second.getRenderCache());
    EXPECT_TRUE(description.faceCache->getFaceHolder(DETAIL::FaceKey(1)));
    EXPECT_FALSE(description.faceCache->getFaceHolder(DETAIL::FaceKey(std::string("virid.ttf"))));
    // A name that reads like the id is another key.
    EXPECT_FALSE(description.faceCache->getFaceHolder(DETAIL::FaceKey(std::string("1"))));

    auto hinted = description;
    hinted.styleFlags = kFontHinting;
    const Font third(hinted);
    ASSERT_TRUE(third.getRenderCache());
    EXPECT_NE(third.getRenderCache(), first.getRenderCache());
    EXPECT_TRUE(third.getRenderCache()->getKey().hinting);
}

TEST_F(FontCache, RenderCacheExpiresWhenNoFontHoldsIt)
{
    const auto description = makeDescription(12);
    auto font = std::make_unique<Font>(description);
    std::weak_ptr<DETAIL::FTRenderCache> cache = font->getRenderCache();
    cache.lock()->getGlyph(U'A');
    font.reset();
    EXPECT_TRUE(cache.expired());

    const Font again(description);
    ASSERT_TRUE(again.getRenderCache());
    EXPECT_EQ(again.getRenderCache()->getLoadCount(), 0u);
}

TEST_F(FontCache, SetScaleMakesOneCachePerScale)
{
    Font font(makeDescription(12));
    const auto base = font.getRenderCache();
    font.setScale(2.0f);
    const auto doubled = font.getRenderCache();
    ASSERT_TRUE(doubled);
    EXPECT_EQ(doubled->getKey().pixelSize, 24u);
    font.setScale(2.0f);
    EXPECT_EQ(font.getRenderCache(), doubled);
    font.setScale(1.0f);
    EXPECT_EQ(font.getRenderCache(), base);
    font.setScale(1.26f);
    EXPECT_EQ(font.getRenderCache()->getKey().pixelSize, 15u);
    font.setScale(std::nanf(""));
    EXPECT_EQ(font.getScale(), 1.26f);
    EXPECT_EQ(font.getRenderCache()->getKey().pixelSize, 15u);
    // A scale too small for any glyph has no cache, not another scale's one.
    font.setScale(0.01f);
    EXPECT_FALSE(font.getRenderCache());
}

TEST_F(FontCache, GlyphIsLoadedFromFreeTypeOnce)
{
    const Font font(makeDescription(12));
    const auto& cache = font.getRenderCache();
    const DETAIL::tGlyph* first = cache->getGlyph(U'A');
    const DETAIL::tGlyph* second = cache->getGlyph(U'A');
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(cache->getLoadCount(), 1u);
}

TEST_F(FontCache, CodePointWithoutGlyphStandsAsQuestionMark)
{
    const Font font(makeDescription(12));
    const auto& cache = font.getRenderCache();
    const DETAIL::tGlyph* question = cache->getGlyph(U'?');
    ASSERT_NE(question, nullptr);
    // FreeType maps these to glyph 0 without an error.
    EXPECT_EQ(cache->getGlyph(0x4E00), question);
    EXPECT_EQ(cache->getGlyph(0xE000), question);
    EXPECT_EQ(font.getGlyphAdvance(0x4E00), font.getGlyphAdvance(U'?'));
    const std::size_t loads = cache->getLoadCount();
    cache->getGlyph(0x4E00);
    EXPECT_EQ(cache->getLoadCount(), loads);
}

TEST_F(FontCache, FontByNameFromStream)
{
    auto description = makeDescription(13);
    description.resourceId = 0;
    description.name = "virid.ttf";
    const auto stream = std::make_shared<GP::MemoryStream>(readFontFile("virid.ttf"));
    const Font font(stream, description);
    ASSERT_TRUE(font.getRenderCache());
    EXPECT_TRUE(description.faceCache->getFaceHolder(DETAIL::FaceKey(std::string("virid.ttf"))));
    // A second font of that name needs no bytes.
    const Font second(std::shared_ptr<GP::Stream>(), description);
    EXPECT_EQ(second.getRenderCache(), font.getRenderCache());
    // Nor is the stream of a later one read: the face is known already.
    const auto unread = std::make_shared<GP::MemoryStream>(readFontFile("virid.ttf"));
    const Font third(unread, description);
    EXPECT_EQ(third.getRenderCache(), font.getRenderCache());
    EXPECT_EQ(unread->tell(), 0);
}

// A font needs no ASCII glyph: an arrows or icon font whose map reaches an
// outlined glyph anywhere draws, also when a long run of code points that
// map to empty glyphs comes before that glyph, however long a run that
// shares one glyph. Composite glyphs draw: an arrow with an accent (and an
// empty glyph, stored right before it, as a third component), and
// composites as deep and with as many components as the bounds allow.
TEST_F(FontCache, FontsWithoutAsciiGlyphsDraw)
{
    const tContour accent = {{400, 750}, {400, 850}, {600, 850}, {600, 750}};
    const std::pair<const char*, tTestFont> files[] = {
        {"arrows.ttf", arrowFont({0x2192, 0xE000})},
        {"spaces-then-arrow.ttf", {{{codePointRun(0x2000, 0x2192), {}}, {{0x2192}, arrowOutline()}}}},
        {"2000-spaces-then-arrow.ttf", {{{codePointRun(0x1000, 0x1000 + 2000), {}}, {{0x2192}, arrowOutline()}}}},
        {"1023-empty-glyphs-then-arrow.ttf", emptyGlyphsThenArrow(1023)},
        {"accented-arrow.ttf", {{{{}, arrowOutline()}, {{}, {accent}}, {{}, {}}, {{0x2192}, {}, {1, 2, 3}}}}},
        {"composites-8-deep.ttf", nestedArrowFont(8, 1)},
        {"composite-of-128.ttf", nestedArrowFont(1, 128)},
    };
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        auto description = makeDescription(16);
        description.resourceId = 0;
        description.name = name;
        const Font font(std::make_shared<GP::MemoryStream>(writeTrueTypeFont(file)), description);
        EXPECT_TRUE(font.isUsable());
        EXPECT_TRUE(description.faceCache->getFaceHolder(DETAIL::FaceKey(description.name)));
        ASSERT_TRUE(font.getRenderCache());
        EXPECT_GT(inkOf(font, "\u2192"), 0);
        EXPECT_EQ(font.getGlyphAdvance(0x2192), 16);
    }
}

// A glyph whose outline spans many ems would render a bitmap of up to a
// gigabyte: it is drawn as '?' (nothing here: the font has none), and the
// font's other glyphs are rendered.
TEST_F(FontCache, AGlyphSpanningManyEmsIsNotRendered)
{
    auto description = makeDescription(16);
    description.resourceId = 0;
    description.name = "huge-glyph.ttf";
    const tTestFont file = {{{{0x2192}, arrowOutline()}, {{U'A'}, manyEmsWideOutline()}}};
    const Font font(std::make_shared<GP::MemoryStream>(writeTrueTypeFont(file)), description);
    ASSERT_TRUE(font.getRenderCache());
    EXPECT_EQ(font.getRenderCache()->getGlyph(U'A'), nullptr);
    const auto* arrow = font.getRenderCache()->getGlyph(0x2192);
    ASSERT_NE(arrow, nullptr);
    EXPECT_GT(arrow->width, 0);
}

// A font that cannot be read, a truncated font (FreeType opens it, but its
// glyphs are empty), a font whose mapped glyphs have no outlines, one whose
// first 1024 distinct glyphs are empty, one whose every glyph, '?' too, is
// too large to be rendered, fonts with no Unicode map (a symbol map, a Mac
// Roman one), a bitmap-only font (no font units to take the metrics from),
// fonts with a glyph past the composite bounds (too deep, too many
// components in itself or in what it nests, made of itself and mapped by no
// code point), fonts of the formats other than TrueType (an arrow that
// draws in each) and a missing resource all give an empty font that
// measures nothing.
TEST_F(FontCache, UnusableFontsAreEmpty)
{
    std::string bitmapFont = "STARTFONT 2.1\nFONT -qx-test-medium-r-normal--12-120-75-75-c-80-iso10646-1\n"
                             "SIZE 12 75 75\nFONTBOUNDINGBOX 8 12 0 -2\nSTARTPROPERTIES 5\nPIXEL_SIZE 12\n"
                             "FONT_ASCENT 10\nFONT_DESCENT 2\nCHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n"
                             "ENDPROPERTIES\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 666 0\nDWIDTH 8 0\n"
                             "BBX 8 12 0 -2\nBITMAP\n";
    for (int row = 0; row < 12; ++row) bitmapFont += "FF\n";
    bitmapFont += "ENDCHAR\nENDFONT\n";
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"broken", std::vector<std::uint8_t>(100, 7)},
        {"truncated", truncated(readFontFile("virid.ttf"))},
        {"bitmap.bdf", std::vector<std::uint8_t>(bitmapFont.begin(), bitmapFont.end())},
        {"empty-glyphs.ttf", writeTrueTypeFont({{{{0x2192, 0xE000, U'A'}, {}}, {{0x2190}, {}}}})},
        {"1024-empty-glyphs-then-arrow.ttf", writeTrueTypeFont(emptyGlyphsThenArrow(1024))},
        {"every-glyph-60-ems.ttf",
         writeTrueTypeFont({{{{0x2192, U'A'}, manyEmsWideOutline()}, {{U'?'}, manyEmsWideOutline()}}})},
        {"symbol-map.ttf", writeTrueTypeFont(arrowFont({0xF041, 0xF0E0}, 3, 0))},
        {"mac-map.ttf", writeTrueTypeFont(arrowFont({U'A', 0xE0}, 1, 0))},
        {"composites-9-deep.ttf", writeTrueTypeFont(nestedArrowFont(9, 1))},
        {"composite-of-129.ttf", writeTrueTypeFont(nestedArrowFont(1, 129))},
        {"12-composites-of-12.ttf", writeTrueTypeFont(nestedArrowFont(2, 12))},
        {"unmapped-cycle.ttf", writeTrueTypeFont({{{{0x2192}, arrowOutline()}, {{}, {}, {3}}, {{}, {}, {2}}}})},
        {"arrows.pfa", writeType1Font(arrowFont({0x2192}))},
        {"arrows.cff", writeCffFont(arrowFont({0x2192}))},
        {"arrows.t42", writeType42Font(arrowFont({0x2192}))},
    };
    std::vector<std::unique_ptr<Font>> fonts;
    for (const auto& [name, bytes] : files) {
        auto description = makeDescription(12);
        description.resourceId = 0;
        description.name = name;
        fonts.push_back(std::make_unique<Font>(std::make_shared<GP::MemoryStream>(bytes), description));
    }
    fonts.push_back(std::make_unique<Font>(makeDescription(12, 0, 4711)));
    for (const auto& font : fonts) {
        SCOPED_TRACE(font->getName());
        EXPECT_FALSE(font->isUsable());
        EXPECT_FALSE(font->getRenderCache());
        EXPECT_EQ(font->getLineHeight(), 10);
        EXPECT_EQ(font->getGlyphAdvance(U'A'), 0);
        EXPECT_EQ(font->getTextWidth("ABC"), 0);
    }
}

// Unusable bytes do not take the name: a later font of that name with a
// usable file gets its face.
TEST_F(FontCache, UnusableBytesLeaveTheNameFree)
{
    auto description = makeDescription(12);
    description.resourceId = 0;
    description.name = "skin.ttf";
    for (const auto& bytes : {truncated(readFontFile("virid.ttf")), std::vector<std::uint8_t>(4096, 0xA5)}) {
        const Font unusable(std::make_shared<GP::MemoryStream>(bytes), description);
        EXPECT_FALSE(unusable.isUsable());
        EXPECT_FALSE(description.faceCache->getFaceHolder(DETAIL::FaceKey(description.name)));
    }
    const Font usable(std::make_shared<GP::MemoryStream>(readFontFile("virid.ttf")), description);
    EXPECT_TRUE(usable.isUsable());
    ASSERT_TRUE(usable.getRenderCache());
    const DETAIL::tGlyph* glyph = usable.getRenderCache()->getGlyph(U'A');
    ASSERT_NE(glyph, nullptr);
    EXPECT_GT(glyph->width, 0);
}

TEST_F(FontCache, RenderCacheOutlivesFontsAndFaceCache)
{
    std::shared_ptr<DETAIL::FTRenderCache> cache;
    {
        auto description = makeDescription(12);
        const Font font(description);
        cache = font.getRenderCache();
    }
    // The face, its bytes and the FreeType library are still there.
    const DETAIL::tGlyph* glyph = cache->getGlyph(U'W');
    ASSERT_NE(glyph, nullptr);
    EXPECT_GT(glyph->advance, 0);
}

}  // namespace
}  // namespace QX::UIA

namespace QX::UIA {
namespace {

// Strikes embedded in a font come as 1 bit per pixel: drawing reads `width`
// bytes a row, so the glyph must hold them as one byte per pixel.
TEST(GlyphCoverage, OneBitStrikeBecomesFullCoverageBytes)
{
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    // 10 pixels a row, 2 rows; the last six bits of a row are padding.
    std::uint8_t bits[] = {0b10000000, 0b01000000, 0b00000001, 0b00111111};
    FT_Bitmap mono{};
    mono.rows = 2;
    mono.width = 10;
    mono.pitch = 2;
    mono.buffer = bits;
    mono.num_grays = 2;
    mono.pixel_mode = FT_PIXEL_MODE_MONO;

    DETAIL::tGlyph glyph;
    DETAIL::copyCoverage(library, mono, glyph);
    FT_Done_FreeType(library);

    EXPECT_EQ(glyph.width, 10);
    EXPECT_EQ(glyph.rows, 2);
    ASSERT_GE(glyph.pitch, 10);
    ASSERT_EQ(glyph.coverage.size(), std::size_t(2 * glyph.pitch));
    std::vector<int> values;
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 10; ++x) values.push_back(glyph.coverage[std::size_t(row * glyph.pitch + x)]);
    }
    std::vector<int> expected(20, 0);
    expected[0] = 255;   // row 0, pixel 0
    expected[9] = 255;   // row 0, pixel 9
    expected[17] = 255;  // row 1, pixel 7
    EXPECT_EQ(values, expected);
}

TEST(GlyphCoverage, GreyBitmapIsCopiedAsItIs)
{
    std::uint8_t grey[] = {0, 10, 200, 255, 7, 8};
    FT_Bitmap bitmap{};
    bitmap.rows = 2;
    bitmap.width = 3;
    bitmap.pitch = 3;
    bitmap.buffer = grey;
    bitmap.num_grays = 256;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    DETAIL::tGlyph glyph;
    DETAIL::copyCoverage(nullptr, bitmap, glyph);
    EXPECT_EQ(glyph.coverage, std::vector<std::uint8_t>(std::begin(grey), std::end(grey)));
    EXPECT_EQ(glyph.pitch, 3);
}

}  // namespace
}  // namespace QX::UIA
