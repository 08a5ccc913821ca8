#pragma once
#include <cstdint>
#include <vector>

#include "gp/Geometry.h"

namespace QX::UIA {

class ClipBoardFormat;
class EventTarget;
class Picture;

// Drop effects as the system counts them, and the results of a drag that
// this program started.
namespace DropEffect {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kCopy = 1;
inline constexpr std::uint32_t kMove = 2;
inline constexpr std::uint32_t kLink = 4;
inline constexpr std::uint32_t kCancelled = 64;
inline constexpr std::uint32_t kNothingDropped = 128;
// Alone in a drag record's effect: the first observer is the target.
inline constexpr std::uint32_t kFirstObserverIsTarget = 0x80000000;
}  // namespace DropEffect

// The data of one drag: the system's data object (an IDataObject* in the
// program build).
struct DragData {
    void* dataObject = nullptr;
};

// The data of events 1300, 1301 and 1303. The handler fills effect,
// observers and target.
struct DragEventData {
    std::int32_t x = 0;  // client coordinates
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;  // Shift 0x10000000, Ctrl 0x20000000, Alt 0x40000000
    DragData* dragData = nullptr;
    std::uint32_t effect = DropEffect::kNone;
    std::uint32_t allowedEffects = DropEffect::kNone;
    std::vector<EventTarget*> observers;  // told of every later drag event
    EventTarget* target = nullptr;        // accepts the drag
};

// The picture shown under the cursor while dragging, and where the cursor
// sits in it.
struct DragImage {
    const Picture* picture = nullptr;
    GP::Point offset;
};

// Sends the event to the target (false without one), then passes it as a
// notification to every observer of the current drag; answers the target's
// answer.
bool sendEventToTargetAndObservers(EventTarget* target, std::uint32_t eventId, void* data);

// One step of a drag over a native window: asks the owner (event 1300)
// which target accepts and with what effect, and tells a target that lost
// the drag (1303). Internal objects are offered only to the window they
// were dragged from (or anywhere when no window was recorded). Answers
// whether the owner handled it.
bool dispatchDragOver(void* nativeWindow, DragEventData& record, EventTarget* owner);

// Runs a drag of the format's data with the platform's drag loop; answers
// the system's drop effect, kCancelled (Escape) or kNothingDropped. The
// recorded drag source target then receives 1304 with the result.
std::uint32_t doDragDrop(const ClipBoardFormat& format, std::uint32_t allowedEffects,
                         const DragImage& image);

namespace DETAIL {

// The platform's part of doDragDrop: the drag loop itself.
std::uint32_t runPlatformDrag(const ClipBoardFormat& format, std::uint32_t allowedEffects,
                              const DragImage& image);

// What the process knows about the drag in progress.
struct DragState {
    EventTarget* currentTarget = nullptr;
    std::uint32_t currentEffect = DropEffect::kNone;
    std::vector<EventTarget*> observers;
    bool dragInProgress = false;          // this program runs a drag
    EventTarget* dragSourceTarget = nullptr;  // told when our drag ends
};

DragState& getDragState();

// Drops a target that is going from the drag state and from every
// HeldDragTargets; called by the target's destructor.
void forgetDragTarget(EventTarget* target);

// Targets a drag step keeps while it calls out: one destroyed meanwhile
// becomes null here instead of dangling.
class HeldDragTargets {
public:
    explicit HeldDragTargets(std::vector<EventTarget*> targets);
    explicit HeldDragTargets(EventTarget* target) : HeldDragTargets(std::vector<EventTarget*>{target}) {}
    ~HeldDragTargets();
    HeldDragTargets(const HeldDragTargets&) = delete;
    HeldDragTargets& operator=(const HeldDragTargets&) = delete;

    const std::vector<EventTarget*>& get() const { return targets_; }
    EventTarget* front() const { return targets_.empty() ? nullptr : targets_.front(); }
    void forget(EventTarget* target);

private:
    std::vector<EventTarget*> targets_;
};

}  // namespace DETAIL
}  // namespace QX::UIA
