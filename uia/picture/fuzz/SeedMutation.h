#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"

namespace QX::UIA::Fuzzing {

// The libraries behind the decoders carry no coverage instrumentation, so
// raw bytes rarely get past their signature checks. Besides the raw input,
// each fuzzer decodes a valid seed file edited by the input: the first byte
// cuts bytes off its end, then every three bytes (offset high, offset low,
// value) overwrite one byte.
inline std::vector<std::uint8_t> mutateSeed(const std::uint8_t* seed, std::size_t seedSize, const std::uint8_t* data,
                                            std::size_t size) {
    std::vector<std::uint8_t> file(seed, seed + seedSize);
    if (size == 0) {
        return file;
    }
    const std::size_t cut = data[0] < 0xC0 ? 0 : std::size_t(data[0] - 0xC0) * 4;
    for (std::size_t i = 1; i + 2 < size; i += 3) {
        file[(std::size_t(data[i]) << 8 | data[i + 1]) % file.size()] = data[i + 2];
    }
    file.resize(file.size() - (cut < file.size() ? cut : file.size()));
    return file;
}

template <class Decode>
void decodeBoth(const std::uint8_t* seed, std::size_t seedSize, const std::uint8_t* data, std::size_t size,
                Decode decode) {
    for (const std::vector<std::uint8_t>& bytes :
         {std::vector<std::uint8_t>(data, data + size), mutateSeed(seed, seedSize, data, size)}) {
        QX::GP::MemoryStorage storage(bytes);
        QX::GP::StorageIO reader(&storage);
        Picture picture;
        if (decode(picture, reader)) {
            picture.updateRegionMasks();
        }
    }
}

}  // namespace QX::UIA::Fuzzing
