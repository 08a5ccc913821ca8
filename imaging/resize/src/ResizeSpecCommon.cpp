#include <algorithm>
#include <cmath>
#include <cstring>

#include "ResizeSpecLayout.h"

namespace QX::Resize {
namespace DETAIL {

bool isValidSize(Size size) {
    return size.width > 0 && size.height > 0 && size.width <= kMaxDimension && size.height <= kMaxDimension;
}

Status checkResizeCall(const std::uint8_t* source, std::int32_t sourceStep, const std::uint8_t* destination,
                       std::int32_t destinationStep, Point offset, Size size, const ResizeSpec* spec,
                       int interpolation) {
    if (!source || !destination || !spec) {
        return kStatusNullPointer;
    }
    if (spec->magic != kSpecMagic || spec->interpolation != interpolation) {
        return kStatusSpecMismatch;
    }
    if (!isValidSize(size) || offset.x < 0 || offset.y < 0 ||
        std::int64_t(offset.x) + size.width > spec->destination.width ||
        std::int64_t(offset.y) + size.height > spec->destination.height) {
        return kStatusSizeError;
    }
    if (std::int64_t(sourceStep) < std::int64_t(spec->source.width) * 4 ||
        std::int64_t(destinationStep) < std::int64_t(size.width) * 4) {
        return kStatusStepError;
    }
    return kStatusOk;
}

}  // namespace DETAIL

namespace {

using namespace DETAIL;

std::size_t tableEntrySize(int interpolation) {
    return interpolation == kInterpolationNearest ? sizeof(std::int32_t) : sizeof(tLinearTap);
}

std::size_t specSizeFor(Size destination, int interpolation) {
    const std::size_t entry = tableEntrySize(interpolation);
    return alignUp(sizeof(ResizeSpec)) + alignUp(entry * std::size_t(destination.width)) +
           alignUp(entry * std::size_t(destination.height));
}

ResizeSpec* prepareSpec(Size source, Size destination, ResizeSpec* spec, int interpolation) {
    spec->magic = 0;  // not valid until the tables are filled
    spec->interpolation = interpolation;
    spec->source = source;
    spec->destination = destination;
    const std::size_t entry = tableEntrySize(interpolation);
    spec->columnTableOffset = std::uint32_t(alignUp(sizeof(ResizeSpec)));
    spec->rowTableOffset = std::uint32_t(spec->columnTableOffset + alignUp(entry * std::size_t(destination.width)));
    return spec;
}

template <class T>
T* mutableTable(ResizeSpec* spec, std::uint32_t offset) {
    return reinterpret_cast<T*>(reinterpret_cast<std::uint8_t*>(spec) + offset);
}

Status checkInit(Size source, Size destination, const ResizeSpec* spec) {
    if (!spec) {
        return kStatusNullPointer;
    }
    if (!isValidSize(source) || !isValidSize(destination)) {
        return kStatusSizeError;
    }
    if (reinterpret_cast<std::uintptr_t>(spec) % kSpecAlignment != 0) {
        return kStatusMisaligned;
    }
    return kStatusOk;
}

// Source pixel whose centre is nearest to destination pixel i's centre:
// floor((i + 0.5) * sourceLength / destinationLength), exactly.
void fillNearest(std::int32_t* table, std::int32_t sourceLength, std::int32_t destinationLength) {
    for (std::int64_t i = 0; i < destinationLength; ++i) {
        const std::int64_t index = ((2 * i + 1) * sourceLength) / (2 * std::int64_t(destinationLength));
        table[i] = std::int32_t(index < sourceLength ? index : sourceLength - 1);
    }
}

// Pixel centres aligned; positions outside the source take its edge pixel.
void fillLinear(tLinearTap* table, std::int32_t sourceLength, std::int32_t destinationLength) {
    const double ratio = double(sourceLength) / double(destinationLength);
    for (std::int32_t i = 0; i < destinationLength; ++i) {
        const double position = (i + 0.5) * ratio - 0.5;
        std::int64_t first = 0;
        std::uint32_t weight = 0;
        if (position > 0) {
            first = std::int64_t(std::floor(position));
            weight = std::uint32_t(std::lround((position - double(first)) * kWeightOne));
            if (weight == kWeightOne) {
                ++first;
                weight = 0;
            }
        }
        const std::int64_t last = sourceLength - 1;
        table[i].first = std::int32_t(first < last ? first : last);
        table[i].second = std::int32_t(first + 1 < last ? first + 1 : last);
        table[i].weight = first < last ? weight : 0;
    }
}

}  // namespace

Status getResizeSizes(Size source, Size destination, int interpolation, int antialiasing, std::int32_t& specSize,
                      std::int32_t& initBufferSize) {
    specSize = 0;
    initBufferSize = 0;
    if (interpolation != kInterpolationNearest && interpolation != kInterpolationLinear) {
        return kStatusBadArgument;
    }
    if (antialiasing != 0) {
        return kStatusBadArgument;
    }
    if (!isValidSize(source) || !isValidSize(destination)) {
        return kStatusSizeError;
    }
    specSize = std::int32_t(specSizeFor(destination, interpolation));
    return kStatusOk;
}

Status initNearestResize(Size source, Size destination, ResizeSpec* spec) {
    if (const Status status = checkInit(source, destination, spec); status != kStatusOk) {
        return status;
    }
    prepareSpec(source, destination, spec, kInterpolationNearest);
    fillNearest(mutableTable<std::int32_t>(spec, spec->columnTableOffset), source.width, destination.width);
    fillNearest(mutableTable<std::int32_t>(spec, spec->rowTableOffset), source.height, destination.height);
    spec->magic = kSpecMagic;
    return kStatusOk;
}

Status initLinearResize(Size source, Size destination, ResizeSpec* spec) {
    if (const Status status = checkInit(source, destination, spec); status != kStatusOk) {
        return status;
    }
    prepareSpec(source, destination, spec, kInterpolationLinear);
    fillLinear(mutableTable<tLinearTap>(spec, spec->columnTableOffset), source.width, destination.width);
    fillLinear(mutableTable<tLinearTap>(spec, spec->rowTableOffset), source.height, destination.height);
    spec->magic = kSpecMagic;
    return kStatusOk;
}

Status getResizeBufferSize(const ResizeSpec* spec, Size destination, int channels, std::int32_t& bufferSize) {
    bufferSize = 0;
    if (!spec) {
        return kStatusNullPointer;
    }
    if (spec->magic != kSpecMagic) {
        return kStatusSpecMismatch;
    }
    if (channels != 4) {
        return kStatusBadArgument;
    }
    if (!isValidSize(destination)) {
        return kStatusSizeError;
    }
    // Linear keeps two rows of horizontally filtered values or one row of
    // vertically mixed source values (32 bits per channel); nearest needs
    // none but gets a token block.
    const std::size_t channelBytes = 4 * sizeof(std::uint32_t);
    const std::size_t rows =
        spec->interpolation == kInterpolationLinear
            ? std::max(2 * alignUp(std::size_t(destination.width) * channelBytes),
                       alignUp(std::size_t(spec->source.width) * channelBytes))
            : 0;
    bufferSize = std::int32_t(rows + kSpecAlignment);
    return kStatusOk;
}

}  // namespace QX::Resize
