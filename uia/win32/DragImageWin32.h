#pragma once
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include "uia/DragDrop.h"

namespace QX::UIA::DETAIL {

// The system's drag-image object initialised with a bitmap of the picture
// and stored in the data object; null when there is no picture or the
// system has no such object.
IDragSourceHelper* createDragImage(IDataObject* dataObject, const DragImage& image);

}  // namespace QX::UIA::DETAIL
