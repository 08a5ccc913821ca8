#include <windows.h>

#include "CursorsWin32.h"

namespace QX::UIA {
namespace {

// System cursor ids by shape; 0 means none.
constexpr int kCursorIds[kCursorShapeCount] = {
    32512, 32515, 32649, 32513, 32648, 32646, 32643, 32645, 32642,
    32644, 32516, 32514, 0,     32649, 32649, 32512, 32512,
};

HCURSOR gCursors[kCursorShapeCount] = {};
bool gCursorTableLoaded = false;

}  // namespace

void loadCursorTable() {
    for (int shape = 0; shape < kCursorShapeCount; ++shape)
        gCursors[shape] = kCursorIds[shape] != 0 ? LoadCursorW(nullptr, MAKEINTRESOURCEW(kCursorIds[shape])) : nullptr;
    gCursorTableLoaded = true;
}

void unloadCursorTable() {
    // System cursors are shared and never destroyed; forgetting them is enough.
    for (HCURSOR& cursor : gCursors) cursor = nullptr;
    gCursorTableLoaded = false;
}

bool isCursorTableLoaded() { return gCursorTableLoaded; }

void* getStandardCursor(int shape) {
    if (shape < 0 || shape >= kCursorShapeCount) return nullptr;
    return gCursors[shape];
}

void setCursorPosition(const GP::Point& screenPoint) { SetCursorPos(screenPoint.x, screenPoint.y); }

}  // namespace QX::UIA
