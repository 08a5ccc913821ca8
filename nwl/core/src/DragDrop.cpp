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
    currentDropTarget_.reset();
    generalTargets_.clear();
    internalDataTargets_.clear();
    leaveObservers_.clear();
}

const DropTargetRecord* DragDropEventTarget::getCurrentDropTarget() const {
    if (!currentDropTarget_)
        return nullptr;
    const auto& list = currentDropTarget_->list == TargetList::kGeneral ? generalTargets_ : internalDataTargets_;
    return currentDropTarget_->index < list.size() ? &list[currentDropTarget_->index] : nullptr;
}

std::optional<DragDropEventTarget::tTargetRef> DragDropEventTarget::findInternalDataTarget(
    UIA::DragEventData* drag) const {
    if (internalDataTargets_.empty() || !drag)
        return std::nullopt;
    const UIA::InternalObject* object = UIA::getAnyInternalDragData(drag->dragData);
    if (!object)
        return std::nullopt;
    for (std::size_t i = 0; i < internalDataTargets_.size(); ++i) {
        const DropTargetRecord& target = internalDataTargets_[i];
        if (target.internalTypeId == object->getTypeId() && target.acceptsInternalData &&
            target.acceptsInternalData(drag))
            return tTargetRef{TargetList::kInternalData, i};
    }
    return std::nullopt;
}

bool DragDropEventTarget::onEvent(std::uint32_t eventId, void* data) {
    auto* drag = static_cast<UIA::DragEventData*>(data);
    switch (eventId) {
    case UIA::EventId::kDragOver:
        currentDropTarget_ = findInternalDataTarget(drag);
        if (currentDropTarget_)
            return true;
        for (std::size_t i = 0; i < generalTargets_.size(); ++i) {
            const DropTargetRecord& target = generalTargets_[i];
            if (target.accepts && target.accepts(eventId, drag)) {
                currentDropTarget_ = tTargetRef{TargetList::kGeneral, i};
                return true;
            }
        }
        return false;
    case UIA::EventId::kDrop: {
        const DropTargetRecord* target = getCurrentDropTarget();
        if (target && target->drop) {
            // A copy: the drop operation may edit the records.
            const auto drop = target->drop;
            return drop(drag);
        }
        return UIA::EventTarget::onEvent(eventId, data);
    }
    case UIA::EventId::kDragLeave: {
        const DropTargetRecord* target = getCurrentDropTarget();
        if (!target)
            return UIA::EventTarget::onEvent(eventId, data);
        // Forgotten first: the leave operation may add or remove records.
        const auto leave = target->leave;
        currentDropTarget_.reset();
        if (leave)
            leave(drag);
        return true;
    }
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
