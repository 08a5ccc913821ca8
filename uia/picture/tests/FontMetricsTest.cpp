#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "FontTestSupport.h"
#include "gp/Stream.h"

namespace QX::UIA {
namespace {

using namespace QX::UIA::Test;

class FontMetrics : public ::testing::TestWithParam<std::tuple<const char*, int, bool>> {
protected:
    void SetUp() override { registerProgramFonts(); }

    static FontDescription describe(const char* file, int size, bool hinting)
    {
        auto description = makeDescription(size, hinting ? kFontHinting : 0);
        if (std::string(file) == "virid.ttf") {
            description.resourceId = 0;
            description.name = file;
        }
        return description;
    }
    static std::shared_ptr<GP::Stream> open(const char* file)
    {
        return std::make_shared<GP::MemoryStream>(readFontFile(file));
    }
};

TEST_P(FontMetrics, LineMetricsFollowTheFaceBoundingBox)
{
    const auto [file, size, hinting] = GetParam();
    const Font font(open(file), describe(file, size, hinting));
    const ReferenceFace reference(readFontFile(file), size, hinting);
    const FT_Face face = reference.face();
    const double scale = double(size) / face->units_per_EM;
    const auto ascent = std::lround(face->bbox.yMax * scale);
    const auto underline = std::lround(face->underline_position * scale);
    auto lineHeight = std::lround((face->bbox.yMax - face->bbox.yMin) * scale);
    if (ascent - underline >= lineHeight) ++lineHeight;

    const auto& cache = font.getRenderCache();
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->getAscent(), ascent);
    EXPECT_EQ(cache->getUnderlinePosition(), underline);
    EXPECT_EQ(cache->getUnderlineThickness(), std::lround(std::ceil(face->underline_thickness * scale)));
    EXPECT_EQ(font.getLineHeight(), lineHeight);
}

TEST_P(FontMetrics, GlyphsAreFreeTypesOwn)
{
    const auto [file, size, hinting] = GetParam();
    const Font font(open(file), describe(file, size, hinting));
    const ReferenceFace reference(readFontFile(file), size, hinting);
    for (char32_t codePoint = 0x20; codePoint < 0x17F; ++codePoint) {
        if (FT_Get_Char_Index(reference.face(), codePoint) == 0) continue;
        const FT_GlyphSlot slot = reference.render(codePoint);
        ASSERT_NE(slot, nullptr);
        const DETAIL::tGlyph* glyph = font.getRenderCache()->getGlyph(codePoint);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->advance, slot->advance.x) << std::uint32_t(codePoint);
        EXPECT_EQ(font.getGlyphAdvance(codePoint), std::lrint(slot->advance.x / 64.0)) << std::uint32_t(codePoint);
        EXPECT_EQ(glyph->left, slot->bitmap_left);
        EXPECT_EQ(glyph->top, slot->bitmap_top);
        ASSERT_EQ(glyph->width, int(slot->bitmap.width));
        ASSERT_EQ(glyph->rows, int(slot->bitmap.rows));
        ASSERT_EQ(glyph->pitch, slot->bitmap.pitch);
        ASSERT_EQ(glyph->coverage.size(), std::size_t(glyph->rows * glyph->pitch));
        if (!glyph->coverage.empty()) {
            EXPECT_EQ(0, std::memcmp(glyph->coverage.data(), slot->bitmap.buffer, glyph->coverage.size()))
                << std::uint32_t(codePoint);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ProgramFonts, FontMetrics,
                         ::testing::Combine(::testing::Values("default.ttf", "virid.ttf"), ::testing::Values(11, 12, 13),
                                            ::testing::Bool()));

TEST(FontAdvance, RoundsHalvesToEven)
{
    EXPECT_EQ(roundAdvance(0), 0);
    EXPECT_EQ(roundAdvance(31), 0);
    EXPECT_EQ(roundAdvance(32), 0);   // 0.5
    EXPECT_EQ(roundAdvance(33), 1);
    EXPECT_EQ(roundAdvance(96), 2);   // 1.5
    EXPECT_EQ(roundAdvance(160), 2);  // 2.5
    EXPECT_EQ(roundAdvance(224), 4);  // 3.5
    EXPECT_EQ(roundAdvance(161), 3);
    EXPECT_EQ(roundAdvance(640), 10);
    EXPECT_EQ(roundAdvance(-96), -2);
}

// The line heights the README quotes for the chosen faces.
TEST(FontChoice, LineHeightsSuitSmallLabels)
{
    registerProgramFonts();
    const int expected[] = {14, 15, 17};
    for (int size = 11; size <= 13; ++size) {
        const Font font(makeDescription(size));
        EXPECT_EQ(font.getLineHeight(), expected[size - 11]) << size;
    }
}

}  // namespace
}  // namespace QX::UIA
