#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "uia/GlobalMemory.h"

// The native build has no global memory: a block is a heap allocation that
// starts with its size.
namespace QX::UIA::DETAIL {
namespace {

struct tBlockHeader {
    std::size_t size;
    alignas(std::max_align_t) unsigned char data[1];
};

tBlockHeader* header(void* block) { return static_cast<tBlockHeader*>(block); }

}  // namespace

void* allocateGlobalBlock(std::size_t size) {
    void* memory = std::calloc(1, offsetof(tBlockHeader, data) + size);
    if (!memory)
        return nullptr;
    header(memory)->size = size;
    return memory;
}

void freeGlobalBlock(void* block) { std::free(block); }

std::size_t getGlobalBlockSize(void* block) { return block ? header(block)->size : 0; }

void* lockGlobalBlock(void* block) { return block ? header(block)->data : nullptr; }

void unlockGlobalBlock(void*) {}

}  // namespace QX::UIA::DETAIL
