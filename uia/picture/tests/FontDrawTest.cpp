#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "FontTestSupport.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {
namespace {

using namespace QX::UIA::Test;

constexpr std::uint32_t kBackground = 0x40102030;

// The expected picture, drawn glyph by glyph from FreeType's own bitmaps.
class ReferenceCanvas {
public:
    ReferenceCanvas(int width, int height) : width_(width), pixels_(width * height, kBackground) {}

    // Draws one line from pen position (x, baseline), physical coordinates,
    // limited to `clip`.
    void drawLine(const ReferenceFace& face, const std::u32string& line, int x, int baseline,
                  std::uint32_t colour, const PictureRect& clip)
    {
        for (const char32_t codePoint : line) {
            const FT_GlyphSlot slot = face.render(codePoint);
            const FT_Bitmap& bitmap = slot->bitmap;
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                for (unsigned column = 0; column < bitmap.width; ++column) {
                    const int px = x + slot->bitmap_left + int(column);
                    const int py = baseline - slot->bitmap_top + int(row);
                    const unsigned a = bitmap.buffer[row * bitmap.pitch + column] * (colour >> 24) / 255;
                    if (a == 0 || !clip.contains(px, py)) continue;
                    blend(pixels_[py * width_ + px], colour, a);
                }
            }
            x += std::lrint(slot->advance.x / 64.0);
        }
    }

    std::uint32_t at(int x, int y) const { return pixels_[y * width_ + x]; }

private:
    static void blend(std::uint32_t& pixel, std::uint32_t colour, unsigned a)
    {
        unsigned channels[4];
        for (int i = 0; i < 3; ++i) {
            const unsigned d = (pixel >> (8 * i)) & 0xFF;
            const unsigned k = (colour >> (8 * i)) & 0xFF;
            channels[i] = (d * (256 - a) + k * a) >> 8;
        }
        channels[3] = std::min(255u, (pixel >> 24) + a);
        pixel = channels[0] | channels[1] << 8 | channels[2] << 16 | channels[3] << 24;
    }

    int width_;
    std::vector<std::uint32_t> pixels_;
};

class FontDraw : public ::testing::TestWithParam<bool> {
protected:
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 80;
    static constexpr int kSize = 13;

    void SetUp() override
    {
        registerProgramFonts();
        hinting = GetParam();
        font = std::make_unique<Font>(makeDescription(kSize, hinting ? kFontHinting : 0));
        reference = std::make_unique<ReferenceFace>(readFontFile("default.ttf"), kSize, hinting);
        ASSERT_TRUE(picture.resize(kWidth, kHeight, true));
        picture.fill(kBackground);
    }

    int widthOf(const std::u32string& line) const
    {
        int width = 0;
        for (const char32_t codePoint : line) width += std::lrint(reference->render(codePoint)->advance.x / 64.0);
        return width;
    }

