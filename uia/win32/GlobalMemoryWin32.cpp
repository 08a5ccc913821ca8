#include <windows.h>

#include "uia/GlobalMemory.h"

namespace QX::UIA::DETAIL {

void* allocateGlobalBlock(std::size_t size) {
    // Movable: the system clipboard takes only movable blocks.
    return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
}

void freeGlobalBlock(void* block) {
    if (block)
        GlobalFree(static_cast<HGLOBAL>(block));
}

std::size_t getGlobalBlockSize(void* block) { return GlobalSize(static_cast<HGLOBAL>(block)); }

void* lockGlobalBlock(void* block) { return GlobalLock(static_cast<HGLOBAL>(block)); }

void unlockGlobalBlock(void* block) { GlobalUnlock(static_cast<HGLOBAL>(block)); }

}  // namespace QX::UIA::DETAIL
