#include <gtest/gtest.h>

#include "CoreTestSupport.h"

namespace QX::NWL::Testing {
namespace {

using namespace WidgetFlag;

TEST(PaneUpdateTest, ReplacingARootOnlyThePaneHoldsReleasesItCleanly) {
    Pane pane;
    pane.setSize(100, 100);
    auto first = std::make_shared<RecordingWidget>();
    auto child = std::make_shared<RecordingWidget>();
    first->addChild(child);
    std::weak_ptr<RecordingWidget> watch = first;
    pane.setRootWidget(std::move(first), "first");
    settle(pane);
    child.reset();

    pane.setRootWidget(std::make_shared<RecordingWidget>(), "second");
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(pane.getRootWidget()->getName(), qx::symbol("second"));
    EXPECT_EQ(pane.getRootWidget()->getSize(), (Size{100, 100}));
}

TEST(PaneUpdateTest, RootFollowsThePaneSizeAndIsShown) {
    Pane pane;
    auto root = std::make_shared<RecordingWidget>();
    pane.setRootWidget(root);
    pane.setSize(300, 200);
    settle(pane);
    EXPECT_EQ(root->getSize(), (Size{300, 200}));
    EXPECT_EQ(root->getVisibleRect(), (GP::Rect{0, 0, 300, 200}));
    EXPECT_TRUE(root->isShown());
    EXPECT_EQ(root->getPane(), &pane);
}

TEST(PaneUpdateTest, LayoutRequestsFromTheLayoutPassStopAfterFivePasses) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    pane.setRootWidget(root);
    settle(pane);
    root->layoutCalls = 0;
    root->onLayoutHook = [](RecordingWidget& widget) { widget.invalidate(); };
    root->invalidate();
    const GP::Region damage = settle(pane);
    EXPECT_EQ(root->layoutCalls, 5);
    EXPECT_FALSE(damage.isEmpty());  // the repaint asked for is kept
    root->onLayoutHook = nullptr;
    root->layoutCalls = 0;
    settle(pane);
    EXPECT_EQ(root->layoutCalls, 0);
}

TEST(PaneUpdateTest, MovingAWidgetDamagesItsOldAndNewAreas) {
    Pane pane;
    pane.setSize(200, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto widget = makeWidget(10, 10, 20, 20);
    root->addChild(widget);
    pane.setRootWidget(root);
    settle(pane);
    EXPECT_TRUE(settle(pane).isEmpty());

    widget->setPosition(100, 50);
    const GP::Region damage = settle(pane);
    EXPECT_TRUE(damage.contains({10, 10}));
    EXPECT_TRUE(damage.contains({29, 29}));
    EXPECT_TRUE(damage.contains({100, 50}));
    EXPECT_TRUE(damage.contains({119, 69}));
    EXPECT_FALSE(damage.contains({60, 40}));
    EXPECT_EQ(widget->getVisibleRect(), (GP::Rect{100, 50, 120, 70}));
}

TEST(PaneUpdateTest, DamageIsClippedToThePaneAndChildrenToTheirParent) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto panel = makeWidget(50, 50, 100, 100);
    panel->setMargins(5, 5, 5, 5);
    auto inner = makeWidget(0, 0, 200, 10);
    panel->addChild(inner);
    root->addChild(panel);
    pane.setRootWidget(root);
    const GP::Region damage = settle(pane);
    EXPECT_EQ(damage.bounds(), (GP::Rect{0, 0, 100, 100}));
    EXPECT_EQ(inner->getAbsolutePosition(), (GP::Point{55, 55}));
    EXPECT_EQ(inner->getVisibleRect(), (GP::Rect{55, 55, 100, 65}));
}

TEST(PaneUpdateTest, HiddenSubtreeLosesItsShownStateAndComesBack) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto panel = makeWidget(0, 0, 50, 50);
    auto leaf = makeWidget(0, 0, 10, 10);
    panel->addChild(leaf);
    root->addChild(panel);
    pane.setRootWidget(root);
    settle(pane);
    ASSERT_TRUE(leaf->isShown());
    panel->setVisible(false);
    settle(pane);
    EXPECT_FALSE(leaf->isShown());
    EXPECT_FALSE(leaf->isVisible());
    panel->setVisible(true);
    settle(pane);
    EXPECT_TRUE(leaf->isShown());
    EXPECT_EQ(leaf->shownCalls, (std::vector<bool>{true, false, true}));
}

TEST(PaneUpdateTest, OverlaySignalTellsFirstAndLastOverlay) {
    Pane pane;
    std::vector<bool> told;
    ScopedSignalConnection connection = pane.getOverlaySignal().connect([&told](bool any) { told.push_back(any); });
    auto first = std::make_shared<RecordingWidget>();
    auto second = std::make_shared<RecordingWidget>();
    pane.addWidget(first);
    pane.addWidget(second);
    pane.addWidget(nullptr);
    pane.removeWidget(first.get());
    pane.removeWidget(second.get());
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
}

TEST(PaneUpdateTest, NewRootTakesOverlaysOutOfTheirParents) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto overlayA = std::make_shared<RecordingWidget>();
    auto overlayB = std::make_shared<RecordingWidget>();
    root->addChild(overlayA);
    root->addChild(overlayB);
    pane.setRootWidget(root);
    pane.addWidget(overlayA);
    pane.addWidget(overlayB);
    // Leaving the pane removes each from the overlay list while the list is
    // walked.
    pane.setRootWidget(std::make_shared<RecordingWidget>());
    EXPECT_EQ(overlayA->getParent(), nullptr);
    EXPECT_EQ(overlayB->getParent(), nullptr);
    EXPECT_TRUE(pane.getOverlayWidgets().empty());
}

TEST(PaneUpdateTest, DestroyingThePaneDetachesItsTree) {
    auto root = std::make_shared<RecordingWidget>();
    auto child = std::make_shared<RecordingWidget>();
    root->addChild(child);
    {
        Pane pane;
        pane.setRootWidget(root);
        EXPECT_EQ(Pane::getLivePanes().back(), &pane);
    }
    EXPECT_EQ(root->getPane(), nullptr);
    EXPECT_EQ(child->getPane(), nullptr);
    EXPECT_TRUE(Pane::getLivePanes().empty());
}

}  // namespace
}  // namespace QX::NWL::Testing