    void expectPicture(const ReferenceCanvas& expected) const
    {
        int mismatches = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (picture.getRow(y)[x] != expected.at(x, y) && ++mismatches <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << std::hex << " is " << picture.getRow(y)[x]
                                  << " not " << expected.at(x, y);
        EXPECT_EQ(mismatches, 0);
    }

    bool hinting = false;
    std::unique_ptr<Font> font;
    std::unique_ptr<ReferenceFace> reference;
    Picture picture;
};

TEST_P(FontDraw, TopLeftLineMatchesFreeType)
{
    const PictureRect rect(4, 6, 110, 40);
    font->drawText(picture, rect, "Wave gP!", 0xFF2060A0, kAlignTop | kAlignLeft, 0);
    ReferenceCanvas expected(kWidth, kHeight);
    const int ascent = font->getRenderCache()->getAscent();
    expected.drawLine(*reference, U"Wave gP!", 4, 6 + ascent, 0xFF2060A0, rect);
    expectPicture(expected);
    EXPECT_FALSE(picture.isClipActive());
}

TEST_P(FontDraw, CentredBlockOfLinesWithSpacing)
{
    const PictureRect rect(10, 5, 110, 75);
    font->drawText(picture, rect, "One\nlonger line\n\xC3\xA9t\xC3\xA9", 0xFFF0E0D0, 0, 2);
    const int lineHeight = font->getLineHeight();
    const int ascent = font->getRenderCache()->getAscent();
    const int blockHeight = 3 * lineHeight + 2 * 2;
    int baseline = 5 + ascent + (70 - blockHeight) / 2;
    ReferenceCanvas expected(kWidth, kHeight);
    for (const std::u32string line : {U"One", U"longer line", U"\u00E9t\u00E9"}) {
        expected.drawLine(*reference, line, 10 + (100 - widthOf(line) + 1) / 2, baseline, 0xFFF0E0D0, rect);
        baseline += lineHeight + 2;
    }
    expectPicture(expected);
}

TEST_P(FontDraw, BottomRightWithOriginAndPartlyCoveringColour)
{
    picture.setOrigin(3, 2);
    const PictureRect rect(0, 0, 90, 60);
    font->drawText(picture, rect, "ab\nXYZ", 0x80FFFFFF, kAlignBottom | kAlignRight, 1);
    const int lineHeight = font->getLineHeight();
    const int ascent = font->getRenderCache()->getAscent();
    const int lastBaseline = 60 - lineHeight + ascent;
    ReferenceCanvas expected(kWidth, kHeight);
    const PictureRect physical(3, 2, 93, 62);
    expected.drawLine(*reference, U"ab", 3 + 90 - widthOf(U"ab"), 2 + lastBaseline - lineHeight - 1, 0x80FFFFFF,
                      physical);
    expected.drawLine(*reference, U"XYZ", 3 + 90 - widthOf(U"XYZ"), 2 + lastBaseline, 0x80FFFFFF, physical);
    expectPicture(expected);
}

TEST_P(FontDraw, FullCoverageOfHalfTransparentColour)
{
    // A solid block of coverage 255: the stem of 'l' at a large size.
    Font large(makeDescription(40, hinting ? kFontHinting : 0));
    picture.fill(0x40000000);
    large.drawText(picture, PictureRect(0, 0, kWidth, kHeight), "l", 0x80FF0000, 0, 0);
    const std::uint32_t expected = 0xC0000000 | (((0xFF * 128) >> 8) << 16);
    const auto* begin = picture.getPixels();
    EXPECT_NE(std::find(begin, begin + kWidth * kHeight, expected), begin + kWidth * kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) EXPECT_LE(begin[i] >> 24, 0xC0u);
}

TEST_P(FontDraw, TextIsClippedToTheRectangle)
{
    // Glyphs reach beyond every side of the rectangle.
    const PictureRect rect(20, 20, 50, 27);
    font->drawText(picture, rect, "Mjg\nMjg", 0xFF000000, kAlignLeft, 0);
    const int ascent = font->getRenderCache()->getAscent();
    const int lineHeight = font->getLineHeight();
    const int firstBaseline = 20 + ascent + (7 - (2 * lineHeight)) / 2;
    ReferenceCanvas expected(kWidth, kHeight);
    expected.drawLine(*reference, U"Mjg", 20, firstBaseline, 0xFF000000, rect);
    if (firstBaseline + lineHeight <= 27)
        expected.drawLine(*reference, U"Mjg", 20, firstBaseline + lineHeight, 0xFF000000, rect);
    expectPicture(expected);
}

TEST_P(FontDraw, LineWhoseBaselineFallsBelowTheRectangleIsNotDrawn)
{
    const int ascent = font->getRenderCache()->getAscent();
    font->drawText(picture, PictureRect(0, 0, kWidth, ascent - 1), "A\nB", 0xFF000000, kAlignTop | kAlignLeft, 0);
    expectPicture(ReferenceCanvas(kWidth, kHeight));

    const PictureRect rect(0, 0, kWidth, ascent);
    font->drawText(picture, rect, "A\nB\nC", 0xFF000000, kAlignTop | kAlignLeft, 0);
    ReferenceCanvas expected(kWidth, kHeight);
    expected.drawLine(*reference, U"A", 0, ascent, 0xFF000000, rect);
    expectPicture(expected);
}

TEST_P(FontDraw, UnderlineSpansTheAdvance)
{
    Font underlined(makeDescription(kSize, kFontUnderline | (hinting ? kFontHinting : 0)));
    underlined.drawText(picture, PictureRect(5, 5, 100, 50), "  ", 0xFF00FF00, kAlignTop | kAlignLeft, 0);
    const auto& cache = underlined.getRenderCache();
    Picture expected;
    ASSERT_TRUE(expected.resize(kWidth, kHeight, true));
    expected.fill(kBackground);
    expected.fillRect(5, 5 + cache->getAscent() - cache->getUnderlinePosition(),
                      2 * underlined.getGlyphAdvance(U' '), cache->getUnderlineThickness(), 0xFF00FF00);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) ASSERT_EQ(picture.getRow(y)[x], expected.getRow(y)[x]) << x << "," << y;
    EXPECT_GT(cache->getUnderlineThickness(), 0);
}

