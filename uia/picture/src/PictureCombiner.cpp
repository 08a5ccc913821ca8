#include "uia/picture/PictureCombiner.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "uia/picture/Picture.h"
#include "uia/picture/PictureClipScope.h"

namespace QX::UIA {

template <class F>
void PictureCombiner<F>::combineArea(const PictureRect& area, const Picture& source, std::int64_t sourceX,
                                     std::int64_t sourceY) {
    const PictureRect visible = area.intersected(destination_.getDrawingBounds());
    if (visible.isEmpty()) {
        return;
    }
    sourceX += std::int64_t(visible.left) - area.left;
    sourceY += std::int64_t(visible.top) - area.top;
    rule_.combineRows(destination_.getPixelAddress(visible.left, visible.top), destination_.getWidth(),
                      source.getRow(std::uint32_t(sourceY)) + sourceX, source.getWidth(),
                      std::size_t(visible.width()), std::size_t(visible.height()));
}

namespace {

// A picture drawn onto itself would read rows that the same call has already
// written: it is drawn from a copy of itself.
std::unique_ptr<Picture> copyOfPicture(const Picture& source) {
    auto copy = std::make_unique<Picture>();
    if (!copy->resize(source.getWidth(), source.getHeight(), true)) {
        return nullptr;
    }
    copy->copyPropertiesFrom(source);
    std::copy_n(source.getPixels(), std::size_t(source.getWidth()) * source.getHeight(), copy->getPixels());
    copy->setOrigin(source.getOriginX(), source.getOriginY());
    if (!source.getRegionMasks().empty()) {
        copy->updateRegionMasks();
    }
    return copy;
}

// Tiles narrower than this are first repeated side by side into a wider
// strip, so that a one-pixel centre stretched over a window does not cost a
// call per pixel.
constexpr std::int64_t kNarrowTile = 16;
constexpr std::int64_t kWideStrip = 256;

}  // namespace

template <class F>
void PictureCombiner<F>::tileArea(const PictureRect& area, const Picture& source, const tTile& tile) {
    const PictureRect visible = area.intersected(destination_.getDrawingBounds());
    if (visible.isEmpty() || tile.width < 1 || tile.height < 1) {
        return;
    }
    // Tiles stay aligned to the unclipped rectangle.
    const std::int64_t phaseX = (std::int64_t(visible.left) - area.left) % tile.width;
    const std::int64_t phaseY = (std::int64_t(visible.top) - area.top) % tile.height;
    const std::uint32_t* pixels = source.getRow(std::uint32_t(tile.sourceY)) + tile.sourceX;
    std::size_t stride = source.getWidth();
    std::int64_t width = tile.width;
    std::vector<std::uint32_t> strip;
    if (tile.width < kNarrowTile && visible.width() > tile.width) {
        width = (std::min(visible.width() + tile.width, kWideStrip) + tile.width - 1) / tile.width * tile.width;
        strip.resize(std::size_t(width) * std::size_t(tile.height));
        for (std::int64_t row = 0; row < tile.height; ++row) {
            for (std::int64_t x = 0; x < width; ++x) {
                strip[std::size_t(row * width + x)] = pixels[std::size_t(row) * stride + std::size_t(x % tile.width)];
            }
        }
        pixels = strip.data();
        stride = std::size_t(width);
    }
    fillTiles(visible, pixels, stride, width, tile.height, phaseX, phaseY);
}

template <class F>
void PictureCombiner<F>::fillTiles(const PictureRect& visible, const std::uint32_t* tile, std::size_t tileStride,
                                   std::int64_t tileWidth, std::int64_t tileHeight, std::int64_t phaseX,
                                   std::int64_t phaseY) {
    for (std::int64_t y = visible.top; y < visible.bottom;) {
        const std::int64_t rows = std::min<std::int64_t>(tileHeight - phaseY, visible.bottom - y);
        const std::uint32_t* sourceRow = tile + std::size_t(phaseY) * tileStride;
        std::int64_t column = phaseX;
        for (std::int64_t x = visible.left; x < visible.right;) {
            const std::int64_t columns = std::min<std::int64_t>(tileWidth - column, visible.right - x);
            rule_.combineRows(destination_.getPixelAddress(std::int32_t(x), std::int32_t(y)), destination_.getWidth(),
                              sourceRow + column, tileStride, std::size_t(columns), std::size_t(rows));
            x += columns;
            column = 0;
        }
        y += rows;
        phaseY = 0;
    }
}

template <class F>
void PictureCombiner<F>::drawAt(std::int32_t x, std::int32_t y, const Picture& source, std::uint32_t frame,
                                const PictureRect* sourceRect) {
    if (!source.hasPixels() || !destination_.hasPixels()) {
        return;
    }
    if (&source == &destination_) {
        if (const auto copy = copyOfPicture(source)) {
            drawAt(x, y, *copy, frame, sourceRect);
        }
        return;
    }
    const GP::Point frameOrigin = source.getFrameOrigin(frame);
    const PictureRect frameRect =
        PictureRect::fromSize(frameOrigin.x, frameOrigin.y, source.getFrameWidth(), source.getFrameHeight());
    const PictureRect wanted =
        sourceRect ? sourceRect->offsetBy(std::int64_t(frameOrigin.x) + source.getOriginX(),
                                          std::int64_t(frameOrigin.y) + source.getOriginY())
                   : frameRect;
    // A source rectangle larger than the frame must not read past it.
    const PictureRect area = wanted.intersected(frameRect);
    if (area.isEmpty()) {
        return;
    }
    rule_.prepare(destination_, source);
    const std::int64_t destX = std::int64_t(x) + (std::int64_t(area.left) - wanted.left);
    const std::int64_t destY = std::int64_t(y) + (std::int64_t(area.top) - wanted.top);
    combineArea(PictureRect::fromSize(destX, destY, area.width(), area.height()), source, area.left, area.top);
}

template <class F>
void PictureCombiner<F>::drawRegions(const PictureRect& destRect, const Picture& source, std::uint32_t frame) {
    const PictureProperties::tBorders borders = source.getEffectiveBorders();
    const std::int64_t frameWidth = source.getFrameWidth();
    const std::int64_t frameHeight = source.getFrameHeight();
    const std::int64_t left = borders.left, right = borders.right, top = borders.top, bottom = borders.bottom;
    const std::int64_t centreWidth = frameWidth - left - right;
    const std::int64_t centreHeight = frameHeight - top - bottom;
    if (centreWidth < 1 || centreHeight < 1) {
        return;
    }
    rule_.prepare(destination_, source);
    const GP::Point origin = source.getFrameOrigin(frame);
    const std::int64_t fx = origin.x, fy = origin.y;
    const std::uint32_t mask = source.getRegionMask(std::min(frame, source.getFrameCount() - 1));
    const std::int64_t L = destRect.left, T = destRect.top, R = destRect.right, B = destRect.bottom;
    auto drawn = [mask](int bit) { return (mask & (1u << bit)) == 0; };
    auto corner = [&](int bit, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, std::int64_t sx,
                      std::int64_t sy) {
        if (drawn(bit)) {
            combineArea(PictureRect::fromSize(x, y, w, h), source, sx, sy);
        }
    };
    auto tiled = [&](int bit, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, std::int64_t sx,
                     std::int64_t sy, std::int64_t w, std::int64_t h) {
        if (drawn(bit)) {
            tileArea(PictureRect(PictureRect::clamp(x1), PictureRect::clamp(y1), PictureRect::clamp(x2),
                                 PictureRect::clamp(y2)),
                     source, tTile{std::int32_t(sx), std::int32_t(sy), std::int32_t(w), std::int32_t(h)});
        }
    };
    const std::int64_t bottomY = fy + top + centreHeight;
    const std::int64_t rightX = fx + frameWidth - right;
    if (top > 0) {
        if (left > 0) corner(0, L, T, left, top, fx, fy);
        tiled(1, L + left, T, R - right, T + top, fx + left, fy, centreWidth, top);
        if (right > 0) corner(2, R - right, T, right, top, rightX, fy);
    }
    if (left > 0) tiled(3, L, T + top, L + left, B - bottom, fx, fy + top, left, centreHeight);
    tiled(4, L + left, T + top, R - right, B - bottom, fx + left, fy + top, centreWidth, centreHeight);
    if (right > 0) tiled(5, R - right, T + top, R, B - bottom, rightX, fy + top, right, centreHeight);
    if (bottom > 0) {
        if (left > 0) corner(6, L, B - bottom, left, bottom, fx, bottomY);
        tiled(7, L + left, B - bottom, R - right, B, fx + left, bottomY, centreWidth, bottom);
        if (right > 0) corner(8, R - right, B - bottom, right, bottom, rightX, bottomY);
    }
}

template <class F>
void PictureCombiner<F>::drawInRect(const PictureRect& destRect, const Picture& source, std::uint32_t frame,
                                    const PictureRect* clipRect) {
    if (!source.hasPixels() || !destination_.hasPixels()) {
        return;
    }
    if (&source == &destination_) {
        if (const auto copy = copyOfPicture(source)) {
            drawInRect(destRect, *copy, frame, clipRect);
        }
        return;
    }
    if (source.getFixedFlags() == 0) {
        std::optional<PictureClipScope> scope;
        if (clipRect) {
            scope.emplace(destination_, *clipRect);
        }
        drawAt(destRect.left, destRect.top, source, frame, nullptr);
        return;
    }
    PictureClipScope scope(destination_, clipRect ? *clipRect : destRect);
    drawRegions(destRect, source, frame);
}

template class PictureCombiner<PictureCombinerFunctors::BlendUsingAlpha>;
template class PictureCombiner<PictureCombinerFunctors::CopySource>;
template class PictureCombiner<PictureCombinerFunctors::DyeUsingAlphaMask>;

// Convenience operations of the picture.

void Picture::blendPicture(std::int32_t x, std::int32_t y, const Picture& source, std::uint32_t frame,
                           const PictureRect* sourceRect) {
    PictureCombiner<PictureCombinerFunctors::BlendUsingAlpha>(*this).drawAt(x, y, source, frame, sourceRect);
}

void Picture::copyPicture(std::int32_t x, std::int32_t y, const Picture& source, std::uint32_t frame,
                          const PictureRect* sourceRect) {
    PictureCombiner<PictureCombinerFunctors::CopySource>(*this).drawAt(x, y, source, frame, sourceRect);
}

void Picture::blendPictureInRect(const PictureRect& destRect, const Picture& source, std::uint32_t frame,
                                 const PictureRect* clipRect) {
    PictureCombiner<PictureCombinerFunctors::BlendUsingAlpha>(*this).drawInRect(destRect, source, frame, clipRect);
}

void Picture::copyPictureInRect(const PictureRect& destRect, const Picture& source, std::uint32_t frame,
                                const PictureRect* clipRect) {
    PictureCombiner<PictureCombinerFunctors::CopySource>(*this).drawInRect(destRect, source, frame, clipRect);
}

}  // namespace QX::UIA
