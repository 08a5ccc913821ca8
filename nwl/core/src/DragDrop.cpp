#include "nwl/core/DragDrop.h"

#include "uia/DragDrop.h"
#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/InternalClipBoardFormat.h"

namespace QX::NWL {

bool DragDropEventTarget::addDropTarget(TargetList list, DropTargetRecord record) {
    switch (list) {
    case TargetList::kGeneral:
        if (!record.accepts)
            return false;
        generalTargets_.push_back(std::move(record));
        return true;
    case TargetList::kInternalData:
        if (!record.acceptsInternalData)
            return false;
        internalDataTargets_.push_back(std::move(record));
        return true;
    case TargetList::kLeaveObservers:
        leaveObservers_.push_back(std::move(record));
        return true;
    }
    return false;
}

void DragDropEventTarget::clearDropTargets() {
    currentDropTarget_ = nullptr;
    generalTargets_.clear();
    internalDataTargets_.clear();
    leaveObservers_.clear();
}

const DropTargetRecord* DragDropEventTarget::findInternalDataTarget(UIA::DragEventData* drag) const {
    if (internalDataTargets_.empty() || !drag)
        return nullptr;
    const UIA::InternalObject* object = UIA::getAnyInternalDragData(drag->dragData);
    if (!object)
        return nullptr;
    for (const DropTargetRecord& target : internalDataTargets_) {
        if (target.internalTypeId == object->getTypeId() && target.acceptsInternalData &&
            target.acceptsInternalData(drag))
            return &target;
    }
    return nullptr;
}

bool DragDropEventTarget::onEvent(std::uint32_t eventId, void* data) {
    auto* drag = static_cast<UIA::DragEventData*>(data);
    switch (eventId) {
    case UIA::EventId::kDragOver:
        currentDropTarget_ = findInternalDataTarget(drag);
        if (currentDropTarget_)
            return true;
        for (const DropTargetRecord& target : generalTargets_) {
            if (target.accepts && target.accepts(eventId, drag)) {
                currentDropTarget_ = &target;
                return true;
            }
        }
        return false;
    case UIA::EventId::kDrop:
        if (currentDropTarget_ && currentDropTarget_->drop)
            return currentDropTarget_->drop(drag);
        return UIA::EventTarget::onEvent(eventId, data);
    case UIA::EventId::kDragLeave:
        if (!currentDropTarget_)
            return UIA::EventTarget::onEvent(eventId, data);
        if (currentDropTarget_->leave)
            currentDropTarget_->leave(drag);
        currentDropTarget_ = nullptr;
        return true;
    default:
        return UIA::EventTarget::onEvent(eventId, data);
    }
}

void DragDropEventTarget::onNotification(std::uint32_t eventId, void* data) {
    if (eventId == UIA::EventId::kDragLeave) {
        for (const DropTargetRecord& target : leaveObservers_) {
            if (target.leave)
                target.leave(static_cast<UIA::DragEventData*>(data));
        }
    }
    UIA::EventTarget::onNotification(eventId, data);
}

bool DragDropSource::canStartDrag(const UIA::MouseButtonEvent& press) {
    return dragStartPredicate_ && dragStartPredicate_(press);
}

void DragDropSource::runDragAction(const WidgetMouseEvent& event) {
    if (dragAction_)
        dragAction_(event);
}

}  // namespace QX::NWL
