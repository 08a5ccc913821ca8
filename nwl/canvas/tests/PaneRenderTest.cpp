#include <gtest/gtest.h>

#include <algorithm>
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
    void onGeometryChanged() override { log_.push_back(label_ + "/geometry"); }

private:
    std::vector<std::string>& log_;
    std::string label_;
    std::uint32_t colour_;
};

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
    void show(std::shared_ptr<Widget> rootWidget, std::int32_t width, std::int32_t height) {
        pane.setRootWidget(std::move(rootWidget), "root");
        pane.setSize(width, height);
        canvas.setSize(width, height);
        settle();
    }
    // root (100 x 60) holding a, b and c, which paints a foreground and holds d.
    void buildTree() {
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
        show(root, 100, 60);
    }
    void settle() {
        GP::Region ignored;
        pane.getDirtyRegion(ignored);
        log.clear();
    }

    RegionPoolHold pool;
    std::vector<std::string> log;
    Pane pane;
    BackgroundDrawingCanvas canvas;
    std::shared_ptr<RecordingWidget> root, a, b, c, d;
};

TEST_F(PaneRender, PaintsInOrderWithinTheRegion) {
    buildTree();
    const struct {
        GP::Rect region;
        int mode;
        std::vector<std::string> painted;
    } cases[] = {
        {{}, 3, {"root", "a", "b", "c", "d", "c/fg"}},
        {{}, 1, {"root", "a", "b", "c", "d", "c/fg"}},
        {{}, 2, {}},
        {{60, 10, 70, 20}, 3, {"root", "b"}},
        {{0, 40, 5, 45}, 3, {"root", "c", "c/fg"}},
        {{200, 200, 300, 300}, 3, {}},
    };
    for (const auto& test : cases) {
        log.clear();
        pane.render(canvas, GP::Region(test.region), test.mode);
        EXPECT_EQ(log, test.painted) << test.region.left << "," << test.region.top << " mode " << test.mode;
    }
    // A widget that is not drawn takes its children along.
    c->setFlags(WidgetFlag::kDrawn, false);
    log.clear();
    pane.render(canvas, GP::Region(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"root", "a", "b"}));
}

// An overlay outside the tree is laid out by the passes and painted over
// the tree; taken off, it is painted no more.
TEST_F(PaneRender, OverlaysOutsideTheTreeArePaintedOverIt) {
    buildTree();
    auto veil = make("veil", {20, 10, 60, 40}, 0xFFFF0000);
    pane.addWidget(veil);
    settle();
    const struct {
        int mode;
        std::vector<std::string> painted;
    } cases[] = {
        {3, {"root", "a", "b", "c", "d", "c/fg", "veil"}},
        {2, {"veil"}},
        {1, {"root", "a", "b", "c", "d", "c/fg"}},
    };
    for (const auto& test : cases) {
        log.clear();
        pane.render(canvas, GP::Region(), test.mode);
        EXPECT_EQ(log, test.painted) << "mode " << test.mode;
    }
    pane.render(canvas, GP::Region(), 3);
    EXPECT_EQ(Testing::pixelAt(canvas.getBuffer(), 59, 39), 0xFFFF0000u);

    pane.removeWidget(veil.get());
    GP::Region damage;
    pane.getDirtyRegion(damage);
    EXPECT_TRUE(damage.contains({59, 39}));
    log.clear();
    pane.render(canvas, damage, 3);
    EXPECT_EQ(std::count(log.begin(), log.end(), "veil"), 0);
    EXPECT_EQ(Testing::pixelAt(canvas.getBuffer(), 59, 39), 0xFF808080u);
}

// A widget that asks to hear of its geometry hears of each change once,
// after the paint: in the tree and in an overlay outside it alike.
TEST_F(PaneRender, ChangedGeometryIsToldOnceAfterThePaint) {
    buildTree();
    auto veil = make("veil", {20, 10, 60, 40}, 0xFFFF0000);
    d->setWantsGeometryNotifications(true);
    veil->setWantsGeometryNotifications(true);
    pane.addWidget(veil);
    settle();
    const auto told = [this] {
        std::vector<std::string> entries;
        for (const std::string& entry : log)
            if (entry.ends_with("/geometry")) entries.push_back(entry);
        log.clear();
        return entries;
    };
    using Told = std::vector<std::string>;

    pane.render(canvas, GP::Region(), 3);
    EXPECT_EQ(told(), (Told{"d/geometry", "veil/geometry"}));
    pane.render(canvas, GP::Region(), 3);
    EXPECT_EQ(told(), Told{});

    veil->setPosition(30, 20);
    settle();
    pane.render(canvas, GP::Region(), 3);
    EXPECT_EQ(told(), Told{"veil/geometry"});

    d->setPosition(12, 5);
    settle();
    pane.render(canvas, GP::Region(), 3);
    EXPECT_EQ(told(), Told{"d/geometry"});
}

// The program's root is a pixel larger than its window: repaints keep to
// the canvas, and its last pixel is still painted.
TEST_F(PaneRender, RootLargerThanTheCanvasStaysInside) {
    root = make("root", {0, 0, 628, 336}, 0xFF336699);
    show(root, 627, 335);
    root->setSize(628, 336);
    settle();
    for (const GP::Rect& rect : {GP::Rect{}, GP::Rect{600, 300, 700, 400}}) {
        canvas.clear(0);
        pane.render(canvas, GP::Region(rect), 3);
        EXPECT_EQ(Testing::pixelAt(canvas.getBuffer(), 626, 334), 0xFF336699u);
    }
}

TEST_F(PaneRender, DamageStopsAtAWidgetTakenWhole) {
    buildTree();
    d->invalidateRegion({0, 0, 5, 5});
    GP::Region damage;
    pane.getDirtyRegion(damage);
    EXPECT_EQ(damage.bounds(), (GP::Rect{10, 35, 15, 40}));

    d->invalidateRegion({0, 0, 5, 5});
    c->markDirty();
    damage.clear();
    pane.getDirtyRegion(damage);
    EXPECT_EQ(damage.bounds(), (GP::Rect{0, 30, 100, 60}));
    // What lay below the whole widget went along with it.
    damage.clear();
    pane.getDirtyRegion(damage);
    EXPECT_TRUE(damage.isEmpty());
}

}  // namespace
}  // namespace QX::NWL
