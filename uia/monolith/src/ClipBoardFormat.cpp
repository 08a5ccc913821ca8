#include "uia/ClipBoardFormat.h"

#include <fmt/format.h>

#include <cstring>
#include <string>

#include "uia/ClipboardPlatform.h"
#include "uia/GlobalMemory.h"

namespace QX::UIA {
namespace {

constexpr std::uint32_t kSystemUnicodeTextFormat = 13;
constexpr std::uint32_t kSystemDroppedFilesFormat = 15;

// Its address names the internal format; with the process id the name also
// differs between two runs of the same build, since the payload holds raw
// pointers that mean nothing in another process.
const char internalFormatAnchor = 0;

std::string makeInternalFormatName() {
    return fmt::format("orvandel.application.internalclipboardformat.{}.{}",
                       fmt::ptr(&internalFormatAnchor), DETAIL::getCurrentProcessId());
}

}  // namespace

std::uint32_t getClipboardFormatId(std::string_view name) {
    if (name == kTextFormatName)
        return kSystemUnicodeTextFormat;
    if (name == kFileListFormatName)
        return kSystemDroppedFilesFormat;
    return DETAIL::registerClipboardFormatName(name);
}

std::uint32_t getTextFormatId() {
    static const std::uint32_t id = getClipboardFormatId(kTextFormatName);
    return id;
}

std::uint32_t getFileListFormatId() {
    static const std::uint32_t id = getClipboardFormatId(kFileListFormatName);
    return id;
}

std::uint32_t getInternalFormatId() {
    static const std::uint32_t id = getClipboardFormatId(makeInternalFormatName());
    return id;
}

bool RawDataClipBoardFormat::readFromGlobal(void* globalBlock) {
    DETAIL::GlobalBlockLock lock(globalBlock);
    if (!lock.data())
        return false;
    return setData(lock.data(), lock.size());
}

void* RawDataClipBoardFormat::writeToGlobal() const {
    const std::size_t size = getDataSize();
    void* block = DETAIL::allocateGlobalBlock(size);
    if (!block)
        return nullptr;
    {
        DETAIL::GlobalBlockLock lock(block);
        if (lock.data() && lock.size() >= size) {
            getData(lock.data());
            return block;
        }
    }
    DETAIL::freeGlobalBlock(block);
    return nullptr;
}

}  // namespace QX::UIA
