#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "uia/DragDrop.h"
#include "uia/EventIds.h"
#include "uia/WindowEvents.h"

namespace QX::NWL::Testing {
namespace {

namespace Id = UIA::EventId;
using Targets = DragDropEventTarget::TargetList;

TEST(DragDropTest, PlainPressWithoutADragPredicateIsAPress) {
    auto widget = std::make_shared<RecordingWidget>();
    WidgetMouseEvent press{3, 4, 0, 1, kMousePressed};
    EXPECT_NO_THROW(widget->dispatchMouseEvent(WidgetMouseId::press(1), press));
    EXPECT_NO_THROW(widget->dispatchMouseEvent(WidgetMouseId::drag(1), press));
    EXPECT_EQ(widget->mouseIds, (std::vector<std::uint32_t>{100002, 100026}));
}

TEST(DragDropTest, PressThatMayStartADragIsTakenByTheDragSource) {
    auto widget = std::make_shared<RecordingWidget>();
    widget->setDragStartPredicate([](const UIA::MouseButtonEvent&) { return true; });
    WidgetMouseEvent press{3, 4, 0, 1, kMousePressed};
    widget->dispatchMouseEvent(WidgetMouseId::press(1), press);
    EXPECT_TRUE(widget->mouseIds.empty());
    // Too close to the press: still tracking, the move is swallowed.
    widget->dispatchMouseEvent(WidgetMouseId::drag(1), press);
    EXPECT_TRUE(widget->mouseIds.empty());
    // Far enough without a drag action: a drag starts and nothing happens.
    WidgetMouseEvent far{30, 40, 0, 1, 0};
    EXPECT_NO_THROW(widget->dispatchMouseEvent(WidgetMouseId::drag(1), far));
    EXPECT_TRUE(widget->mouseIds.empty());
}

TEST(DragDropTest, DragActionRunsWhenTheDragStarts) {
    auto widget = std::make_shared<RecordingWidget>();
    int started = 0;
    widget->setDragStartPredicate([](const UIA::MouseButtonEvent&) { return true; });
    widget->setDragAction([&started](const WidgetMouseEvent&) { ++started; });
    widget->dispatchMouseEvent(WidgetMouseId::press(1), WidgetMouseEvent{0, 0, 0, 1, kMousePressed});
    widget->dispatchMouseEvent(WidgetMouseId::drag(1), WidgetMouseEvent{20, 0, 0, 1, 0});
    EXPECT_EQ(started, 1);
}

TEST(DragDropTest, RecordsThatCannotDecideAreRefused) {
    auto widget = std::make_shared<RecordingWidget>();
    EXPECT_FALSE(widget->addDropTarget(Targets::kGeneral, DropTargetRecord{}));
    EXPECT_FALSE(widget->addDropTarget(Targets::kInternalData, DropTargetRecord{}));
    UIA::DragEventData drag;
    EXPECT_FALSE(widget->sendEvent(Id::kDragOver, &drag));
    EXPECT_FALSE(widget->sendEvent(Id::kDrop, &drag));
}

TEST(DragDropTest, AcceptingTargetTakesDropAndLeave) {
    auto widget = std::make_shared<RecordingWidget>();
    bool acceptNow = false;
    int left = 0;
    DropTargetRecord record;
    record.accepts = [&acceptNow](std::uint32_t, UIA::DragEventData*) { return acceptNow; };
    record.leave = [&left](UIA::DragEventData*) { ++left; };
    ASSERT_TRUE(widget->addDropTarget(Targets::kGeneral, record));
    UIA::DragEventData drag;
    EXPECT_FALSE(widget->sendEvent(Id::kDragOver, &drag));
    EXPECT_FALSE(widget->sendEvent(Id::kDrop, &drag));
    acceptNow = true;
    EXPECT_TRUE(widget->sendEvent(Id::kDragOver, &drag));
    EXPECT_FALSE(widget->sendEvent(Id::kDrop, &drag));  // no drop operation
    EXPECT_TRUE(widget->sendEvent(Id::kDragLeave, &drag));
    EXPECT_EQ(left, 1);
    EXPECT_EQ(widget->getCurrentDropTarget(), nullptr);
}

}  // namespace
}  // namespace QX::NWL::Testing
