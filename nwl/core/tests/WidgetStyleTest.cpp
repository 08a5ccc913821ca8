#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "nwl/core/WidgetStyle.h"

namespace QX::NWL {
namespace {

using Testing::FakeWidget;
using Testing::loadSheet;
using Testing::sym;

const char* const kSheet =
    "Root { palette3-color1: rgb(0, 0, 200); }\n"
    "Button { background-color: rgb(10, 10, 10); background-border-color: rgb(5, 5, 5);\n"
    "         foreground-color: rgb(1, 1, 1); foreground-border-color: rgb(6, 6, 6);\n"
    "         animation-index: 0; horizontal-alignment: right; vertical-alignment: middle;\n"
    "         picture-includes-margin: yes; relative-left: 2; image: url(\"b.png\"); }\n"
    "Button:selected { animation-index: 1; foreground-color-palette: 3; }\n"
    "Button:down { animation-index: 1.5; background-color: no; }\n"
    "Button:selected:down { animation-index: 3; picture-includes-margin: 1px; horizontal-alignment: no; }\n";

class WidgetStyleTest : public ::testing::Test {
protected:
    WidgetStyleTest()
    {
        Testing::registerProgramFonts();
        EXPECT_TRUE(loadSheet(container, kSheet));
        root.sheet = &container.getStyleManager().getStyleSheet();
        button = &root.addChild("Button");
    }
    WidgetStyle& styleOf(const FakeWidget& widget)
    {
        WidgetStyle& style = container.getStyleManager().getWidgetStyle(widget);
        style.update();
        return style;
    }
    ManagerContainer container;
    FakeWidget root{"Root"};
    FakeWidget* button = nullptr;
};

TEST_F(WidgetStyleTest, collectsEachListMostSpecificFirst)
{
    const WidgetStyle& style = styleOf(*button);
    // The real frame index of ":down" is skipped, not read with the wrong type.
    ASSERT_EQ(style.getAnimationIndexes().size(), 3u);
    EXPECT_EQ(style.getAnimationIndexes()[0].value, 3);
    EXPECT_EQ(style.getColors(Palette::eBackground).size(), 2u);
    EXPECT_EQ(style.getColors(Palette::eBackground)[0].value, 0u);  // "no"
    EXPECT_EQ(style.getPictureIncludesMargin().size(), 1u);          // "1px" is no boolean
    EXPECT_EQ(style.getPictures().size(), 1u);
    EXPECT_EQ(style.getPictures()[0].value.getName(), "b.png");
    EXPECT_EQ(style.findPictureDisplacement().x, 2);
    EXPECT_EQ(&container.getStyleManager().getWidgetStyle(*button), &style);
}

struct StateCase {
    std::uint32_t flags;
    bool down;
    std::int32_t frame;
    std::uint32_t background;
    std::uint32_t foreground;
    std::int32_t horizontal;
};

class WidgetStyleStateTest : public WidgetStyleTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(WidgetStyleStateTest, picksTheFirstEntryWhoseStatesHold)
{
    button->flags = GetParam().flags;
    button->pressed = GetParam().down;
    const WidgetStyle& style = styleOf(*button);
    EXPECT_EQ(style.findAnimationIndex(-1), GetParam().frame);
    EXPECT_EQ(style.findColor(Palette::eBackground, false, 0), GetParam().background);
    EXPECT_EQ(style.findColor(Palette::eForeground, false, 1), GetParam().foreground);
    EXPECT_EQ(style.findHorizontalAlignment(-1), GetParam().horizontal);
    // "middle" is no vertical alignment word: it reads as the top.
    EXPECT_EQ(style.findVerticalAlignment(-1), WidgetStyle::kAlignTop);
    EXPECT_TRUE(style.findPictureIncludesMargin());
    EXPECT_EQ(style.findColor(Palette::eBackground, true, 0), 0xFF050505u);
    EXPECT_EQ(style.findColor(Palette::eForeground, true, 0), 0xFF060606u);
}

INSTANTIATE_TEST_SUITE_P(
    WidgetStyle, WidgetStyleStateTest,
    ::testing::Values(StateCase{0x30, false, 0, 0xFF0A0A0A, 0xFF010101, WidgetStyle::kAlignRight},
                      // Selected: palette 3 of the root gives colour 1.
                      StateCase{0x70, false, 1, 0xFF0A0A0A, 0xFF0000C8, WidgetStyle::kAlignRight},
                      StateCase{0x30, true, 0, 0, 0xFF010101, WidgetStyle::kAlignRight},
                      StateCase{0x70, true, 3, 0, 0xFF0000C8, WidgetStyle::kAlignLeft}));

TEST_F(WidgetStyleTest, aPaletteWithoutItsColourLeavesThePlainColour)
{
    button->flags = 0x70;
    const WidgetStyle& style = styleOf(*button);
    EXPECT_EQ(style.findColor(Palette::eForeground, false, 2), 0xFF010101u);
    EXPECT_EQ(Palette::colorSymbol(3, 1), sym("palette3-color1"));
}

TEST_F(WidgetStyleTest, aWidgetInNoPaneHasEmptyListsAndTheDefaultFont)
{
    FakeWidget loose("Button");
    const WidgetStyle& style = styleOf(loose);
    for (std::int32_t role = 0; role < 7; ++role)
        EXPECT_TRUE(style.getColors(role).empty());
    EXPECT_TRUE(style.getAnimationIndexes().empty());
    EXPECT_EQ(style.findFont(), container.getDefaultFont());
    EXPECT_EQ(style.findColor(Palette::eForeground, false, 0), 0u);
}

TEST_F(WidgetStyleTest, erasingAWidgetForgetsItsRecordAndCandidates)
{
    styleOf(*button);
    auto& manager = container.getStyleManager();
    EXPECT_NE(manager.findWidgetStyle(*button), nullptr);
    manager.eraseWidget(*button);
    EXPECT_EQ(manager.findWidgetStyle(*button), nullptr);
    EXPECT_FALSE(manager.getStyleSheet().getCandidateCache().contains(button));
}

}  // namespace
}  // namespace QX::NWL
