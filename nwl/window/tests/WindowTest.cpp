#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gp/Region.h"
#include "uia/EventTimerManager.h"
#include "WindowTestSupport.h"

namespace QX::NWL {
namespace {

using UIA::EventId::kTimer;
using UIA::EventId::kWindowCreated;
using UIA::EventId::kWindowDestroyed;
using UIA::EventId::kWindowDpiChanged;
using UIA::EventId::kWindowResized;

constexpr std::uint32_t kRootColour = 0xFF102030;

using Testing::PaintingWidget;

class NoPlatformTimer : public UIA::AbstractEventTimerManagerOsBridge {
public:
    void startTimer(std::int32_t) override {}
    void stopTimer() override {}
};

struct RegionPoolHold {
    RegionPoolHold() { GP::acquireRegionPool(); }
    ~RegionPoolHold() { GP::releaseRegionPool(); }
};

class WidgetWindow : public ::testing::Test {
protected:
    using tWindow = Window<UIA::StandaloneWindow>;

    void SetUp() override {
        window = std::make_unique<tWindow>();
        auto impl = std::make_unique<Testing::FakeWindowImpl>(window.get());
        platform = impl.get();
        platform->client = GP::Rect{0, 0, 627, 335};
        window->attachImpl(std::move(impl));
        root = Testing::placePainting(kRootColour, {0, 0, 627, 335});
        first = Testing::placePainting(0xFF00FF00, {10, 10, 60, 30});
        second = Testing::placePainting(0xFF0000FF, {100, 10, 160, 30});
        root->addChild(first, "first");
        root->addChild(second, "second");
        window->setRootWidget(root, "root");
    }
    void TearDown() override { window.reset(); }

    bool send(std::uint32_t id, void* data = nullptr) { return window->sendEvent(id, data); }
    void create() {
        send(kWindowCreated);
        resetCounts();
    }
    void tick() {
        UIA::TimerEventData data;
        send(kTimer, &data);
    }
    void resetCounts() {
        platform->invalidated.clear();
        for (auto* widget : {root.get(), first.get(), second.get()}) widget->paints = 0;
    }
    std::uint32_t canvasPixel(std::uint32_t x, std::uint32_t y) { return window->getCanvas().getBuffer().getRow(y)[x]; }

