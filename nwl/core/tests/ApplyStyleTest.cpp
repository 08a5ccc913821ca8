#include <gtest/gtest.h>

#include <cstdlib>

#include "CoreTestSupport.h"
#include "nwl/style/Property.h"
#include "nwl/style/Style.h"
#include "nwl/style/StyleParser2.h"
#include "nwl/style/StyleSheet.h"
#include "uia/picture/Picture.h"

namespace QX::NWL::Testing {
namespace {

using namespace WidgetFlag;

// A picture made in memory: its name is "<width>x<height>", and the test
// properties of the style fix its borders.
class MemoryPictureSource : public LazyPicture::ISource {
public:
    MemoryPictureSource(std::string name, std::uint32_t fixedFlags) : name_(std::move(name)) {
        picture_ = std::make_shared<UIA::Picture>();
        const auto width = std::uint32_t(std::strtoul(name_.c_str(), nullptr, 10));
        const auto height = std::uint32_t(std::strtoul(name_.c_str() + name_.find('x') + 1, nullptr, 10));
        picture_->resize(width, height, true);
        picture_->setFixedVertical((fixedFlags & UIA::PictureProperties::kFixedVertical) != 0);
        picture_->setFixedHorizontal((fixedFlags & UIA::PictureProperties::kFixedHorizontal) != 0);
    }
    const std::string& getName() const override { return name_; }
    std::shared_ptr<const UIA::Picture> get(float) const override { return picture_; }
    bool equals(const ISource& other) const override { return other.getName() == name_; }

private:
    std::string name_;
    std::shared_ptr<UIA::Picture> picture_;
};

const std::string* findText(const Style& style, const char* name) {
    for (const Property& property : style.properties) {
        if (property.name.equals(name))
            return std::get_if<std::string>(&property.value);
    }
    return nullptr;
}

// Turns "test-picture" into a "picture" property, as the resource manager
// turns "image" into one.
void derivePictures(const Style& style, std::vector<Property>& derived) {
    const std::string* name = findText(style, "test-picture");
    if (!name)
        return;
    const std::string* fixed = findText(style, "test-fixed");
    std::uint32_t flags = 0;
    if (fixed && *fixed == "vertical")
        flags = UIA::PictureProperties::kFixedVertical;
    if (fixed && *fixed == "horizontal")
        flags = UIA::PictureProperties::kFixedHorizontal;
    derived.emplace_back(LazyPicture(std::make_shared<MemoryPictureSource>(*name, flags)), qx::symbol("picture"),
                         Property::ePicture);
}

const char* const kSheet = R"(
RecordingWidget#sized { min-width: 10; max-width: 20; width: 40; min-height: 5; max-height: 50; }
RecordingWidget#limits { min-width: 30; max-height: 12; }
RecordingWidget#boxed { margin: 4; margin-left: 7; outer-margin-bottom: 3; }
RecordingWidget#front { draw_foreground: true; }
RecordingWidget#back { draw_foreground: false; }
RecordingWidget#pictured { margin: 2; test-picture: url("30x20"); }
RecordingWidget#inclusive { margin: 2; test-picture: url("30x20"); picture-includes-margin: yes; }
RecordingWidget#stretchy { margin: 2; test-picture: url("30x20"); test-fixed: vertical; height: 70; }
RecordingWidget#wide { margin: 2; test-picture: url("30x20"); test-fixed: horizontal; }
RecordingWidget#placed { x: 15; }
RecordingWidget#raised { z-index: 2; }
RecordingWidget[state=big] { height: 44; }
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
        EXPECT_TRUE(StyleParser2::processString(*sheet, kSheet, derivePictures));
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

}  // namespace
}  // namespace QX::NWL::Testing
