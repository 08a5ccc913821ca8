// Feeds arbitrary bytes, as a block handed over by another program, to the
// clipboard formats: each must read it or refuse it without reading past it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "uia/FileListClipBoardFormat.h"
#include "uia/GlobalMemory.h"
#include "uia/InternalClipBoardFormat.h"
#include "uia/TextClipBoardFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace QX::UIA;
    void* block = DETAIL::allocateGlobalBlock(size);
    if (!block)
        return 0;
    {
        DETAIL::GlobalBlockLock lock(block);
        if (size > 0)
            std::memcpy(lock.data(), data, size);
    }
    FileListClipBoardFormat files;
    if (files.readFromGlobal(block))
        for (const auto& path : files.getPaths())
            (void)path.toString();
    TextClipBoardFormat text;
    if (text.readFromGlobal(block))
        (void)text.getText();
    InternalClipBoardFormat internal;
    (void)internal.readFromGlobal(block);
    DETAIL::freeGlobalBlock(block);
    return 0;
}
