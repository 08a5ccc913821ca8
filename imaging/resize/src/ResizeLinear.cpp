#include <cstring>
#include <utility>

#include "ResizeSpecLayout.h"

namespace QX::Resize {

using namespace DETAIL;

namespace {

// Horizontal pass of one source row: each channel as a fixed-point value
// scaled by kWeightOne.
void filterRow(const std::uint8_t* sourceRow, const tLinearTap* columns, std::size_t width, std::uint32_t* out) {
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* first = sourceRow + 4 * std::size_t(columns[x].first);
        const std::uint8_t* second = sourceRow + 4 * std::size_t(columns[x].second);
        const std::uint32_t weight = columns[x].weight;
        const std::uint32_t keep = kWeightOne - weight;
        for (std::size_t c = 0; c < 4; ++c) {
            out[4 * x + c] = first[c] * keep + second[c] * weight;
        }
    }
}

// Vertical pass: mixes two filtered rows and rounds back to 8 bits.
void mixRows(const std::uint32_t* __restrict upper, const std::uint32_t* __restrict lower, std::uint32_t weight,
             std::size_t count, std::uint8_t* __restrict out) {
    const std::uint32_t keep = kWeightOne - weight;
    constexpr std::uint32_t kShift = 2 * kWeightBits;
    constexpr std::uint32_t kHalf = 1u << (kShift - 1);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = std::uint8_t((upper[i] * keep + lower[i] * weight + kHalf) >> kShift);
    }
}

// Two filtered rows, each remembering which source row it holds.
class RowCache {
public:
    RowCache(std::uint8_t* buffer, std::size_t width)
        : rows_{reinterpret_cast<std::uint32_t*>(buffer),
                reinterpret_cast<std::uint32_t*>(buffer + alignUp(width * 4 * sizeof(std::uint32_t)))} {}

    // The filtered row `index`, filling a slot other than the one holding
    // `keep`.
    const std::uint32_t* get(std::int32_t index, std::int32_t keep, const std::uint8_t* source, std::int32_t step,
                             const tLinearTap* columns, std::size_t width) {
        for (int slot = 0; slot < 2; ++slot) {
            if (tags_[slot] == index) {
                return rows_[slot];
            }
        }
        const int slot = tags_[0] == keep ? 1 : 0;
        filterRow(source + std::ptrdiff_t(index) * step, columns, width, rows_[slot]);
        tags_[slot] = index;
        return rows_[slot];
    }

private:
    std::uint32_t* rows_[2];
    std::int32_t tags_[2] = {-1, -1};
};

}  // namespace

Status resizeLinear4Channels(const std::uint8_t* source, std::int32_t sourceStep, std::uint8_t* destination,
                             std::int32_t destinationStep, Point destinationOffset, Size destinationSize,
                             int borderMode, const std::uint8_t* borderValue, const ResizeSpec* spec,
                             std::uint8_t* buffer) {
    const Status status = checkResizeCall(source, sourceStep, destination, destinationStep, destinationOffset,
                                          destinationSize, spec, kInterpolationLinear);
    if (status != kStatusOk) {
        return status;
    }
    if (!buffer) {
        return kStatusNullPointer;
    }
    if (borderMode != kBorderReplicate) {
        return kStatusBorderError;
    }
    // The work buffer comes from the caller: align its rows ourselves.
    buffer += (kSpecAlignment - reinterpret_cast<std::uintptr_t>(buffer) % kSpecAlignment) % kSpecAlignment;
    const tLinearTap* columns = table<tLinearTap>(spec, spec->columnTableOffset) + destinationOffset.x;
    const tLinearTap* rows = table<tLinearTap>(spec, spec->rowTableOffset) + destinationOffset.y;
    const std::size_t width = std::size_t(destinationSize.width);
    RowCache cache(buffer, width);
    for (std::int32_t y = 0; y < destinationSize.height; ++y) {
        const tLinearTap& tap = rows[y];
        const std::uint32_t* upper = cache.get(tap.first, tap.second, source, sourceStep, columns, width);
        const std::uint32_t* lower = cache.get(tap.second, tap.first, source, sourceStep, columns, width);
        mixRows(upper, lower, tap.weight, width * 4, destination + std::ptrdiff_t(y) * destinationStep);
    }
    return kStatusOk;
}

}  // namespace QX::Resize