    RegionPoolHold pool;
    UIA::EventTimerManager timers{std::make_unique<NoPlatformTimer>()};
    std::unique_ptr<tWindow> window;
    Testing::FakeWindowImpl* platform = nullptr;
    std::shared_ptr<PaintingWidget> root, first, second;
};

TEST_F(WidgetWindow, CreationSizesTheCanvasAndKeepsOneTimer) {
    send(kWindowCreated);
    send(kWindowCreated);
    EXPECT_EQ(timers.getRecords().size(), 1u);
    EXPECT_EQ(window->getCanvas().getBuffer().getWidth(), 627u);
    EXPECT_EQ(window->getCanvas().getBuffer().getHeight(), 335u);
    EXPECT_EQ(canvasPixel(626, 334), kRootColour);
    EXPECT_EQ(canvasPixel(20, 20), 0xFF00FF00u);
    EXPECT_EQ(platform->wholeInvalidations, 2);

    send(kWindowDestroyed);
    EXPECT_FALSE(window->hasTimer());
    EXPECT_TRUE(timers.getRecords().empty());
}

TEST_F(WidgetWindow, ATickRepaintsOnlyWhatChanged) {
    create();
    tick();
    EXPECT_TRUE(platform->invalidated.empty());
    EXPECT_EQ(root->paints + first->paints + second->paints, 0);

    second->colour = 0xFFFF0000;
    second->markDirty();
    tick();
    EXPECT_EQ(platform->invalidated, (std::vector<GP::Rect>{{100, 10, 160, 30}}));
    EXPECT_EQ(second->paints, 1);
    EXPECT_EQ(first->paints, 0);
    EXPECT_EQ(canvasPixel(120, 20), 0xFFFF0000u);
}

// A scale change reaches the canvas but not the pane; a window without an
// area renders nothing.
TEST_F(WidgetWindow, ScaleAndSizeChanges) {
    create();
    double scale = 2.0;
    send(kWindowDpiChanged, &scale);
    EXPECT_EQ(window->getCanvas().getBuffer().getWidth(), 1254u);
    EXPECT_EQ(window->Pane::getSize(), (Size{627, 335}));
    platform->client = GP::Rect{};
    EXPECT_TRUE(send(kWindowResized));
    EXPECT_EQ(window->Pane::getSize(), (Size{0, 0}));
    EXPECT_EQ(root->paints, 0);
}

// Unknown cursor numbers are ignored; the owner's user data is kept whole.
TEST_F(WidgetWindow, PaneOperationsReachTheWindow) {
    create();
    for (std::int32_t shape : {-1, 17, 99}) window->setCursorShape(shape);
    EXPECT_TRUE(platform->cursors.empty());
    window->setCursorShape(0);
    window->setCursorShape(12);
    EXPECT_EQ(platform->cursors.size(), 2u);

    void* const wide = reinterpret_cast<void*>(~std::uintptr_t(0) - 15);
    window->setWindowUserData(wide);
    EXPECT_EQ(window->getWindowUserData(), wide);
    window->clearWindowUserData();
    EXPECT_EQ(window->getWindowUserData(), nullptr);
}

TEST_F(WidgetWindow, DragOverGoesUpFromTheWidgetUnderThePoint) {
    create();
    struct tCase {
        bool firstAccepts;
        bool rootAccepts;
        bool answer;
        std::size_t rootOffers;
    };
    const tCase cases[] = {{true, false, true, 0}, {false, true, true, 1}, {false, false, false, 1}};
    for (const auto& c : cases) {
        first->acceptsDrags = c.firstAccepts;
        root->acceptsDrags = c.rootAccepts;
        root->dragPoints.clear();
        first->dragPoints.clear();
        UIA::DragEventData drag;
        drag.x = 15;
        drag.y = 12;
        EXPECT_EQ(send(UIA::EventId::kDragOver, &drag), c.answer);
        EXPECT_EQ(first->dragPoints, (std::vector<GP::Point>{{5, 2}}));
        EXPECT_EQ(root->dragPoints.size(), c.rootOffers);
        EXPECT_EQ(drag.x, 15);
        EXPECT_EQ(window->getPointerPosition(), (GP::Point{15, 12}));
    }
    UIA::DragEventData drop;
    EXPECT_FALSE(send(UIA::EventId::kDrop, &drop));
}

// A layered window is presented when it is rendered: on a tick only while
// it is visible, when flushed always.
TEST_F(WidgetWindow, ALayeredWindowIsPresentedWhenVisibleOrForced) {
    window->setLayered(true, true);
    create();
    EXPECT_EQ(platform->presentations, 1);
    struct tCase {
        bool visible;
        int presentations;
    };
    for (const tCase& c : {tCase{false, 0}, tCase{true, 1}}) {
        platform->visible = c.visible;
        platform->presentations = 0;
        second->markDirty();
        tick();
        EXPECT_EQ(platform->presentations, c.presentations) << c.visible;
    }
    platform->visible = false;
    platform->presentations = 0;
    window->flushDamage();
    EXPECT_EQ(platform->presentations, 1);
}

// The window answers no mouse event itself: the pane's answer stands.
TEST_F(WidgetWindow, WindowEventsBecomePaneState) {
    create();
    window->setHoverWidget(first.get());
    EXPECT_TRUE(send(UIA::EventId::kWindowCaptureLost));
    EXPECT_EQ(window->getHoverWidget(), nullptr);
}

}  // namespace
}  // namespace QX::NWL
