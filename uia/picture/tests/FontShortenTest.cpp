#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "gp/ShortenText.h"

namespace QX::UIA {
namespace {

using namespace QX::UIA::Test;

TEST(FontShorten, ShortensThroughTheFoundation)
{
    registerProgramFonts();
    const auto font = std::make_unique<Font>(makeDescription(18));
    GP::NamedStringMap state;
    EXPECT_EQ(font->shortenText(state, "0000", 40), "0000");
    const std::string shortened = font->shortenText(state, "00000000", 45);
    EXPECT_LT(shortened.size(), 8u);
    EXPECT_LE(font->getTextWidth(shortened), 45);
}

// One shortening state serves every font a drawer draws with (the panel
// drawer keeps one): a text shortened for a narrow font is no answer for a
// wider one, nor for the same font at another scale.
TEST(FontShorten, StateSharedByFontsOfDifferentWidths)
{
    registerProgramFonts();
    const auto narrow = std::make_unique<Font>(makeDescription(12));
    const auto wide = std::make_unique<Font>(makeDescription(24));
    const std::string text = "Firmware 1.2.3";
    const std::int32_t width = narrow->getTextWidth(text);
    ASSERT_GT(wide->getTextWidth(text), width);

    GP::NamedStringMap state;
    EXPECT_EQ(narrow->shortenText(state, text, width), text);
    const std::string shortened = wide->shortenText(state, text, width);
    EXPECT_NE(shortened, text);
    EXPECT_LE(wide->getTextWidth(shortened), width);
    EXPECT_EQ(narrow->shortenText(state, text, width), text);

    wide->setScale(0.5f);
    EXPECT_EQ(wide->shortenText(state, text, width), text);
}

}  // namespace
}  // namespace QX::UIA
