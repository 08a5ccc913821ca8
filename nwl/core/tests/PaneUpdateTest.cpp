#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "nwl/style/StyleParser2.h"
#include "nwl/style/StyleSheet.h"
#include "uia/EventIds.h"

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

// An overlay outside the tree belongs to the pane: the passes style it, lay
// it out and show it, and it is hit first. Taken off again, the pane forgets
// it and repaints what it covered.
TEST(PaneUpdateTest, AnOverlayOutsideTheTreeTakesPartInThePasses) {
    Pane pane;
    pane.setSize(100, 100);
    auto sheet = std::make_shared<StyleSheet>();
    ASSERT_TRUE(StyleParser2::processString(*sheet, "RecordingWidget#veil { width: 30; height: 20; x: 10; y: 5; }"));
    pane.setStyleSheet(sheet);
    pane.setRootWidget(std::make_shared<RecordingWidget>());
    settle(pane);

    auto veil = std::make_shared<RecordingWidget>();
    veil->setName("veil");
    veil->setTimerInterval(2);
    pane.addWidget(veil);
    const GP::Region shown = settle(pane);
    EXPECT_EQ(veil->getPane(), &pane);
    EXPECT_TRUE(veil->isShown());
    EXPECT_EQ(veil->getVisibleRect(), (GP::Rect{10, 5, 40, 25}));
    EXPECT_TRUE(shown.contains({10, 5}));
    EXPECT_TRUE(shown.contains({39, 24}));
    EXPECT_EQ(pane.getWidgetTimerCount(veil.get()), 2);
    const Pane::tHit hit = pane.widgetAt(UIA::EventId::kMouseMove, {20, 10});
    EXPECT_EQ(hit.widget, veil.get());
    EXPECT_TRUE(hit.overlay);

    pane.setHoverWidget(veil.get());
    pane.removeWidget(veil.get());
    EXPECT_EQ(veil->getPane(), nullptr);
    EXPECT_FALSE(veil->isShown());
    EXPECT_EQ(pane.getHoverWidget(), nullptr);
    EXPECT_EQ(pane.getWidgetTimerCount(veil.get()), 0);
    EXPECT_TRUE(pane.getOverlayWidgets().empty());
    const GP::Region uncovered = settle(pane);
    EXPECT_TRUE(uncovered.contains({10, 5}));
    EXPECT_TRUE(uncovered.contains({39, 24}));
    EXPECT_NE(pane.widgetAt(UIA::EventId::kMouseMove, {20, 10}).widget, veil.get());

    // A pane that goes first leaves it no pointer to itself.
    {
        Pane shortLived;
        shortLived.addWidget(veil);
        EXPECT_EQ(veil->getPane(), &shortLived);
    }
    EXPECT_EQ(veil->getPane(), nullptr);
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
