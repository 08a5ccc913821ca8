#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

namespace QX::NWL::Testing {
namespace {

using namespace WidgetFlag;

TEST(WidgetTreeTest, NewWidgetIsDetachedVisibleEnabledAndStylePending) {
    auto widget = std::make_shared<RecordingWidget>();
    EXPECT_EQ(widget->getFlags(), 0x8303Du);
    EXPECT_EQ(widget->getParent(), nullptr);
    EXPECT_EQ(widget->getPane(), nullptr);
    EXPECT_TRUE(widget->getName().empty());
    EXPECT_TRUE(widget->getStyleClass().empty());
    EXPECT_EQ(widget->getSize(), Size{});
    EXPECT_EQ(widget->getHelpId(), -1);
}

TEST(WidgetTreeTest, AddingAChildThatHasAParentMovesIt) {
    auto first = std::make_shared<RecordingWidget>();
    auto second = std::make_shared<RecordingWidget>();
    auto child = std::make_shared<RecordingWidget>();
    first->addChild(child, "child");
    second->addChild(child, "moved");
    EXPECT_TRUE(first->getChildren().empty());
    ASSERT_EQ(second->getChildren().size(), 1u);
    EXPECT_EQ(child->getParent(), second.get());
    EXPECT_EQ(child->getName(), qx::symbol("moved"));
}

}  // namespace
}  // namespace QX::NWL::Testing
