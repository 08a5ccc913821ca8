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

}  // namespace
}  // namespace QX::UIA