TEST_P(FontDraw, NothingToDraw)
{
    font->drawText(picture, PictureRect(0, 0, kWidth, kHeight), "", 0xFF000000, 0, 0);
    font->drawText(picture, PictureRect(10, 10, 10, 50), "A", 0xFF000000, 0, 0);
    font->drawText(picture, PictureRect(10, 10, 50, 9), "A", 0xFF000000, 0, 0);
    font->drawText(picture, PictureRect(0, 0, kWidth, kHeight), "A", 0x00FFFFFF, 0, 0);
    auto description = makeDescription(kSize, 0, 4711);
    Font(description).drawText(picture, PictureRect(0, 0, kWidth, kHeight), "A", 0xFF000000, 0, 0);
    expectPicture(ReferenceCanvas(kWidth, kHeight));
}

TEST_P(FontDraw, HugeLineSpacingLeavesTheNextLineOut)
{
    Picture single;
    ASSERT_TRUE(single.resize(kWidth, kHeight, true));
    single.fill(kBackground);
    const PictureRect rect(0, 0, kWidth, kHeight);
    font->drawText(single, rect, "A", 0xFF000000, kAlignTop | kAlignLeft, 0);
    font->drawText(picture, rect, "A\nB", 0xFF000000, kAlignTop | kAlignLeft, std::numeric_limits<std::int32_t>::max());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) ASSERT_EQ(picture.getRow(y)[x], single.getRow(y)[x]) << x << "," << y;
}

TEST_P(FontDraw, ClipIsRestoredAfterInvalidText)
{
    picture.setClipRect(PictureRect(2, 3, 100, 70));
    EXPECT_THROW(font->drawText(picture, PictureRect(0, 0, 60, 60), "Ok\nbad \xC0\x80", 0xFF000000,
                                kAlignTop | kAlignLeft, 0),
                 std::out_of_range);
    EXPECT_TRUE(picture.isClipActive());
    EXPECT_EQ(picture.getClipRect(), PictureRect(2, 3, 100, 70));
    // What was drawn before the fault stays drawn.
    ReferenceCanvas expected(kWidth, kHeight);
    const int ascent = font->getRenderCache()->getAscent();
    expected.drawLine(*reference, U"Ok", 0, ascent, 0xFF000000, PictureRect(2, 3, 60, 60));
    expected.drawLine(*reference, U"bad ", 0, ascent + font->getLineHeight(), 0xFF000000, PictureRect(2, 3, 60, 60));
    expectPicture(expected);

    picture.resetClipRect();
    EXPECT_THROW(font->drawText(picture, PictureRect(0, 0, 60, 60), "\xFF", 0xFF000000, 0, 0), std::out_of_range);
    EXPECT_FALSE(picture.isClipActive());
}

INSTANTIATE_TEST_SUITE_P(Hinting, FontDraw, ::testing::Bool());

}  // namespace
}  // namespace QX::UIA
