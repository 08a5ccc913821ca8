#include "uia/picture/Picture.h"

#include <algorithm>
#include <cstring>

namespace QX::UIA {

Picture::Picture() = default;

Picture::~Picture() = default;

void Picture::releaseBlock() {
    block_.reset();
    pixels_ = nullptr;
    width_ = 0;
    height_ = 0;
    allocatedSize_ = 0;
}

bool Picture::allocatePixels(std::uint32_t width, std::uint32_t height, bool exact) {
    // 64-bit arithmetic: a 32768 x 32768 picture must not wrap to a small
    // block. Anything above the limit counts as a failed allocation.
    const std::uint64_t pixelCount = std::uint64_t(width) * height;
    const bool tooLarge = pixelCount > (kMaxBlockSize - kHeaderSize) / 4;
    const std::size_t need = tooLarge ? 0 : std::size_t(kHeaderSize + pixelCount * 4);
    if (!tooLarge && block_ && (allocatedSize_ == need || (allocatedSize_ > need && !exact))) {
        return true;
    }
    releaseBlock();
    if (tooLarge) {
        return false;
    }
    block_.reset(static_cast<std::uint8_t*>(std::malloc(need)));
    if (!block_) {
        return false;
    }
    allocatedSize_ = need;
    pixels_ = reinterpret_cast<std::uint32_t*>(block_.get() + kHeaderSize);
    return true;
}

bool Picture::resize(std::uint32_t width, std::uint32_t height, bool exact) {
    if (!allocatePixels(width, height, exact)) {
        return false;
    }
    width_ = width;
    height_ = height;
    originX_ = 0;
    originY_ = 0;
    resetClipRect();
    return true;
}

void Picture::fill(std::uint32_t colour) {
    if (pixels_) {
        std::fill_n(pixels_, std::size_t(width_) * height_, colour);
    }
}

void Picture::clearRect(const PictureRect& rect, std::uint32_t colour) {
    // Callers pass rectangles larger than the picture: keep to its pixels.
    const PictureRect area = rect.intersected(
        PictureRect::fromSize(-std::int64_t(originX_), -std::int64_t(originY_), width_, height_));
    if (area.isEmpty() || !pixels_) {
        return;
    }
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        std::fill_n(getPixelAddress(area.left, y), std::size_t(area.width()), colour);
    }
}

void Picture::setClipRect(const PictureRect& rect) {
    const PictureRect bounds(PictureRect::clamp(std::max<std::int64_t>(0, -std::int64_t(originX_))),
                             PictureRect::clamp(std::max<std::int64_t>(0, -std::int64_t(originY_))),
                             PictureRect::clamp(std::int64_t(width_) - originX_),
                             PictureRect::clamp(std::int64_t(height_) - originY_));
    clip_ = bounds.intersected(rect);
    clipActive_ = true;
}

void Picture::resetClipRect() {
    clipActive_ = false;
    clip_ = PictureRect::fromSize(0, 0, width_, height_);
}

PictureRect Picture::getDrawingBounds() const {
    if (clipActive_) {
        return clip_;
    }
    return PictureRect::fromSize(-std::int64_t(originX_), -std::int64_t(originY_), width_, height_);
}

void Picture::setOrigin(std::int32_t x, std::int32_t y) {
    if (!clipActive_) {
        originX_ = x;
        originY_ = y;
        return;
    }
    const PictureRect shifted = clip_.offsetBy(std::int64_t(originX_) - x, std::int64_t(originY_) - y);
    originX_ = x;
    originY_ = y;
    setClipRect(shifted);
}

std::uint32_t Picture::getFrameWidth() const {
    return isHorizontal() ? width_ / getFrameCount() : width_;
}

std::uint32_t Picture::getFrameHeight() const {
    return isHorizontal() ? height_ : height_ / getFrameCount();
}

GP::Point Picture::getFrameOrigin(std::uint32_t frame) const {
    const std::uint32_t index = std::min(frame, getFrameCount() - 1);
    if (isHorizontal()) {
        return GP::Point{std::int32_t(index * getFrameWidth()), 0};
    }
    return GP::Point{0, std::int32_t(index * getFrameHeight())};
}

void Picture::flipVertical() {
    if (!pixels_ || height_ < 2) {
        return;
    }
    std::vector<std::uint32_t> row(width_);
    const std::size_t rowBytes = std::size_t(width_) * 4;
    for (std::uint32_t i = 0; i < height_ / 2; ++i) {
        std::uint32_t* upper = getRow(i);
        std::uint32_t* lower = getRow(height_ - 1 - i);
        std::memcpy(row.data(), upper, rowBytes);
        std::memcpy(upper, lower, rowBytes);
        std::memcpy(lower, row.data(), rowBytes);
    }
}

std::uint32_t Picture::getRegionMask(std::uint32_t frame) const {
    return frame < regionMasks_.size() ? regionMasks_[frame] : 0;
}

}  // namespace QX::UIA
