#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "nwl/style/StyleParser2.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL::Testing {
namespace {

using namespace WidgetFlag;

const char* const kSheet = R"(
RecordingWidget#sized { min-width: 10; max-width: 20; width: 40; min-height: 5; max-height: 50; }
RecordingWidget#limits { min-width: 30; max-height: 12; }
RecordingWidget#boxed { margin: 4; margin-left: 7; outer-margin-bottom: 3; }
RecordingWidget#front { draw_foreground: true; }
RecordingWidget#back { draw_foreground: false; }
RecordingWidget#pictured { margin: 2; image: url("p30x20.tga"); }
RecordingWidget#inclusive { margin: 2; image: url("p30x20.tga"); picture-includes-margin: yes; }
RecordingWidget#stretchy { margin: 2; image: url("p30x20.tga"); fixed-top: 1; height: 70; }
RecordingWidget#wide { margin: 2; image: url("p30x20.tga"); fixed-left: 1; }
RecordingWidget#placed { x: 15; }
RecordingWidget#raised { z-index: 2; }
RecordingWidget[state=big] { height: 44; }
RecordingWidget#holder[state=big] RecordingWidget#held { height: 33; }
)";

struct tStyleCase {
    const char* name;
    Size minimum;
    Size maximum;
    Margins margins;
    Margins outerMargins;
    std::uint32_t paintFlags;  // 0x2000 | 0x4000
};

class ApplyStyleTest : public ::testing::TestWithParam<tStyleCase> {
protected:
    ApplyStyleTest() {
        GP::registerResource(GP::ResourceId("P30X20.TGA"), "PICTURE", makeTga(30, 20, 0xFF808080));
        EXPECT_TRUE(StyleParser2::processString(*sheet, kSheet, container.makeResourceDeriver()));
        pane.setStyleSheet(sheet);
        pane.setSize(400, 300);
        pane.setRootWidget(root);
    }

    std::shared_ptr<RecordingWidget> styled(const char* name, Size startMinimum = {}, Size startMaximum = {}) {
        auto widget = std::make_shared<RecordingWidget>();
        widget->setMinimumSize(startMinimum);
        widget->setMaximumSize(startMaximum);
        root->addChild(widget, name);
        settle(pane);
        return widget;
    }

    ManagerContainer container;  // derives the pictures
    std::shared_ptr<StyleSheet> sheet = std::make_shared<StyleSheet>();
    Pane pane;
    std::shared_ptr<RecordingWidget> root = std::make_shared<RecordingWidget>();
};

TEST_P(ApplyStyleTest, StyleGivesLimitsMarginsAndPaintOrder) {
    const tStyleCase& c = GetParam();
    auto widget = styled(c.name, {1, 2}, {300, 200});
    EXPECT_EQ(widget->getMinimumSize(), c.minimum);
    EXPECT_EQ(widget->getMaximumSize(), c.maximum);
    EXPECT_EQ(widget->getMargins(), c.margins);
    EXPECT_EQ(widget->getOuterMargins(), c.outerMargins);
    EXPECT_EQ(widget->getFlags() & (kPaintsBackground | kPaintsForeground), c.paintFlags);
    EXPECT_EQ(widget->getFlags() & kStylePending, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ApplyStyleTest,
    ::testing::Values(
        tStyleCase{"unstyled", {1, 2}, {300, 200}, {}, {}, 0x2000},
        tStyleCase{"sized", {40, 5}, {40, 50}, {}, {}, 0x2000},
        tStyleCase{"limits", {30, 2}, {300, 12}, {}, {}, 0x2000},
        tStyleCase{"boxed", {1, 2}, {300, 200}, {7, 4, 4, 4}, {0, 0, 0, 3}, 0x2000},
        tStyleCase{"front", {1, 2}, {300, 200}, {}, {}, 0x4000},
        tStyleCase{"back", {1, 2}, {300, 200}, {}, {}, 0x2000},
        tStyleCase{"pictured", {34, 24}, {34, 24}, {2, 2, 2, 2}, {}, 0x2000},
        tStyleCase{"inclusive", {30, 20}, {30, 20}, {2, 2, 2, 2}, {}, 0x2000},
        tStyleCase{"stretchy", {34, 70}, {34, 70}, {2, 2, 2, 2}, {}, 0x2000},
        tStyleCase{"wide", {1, 24}, {300, 24}, {2, 2, 2, 2}, {}, 0x2000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplyStyleTest, NewLimitsClampTheCurrentSize) {
    auto widget = styled("pictured");
    EXPECT_EQ(widget->getSize(), (Size{34, 24}));
}

TEST_F(ApplyStyleTest, PositionFromTheStylePlacesTheWidget) {
    auto widget = styled("placed");
    EXPECT_EQ(widget->getPosition(), (GP::Point{15, 0}));
    EXPECT_NE(widget->getFlags() & kExplicitlyPlaced, 0u);
}

TEST_F(ApplyStyleTest, ZIndexReordersTheSiblings) {
    auto raised = styled("raised");
    auto plain = styled("plain");
    EXPECT_EQ(raised->getZIndex(), 2);
    EXPECT_EQ(root->getSortedChildren().back(), raised);
}

TEST_F(ApplyStyleTest, AttributeChangeRestylesTheWidget) {
    auto widget = styled("plain");
    widget->setAttribute("state", "big");
    settle(pane);
    EXPECT_EQ(widget->getMinimumSize().height, 44);
    EXPECT_EQ(widget->getSize().height, 44);
}

// A rule that asks for an attribute of an ancestor restyles the children
// when that attribute changes, once the pane settles.
TEST_F(ApplyStyleTest, AttributeChangeRestylesTheChildren) {
    auto holder = styled("holder");
    auto held = std::make_shared<RecordingWidget>();
    holder->addChild(held, "held");
    settle(pane);
    ASSERT_NE(held->getMinimumSize().height, 33);
    holder->setAttribute("state", "big");
    settle(pane);
    EXPECT_EQ(held->getMinimumSize().height, 33);
    EXPECT_EQ(held->getSize().height, 33);
}

}  // namespace
}  // namespace QX::NWL::Testing
