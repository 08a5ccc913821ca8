#include "FreedMemoryCheck.h"

#include <malloc.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace QX::UIA::Test {
namespace {

constexpr unsigned char kFreedPattern = 0xDD;

// Plain storage only: operator delete must not allocate.
std::atomic<bool> gChecking{false};
std::array<void*, 4096> gKept{};
std::size_t gKeptCount = 0;

bool keepFreedBlock(void* block) {
    if (!gChecking.load() || gKeptCount == gKept.size()) return false;
    std::memset(block, kFreedPattern, malloc_usable_size(block));
    gKept[gKeptCount++] = block;
    return true;
}

bool patternIntact(const void* block) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    const std::size_t size = malloc_usable_size(const_cast<void*>(block));
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] != kFreedPattern) return false;
    return true;
}

}  // namespace

FreedMemoryCheck::FreedMemoryCheck() {
    gKeptCount = 0;
    gChecking.store(true);
}

FreedMemoryCheck::~FreedMemoryCheck() { end(); }

std::size_t FreedMemoryCheck::end() {
    gChecking.store(false);
    std::size_t written = 0;
    for (std::size_t i = 0; i < gKeptCount; ++i) {
        if (!patternIntact(gKept[i])) ++written;
        std::free(gKept[i]);
    }
    gKeptCount = 0;
    return written;
}

}  // namespace QX::UIA::Test

// The replacements every delete of the test program goes through.
void operator delete(void* block) noexcept {
    if (block != nullptr && !QX::UIA::Test::keepFreedBlock(block)) std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { ::operator delete(block); }
