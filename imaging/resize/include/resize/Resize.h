#pragma once
#include <cstdint>

// Resampling of 8-bit, 4-channel pictures by nearest-neighbour and linear
// interpolation. A resize is prepared once into a set-up buffer (the "spec", which the
// caller allocates, 64-byte aligned, of the size getResizeSizes reports) and
// then run over the whole destination or over tiles of it with a work buffer.
namespace QX::Resize {

enum Status : int {
    kStatusOk = 0,
    kStatusNullPointer = -1,
    kStatusSizeError = -2,       // a size is not positive, too large, or the tile leaves the destination
    kStatusStepError = -3,       // a row step is shorter than a row
    kStatusBadArgument = -4,     // unknown interpolation or antialiasing asked for
    kStatusMisaligned = -5,      // the set-up buffer is not 64-byte aligned
    kStatusSpecMismatch = -6,    // the set-up buffer was made for another kind or is not initialised
    kStatusBorderError = -7,     // a border mode other than replicate
};

enum Interpolation : int {
    kInterpolationNearest = 1,
    kInterpolationLinear = 2,
};

enum BorderMode : int {
    kBorderReplicate = 1,  // pixels outside the source repeat its edge pixels
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Opaque: lives in a caller's buffer of the reported size.
struct ResizeSpec;

constexpr std::int32_t kSpecAlignment = 64;
// Largest width or height accepted on either side.
constexpr std::int32_t kMaxDimension = 1 << 20;

// Sizes of the set-up buffer and of its initialisation buffer (0 for these
// interpolations). Antialiasing must be 0 (off).
Status getResizeSizes(Size source, Size destination, int interpolation, int antialiasing, std::int32_t& specSize,
                      std::int32_t& initBufferSize);

Status initNearestResize(Size source, Size destination, ResizeSpec* spec);
Status initLinearResize(Size source, Size destination, ResizeSpec* spec);

// Size of the work buffer for one resize call over a tile of `destination`
// size (only 4 channels are supported).
Status getResizeBufferSize(const ResizeSpec* spec, Size destination, int channels, std::int32_t& bufferSize);

// `destinationOffset` places the tile written at `destination` inside the
// whole destination of the set-up buffer; steps are in bytes.
Status resizeNearest4Channels(const std::uint8_t* source, std::int32_t sourceStep, std::uint8_t* destination,
                              std::int32_t destinationStep, Point destinationOffset, Size destinationSize,
                              const ResizeSpec* spec, std::uint8_t* buffer);

// Only border mode kBorderReplicate is supported; its border value is null.
Status resizeLinear4Channels(const std::uint8_t* source, std::int32_t sourceStep, std::uint8_t* destination,
                             std::int32_t destinationStep, Point destinationOffset, Size destinationSize,
                             int borderMode, const std::uint8_t* borderValue, const ResizeSpec* spec,
                             std::uint8_t* buffer);

}  // namespace QX::Resize
