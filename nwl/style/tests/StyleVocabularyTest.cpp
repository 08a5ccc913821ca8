#include <gtest/gtest.h>

#include "FakeWidget.h"
#include "nwl/style/StyleVocabulary.h"

namespace QX::NWL {
namespace {

using Testing::FakeWidget;
namespace N = StyleNames;

TEST(StyleVocabulary, colourRolesFollowRoleNumbersNotTableOrder)
{
    EXPECT_EQ(colorPropertyRoles[1].property, N::kForegroundColor);
    EXPECT_EQ(findColorRole(N::kForegroundColor), 2);
    EXPECT_EQ(findColorRole(N::kSelectionBackgroundColor), 1);
    EXPECT_EQ(findPaletteRole(N::kForegroundColorPalette), 2);
    EXPECT_EQ(findPaletteRole(N::kForegroundColor), std::nullopt);
    EXPECT_EQ(findColorRole(N::kWidth), std::nullopt);
    EXPECT_EQ(findStateIndex(qx::symbol("slected")), std::nullopt);
}

// Enabled needs both of its bits; every other state asks the widget.
TEST(StyleVocabulary, statePredicatesAskTheWidget)
{
    FakeWidget widget;
    for (std::uint32_t flags : {0x10u, 0x20u}) {
        widget.flags = flags;
        EXPECT_FALSE(stateHolds(0, widget)) << flags;
    }
    widget.flags = 0x30;
    EXPECT_TRUE(stateHolds(0, widget));
    for (std::size_t i = 1; i < kStateCount; ++i)
        EXPECT_FALSE(stateHolds(i, widget)) << i;
    widget.flags |= 0x40;
    widget.pressed = widget.hovered = widget.focus = widget.keyWidget = widget.dormant = true;
    for (std::size_t i = 1; i < kStateCount; ++i)
        EXPECT_TRUE(stateHolds(i, widget)) << i;
}

TEST(StyleVocabulary, attributeGetters)
{
    FakeWidget widget("tree<Bar>");
    widget.styleClass = qx::symbol("Design");
    widget.name = qx::symbol("widgets");
    EXPECT_EQ(findAttributeGetter(N::kGetClass)->get(widget), AttibuteSelector::tValue(std::string("tree<Bar>")));
    EXPECT_EQ(findAttributeGetter(N::kGetStyle)->get(widget), AttibuteSelector::tValue(std::string("Design")));
    EXPECT_EQ(findAttributeGetter(N::kGetId)->get(widget), AttibuteSelector::tValue(std::string("widgets")));
    EXPECT_EQ(findAttributeGetter(qx::symbol("hasFocus")), nullptr);
    EXPECT_EQ(findAttributeGetter(N::kEmpty), nullptr);
    EXPECT_TRUE(attributeGetters.back().name.empty());
    EXPECT_FALSE(attributeGetters.back().get);
}

TEST(StyleVocabulary, isHorizontalExistsForBarsAndSlidersOnly)
{
    const auto& isHorizontal = findAttributeGetter(N::kIsHorizontal)->get;
    FakeWidget label;
    EXPECT_EQ(isHorizontal(label), AttibuteSelector::tValue(AttibuteSelector::tDoesntExist{}));
    FakeWidget bar("Bar");
    for (int direction : {1, 4096}) {
        bar.barDirection = direction;
        EXPECT_EQ(isHorizontal(bar), AttibuteSelector::tValue(true)) << direction;
    }
    for (int direction : {16, 256, 0}) {
        bar.barDirection = direction;
        EXPECT_EQ(isHorizontal(bar), AttibuteSelector::tValue(false)) << direction;
    }
    FakeWidget slider("Slider");
    slider.sliderHorizontal = true;
    EXPECT_EQ(isHorizontal(slider), AttibuteSelector::tValue(true));
}

}  // namespace
}  // namespace QX::NWL
