#pragma once
#include "uia/ClipBoardFormat.h"

namespace QX::UIA {

// Puts one format on the system clipboard, where it stays after the call
// and after the calling thread; false when the system refuses.
bool writeClipboardFormat(const ClipBoardFormat& format);
// Fills the format from the system clipboard; false (format unchanged) when
// the clipboard does not offer it.
bool readClipboardFormat(ClipBoardFormat& format);

}  // namespace QX::UIA
