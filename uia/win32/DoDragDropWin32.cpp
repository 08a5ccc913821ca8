#include <windows.h>
#include <ole2.h>

#include "ClipboardWin32.h"
#include "DragImageWin32.h"
#include "DropSourceImplWin32.h"
#include "uia/DragDrop.h"

namespace QX::UIA::DETAIL {

std::uint32_t runPlatformDrag(const ClipBoardFormat& format, std::uint32_t allowedEffects, const DragImage& image) {
    // Our own initialisation, so that the end of the drag can balance it.
    const bool oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    IDataObject* dataObject = createDirectDataObject(format);
    auto* dropSource = new DropSourceImplWin32(createDragImage(dataObject, image));

    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(dataObject, dropSource, allowedEffects, &effect);
    std::uint32_t result = effect != DROPEFFECT_NONE ? effect : DropEffect::kNothingDropped;
    if (dropSource->wasCancelled())
        result = DropEffect::kCancelled;

    dropSource->Release();
    dataObject->Release();
    if (oleInitialized)
        OleUninitialize();
    return result;
}

}  // namespace QX::UIA::DETAIL
