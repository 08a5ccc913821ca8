#pragma once
#include <cstdint>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "nwl/core/WidgetEvents.h"
#include "uia/DropSource.h"
#include "uia/EventTarget.h"

namespace QX::UIA {
struct DragEventData;
struct MouseButtonEvent;
}  // namespace QX::UIA

namespace QX::NWL {

// One way a widget takes drags: whether it accepts a drag, what a drop does
// and what a leave does. Records for internal data also name the internal
// type they take and may ask the object itself.
struct DropTargetRecord {
    std::function<bool(std::uint32_t eventId, UIA::DragEventData* drag)> accepts;
    std::function<bool(UIA::DragEventData* drag)> acceptsInternalData;
    std::uint32_t internalTypeId = 0;
    std::function<bool(UIA::DragEventData* drag)> drop;
    std::function<void(UIA::DragEventData* drag)> leave;
};

// An event target that offers drag events (1300 over, 1301 drop, 1303 leave
// or end) to its drop-target records. The data of these events is the
// framework's drag record.
class DragDropEventTarget : public UIA::EventTarget {
public:
    enum class TargetList { kGeneral, kInternalData, kLeaveObservers };

    // Adds a record to one list; a record that cannot decide whether it
    // accepts a drag (no acceptance predicate in the general list, no type
    // or predicate in the internal-data list) is refused: false.
    bool addDropTarget(TargetList list, DropTargetRecord record);
    void clearDropTargets();
    // The record that accepted the last drag-over; null when none did.
    const DropTargetRecord* getCurrentDropTarget() const;

protected:
    bool onEvent(std::uint32_t eventId, void* data) override;
    void onNotification(std::uint32_t eventId, void* data) override;

private:
    // A record by its place, so that records added meanwhile never leave it
    // dangling.
    struct tTargetRef {
        TargetList list = TargetList::kGeneral;
        std::size_t index = 0;
    };

    std::optional<tTargetRef> findInternalDataTarget(UIA::DragEventData* drag) const;

    std::vector<DropTargetRecord> generalTargets_;
    std::vector<DropTargetRecord> internalDataTargets_;
    std::vector<DropTargetRecord> leaveObservers_;
    std::optional<tTargetRef> currentDropTarget_;
};

// The drag-source side of a widget: a predicate that says whether a press may
// start a drag, and the action that starts one. Without a predicate no drag
// starts; without an action a starting drag does nothing.
class DragDropSource : public UIA::DropSource {
public:
    using tDragStartPredicate = std::function<bool(const UIA::MouseButtonEvent& press)>;
    using tDragAction = std::function<void(const WidgetMouseEvent& event)>;

    void setDragStartPredicate(tDragStartPredicate predicate) { dragStartPredicate_ = std::move(predicate); }
    void setDragAction(tDragAction action) { dragAction_ = std::move(action); }

    bool canStartDrag(const UIA::MouseButtonEvent& press) override;

protected:
    void runDragAction(const WidgetMouseEvent& event);

private:
    tDragStartPredicate dragStartPredicate_;
    tDragAction dragAction_;
};

}  // namespace QX::NWL
