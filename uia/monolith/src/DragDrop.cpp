#include "uia/DragDrop.h"

#include <algorithm>
#include <iterator>

#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/EventTarget.h"
#include "uia/InternalClipBoardFormat.h"

namespace QX::UIA {
namespace DETAIL {

DragState& getDragState() {
    // Never destroyed: targets that are statics themselves forget their
    // part in it when they go at exit.
    static DragState& state = *new DragState;
    return state;
}

namespace {

std::vector<HeldDragTargets*>& heldTargets() {
    static auto& held = *new std::vector<HeldDragTargets*>;
    return held;
}

}  // namespace

HeldDragTargets::HeldDragTargets(std::vector<EventTarget*> targets) : targets_(std::move(targets)) {
    heldTargets().push_back(this);
}

HeldDragTargets::~HeldDragTargets() {
    auto& held = heldTargets();
    held.erase(std::find(held.begin(), held.end(), this));
}

void HeldDragTargets::forget(EventTarget* target) {
    std::replace(targets_.begin(), targets_.end(), target, static_cast<EventTarget*>(nullptr));
}

void forgetDragTarget(EventTarget* target) {
    DragState& state = getDragState();
    if (state.currentTarget == target) {
        state.currentTarget = nullptr;
        state.currentEffect = DropEffect::kNone;
    }
    if (state.dragSourceTarget == target)
        state.dragSourceTarget = nullptr;
    state.observers.erase(std::remove(state.observers.begin(), state.observers.end(), target),
                          state.observers.end());
    for (HeldDragTargets* held : heldTargets())
        held->forget(target);
}

}  // namespace DETAIL

bool sendEventToTargetAndObservers(EventTarget* target, std::uint32_t eventId, void* data) {
    const bool answer = target ? target->sendEvent(eventId, data) : false;
    // A copy: an observer may end the drag and clear the list, or go.
    DETAIL::HeldDragTargets observers(DETAIL::getDragState().observers);
    for (EventTarget* observer : observers.get()) {
        if (observer)
            observer->sendNotification(eventId, data);
    }
    return answer;
}

namespace {

// Internal objects carry raw pointers of the window they were dragged
// from; any other window must not see them.
bool isOfferedTo(void* nativeWindow, DragData* drag) {
    InternalClipBoardFormat internal;
    if (!readDragFormat(drag, internal) || !internal.getObject())
        return true;
    return !internal.getSourceWindowHandle() || internal.getSourceWindowHandle() == nativeWindow;
}

}  // namespace

bool dispatchDragOver(void* nativeWindow, DragEventData& record, EventTarget* owner) {
    DETAIL::DragState& state = DETAIL::getDragState();
    DETAIL::HeldDragTargets previous(state.currentTarget);
    state.currentTarget = nullptr;
    state.currentEffect = DropEffect::kNone;

    bool handled = false;
    if (owner && isOfferedTo(nativeWindow, record.dragData))
        handled = owner->sendEvent(EventId::kDragOver, &record);
    // The drag-leave below may take one of the named observers away.
    DETAIL::HeldDragTargets observers(record.observers);
    if (handled) {
        if (record.target) {
            state.currentTarget = record.target;
            state.currentEffect = record.effect & ~DropEffect::kFirstObserverIsTarget;
        } else if (record.effect == DropEffect::kFirstObserverIsTarget && !record.observers.empty()) {
            state.currentTarget = record.observers.front();
            state.currentEffect = DropEffect::kNone;
        }
    }
    if (previous.front() && previous.front() != state.currentTarget)
        previous.front()->sendEvent(EventId::kDragLeave, &record);
    state.observers.clear();
    std::copy_if(observers.get().begin(), observers.get().end(), std::back_inserter(state.observers),
                 [](EventTarget* observer) { return observer != nullptr; });
    return handled;
}

}  // namespace QX::UIA
