#include <gtest/gtest.h>

#include <stdexcept>

#include "FontTestSupport.h"

namespace QX::UIA {
namespace {

using namespace QX::UIA::Test;

// At 18 pixels every digit of the default face advances exactly 10 pixels.
class FontLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerProgramFonts();
        font = std::make_unique<Font>(makeDescription(18));
        ASSERT_EQ(font->getGlyphAdvance(U'0'), 10);
    }
    std::unique_ptr<Font> font;
};

TEST_F(FontLayout, LineEndsAtLineFeedNulOrLength)
{
    const int a = font->getGlyphAdvance(U'A');
    const int b = font->getGlyphAdvance(U'B');
    EXPECT_EQ(font->getTextWidth("AB\nC"), a + b);
    EXPECT_EQ(font->getTextWidth("AB\nC", -1), a + b);
    EXPECT_EQ(font->getTextWidth("ABC", 2), a + b);
    EXPECT_EQ(font->getTextWidth(std::string_view("AB\0C", 4)), a + b);
    EXPECT_EQ(font->getTextWidth(""), 0);
    EXPECT_EQ(font->getTextWidth(nullptr), 0);
}

TEST_F(FontLayout, WidestLineOfText)
{
    EXPECT_EQ(font->getMaxLineWidth(""), 0);
    EXPECT_EQ(font->getMaxLineWidth("00\n0000\n000"), 40);
    EXPECT_EQ(font->getMaxLineWidth("0\n\n00\n"), 20);
}

TEST_F(FontLayout, MultiByteCodePointsMeasureAsTheirGlyphs)
{
    EXPECT_EQ(font->getTextWidth("\xC3\xA9\xE2\x82\xAC"), font->getGlyphAdvance(0xE9) + font->getGlyphAdvance(0x20AC));
    // No glyph in the face: measured as '?'.
    EXPECT_EQ(font->getTextWidth("\xE4\xB8\x80"), font->getGlyphAdvance(U'?'));
}

TEST_F(FontLayout, InvalidUtf8ThrowsFromMeasuring)
{
    EXPECT_THROW(font->getTextWidth("A\xC0\x80"), std::out_of_range);
    EXPECT_THROW(font->getMaxLineWidth("A\n\xED\xA0\x80"), std::out_of_range);
    EXPECT_THROW(font->getFittingLength("\x80", 100, kFitNearest), std::out_of_range);
    EXPECT_THROW(font->getTextWidth("\xF8\x88\x80\x80\x80"), std::out_of_range);
}

TEST_F(FontLayout, FittingLengthByMode)
{
    // 4 beyond against 6 below: included in the nearest mode.
    EXPECT_EQ(font->getFittingLength("00", 16, kFitNearest), 2);
    // 6 beyond against 4 below: excluded.
    EXPECT_EQ(font->getFittingLength("00", 14, kFitNearest), 1);
    // A tie excludes.
    EXPECT_EQ(font->getFittingLength("00", 15, kFitNearest), 1);
    EXPECT_EQ(font->getFittingLength("00", 11, kFitInclude), 2);
    EXPECT_EQ(font->getFittingLength("00", 19, kFitExclude), 1);
    EXPECT_EQ(font->getFittingLength("000", 7, kFitExclude), 0);
    EXPECT_EQ(font->getFittingLength("000", 0, kFitInclude), 0);
    // The whole line fits: the offset of its end.
    EXPECT_EQ(font->getFittingLength("00\n000", 100, kFitNearest), 2);
    EXPECT_EQ(font->getFittingLength("000", 30, kFitExclude), 3);
    // Offsets are in bytes, behind whole code points.
    EXPECT_EQ(font->getFittingLength("0\xE2\x82\xAC", 10 + font->getGlyphAdvance(0x20AC), kFitExclude), 4);
}

TEST_F(FontLayout, HorizontalAlignmentOfFirstLine)
{
    EXPECT_EQ(font->getHorizontalAlignmentOffset("0", 0, 13), 2);
    EXPECT_EQ(font->getHorizontalAlignmentOffset("0", 0, 14), 2);
    EXPECT_EQ(font->getHorizontalAlignmentOffset("0\n000000", kAlignRight, 25), 15);
    EXPECT_EQ(font->getHorizontalAlignmentOffset("0", kAlignLeft, 25), 0);
    EXPECT_EQ(font->getHorizontalAlignmentOffset("000", 0, 30), 0);
    EXPECT_EQ(font->getHorizontalAlignmentOffset("0000", kAlignRight, 30), 0);
}

}  // namespace
}  // namespace QX::UIA
