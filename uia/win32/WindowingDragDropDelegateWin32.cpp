#include <windows.h>
#include <ole2.h>

#include "ClipboardWin32.h"
#include "OleDropTargetWin32.h"
#include "uia/DragDropDelegate.h"

namespace QX::UIA {
namespace {

IDataObject* dataObjectOf(DragData* drag) {
    return drag ? static_cast<IDataObject*>(drag->dataObject) : nullptr;
}

}  // namespace

// Windows created from now on register OLE drop targets.
WindowingDragDropDelegate::WindowingDragDropDelegate() {
    DETAIL::setDropTargetFactory(DETAIL::registerOleDropTarget);
}

bool WindowingDragDropDelegate::readFormat(DragData* drag, ClipBoardFormat& format) {
    return readFormatFromDataObject(dataObjectOf(drag), format);
}

bool WindowingDragDropDelegate::hasFormat(DragData* drag, std::uint32_t formatId) {
    IDataObject* dataObject = dataObjectOf(drag);
    if (!dataObject)
        return false;
    FORMATETC request{static_cast<CLIPFORMAT>(formatId), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return dataObject->QueryGetData(&request) == S_OK;
}

}  // namespace QX::UIA
