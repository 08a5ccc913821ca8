#include <cmath>
#include <cstdlib>

#include "resize/Resize.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {
namespace {

struct tAlignedFree {
    void operator()(std::uint8_t* block) const { std::free(block); }
};
using AlignedBlock = std::unique_ptr<std::uint8_t, tAlignedFree>;

// The kernels expect 64-byte aligned buffers.
AlignedBlock allocateAligned(std::int32_t size) {
    const std::size_t rounded = (std::size_t(size > 0 ? size : 1) + 63) / 64 * 64;
    return AlignedBlock(static_cast<std::uint8_t*>(std::aligned_alloc(64, rounded)));
}

// Largest product that lroundf can still turn into a picture size.
constexpr float kMaxScaledLength = float(std::uint32_t(1) << 30);

bool isUsableLength(float length) {
    return std::isfinite(length) && length >= 0 && length < kMaxScaledLength;
}

std::uint32_t scaleLength(std::uint32_t length, float scale) {
    return std::uint32_t(std::lroundf(float(length) * scale));
}

// Resamples all of `source` into all of `destination` (both with pixels).
bool resample(const Picture& source, Picture& destination, bool nearest) {
    namespace R = QX::Resize;
    const R::Size from{std::int32_t(source.getWidth()), std::int32_t(source.getHeight())};
    const R::Size to{std::int32_t(destination.getWidth()), std::int32_t(destination.getHeight())};
    const int interpolation = nearest ? R::kInterpolationNearest : R::kInterpolationLinear;
    std::int32_t specSize = 0, initSize = 0, bufferSize = 0;
    if (R::getResizeSizes(from, to, interpolation, 0, specSize, initSize) != R::kStatusOk) {
        return false;
    }
    AlignedBlock specBlock = allocateAligned(specSize);
    AlignedBlock initBlock = allocateAligned(initSize);
    if (!specBlock || !initBlock) {
        return false;
    }
    auto* spec = reinterpret_cast<R::ResizeSpec*>(specBlock.get());
    const R::Status init = nearest ? R::initNearestResize(from, to, spec) : R::initLinearResize(from, to, spec);
    if (init != R::kStatusOk || R::getResizeBufferSize(spec, to, 4, bufferSize) != R::kStatusOk) {
        return false;
    }
    AlignedBlock work = allocateAligned(bufferSize);
    if (!work) {
        return false;
    }
    const auto* in = reinterpret_cast<const std::uint8_t*>(source.getPixels());
    auto* out = reinterpret_cast<std::uint8_t*>(destination.getPixels());
    const R::Status status =
        nearest ? R::resizeNearest4Channels(in, from.width * 4, out, to.width * 4, {0, 0}, to, spec, work.get())
                : R::resizeLinear4Channels(in, from.width * 4, out, to.width * 4, {0, 0}, to, R::kBorderReplicate,
                                           nullptr, spec, work.get());
    return status == R::kStatusOk;
}

}  // namespace

std::unique_ptr<Picture> Picture::scalePicture(float scale, bool nearest) const {
    if (!std::isfinite(scale) || scale <= 0 || !hasPixels()) {
        return nullptr;
    }
    const float scaledWidth = float(getWidth()) * scale;
    const float scaledHeight = float(getHeight()) * scale;
    if (!isUsableLength(scaledWidth) || !isUsableLength(scaledHeight)) {
        return nullptr;
    }
    // The kernels take no side beyond their limit: refuse before allocating.
    const auto fits = [](std::uint32_t length) { return length <= std::uint32_t(QX::Resize::kMaxDimension); };
    if (!fits(getWidth()) || !fits(getHeight()) || !fits(scaleLength(getWidth(), scale)) ||
        !fits(scaleLength(getHeight(), scale))) {
        return nullptr;
    }
    auto scaled = std::make_unique<Picture>();
    scaled->copyPropertiesFrom(*this);
    if (!scaled->resize(scaleLength(getWidth(), scale), scaleLength(getHeight(), scale), true)) {
        return nullptr;
    }
    scaled->setFixedTop(scaleLength(getFixedTop(), scale));
    scaled->setFixedBottom(scaleLength(getFixedBottom(), scale));
    scaled->setFixedLeft(scaleLength(getFixedLeft(), scale));
    scaled->setFixedRight(scaleLength(getFixedRight(), scale));
    if (!resample(*this, *scaled, nearest)) {
        return nullptr;
    }
    return scaled;
}

}  // namespace QX::UIA
