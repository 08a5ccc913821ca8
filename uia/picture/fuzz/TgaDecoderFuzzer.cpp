// Feeds arbitrary bytes, and edits of a valid file, to the TGA decoder: it
// must fail or succeed cleanly.
#include <cstddef>
#include <cstdint>

#include "SeedMutation.h"
#include "seeds/TgaSeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace QX::UIA;
    Fuzzing::decodeBoth(Fuzzing::kTgaSeed, sizeof Fuzzing::kTgaSeed, data, size,
                        [](Picture& picture, QX::GP::StorageIO& reader) { return picture.decodeTga(reader, true); });
    return 0;
}
