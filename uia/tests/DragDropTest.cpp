#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "uia/DragDrop.h"
#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/EventTarget.h"
#include "uia/InternalClipBoardFormat.h"
#include "uia/TextClipBoardFormat.h"

namespace QX::UIA {
namespace {

using tLog = std::vector<std::pair<char, std::uint32_t>>;  // 'e' event or 'n' notification

class RecordingTarget : public EventTarget {
public:
    explicit RecordingTarget(bool answer = true) : answer_(answer) {}
    tLog log;
    std::uint32_t lastResult = 0;
    std::function<void()> onNotified;  // runs after each notification
    std::function<void()> onEventSent;  // runs after each event

protected:
    bool onEvent(std::uint32_t id, void* data) override {
        log.emplace_back('e', id);
        if (id == EventId::kOwnDragEnded)
            lastResult = *static_cast<std::uint32_t*>(data);
        if (onEventSent)
            onEventSent();
        return answer_;
    }
    void onNotification(std::uint32_t id, void*) override {
        log.emplace_back('n', id);
        if (onNotified)
            onNotified();
    }

private:
    bool answer_;
};

// The window's owner: answers drag-over with what the test set.
class Owner : public EventTarget {
public:
    bool handles = true;
    EventTarget* target = nullptr;
    std::uint32_t effect = 0;
    std::vector<EventTarget*> observers;
    int dragOvers = 0;
    std::function<void()> whileAsked;  // runs while the owner answers drag-over

protected:
    bool onEvent(std::uint32_t id, void* data) override {
        if (id != EventId::kDragOver)
            return false;
        ++dragOvers;
        if (whileAsked)
            whileAsked();
        auto& record = *static_cast<DragEventData*>(data);
        record.target = target;
        record.effect = effect;
        record.observers = observers;
        return handles;
    }
};

class DragDispatch : public ::testing::Test {
protected:
    void TearDown() override { DETAIL::getDragState() = DETAIL::DragState{}; }

    bool dragOver() {
        DragEventData record;
        record.dragData = &drag;
        return dispatchDragOver(&window, record, &owner);
    }

