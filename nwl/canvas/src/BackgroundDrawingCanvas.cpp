#include "nwl/canvas/BackgroundDrawingCanvas.h"

#include <cmath>

#include "nwl/canvas/AntiAliasedLine.h"
#include "nwl/canvas/PixelConversion.h"
#include "nwl/style/LazyPicture.h"
#include "uia/picture/PictureCombiner.h"

namespace QX::NWL {
namespace {

using UIA::PictureRect;

// A rectangle's width or height in pixels, from its rounded edges.
std::int32_t extent(std::int32_t from, std::int32_t to) { return PictureRect::clamp(std::int64_t(to) - from); }

}  // namespace

BackgroundDrawingCanvas::BackgroundDrawingCanvas() : buffer_(std::make_unique<BGDrawBuffer>()) {
    // The colour-only blending rule is for windows that keep no alpha; this
    // library's windows always keep it.
    buffer_->setTransparency(false);
}

BackgroundDrawingCanvas::~BackgroundDrawingCanvas() = default;

void BackgroundDrawingCanvas::forwardToBuffer(bool alphaInUse) { buffer_->setOption(alphaInUse); }

void BackgroundDrawingCanvas::resetClipRect() { buffer_->resetClipRect(); }

void BackgroundDrawingCanvas::setClipRect(const GP::Rect& rect) { buffer_->setClipRect(toPixels(rect, scale_)); }

void BackgroundDrawingCanvas::resetOffset() {
    offset_ = GP::Point{};
    applyOrigin();
}

void BackgroundDrawingCanvas::setOffset(const GP::Point& offset) {
    offset_ = toPixels(offset, scale_);
    applyOrigin();
}

GP::Point BackgroundDrawingCanvas::getOffset() const {
    const float reciprocal = 1.0f / scale_;
    return GP::Point{toPixels(float(offset_.x), reciprocal), toPixels(float(offset_.y), reciprocal)};
}

void BackgroundDrawingCanvas::applyOrigin() {
    buffer_->setOrigin(PictureRect::clamp(std::int64_t(origin_.x) + offset_.x),
                       PictureRect::clamp(std::int64_t(origin_.y) + offset_.y));
}

void BackgroundDrawingCanvas::setSize(std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    resizeBuffer();
}

void BackgroundDrawingCanvas::setScale(float scale) {
    // A scale that is no number or not positive would make every pixel
    // conversion meaningless: keep the one we have.
    if (!isUsableScale(scale) || scale == scale_) return;
    scale_ = scale;
    resizeBuffer();
}

void BackgroundDrawingCanvas::resizeBuffer() {
    // A buffer too large to allocate leaves the canvas empty: drawing then
    // skips everything.
    buffer_->resize(std::uint32_t(std::max(toPixels(width_, scale_), 0)),
                    std::uint32_t(std::max(toPixels(height_, scale_), 0)), false);
    applyOrigin();
    buffer_->fill(0);
}

void BackgroundDrawingCanvas::clear(std::uint32_t colour) { buffer_->fill(colour); }

void BackgroundDrawingCanvas::drawPixel(const GP::Point& point, std::uint32_t colour) {
    const GP::Point p = toPixels(point, scale_);
    buffer_->drawPixel(p.x, p.y, colour);
}

void BackgroundDrawingCanvas::drawLine(const GP::Point& a, const GP::Point& b, std::uint32_t colour) {
    if (scale_ == 1.0f) return buffer_->drawLine(a.x, a.y, b.x, b.y, colour);
    drawAntiAliasedLine(*buffer_, toPixels(a, scale_), toPixels(b, scale_), colour, scale_);
}

void BackgroundDrawingCanvas::drawVerticalLine(const GP::Point& start, std::int32_t length, std::uint32_t colour) {
    if (scale_ == 1.0f) return buffer_->drawVerticalLine(start.x, start.y, length, colour);
    const GP::Point from = toPixels(start, scale_);
    const GP::Point to{from.x, PictureRect::clamp(std::int64_t(from.y) + toPixels(length, scale_))};
    drawAntiAliasedLine(*buffer_, from, to, colour, scale_);
}

void BackgroundDrawingCanvas::drawHorizontalLine(const GP::Point& start, std::int32_t length, std::uint32_t colour) {
    if (scale_ == 1.0f) return buffer_->drawHorizontalLine(start.x, start.y, length, colour);
    const GP::Point from = toPixels(start, scale_);
    const GP::Point to{PictureRect::clamp(std::int64_t(from.x) + toPixels(length, scale_)), from.y};
    drawAntiAliasedLine(*buffer_, from, to, colour, scale_);
}

void BackgroundDrawingCanvas::drawLineF(float x1, float y1, float x2, float y2, std::uint32_t colour) {
    if (scale_ == 1.0f) return buffer_->drawAntialiasedLine(x1, y1, x2, y2, colour);
    // Truncation of a value beyond 32 bits is undefined; the line drawer
    // refuses anything that far out anyway.
    constexpr float kLimit = float(1 << 22);
    const float coordinates[] = {x1 * scale_, y1 * scale_, x2 * scale_, y2 * scale_};
    for (float c : coordinates)
        if (!(std::fabs(c) <= kLimit)) return;
    drawAntiAliasedLine(*buffer_, GP::Point{std::int32_t(coordinates[0]), std::int32_t(coordinates[1])},
                        GP::Point{std::int32_t(coordinates[2]), std::int32_t(coordinates[3])}, colour, scale_);
}

void BackgroundDrawingCanvas::drawRect(const GP::Rect& rect, std::uint32_t colour) {
    const GP::Rect r = toPixels(rect, scale_);
    buffer_->drawRect(r.left, r.top, extent(r.left, r.right), extent(r.top, r.bottom), colour);
}

void BackgroundDrawingCanvas::fillRectBlended(const GP::Rect& rect, std::uint32_t colour) {
    const GP::Rect r = toPixels(rect, scale_);
    buffer_->fillRect(r.left, r.top, extent(r.left, r.right), extent(r.top, r.bottom), colour);
}

void BackgroundDrawingCanvas::fillRect(const GP::Rect& rect, std::uint32_t colour) {
    buffer_->clearRect(toPixels(rect, scale_), colour);
}

void BackgroundDrawingCanvas::invertRect(const GP::Rect& rect) {
    const GP::Rect r = toPixels(rect, scale_);
    buffer_->invertRect(r.left, r.top, extent(r.left, r.right), extent(r.top, r.bottom));
}

void BackgroundDrawingCanvas::drawPicture(const GP::Point& point, const UIA::Picture& picture, std::uint32_t frame,
                                          const GP::Rect* sourceRect, bool blend) {
    const GP::Point p = toPixels(point, scale_);
    PictureRect source;
    if (sourceRect) source = toPixels(*sourceRect, scale_);
    const PictureRect* sourcePointer = sourceRect ? &source : nullptr;
    if (blend) buffer_->blendPicture(p.x, p.y, picture, frame, sourcePointer);
    else buffer_->copyPicture(p.x, p.y, picture, frame, sourcePointer);
}

void BackgroundDrawingCanvas::drawLazyPicture(const GP::Point& point, const LazyPicture& picture,
                                              std::uint32_t frame, const GP::Rect* sourceRect, bool blend) {
    const auto made = picture.get(scale_);
    if (!made) return;
    // The picture is made for the scale already, and so is its part.
    const GP::Point p = toPixels(point, scale_);
    PictureRect source;
    if (sourceRect) source = *sourceRect;
    const PictureRect* sourcePointer = sourceRect ? &source : nullptr;
    if (blend) buffer_->blendPicture(p.x, p.y, *made, frame, sourcePointer);
    else buffer_->copyPicture(p.x, p.y, *made, frame, sourcePointer);
}

void BackgroundDrawingCanvas::drawPictureInRect(const GP::Rect& rect, const UIA::Picture& picture,
                                                std::uint32_t frame, const GP::Rect* sourceRect, bool blend) {
    const PictureRect destination = toPixels(rect, scale_);
    PictureRect clip;
    if (sourceRect) clip = toPixels(*sourceRect, scale_);
    const PictureRect* clipPointer = sourceRect ? &clip : nullptr;
    if (blend) buffer_->blendPictureInRect(destination, picture, frame, clipPointer);
    else buffer_->copyPictureInRect(destination, picture, frame, clipPointer);
}

void BackgroundDrawingCanvas::drawLazyPictureInRect(const GP::Rect& rect, const LazyPicture& picture,
                                                    std::uint32_t frame, const GP::Rect* sourceRect, bool blend) {
    if (const auto made = picture.get(scale_)) drawPictureInRect(rect, *made, frame, sourceRect, blend);
}

void BackgroundDrawingCanvas::drawDyeMask(const GP::Rect& rect, std::uint32_t colour, const UIA::Picture& picture,
                                          std::uint32_t frame, const GP::Rect* sourceRect) {
    PictureRect clip;
    if (sourceRect) clip = toPixels(*sourceRect, scale_);
    UIA::PictureCombiner<UIA::PictureCombinerFunctors::DyeUsingAlphaMask> combiner(*buffer_, colour);
    combiner.drawInRect(toPixels(rect, scale_), picture, frame, sourceRect ? &clip : nullptr);
}

void BackgroundDrawingCanvas::drawLazyDyeMask(const GP::Rect& rect, std::uint32_t colour,
                                              const LazyPicture& picture, std::uint32_t frame,
                                              const GP::Rect* sourceRect) {
    if (const auto made = picture.get(scale_)) drawDyeMask(rect, colour, *made, frame, sourceRect);
}

}  // namespace QX::NWL
