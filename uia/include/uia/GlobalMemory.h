#pragma once
#include <cstddef>

namespace QX::UIA::DETAIL {

// Blocks of the platform's global memory, the currency of the clipboard and
// of drag and drop: an HGLOBAL in the program build, a heap block natively.
// Handles are opaque.

// A zero-filled movable block; null when it cannot be allocated.
void* allocateGlobalBlock(std::size_t size);
void freeGlobalBlock(void* block);
std::size_t getGlobalBlockSize(void* block);
void* lockGlobalBlock(void* block);
void unlockGlobalBlock(void* block);

// Keeps a block locked for the lifetime of the object.
class GlobalBlockLock {
public:
    explicit GlobalBlockLock(void* block)
        : block_(block), data_(block ? lockGlobalBlock(block) : nullptr),
          size_(data_ ? getGlobalBlockSize(block) : 0) {}
    ~GlobalBlockLock() {
        if (data_)
            unlockGlobalBlock(block_);
    }
    GlobalBlockLock(const GlobalBlockLock&) = delete;
    GlobalBlockLock& operator=(const GlobalBlockLock&) = delete;

    void* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void* block_;
    void* data_;
    std::size_t size_;
};

}  // namespace QX::UIA::DETAIL
