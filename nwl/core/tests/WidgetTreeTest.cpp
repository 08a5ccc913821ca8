#include <gtest/gtest.h>

#include "CoreTestSupport.h"

namespace QX::NWL::Testing {
namespace {

using namespace WidgetFlag;

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

TEST(WidgetTreeTest, AWidgetCannotBecomeItsOwnDescendant) {
    auto parent = std::make_shared<RecordingWidget>();
    auto child = std::make_shared<RecordingWidget>();
    parent->addChild(child);
    child->addChild(parent);
    child->addChild(child);
    EXPECT_EQ(parent->getParent(), nullptr);
    EXPECT_TRUE(child->getChildren().empty());
}

TEST(WidgetTreeTest, FlaggedDescendantCountsFollowMovesAndRemovals) {
    auto top = std::make_shared<RecordingWidget>();
    auto middle = std::make_shared<RecordingWidget>();
    auto leafA = std::make_shared<RecordingWidget>();
    auto leafB = std::make_shared<RecordingWidget>();
    leafA->setWantsGeometryNotifications(true);
    leafB->setWantsGeometryNotifications(true);
    middle->addChild(leafA);
    middle->addChild(leafB);
    top->addChild(middle);
    EXPECT_EQ(middle->getFlaggedDescendantCount(), 2);
    EXPECT_EQ(top->getFlaggedDescendantCount(), 2);

    top->addChild(leafA);  // moves from middle to top
    EXPECT_EQ(middle->getFlaggedDescendantCount(), 1);
    EXPECT_EQ(top->getFlaggedDescendantCount(), 2);

    middle->setWantsGeometryNotifications(true);
    EXPECT_EQ(top->getFlaggedDescendantCount(), 3);
    EXPECT_TRUE(top->removeChild(middle.get()));
    EXPECT_EQ(top->getFlaggedDescendantCount(), 1);
    EXPECT_FALSE(top->removeChild(top->getChildren().end()));
}

TEST(WidgetTreeTest, SortedChildrenAreStableByZIndex) {
    auto parent = std::make_shared<RecordingWidget>();
    std::vector<std::shared_ptr<RecordingWidget>> children;
    for (int i = 0; i < 40; ++i) {
        children.push_back(std::make_shared<RecordingWidget>());
        parent->addChild(children.back());
    }
    const auto& sorted = parent->getSortedChildren();
    ASSERT_EQ(sorted.size(), children.size());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        EXPECT_EQ(sorted[i], children[i]);
}

// Visibility and enabled state as seen after an update pass, for a child
// under a parent whose own bits are set as the row says.
TEST(WidgetStateTest, ChildBitsFollowOwnAndParentState) {
    const struct {
        const char* name;
        bool parentVisible, childVisible, parentEnabled, childEnabled;
        std::uint32_t expectedChildBits;  // of 0x1 | 0x4 | 0x10 | 0x20
    } cases[] = {
        {"all_on", true, true, true, true, 0x35},
        {"child_hidden_under_visible_parent", true, false, true, true, 0x34},
        {"child_visible_under_hidden_parent", false, true, true, true, 0x31},
        {"child_disabled_under_enabled_parent", true, true, true, false, 0x25},
        {"child_enabled_under_disabled_parent", true, true, false, true, 0x15},
        {"both_disabled", true, true, false, false, 0x05},
    };
    for (const auto& c : cases) {
        Pane pane;
        pane.setSize(100, 100);
        auto root = std::make_shared<RecordingWidget>();
        auto parent = makeWidget(0, 0, 50, 50);
        auto child = makeWidget(0, 0, 10, 10);
        parent->addChild(child);
        root->addChild(parent);
        pane.setRootWidget(root);
        parent->setVisible(c.parentVisible);
        parent->setEnabled(c.parentEnabled);
        child->setVisible(c.childVisible);
        child->setEnabled(c.childEnabled);
        settle(pane);
        EXPECT_EQ(child->getFlags() & (kVisibleBoth | kEnabledBoth), c.expectedChildBits) << c.name;
    }
}

// Disabling a child while its parent is disabled must stick when the
// parent comes back.
TEST(WidgetStateTest, DisablingUnderADisabledParentIsKept) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto child = makeWidget(0, 0, 10, 10);
    root->addChild(child);
    pane.setRootWidget(root);
    root->setEnabled(false);
    settle(pane);
    ASSERT_FALSE(child->isEnabled());
    child->setEnabled(false);
    root->setEnabled(true);
    settle(pane);
    EXPECT_FALSE(child->isEnabled());
    child->setEnabled(true);
    settle(pane);
    EXPECT_TRUE(child->isEnabled());
}

TEST(WidgetStateTest, SetVisibleSetsTheEffectiveBitFromTheParent) {
    auto parent = std::make_shared<RecordingWidget>();
    auto child = std::make_shared<RecordingWidget>();
    parent->addChild(child);
    child->setVisible(false);
    EXPECT_EQ(child->getFlags() & kVisibleBoth, kParentVisible);
    parent->setVisible(false);
    child->setVisible(true);
    EXPECT_EQ(child->getFlags() & kVisibleBoth, kVisible);
}

// setSize against minimum and maximum sizes (0 for no maximum).
TEST(WidgetSizeTest, SizeIsClampedToTheLimits) {
    const struct {
        Size minimum, maximum, asked, expected;
    } cases[] = {
        {{20, 5}, {}, {10, 10}, {20, 10}},     {{}, {0, 0}, {500, 10}, {500, 10}},
        {{}, {300, 0}, {500, 10}, {300, 10}},  {{}, {0, 40}, {5, 90}, {5, 40}},
        {{30, 30}, {20, 20}, {5, 5}, {20, 20}},
    };
    for (const auto& c : cases) {
        auto widget = std::make_shared<RecordingWidget>();
        widget->setMinimumSize(c.minimum);
        widget->setMaximumSize(c.maximum);
        widget->setSize(c.asked);
        EXPECT_EQ(widget->getSize(), c.expected) << c.asked.width << "x" << c.asked.height;
    }
}

TEST(WidgetSizeTest, UnchangedSizeAsksForNothing) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto child = std::make_shared<RecordingWidget>();
    child->setMinimumSize({20, 20});
    root->addChild(child);
    pane.setRootWidget(root);
    child->setSize(20, 20);
    settle(pane);
    child->setSize(10, 10);  // clamps to the current size
    EXPECT_EQ(pane.getDirtyWord().load(), 0u);
    child->setPosition(child->getPosition());
    child->setMargins(0, 0, 0, 0);
    child->setAttribute("state", "");
    settle(pane);
    child->setAttribute("state", "");
    EXPECT_EQ(pane.getDirtyWord().load(), 0u);
    EXPECT_EQ(child->getFlags() & kStylePending, 0u);
}

TEST(WidgetSizeTest, StyleClassStartsTheWidgetAtEighteenSquare) {
    auto widget = std::make_shared<RecordingWidget>();
    widget->setSize(50, 60);
    widget->setFlags(kStylePending, false);
    widget->setStyleClass(nullptr);
    EXPECT_TRUE(widget->getStyleClass().empty());
    EXPECT_EQ(widget->getMinimumSize(), (Size{18, 18}));
    EXPECT_EQ(widget->getSize(), (Size{18, 18}));
    EXPECT_NE(widget->getFlags() & kStylePending, 0u);
    widget->setStyleClass("Panel");
    EXPECT_EQ(widget->getStyleClass(), qx::symbol("Panel"));
}

}  // namespace
}  // namespace QX::NWL::Testing
