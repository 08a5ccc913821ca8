// Reads picture properties from arbitrary bytes, in both byte orders, and
// checks what a reader of them relies on: a read is complete exactly when the
// 33 bytes of the stream form are there, the values are the bytes read, a
// second read gives the same values, writing and reading again keeps them,
// and a picture with those properties keeps its frames and borders inside
// its pixels when its region masks are built and it is drawn. The bytes
// after the stream form choose the picture's size and the drawing rectangle.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"
#include "uia/picture/PictureCombiner.h"
#include "uia/picture/PictureProperties.h"

namespace {

using QX::GP::MemoryStorage;
using QX::GP::StorageIO;
using QX::UIA::Picture;
using QX::UIA::PictureProperties;
using QX::UIA::PictureRect;

constexpr std::size_t kStreamSize = 4 + 1 + 7 * 4;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The bytes a properties object writes: its values, compared as a whole.
std::vector<std::uint8_t> written(const PictureProperties& properties, int byteOrder) {
    MemoryStorage storage;
    StorageIO writer(&storage, byteOrder);
    PictureProperties copy;
    copy.copyPropertiesFrom(properties);
    require(copy.writeToStream(writer));
    return storage.bytes();
}

std::uint32_t fieldAt(const std::uint8_t* data, std::size_t offset, int byteOrder) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t index = byteOrder == StorageIO::kLittleEndian ? offset + 3 - i : offset + i;
        value = value << 8 | data[index];
    }
    return value;
}

PictureProperties readProperties(const std::uint8_t* data, std::size_t size, int byteOrder, bool& complete) {
    const auto storage = MemoryStorage::borrow(data, size);
    StorageIO reader(storage.get(), byteOrder);
    PictureProperties properties;
    complete = properties.readFromStream(reader);
    return properties;
}

void checkValues(const PictureProperties& properties, const std::uint8_t* data, int byteOrder) {
    require(properties.getOption() == (data[4] != 0));
    const std::uint32_t fields[] = {properties.getOrientation(), properties.getAnimationCount(),
                                    properties.getFixedFlags(),  properties.getFixedTop(),
                                    properties.getFixedBottom(), properties.getFixedLeft(),
                                    properties.getFixedRight()};
    for (std::size_t i = 0; i < 7; ++i) {
        require(fields[i] == fieldAt(data, 5 + 4 * i, byteOrder));
    }
    const std::uint32_t count = properties.getAnimationCount();
    require(properties.getFrameCount() >= 1 && properties.getFrameCount() == (count > 1 ? count : 1));
    const PictureProperties::tBorders borders = properties.getEffectiveBorders();
    const bool vertical = (properties.getFixedFlags() & PictureProperties::kFixedVertical) != 0;
    const bool horizontal = (properties.getFixedFlags() & PictureProperties::kFixedHorizontal) != 0;
    require(borders.top == (vertical ? properties.getFixedTop() : 0));
    require(borders.bottom == (vertical ? properties.getFixedBottom() : 0));
    require(borders.left == (horizontal ? properties.getFixedLeft() : 0));
    require(borders.right == (horizontal ? properties.getFixedRight() : 0));
}

void checkRoundTrip(const PictureProperties& properties, const std::uint8_t* data, int byteOrder) {
    const std::vector<std::uint8_t> bytes = written(properties, byteOrder);
    require(bytes.size() == kStreamSize);
    // The version is always written as 1 and the option as 0 or 1; the rest
    // is the input.
    require(fieldAt(bytes.data(), 0, byteOrder) == 1);
    require(bytes[4] == (data[4] != 0 ? 1 : 0));
    require(std::equal(bytes.begin() + 5, bytes.end(), data + 5));
    bool complete = false;
    const PictureProperties again = readProperties(bytes.data(), bytes.size(), byteOrder, complete);
    require(complete && written(again, byteOrder) == bytes);
}

// A small picture with the properties: its frames lie inside it, its region
// masks are one per frame (or none) of nine bits, and drawing any frame into
// a rectangle near the destination touches only pixels (the sanitizers
// watch).
void checkPicture(const PictureProperties& properties, const std::uint8_t* tail, std::size_t tailSize) {
    auto byteAt = [&](std::size_t i) { return i < tailSize ? tail[i] : std::uint8_t(0); };
    Picture picture;
    const std::uint32_t width = 1 + byteAt(0) % 48;
    const std::uint32_t height = 1 + byteAt(1) % 48;
    require(picture.resize(width, height, true));
    for (std::uint32_t i = 0; i < width * height; ++i) {
        // Some transparent pixels, so that masks keep some bits set.
        picture.getPixels()[i] = (byteAt(2 + i % 16) & 1) ? 0xFF336699u : 0x00000000u;
    }
    picture.copyPropertiesFrom(properties);

    const std::uint32_t frames = picture.getFrameCount();
    const std::uint64_t frameWidth = picture.getFrameWidth();
    const std::uint64_t frameHeight = picture.getFrameHeight();
    require(frameWidth <= width && frameHeight <= height);
    if (picture.isHorizontal()) {
        require(frameWidth * frames <= width && frameHeight == height);
    } else {
        require(frameHeight * frames <= height && frameWidth == width);
    }
    for (std::uint32_t frame : {0u, 1u, frames / 2, frames - 1, frames, 0xFFFFFFFFu}) {
        const QX::GP::Point origin = picture.getFrameOrigin(frame);
        require(origin.x >= 0 && origin.y >= 0);
        require(std::uint64_t(origin.x) + frameWidth <= width && std::uint64_t(origin.y) + frameHeight <= height);
    }

    picture.updateRegionMasks();
    const std::vector<std::uint32_t>& masks = picture.getRegionMasks();
    require(masks.empty() || masks.size() == frames);
    for (std::uint32_t mask : masks) {
        require(mask <= 511);
    }

    Picture destination;
    require(destination.resize(64, 64, true));
    destination.fill(0xFF000000u);
    const PictureRect rect(std::int8_t(byteAt(3)), std::int8_t(byteAt(4)), std::int8_t(byteAt(3)) + byteAt(5) % 96,
                           std::int8_t(byteAt(4)) + byteAt(6) % 96);
    using QX::UIA::PictureCombiner;
    using QX::UIA::PictureCombinerFunctors::CopySource;
    PictureCombiner<CopySource>(destination).drawInRect(rect, picture, byteAt(7), nullptr);
    PictureCombiner<CopySource>(destination).drawAt(rect.left, rect.top, picture, byteAt(8), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (int byteOrder : {StorageIO::kLittleEndian, StorageIO::kBigEndian}) {
        bool complete = false;
        const PictureProperties first = readProperties(data, size, byteOrder, complete);
        require(complete == (size >= kStreamSize));
        bool completeAgain = false;
        const PictureProperties second = readProperties(data, size, byteOrder, completeAgain);
        require(completeAgain == complete && written(first, byteOrder) == written(second, byteOrder));
        if (!complete) {
            continue;
        }
        checkValues(first, data, byteOrder);
        checkRoundTrip(first, data, byteOrder);
        checkPicture(first, data + kStreamSize, size - kStreamSize);
    }
    return 0;
}
