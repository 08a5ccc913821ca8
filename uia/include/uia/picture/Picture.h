#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "gp/Geometry.h"
#include "uia/picture/PictureProperties.h"
#include "uia/picture/PictureRect.h"

namespace QX::GP {
class StorageIO;
class Path;
}  // namespace QX::GP

namespace QX::UIA {

// The one pixel container of the user interface: 32-bit pixels, bytes blue,
// green, red, alpha in memory (0xAARRGGBB as a u32), straight alpha, rows
// contiguous with a stride of width pixels. A header area of kHeaderSize
// bytes sits in front of the pixels in the same block: it is kept free (room
// for a bitmap header) and nothing writes it.
//
// Drawing operations take logical coordinates: the origin is added to them,
// and they are limited to getDrawingBounds().
class Picture : public PictureProperties {
public:
    static constexpr std::uint32_t kHeaderSize = 40;
    // Largest block a picture takes: pictures of the user interface are far
    // smaller, and hostile files must not make us allocate gigabytes.
    static constexpr std::uint64_t kMaxBlockSize = std::uint64_t(256) << 20;

    Picture();
    ~Picture() override;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Makes room for width x height pixels (width and height are not set).
    // Keeps the block when it has exactly the size, or is larger and `exact`
    // is false. False (and no block) when it cannot be had.
    virtual bool allocatePixels(std::uint32_t width, std::uint32_t height, bool exact);
    // allocatePixels, then sets the size, origin (0, 0) and no clip.
    bool resize(std::uint32_t width, std::uint32_t height, bool exact);

    std::uint32_t getWidth() const { return width_; }
    std::uint32_t getHeight() const { return height_; }
    bool hasPixels() const { return pixels_ != nullptr; }
    std::uint32_t* getPixels() { return pixels_; }
    const std::uint32_t* getPixels() const { return pixels_; }
    // Physical row y (no origin).
    std::uint32_t* getRow(std::uint32_t y) { return pixels_ + std::size_t(y) * width_; }
    const std::uint32_t* getRow(std::uint32_t y) const { return pixels_ + std::size_t(y) * width_; }
    // Address of logical pixel (x, y): origin applied, not checked.
    std::uint32_t* getPixelAddress(std::int32_t x, std::int32_t y) {
        return pixels_ + (std::int64_t(originY_) + y) * std::int64_t(width_) + originX_ + x;
    }
    const std::uint32_t* getPixelAddress(std::int32_t x, std::int32_t y) const {
        return pixels_ + (std::int64_t(originY_) + y) * std::int64_t(width_) + originX_ + x;
    }
    // The reserved bytes in front of the pixels (null without a block).
    std::uint8_t* getHeader() { return block_.get(); }
    std::uint32_t getHeaderSize() const { return kHeaderSize; }
    std::size_t getAllocatedSize() const { return allocatedSize_; }

    // Stores the colour into every pixel, ignoring clip and origin.
    void fill(std::uint32_t colour);
    // Stores the colour into the rectangle (logical coordinates), without
    // blending; limited to the picture, not to the clip.
    void clearRect(const PictureRect& rect, std::uint32_t colour);

    // Clip and origin. The clip is in logical coordinates.
    void setClipRect(const PictureRect& rect);
    void resetClipRect();
    bool isClipActive() const { return clipActive_; }
    const PictureRect& getClipRect() const { return clip_; }
    // What drawing is limited to: the clip when one is active, else the
    // picture's pixels, both in logical coordinates.
    PictureRect getDrawingBounds() const;
    void setOrigin(std::int32_t x, std::int32_t y);
    std::int32_t getOriginX() const { return originX_; }
    std::int32_t getOriginY() const { return originY_; }
    GP::Point getOrigin() const { return GP::Point{originX_, originY_}; }

    // Selects the colour-only blending rule (the canvas's buffer sets it).
    bool hasTransparency() const { return transparencyFlag_; }
    void setTransparency(bool transparency) { transparencyFlag_ = transparency; }

