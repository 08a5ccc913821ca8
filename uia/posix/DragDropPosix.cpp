#include "uia/DragDropDelegate.h"

// The native build has no drag loop and no system data objects: drags end
// with nothing dropped and drag data offers no format.
namespace QX::UIA {

WindowingDragDropDelegate::WindowingDragDropDelegate() = default;

bool WindowingDragDropDelegate::readFormat(DragData*, ClipBoardFormat&) { return false; }

bool WindowingDragDropDelegate::hasFormat(DragData*, std::uint32_t) { return false; }

namespace DETAIL {

std::uint32_t runPlatformDrag(const ClipBoardFormat&, std::uint32_t, const DragImage&) {
    return DropEffect::kNothingDropped;
}

}  // namespace DETAIL
}  // namespace QX::UIA
