#pragma once
#include <cstddef>
#include <cstdint>

#include "resize/Resize.h"

namespace QX::Resize {

// The set-up buffer's layout in the caller's memory: this header, then the
// column table, then the row table, each starting on a 64-byte boundary.
struct ResizeSpec {
    std::uint32_t magic;
    std::int32_t interpolation;
    Size source;
    Size destination;
    std::uint32_t columnTableOffset;
    std::uint32_t rowTableOffset;
};

namespace DETAIL {

constexpr std::uint32_t kSpecMagic = 0x5253505Au;

// Linear weights are fixed-point fractions of kWeightOne.
constexpr std::uint32_t kWeightBits = 11;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;

// One destination column or row of a linear resize: the two source indices
// and the weight of the second.
struct tLinearTap {
    std::int32_t first;
    std::int32_t second;
    std::uint32_t weight;
};

constexpr std::size_t alignUp(std::size_t size) {
    return (size + kSpecAlignment - 1) / kSpecAlignment * kSpecAlignment;
}

template <class T>
const T* table(const ResizeSpec* spec, std::uint32_t offset) {
    return reinterpret_cast<const T*>(reinterpret_cast<const std::uint8_t*>(spec) + offset);
}

bool isValidSize(Size size);
// Checks the arguments shared by both resize calls.
Status checkResizeCall(const std::uint8_t* source, std::int32_t sourceStep, const std::uint8_t* destination,
                       std::int32_t destinationStep, Point offset, Size size, const ResizeSpec* spec,
                       int interpolation);

}  // namespace DETAIL
}  // namespace QX::Resize
