#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "nwl/core/WidgetTemplate.h"
#include "uia/EventIds.h"
#include "uia/WindowEvents.h"

namespace QX::NWL::Testing {
namespace {

class Templated : public WidgetTemplate<Templated> {
public:
    std::string_view getTypeName() const override { return "Templated"; }
    int own = 7;
};

TEST(WidgetTemplateTest, LayoutCallbackRunsOnlyWhenSetAndGetsTheConcreteWidget) {
    Pane pane;
    pane.setSize(50, 50);
    auto widget = std::make_shared<Templated>();
    pane.setRootWidget(widget);
    EXPECT_NO_THROW(settle(pane));
    int seen = 0;
    widget->setLayoutCallback([&seen](Templated& self) { seen = self.own; });
    EXPECT_NE(pane.getDirtyWord().load() & Pane::kLayoutBit, 0u);
    settle(pane);
    EXPECT_EQ(seen, 7);
}

TEST(WidgetTemplateTest, NewPaintCallbackAsksForARepaint) {
    Pane pane;
    pane.setSize(50, 50);
    auto widget = std::make_shared<Templated>();
    pane.setRootWidget(widget);
    settle(pane);
    widget->setPaintCallback([](Templated&, PaintContext&) {});
    EXPECT_EQ(pane.getDirtyWord().load(), Pane::kRepaintBit);
    EXPECT_EQ(settle(pane).bounds(), (GP::Rect{0, 0, 50, 50}));
}

// A widget that shields what lies below it.
class Shield : public RecordingWidget {
public:
    bool capturesPoint(bool inside, std::int32_t, std::int32_t) override { return inside; }
};

TEST(WidgetTemplateTest, CapturingWidgetTurnsMouseEventsIntoACaptureLoss) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto below = makeWidget(0, 0, 50, 50);
    auto shield = std::make_shared<Shield>();
    shield->setExplicitlyPlaced(true);
    shield->setSize(50, 50);
    root->addChild(below);
    root->addChild(shield);
    pane.setRootWidget(root);
    settle(pane);
    UIA::MousePositionEvent move{10, 10, 0};
    pane.handleEvent(UIA::EventId::kMouseMove, &move);
    UIA::MouseButtonEvent press{10, 10, 0, 1, UIA::kPressed};
    pane.handleEvent(UIA::EventId::kMouseButton, &press);
    EXPECT_TRUE(shield->mouseIds.empty());
    EXPECT_TRUE(below->mouseIds.empty());
    EXPECT_EQ(pane.getPressedWidget(), nullptr);
}

TEST(WidgetTemplateTest, OpaqueFlagsGiveTheVisibleAreaOrItsInside) {
    Pane pane;
    pane.setSize(100, 100);
    auto root = std::make_shared<RecordingWidget>();
    auto panel = makeWidget(10, 10, 40, 30);
    panel->setMargins(1, 2, 3, 4);
    root->addChild(panel);
    pane.setRootWidget(root);
    settle(pane);
    GP::Region opaque;
    EXPECT_FALSE(panel->getOpaqueRegion(opaque));
    panel->setFlags(WidgetFlag::kOpaque, true);
    ASSERT_TRUE(panel->getOpaqueRegion(opaque));
    EXPECT_EQ(opaque.bounds(), (GP::Rect{10, 10, 50, 40}));
    panel->setFlags(WidgetFlag::kOpaque, false);
    panel->setFlags(WidgetFlag::kOpaqueInsideMargins, true);
    ASSERT_TRUE(panel->getOpaqueRegion(opaque));
    EXPECT_EQ(opaque.bounds(), (GP::Rect{11, 12, 47, 36}));
    panel->invalidate();
    settle(pane);
    EXPECT_EQ(root->getChildrenOpaqueRegion().bounds(), (GP::Rect{11, 12, 47, 36}));
}

}  // namespace
}  // namespace QX::NWL::Testing
