#include <cstring>

#include "ResizeSpecLayout.h"

namespace QX::Resize {

using namespace DETAIL;

Status resizeNearest4Channels(const std::uint8_t* source, std::int32_t sourceStep, std::uint8_t* destination,
                              std::int32_t destinationStep, Point destinationOffset, Size destinationSize,
                              const ResizeSpec* spec, std::uint8_t* buffer) {
    const Status status = checkResizeCall(source, sourceStep, destination, destinationStep, destinationOffset,
                                          destinationSize, spec, kInterpolationNearest);
    if (status != kStatusOk) {
        return status;
    }
    const std::int32_t* columns = table<std::int32_t>(spec, spec->columnTableOffset) + destinationOffset.x;
    const std::int32_t* rows = table<std::int32_t>(spec, spec->rowTableOffset) + destinationOffset.y;
    const std::size_t width = std::size_t(destinationSize.width);
    const std::uint8_t* previousSourceRow = nullptr;
    const std::uint8_t* previousRow = nullptr;
    for (std::int32_t y = 0; y < destinationSize.height; ++y) {
        const std::uint8_t* sourceRow = source + std::ptrdiff_t(rows[y]) * sourceStep;
        std::uint8_t* row = destination + std::ptrdiff_t(y) * destinationStep;
        if (sourceRow == previousSourceRow) {
            std::memcpy(row, previousRow, width * 4);  // enlarging repeats whole rows
        } else {
            for (std::size_t x = 0; x < width; ++x) {
                std::memcpy(row + 4 * x, sourceRow + 4 * std::size_t(columns[x]), 4);
            }
        }
        previousSourceRow = sourceRow;
        previousRow = row;
    }
    return kStatusOk;
}

}  // namespace QX::Resize
