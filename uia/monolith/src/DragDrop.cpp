#include "uia/DragDrop.h"

#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/EventTarget.h"
#include "uia/InternalClipBoardFormat.h"

namespace QX::UIA {
namespace DETAIL {

DragState& getDragState() {
    static DragState state;
    return state;
}

}  // namespace DETAIL

bool sendEventToTargetAndObservers(EventTarget* target, std::uint32_t eventId, void* data) {
    const bool answer = target ? target->sendEvent(eventId, data) : false;
    // A copy: an observer may end the drag and clear the list.
    const std::vector<EventTarget*> observers = DETAIL::getDragState().observers;
    for (EventTarget* observer : observers)
        observer->sendNotification(eventId, data);
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
    EventTarget* previous = state.currentTarget;
    state.currentTarget = nullptr;
    state.currentEffect = DropEffect::kNone;

    bool handled = false;
    if (owner && isOfferedTo(nativeWindow, record.dragData))
        handled = owner->sendEvent(EventId::kDragOver, &record);
    if (handled) {
        if (record.target) {
            state.currentTarget = record.target;
            state.currentEffect = record.effect & ~DropEffect::kFirstObserverIsTarget;
        } else if (record.effect == DropEffect::kFirstObserverIsTarget && !record.observers.empty()) {
            state.currentTarget = record.observers.front();
            state.currentEffect = DropEffect::kNone;
        }
    }
    if (previous && previous != state.currentTarget)
        previous->sendEvent(EventId::kDragLeave, &record);
    state.observers = record.observers;
    return handled;
}

}  // namespace QX::UIA
