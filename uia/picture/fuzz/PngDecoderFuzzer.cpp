// Feeds arbitrary bytes, and edits of a valid file, to the PNG decoder: it
// must fail or succeed cleanly.
#include <cstddef>
#include <cstdint>

#include "SeedMutation.h"
#include "seeds/PngSeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace QX::UIA;
    Fuzzing::decodeBoth(Fuzzing::kPngSeed, sizeof Fuzzing::kPngSeed, data, size,
                        [](Picture& picture, QX::GP::StorageIO& reader) { return picture.decodePng(reader, true); });
    return 0;
}