    int window = 0;
    DragData drag;
    Owner owner;
};

TEST(SendToTargetAndObservers, TargetAnswersObserversAreNotified) {
    RecordingTarget target(true);
    RecordingTarget observer;
    DETAIL::getDragState().observers = {&observer};
    EXPECT_TRUE(sendEventToTargetAndObservers(&target, EventId::kDrop, nullptr));
    EXPECT_EQ(target.log, (tLog{{'e', EventId::kDrop}}));
    EXPECT_EQ(observer.log, (tLog{{'n', EventId::kDrop}}));

    EXPECT_FALSE(sendEventToTargetAndObservers(nullptr, EventId::kDragLeave, nullptr));
    EXPECT_EQ(observer.log.back(), (std::pair<char, std::uint32_t>{'n', EventId::kDragLeave}));
    DETAIL::getDragState() = DETAIL::DragState{};
}

TEST_F(DragDispatch, NamedTargetBecomesCurrentWithoutBit31) {
    RecordingTarget widget;
    owner.target = &widget;
    owner.effect = DropEffect::kCopy | DropEffect::kFirstObserverIsTarget;
    EXPECT_TRUE(dragOver());
    EXPECT_EQ(DETAIL::getDragState().currentTarget, &widget);
    EXPECT_EQ(DETAIL::getDragState().currentEffect, DropEffect::kCopy);
}

TEST_F(DragDispatch, FirstObserverStandsInAsTarget) {
    RecordingTarget first;
    RecordingTarget second;
    owner.effect = DropEffect::kFirstObserverIsTarget;
    owner.observers = {&first, &second};
    EXPECT_TRUE(dragOver());
    EXPECT_EQ(DETAIL::getDragState().currentTarget, &first);
    EXPECT_EQ(DETAIL::getDragState().currentEffect, DropEffect::kNone);
    EXPECT_EQ(DETAIL::getDragState().observers, (std::vector<EventTarget*>{&first, &second}));
}

TEST_F(DragDispatch, TargetThatLosesTheDragHearsOfIt) {
    RecordingTarget a;
    RecordingTarget b;
    owner.target = &a;
    owner.effect = DropEffect::kMove;
    dragOver();
    dragOver();
    EXPECT_TRUE(a.log.empty());  // still the target

    owner.target = &b;
    dragOver();
    EXPECT_EQ(a.log, (tLog{{'e', EventId::kDragLeave}}));
    EXPECT_EQ(DETAIL::getDragState().currentTarget, &b);

    owner.handles = false;
    EXPECT_FALSE(dragOver());
    EXPECT_EQ(b.log, (tLog{{'e', EventId::kDragLeave}}));
    EXPECT_EQ(DETAIL::getDragState().currentTarget, nullptr);
    EXPECT_EQ(DETAIL::getDragState().currentEffect, DropEffect::kNone);
}

TEST_F(DragDispatch, WithoutOwnerNothingIsOffered) {
    DragEventData record;
    EXPECT_FALSE(dispatchDragOver(&window, record, nullptr));
    EXPECT_EQ(DETAIL::getDragState().currentTarget, nullptr);
}

// A target, observer or drag source that goes during a drag is forgotten,
// never called afterwards.
TEST(DragStateForgetsTargets, EachRoleIsForgottenWhenItsTargetGoes) {
    auto target = std::make_unique<RecordingTarget>();
    auto goneObserver = std::make_unique<RecordingTarget>();
    RecordingTarget observer;
    auto source = std::make_unique<RecordingTarget>();
    DETAIL::DragState& state = DETAIL::getDragState();
    state.currentTarget = target.get();
    state.currentEffect = DropEffect::kCopy;
    state.observers = {goneObserver.get(), &observer};
    state.dragSourceTarget = source.get();

    target.reset();
    goneObserver.reset();
    source.reset();
    EXPECT_EQ(state.currentTarget, nullptr);
    EXPECT_EQ(state.currentEffect, DropEffect::kNone);
    EXPECT_EQ(state.observers, (std::vector<EventTarget*>{&observer}));
    EXPECT_EQ(state.dragSourceTarget, nullptr);
    sendEventToTargetAndObservers(nullptr, EventId::kDragLeave, nullptr);
    EXPECT_EQ(observer.log, (tLog{{'n', EventId::kDragLeave}}));
    state = DETAIL::DragState{};
}

TEST(DragStateForgetsTargets, ObserverRemovedByAnEarlierOneIsNotNotified) {
    RecordingTarget first;
    auto second = std::make_unique<RecordingTarget>();
    first.onNotified = [&] { second.reset(); };
    DETAIL::getDragState().observers = {&first, second.get()};
    sendEventToTargetAndObservers(nullptr, EventId::kDragLeave, nullptr);
    EXPECT_EQ(first.log, (tLog{{'n', EventId::kDragLeave}}));
    EXPECT_EQ(DETAIL::getDragState().observers, (std::vector<EventTarget*>{&first}));
    DETAIL::getDragState() = DETAIL::DragState{};
}

TEST_F(DragDispatch, PreviousTargetThatGoesMeanwhileHearsNothing) {
    auto previous = std::make_unique<RecordingTarget>();
    RecordingTarget next;
    DETAIL::getDragState().currentTarget = previous.get();
    owner.target = &next;
    owner.effect = DropEffect::kMove;
    owner.whileAsked = [&] { previous.reset(); };
    EXPECT_TRUE(dragOver());
    EXPECT_EQ(DETAIL::getDragState().currentTarget, &next);
    EXPECT_TRUE(next.log.empty());
}

TEST_F(DragDispatch, ObserverThatTheDragLeaveTakesAwayIsNotKept) {
    RecordingTarget previous;
    RecordingTarget next;
    auto gone = std::make_unique<RecordingTarget>();
    RecordingTarget kept;
    DETAIL::getDragState().currentTarget = &previous;
    previous.onEventSent = [&] { gone.reset(); };
    owner.target = &next;
    owner.effect = DropEffect::kMove;
    owner.observers = {gone.get(), &kept};
    EXPECT_TRUE(dragOver());
    ASSERT_EQ(previous.log, (tLog{{'e', EventId::kDragLeave}}));
    ASSERT_EQ(DETAIL::getDragState().observers, (std::vector<EventTarget*>{&kept}));

    // The next step reaches the observer that is left, and no other.
    sendEventToTargetAndObservers(&next, EventId::kDragLeave, nullptr);
    EXPECT_EQ(kept.log, (tLog{{'n', EventId::kDragLeave}}));
}

TEST(DragDropDelegates, NullInstallsTheNoOpDelegate) {
    setDragDropDelegate(nullptr);
    IDragDropDelegate* nop = getDragDropDelegate();
    ASSERT_NE(nop, nullptr);
    DragData drag;
    TextClipBoardFormat text;
    EXPECT_FALSE(nop->readFormat(&drag, text));
    EXPECT_FALSE(nop->hasFormat(&drag, getTextFormatId()));
    EXPECT_FALSE(nop->hasText(&drag));
    EXPECT_FALSE(nop->hasFileList(&drag));
    EXPECT_FALSE(nop->hasInternalData(&drag, 1));
    EXPECT_EQ(nop->getInternalData(&drag, 1), nullptr);
    EXPECT_EQ(nop->getAnyInternalData(&drag), nullptr);
    EXPECT_EQ(nop->getDataObject(&drag), nullptr);
    EXPECT_FALSE(nop->getText(&drag).has_value());
    EXPECT_FALSE(nop->getFileList(&drag).has_value());
    EXPECT_EQ(nop->getInternalTypeId("anything"), 0u);
    EXPECT_FALSE(hasDragFormat(&drag, getTextFormatId()));
    EXPECT_EQ(getAnyInternalDragData(&drag), nullptr);

    RecordingTarget source;
    InternalObject object(3);
    nop->dragInternalDataFromSource(&source, &object, nullptr, DropEffect::kCopy, DragImage{});
    EXPECT_TRUE(source.log.empty());
}

TEST(DragDropDelegates, WindowingDelegateNamesTypesLikeTheFormats) {
    auto delegate = createWindowingDragDropDelegate();
    EXPECT_EQ(delegate->getInternalTypeId("delegate.test.type"), getInternalTypeIdImpl("delegate.test.type"));
    DragData empty;
    EXPECT_FALSE(delegate->hasText(&empty));
    EXPECT_FALSE(delegate->getText(&empty).has_value());
    EXPECT_EQ(delegate->getDataObject(&empty), nullptr);
}

}  // namespace
}  // namespace QX::UIA
