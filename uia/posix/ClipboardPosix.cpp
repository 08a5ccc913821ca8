#include <cstdint>
#include <cstring>
#include <vector>

#include "uia/Clipboard.h"
#include "uia/GlobalMemory.h"

// The native build has no system clipboard: one format at a time is kept in
// the process, as bytes.
namespace QX::UIA {
namespace {

struct tStoredFormat {
    std::uint32_t formatId = 0;
    std::vector<unsigned char> bytes;
};

tStoredFormat& storedFormat() {
    static tStoredFormat stored;
    return stored;
}

}  // namespace

bool writeClipboardFormat(const ClipBoardFormat& format) {
    void* block = format.writeToGlobal();
    if (!block)
        return false;
    tStoredFormat& stored = storedFormat();
    {
        DETAIL::GlobalBlockLock lock(block);
        const auto* data = static_cast<const unsigned char*>(lock.data());
        stored.formatId = format.getFormatId();
        stored.bytes.assign(data, data + lock.size());
    }
    DETAIL::freeGlobalBlock(block);
    return true;
}

bool readClipboardFormat(ClipBoardFormat& format) {
    const tStoredFormat& stored = storedFormat();
    if (stored.formatId == 0 || stored.formatId != format.getFormatId())
        return false;
    void* block = DETAIL::allocateGlobalBlock(stored.bytes.size());
    if (!block)
        return false;
    {
        DETAIL::GlobalBlockLock lock(block);
        if (!stored.bytes.empty())
            std::memcpy(lock.data(), stored.bytes.data(), stored.bytes.size());
    }
    const bool read = format.readFromGlobal(block);
    DETAIL::freeGlobalBlock(block);
    return read;
}

}  // namespace QX::UIA
