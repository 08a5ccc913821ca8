#include <algorithm>
#include <cstring>
#include <utility>

#include "LinearRows.h"
#include "ResizeSpecLayout.h"

namespace QX::Resize {

using namespace DETAIL;

namespace {

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

// Both orders give the same bytes (the sum is exact until the one rounding
// at the end); the cheaper one is taken. Filtering across costs about four
// times a mix down: rows first mixes each destination row from the source
// columns it reads, then filters it once; across first filters each source
// row read (at most two per destination row) and mixes the results.
bool mixesRowsFirst(const tLinearTap* columns, const tLinearTap* rows, Size size) {
    const std::size_t width = std::size_t(size.width);
    const std::size_t height = std::size_t(size.height);
    const std::size_t span = std::size_t(columns[width - 1].second - columns[0].first + 1);
    const std::size_t sourceRows =
        std::min<std::size_t>(2 * height, std::size_t(rows[height - 1].second - rows[0].first + 1));
    constexpr std::size_t kFilterCost = 4;
    const std::size_t acrossFirst = kFilterCost * sourceRows * width + height * width;
    const std::size_t rowsFirst = height * span + kFilterCost * height * width;
    return rowsFirst < acrossFirst;
}

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
    if (mixesRowsFirst(columns, rows, destinationSize)) {
        // Only the source columns the tile reads are mixed.
        const std::int32_t firstColumn = columns[0].first;
        const std::size_t span = std::size_t(columns[width - 1].second - firstColumn + 1) * 4;
        auto* mixed = reinterpret_cast<std::uint32_t*>(buffer);
        for (std::int32_t y = 0; y < destinationSize.height; ++y) {
            const tLinearTap& tap = rows[y];
            mixSourceRows(source + std::ptrdiff_t(tap.first) * sourceStep + 4 * firstColumn,
                          source + std::ptrdiff_t(tap.second) * sourceStep + 4 * firstColumn, tap.weight, span, mixed);
            filterMixedRow(mixed, firstColumn, columns, width, destination + std::ptrdiff_t(y) * destinationStep);
        }
        return kStatusOk;
    }
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
