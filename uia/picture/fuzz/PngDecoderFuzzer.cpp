// Feeds arbitrary bytes to the PNG decoder: it must fail or succeed cleanly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QX::GP::MemoryStorage storage(std::vector<std::uint8_t>(data, data + size));
    QX::GP::StorageIO reader(&storage);
    QX::UIA::Picture picture;
    if (picture.decodePng(reader, true)) {
        picture.updateRegionMasks();
    }
    return 0;
}
