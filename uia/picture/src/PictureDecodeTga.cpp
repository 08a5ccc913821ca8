// TGA: uncompressed and run-length true-colour pictures of 16, 24 or 32 bits.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {
namespace {

constexpr std::uint8_t kTrueColour = 2;
constexpr std::uint8_t kRunLengthTrueColour = 10;
constexpr std::uint8_t kTopLeftOrigin = 0x20;

struct tTgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapOrigin = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntrySize = 0;
    std::uint16_t xOrigin = 0;
    std::uint16_t yOrigin = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t pixelDepth = 0;
    std::uint8_t descriptor = 0;
};

bool readHeader(GP::StorageIO& reader, tTgaHeader& h) {
    return reader.readUInt8(h.idLength) && reader.readUInt8(h.colourMapType) && reader.readUInt8(h.imageType) &&
           reader.readUInt16(h.colourMapOrigin) && reader.readUInt16(h.colourMapLength) &&
           reader.readUInt8(h.colourMapEntrySize) && reader.readUInt16(h.xOrigin) && reader.readUInt16(h.yOrigin) &&
           reader.readUInt16(h.width) && reader.readUInt16(h.height) && reader.readUInt8(h.pixelDepth) &&
           reader.readUInt8(h.descriptor);
}

// The identification field and a colour map (unused by true-colour
// pictures) sit between the header and the pixels.
bool skipToPixels(GP::StorageIO& reader, const tTgaHeader& h) {
    std::int64_t skip = h.idLength;
    if (h.colourMapType != 0) {
        skip += std::int64_t(h.colourMapLength) * ((h.colourMapEntrySize + 7) / 8);
    }
    std::uint8_t scratch[256];
    while (skip > 0) {
        const std::size_t chunk = std::size_t(skip < 256 ? skip : 256);
        if (reader.read(scratch, chunk) != chunk) {
            return false;
        }
        skip -= std::int64_t(chunk);
    }
    return true;
}

bool readExactly(GP::StorageIO& reader, std::uint8_t* out, std::size_t size) {
    return reader.read(out, size) == size;
}

// Reads `count` pixels of `bytesPerPixel` bytes packed in packets: a header
// byte of 128 or more repeats one pixel (c - 127) times, a smaller one is
// followed by c + 1 literal pixels. A packet running past the end is cut.
bool readRunLength(GP::StorageIO& reader, std::uint8_t* out, std::size_t count, std::size_t bytesPerPixel) {
    std::size_t filled = 0;
    std::uint8_t pixel[4];
    while (filled < count) {
        std::uint8_t packet = 0;
        if (!reader.readUInt8(packet)) {
            return false;
        }
        const std::size_t length = std::min<std::size_t>((packet & 0x7F) + 1, count - filled);
        std::uint8_t* at = out + filled * bytesPerPixel;
        if (packet & 0x80) {
            if (!readExactly(reader, pixel, bytesPerPixel)) {
                return false;
            }
            for (std::size_t i = 0; i < length; ++i) {
                std::memcpy(at + i * bytesPerPixel, pixel, bytesPerPixel);
            }
        } else {
            if (!readExactly(reader, at, length * bytesPerPixel)) {
                return false;
            }
            // Literal pixels beyond the end are read and dropped.
            for (std::size_t i = length; i < std::size_t(packet & 0x7F) + 1; ++i) {
                if (!readExactly(reader, pixel, bytesPerPixel)) {
                    return false;
                }
            }
        }
        filled += length;
    }
    return true;
}

// Expands pixels of `bytesPerPixel` stored at the end of the pixel area to
// 32 bits in place, front to back (the packed data never gets overtaken).
// Answers whether some pixel is not opaque.
bool expandPixels(std::uint32_t* pixels, std::size_t count, std::size_t bytesPerPixel, bool swapBytes) {
    const std::uint8_t* packed = reinterpret_cast<const std::uint8_t*>(pixels) + count * (4 - bytesPerPixel);
    bool translucent = false;
    for (std::size_t i = 0; i < count; ++i, packed += bytesPerPixel) {
        std::uint32_t pixel = 0;
        if (bytesPerPixel == 2) {
            std::uint16_t word = std::uint16_t(packed[0] | packed[1] << 8);
            if (swapBytes) {
                word = std::uint16_t(word >> 8 | word << 8);
            }
            pixel = word == 0 ? 0u
                              : 0xFF000000u | (((word >> 10) & 31u) << 19) | (((word >> 5) & 31u) << 11) |
                                    ((word & 31u) << 3);
        } else if (bytesPerPixel == 3) {
            pixel = 0xFF000000u | std::uint32_t(packed[2]) << 16 | std::uint32_t(packed[1]) << 8 | packed[0];
        } else {
            const std::uint8_t b0 = packed[0], b1 = packed[1], b2 = packed[2], b3 = packed[3];
            pixel = swapBytes ? (std::uint32_t(b0) << 24 | std::uint32_t(b1) << 16 | std::uint32_t(b2) << 8 | b3)
                              : (std::uint32_t(b3) << 24 | std::uint32_t(b2) << 16 | std::uint32_t(b1) << 8 | b0);
        }
        translucent |= (pixel >> 24) != 0xFF;
        pixels[i] = pixel;
    }
    return translucent;
}

// False when the storage is known to hold fewer bytes than the pixels need
// at the least, so that a short file does not make us allocate its size.
bool mayHoldPixels(GP::StorageIO& reader, const tTgaHeader& h) {
    const GP::IStorage* storage = reader.getStorage();
    const std::int64_t position = reader.tell();
    const std::int64_t size = storage ? storage->getSize() : -1;
    if (position < 0 || size < 0) {
        return true;
    }
    const std::uint64_t count = std::uint64_t(h.width) * h.height;
    const std::uint64_t bytesPerPixel = h.pixelDepth / 8;
    const std::uint64_t least =
        h.imageType == kTrueColour ? count * bytesPerPixel : (count + 127) / 128 * (1 + bytesPerPixel);
    return std::uint64_t(size - std::min(size, position)) >= least;
}

}  // namespace

bool Picture::decodeTga(GP::StorageIO& reader, bool detectAlpha) {
    tTgaHeader header;
    if (!readHeader(reader, header) ||
        (header.imageType != kTrueColour && header.imageType != kRunLengthTrueColour)) {
        return false;
    }
    if (header.pixelDepth != 16 && header.pixelDepth != 24 && header.pixelDepth != 32) {
        return false;
    }
    if (header.width == 0 || header.height == 0 || !skipToPixels(reader, header) || !mayHoldPixels(reader, header) ||
        !resize(header.width, header.height, true)) {
        return false;
    }
    const std::size_t count = std::size_t(header.width) * header.height;
    const std::size_t bytesPerPixel = header.pixelDepth / 8;
    // Packed pixels go to the end of the pixel area and are expanded from
    // the front.
    std::uint8_t* packed = reinterpret_cast<std::uint8_t*>(getPixels()) + count * (4 - bytesPerPixel);
    const bool complete = header.imageType == kTrueColour ? readExactly(reader, packed, count * bytesPerPixel)
                                                          : readRunLength(reader, packed, count, bytesPerPixel);
    if (!complete) {
        return false;
    }
    const bool swapBytes = reader.getByteOrder() != GP::StorageIO::kLittleEndian;
    const bool translucent = expandPixels(getPixels(), count, bytesPerPixel, swapBytes);
    if (detectAlpha) {
        setOption(translucent);
    }
    if (!(header.descriptor & kTopLeftOrigin)) {
        flipVertical();
    }
    return true;
}

}  // namespace QX::UIA
