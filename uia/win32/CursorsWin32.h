#pragma once
#include "uia/Cursors.h"

namespace QX::UIA {

// The process-wide cursor table, loaded by the framework's start.
void loadCursorTable();
void unloadCursorTable();
bool isCursorTableLoaded();

}  // namespace QX::UIA
