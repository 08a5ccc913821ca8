// Feeds arbitrary bytes, and edits of a valid file, to the JPEG decoder: it
// must fail or succeed cleanly.
#include <cstddef>
#include <cstdint>

#include "SeedMutation.h"
#include "seeds/JpegSeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace QX::UIA;
    Fuzzing::decodeBoth(Fuzzing::kJpegSeed, sizeof Fuzzing::kJpegSeed, data, size,
                        [](Picture& picture, QX::GP::StorageIO& reader) { return picture.decodeJpeg(reader, true); });
    return 0;
}