    // Frames of a strip.
    std::uint32_t getFrameWidth() const;
    std::uint32_t getFrameHeight() const;
    // Physical top-left pixel of a frame; an index past the last frame is
    // taken as the last.
    GP::Point getFrameOrigin(std::uint32_t frame) const;

    void flipVertical();

    // One nine-bit mask per frame; a set bit (3 x band + column) means that
    // region of the frame holds no pixel with alpha other than 0.
    void updateRegionMasks();
    const std::vector<std::uint32_t>& getRegionMasks() const { return regionMasks_; }
    // 0 when the picture has no mask for the frame.
    std::uint32_t getRegionMask(std::uint32_t frame) const;

    // Drawing primitives: colours are 0xAARRGGBB with straight alpha,
    // coordinates are logical, everything is limited to getDrawingBounds().
    // The colour blend of one colour into one pixel (the rule of every
    // primitive; depends on hasTransparency()).
    void blendPixel(std::uint32_t& pixel, std::uint32_t colour) const;
    void drawPixel(std::int32_t x, std::int32_t y, std::uint32_t colour);
    // Bresenham line; the end point is not drawn.
    void drawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t colour);
    void drawAntialiasedLine(float x1, float y1, float x2, float y2, std::uint32_t colour);
    void drawHorizontalLine(std::int32_t x, std::int32_t y, std::int32_t length, std::uint32_t colour);
    void drawVerticalLine(std::int32_t x, std::int32_t y, std::int32_t length, std::uint32_t colour);
    // Outline, each pixel once; sides cut away by the clip are not drawn.
    void drawRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t colour);
    void fillRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t colour);
    // XOR 0xFFFFFF: colour inverted, alpha kept.
    void invertRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

    // Combining another picture's frame into this one (see PictureCombiner).
    // `sourceRect` is in frame coordinates (null: the whole frame).
    void blendPicture(std::int32_t x, std::int32_t y, const Picture& source, std::uint32_t frame,
                      const PictureRect* sourceRect = nullptr);
    void copyPicture(std::int32_t x, std::int32_t y, const Picture& source, std::uint32_t frame,
                     const PictureRect* sourceRect = nullptr);
    void blendPictureInRect(const PictureRect& destRect, const Picture& source, std::uint32_t frame,
                            const PictureRect* clipRect = nullptr);
    void copyPictureInRect(const PictureRect& destRect, const Picture& source, std::uint32_t frame,
                           const PictureRect* clipRect = nullptr);

    // Decoding: PNG, then JPEG, then TGA, each from the reader's starting
    // position. `detectAlpha` finds out whether some pixel is not opaque and
    // stores that with setOption.
    bool loadFromStream(GP::StorageIO& reader, bool detectAlpha);
    bool decodePng(GP::StorageIO& reader, bool detectAlpha);
    bool decodeJpeg(GP::StorageIO& reader, bool detectAlpha);
    bool decodeTga(GP::StorageIO& reader, bool detectAlpha);

    // A new picture scaled by `scale` with the same properties (fixed
    // borders scaled too); null when the scale is not finite and positive,
    // the new picture cannot be allocated or the resampling fails.
    std::unique_ptr<Picture> scalePicture(float scale, bool nearest) const;

private:
    struct tFreeBlock {
        void operator()(std::uint8_t* block) const { std::free(block); }
    };

    void releaseBlock();

    std::unique_ptr<std::uint8_t, tFreeBlock> block_;
    std::uint32_t* pixels_ = nullptr;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    std::size_t allocatedSize_ = 0;
    bool transparencyFlag_ = false;
    bool clipActive_ = false;
    PictureRect clip_;
    std::int32_t originX_ = 0;
    std::int32_t originY_ = 0;
    std::vector<std::uint32_t> regionMasks_;
};

// The file name of a picture for a display scale: unchanged for 1.0 (or not
// a number), else the name stem with "@2x" before the extension.
GP::Path makeScaledPictureName(const GP::Path& path, float scale);

}  // namespace QX::UIA
