#pragma once
#include <windows.h>
#include <ole2.h>

#include "uia/ClipBoardFormat.h"

namespace QX::UIA {

// Fills the format from any data object (the clipboard's or a drag's).
bool readFormatFromDataObject(IDataObject* dataObject, ClipBoardFormat& format);
// A data object offering the format's block, with one reference.
IDataObject* createDirectDataObject(const ClipBoardFormat& format);

}  // namespace QX::UIA
