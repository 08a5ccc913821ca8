#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gp/Region.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/core/Pane.h"
#include "nwl/core/Widget.h"
#include "CanvasTestSupport.h"

namespace QX::NWL {
namespace {

using TEST::pixelAt;

// A widget that fills itself and writes down each paint call.
class RecordingWidget : public Widget {
public:
    RecordingWidget(std::vector<std::string>& log, std::string label, std::uint32_t colour)
        : log_(log), label_(std::move(label)), colour_(colour) {}

    std::string_view getTypeName() const override { return "Recording"; }
    void paint(PaintContext& context) override {
        log_.push_back(label_ + (context.phase == PaintContext::kForeground ? "/fg" : ""));
        context.canvas.fillRectBlended(GP::Rect{0, 0, getWidth(), getHeight()}, colour_);
    }

private:
    std::vector<std::string>& log_;
    std::string label_;
    std::uint32_t colour_;
};

// Regions need the pool for as long as any widget lives.
struct RegionPoolHold {
    RegionPoolHold() { GP::acquireRegionPool(); }
    ~RegionPoolHold() { GP::releaseRegionPool(); }
};

class PaneRender : public ::testing::Test {
protected:

    std::shared_ptr<RecordingWidget> make(const std::string& label, GP::Rect rect, std::uint32_t colour = 0xFF808080) {
        auto widget = std::make_shared<RecordingWidget>(log, label, colour);
        widget->setExplicitlyPlaced(true);
        widget->setPosition(rect.left, rect.top);
        widget->setSize(std::int32_t(rect.width()), std::int32_t(rect.height()));
        return widget;
    }

    // root (0,0 100x60) with a, b and a foreground-painting c holding d.
    void buildTree() {
        pane = std::make_unique<Pane>();
        root = make("root", {0, 0, 100, 60}, 0xFF000000);
        a = make("a", {0, 0, 40, 30});
        b = make("b", {50, 0, 100, 30});
        c = make("c", {0, 30, 100, 60});
        d = make("d", {10, 5, 30, 25});
        c->setFlags(WidgetFlag::kPaintsForeground, true);
        root->addChild(a, "a");
        root->addChild(b, "b");
        root->addChild(c, "c");
        c->addChild(d, "d");
        pane->setRootWidget(root, "root");
        pane->setSize(100, 60);
        canvas.setSize(100, 60);
        settle();
    }
    void settle() {
        GP::Region ignored;
        pane->getDirtyRegion(ignored);
        log.clear();
    }

    RegionPoolHold pool;
    std::vector<std::string> log;
    std::unique_ptr<Pane> pane;
    BackgroundDrawingCanvas canvas;
    std::shared_ptr<RecordingWidget> root, a, b, c, d;
};

TEST_F(PaneRender, PaintsInOrderWithinTheRegion) {
    buildTree();
    struct tCase {
        GP::Rect region;
        int mode;
        std::vector<std::string> painted;
    };
    const tCase cases[] = {
        {{0, 0, 0, 0}, 3, {"root", "a", "b", "c", "d", "c/fg"}},
        {{0, 0, 0, 0}, 1, {"root", "a", "b", "c", "d", "c/fg"}},
        {{0, 0, 0, 0}, 2, {}},
        {{60, 10, 70, 20}, 3, {"root", "b"}},
        {{0, 40, 5, 45}, 3, {"root", "c", "c/fg"}},
        {{200, 200, 300, 300}, 3, {}},
    };
    for (const auto& c : cases) {
        log.clear();
        GP::Region region(c.region);
        pane->render(canvas, region, c.mode);
        EXPECT_EQ(log, c.painted) << c.region.left << "," << c.region.top << " mode " << c.mode;
    }
}

TEST_F(PaneRender, HiddenWidgetsAndTheirChildrenAreNotPainted) {
    buildTree();
    c->setFlags(WidgetFlag::kDrawn, false);
    a->setVisible(false);
    settle();
    pane->render(canvas, GP::Region(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"root", "b"}));
}

TEST_F(PaneRender, ClearsOnlyTheRegionUnlessOverlaysOnly) {
    buildTree();
    canvas.clear(0xFFFFFFFF);
    const GP::Region region(GP::Rect{60, 40, 70, 50});
    pane->render(canvas, region, 2);
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 65, 45), 0xFFFFFFFFu);
    c->setFlags(WidgetFlag::kPaintsForeground | WidgetFlag::kPaintsBackground, false);
    root->setFlags(WidgetFlag::kPaintsBackground, false);
    pane->render(canvas, region, 1);
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 65, 45), 0u);
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 59, 45), 0xFFFFFFFFu);
}

// The program's root is a pixel larger than its window: repaints keep to
// the canvas, and its last pixel is still painted.
TEST_F(PaneRender, RootLargerThanTheCanvasStaysInside) {
    pane = std::make_unique<Pane>();
    root = make("root", {0, 0, 628, 336}, 0xFF336699);
    pane->setRootWidget(root, "root");
    pane->setSize(627, 335);
    root->setSize(628, 336);
    settle();
    canvas.setSize(627, 335);
    for (const GP::Rect& rect : {GP::Rect{}, GP::Rect{600, 300, 700, 400}}) {
        canvas.clear(0);
        pane->render(canvas, GP::Region(rect), 3);
        EXPECT_EQ(pixelAt(canvas.getBuffer(), 626, 334), 0xFF336699u);
    }
}

TEST_F(PaneRender, DamageStopsAtAWidgetTakenWhole) {
    buildTree();
    d->invalidateRegion({0, 0, 5, 5});
    GP::Region damage;
    pane->getDirtyRegion(damage);
    EXPECT_EQ(damage.bounds(), (GP::Rect{10, 35, 15, 40}));

    d->invalidateRegion({0, 0, 5, 5});
    c->markDirty();
    damage.clear();
    pane->getDirtyRegion(damage);
    EXPECT_EQ(damage.bounds(), (GP::Rect{0, 30, 100, 60}));
    // What lay below the whole widget was taken along with it.
    EXPECT_TRUE(d->getInvalidRegion().isEmpty());
    damage.clear();
    pane->getDirtyRegion(damage);
    EXPECT_TRUE(damage.isEmpty());
}

TEST_F(PaneRender, TheCanvasScaleReachesThePaneAndItsWidgets) {
    buildTree();
    canvas.setScale(2.0f);
    pane->render(canvas, GP::Region(), 3);
    EXPECT_EQ(pane->getScale(), 2.0f);
    EXPECT_EQ(d->getScale(), 2.0f);
    // d at (10, 35) logical, 20 x 20, is (20, 70) to (60, 110) in pixels.
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 20, 70), 0xFF808080u);
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 59, 109), 0xFF808080u);
}

}  // namespace
}  // namespace QX::NWL
