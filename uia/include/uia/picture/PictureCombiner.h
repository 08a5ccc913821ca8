#pragma once
#include <cstddef>
#include <cstdint>

#include "uia/picture/PictureRect.h"

namespace QX::UIA {

class Picture;

// Pixel rules of the combiners. Each combines runs of rows: `width` pixels
// per row, `height` rows, strides in pixels. Channels b, g, r, a; mul and div
// are the exact rounding products of 8-bit values by 255.
namespace PictureCombinerFunctors {

// w = mul(s.a, d.a); d.c = div(d.c (255 - w) + s.c w); d.a is kept.
struct BlendUsingAlpha {
    void prepare(const Picture& destination, const Picture& source) {}
    void combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                     std::size_t sourceStride, std::size_t width, std::size_t height) const;
};

// Copies the source: rows unchanged when its alpha is not in use, else the
// colour-only rule when either picture selects it, else straight-alpha
// source over.
struct CopySource {
    enum class tMode { kRows, kColourOnly, kSourceOver };

    void prepare(const Picture& destination, const Picture& source);
    void combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                     std::size_t sourceStride, std::size_t width, std::size_t height) const;

    tMode mode = tMode::kRows;
};

// Paints the dye colour through the source's alpha: w = mul(s.a, k.a);
// d.c = div(d.c (255 - w) + k.c w); d.a is kept.
struct DyeUsingAlphaMask {
    explicit DyeUsingAlphaMask(std::uint32_t colour) : dye(colour) {}
    void prepare(const Picture& destination, const Picture& source) {}
    void combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                     std::size_t sourceStride, std::size_t width, std::size_t height) const;

    std::uint32_t dye;
};

}  // namespace PictureCombinerFunctors

// Draws one frame of a source picture into a destination picture, at a point
// at its natural size or into a rectangle with the source's fixed borders
// kept and the rest tiled, through the pixel rule F.
template <class F>
class PictureCombiner {
public:
    template <class... RuleArgs>
    explicit PictureCombiner(Picture& destination, RuleArgs&&... ruleArgs)
        : destination_(destination), rule_(static_cast<RuleArgs&&>(ruleArgs)...) {}
    virtual ~PictureCombiner() = default;
    PictureCombiner(const PictureCombiner&) = delete;
    PictureCombiner& operator=(const PictureCombiner&) = delete;

    // Draws the frame at logical point (x, y). `sourceRect` is in frame
    // coordinates (null: the whole frame); it is limited to the frame.
    void drawAt(std::int32_t x, std::int32_t y, const Picture& source, std::uint32_t frame,
                const PictureRect* sourceRect);
    // Draws the frame into destRect: fixed borders 1:1, the rest tiled;
    // limited to clipRect (or to destRect when null).
    void drawInRect(const PictureRect& destRect, const Picture& source, std::uint32_t frame,
                    const PictureRect* clipRect);

private:
    struct tTile {
        std::int32_t sourceX;  // physical source position of the tile
        std::int32_t sourceY;
        std::int32_t width;
        std::int32_t height;
    };

    // Combines the source area starting at physical (sourceX, sourceY) into
    // the logical destination rectangle, clipped.
    void combineArea(const PictureRect& area, const Picture& source, std::int64_t sourceX, std::int64_t sourceY);
    // Tiles the destination rectangle with the source tile, tiles aligned to
    // the rectangle's unclipped top-left corner.
    void tileArea(const PictureRect& area, const Picture& source, const tTile& tile);
    // Fills the visible rectangle with a tile (pixels with a row stride),
    // starting at the given phase inside it.
    void fillTiles(const PictureRect& visible, const std::uint32_t* tile, std::size_t tileStride,
                   std::int64_t tileWidth, std::int64_t tileHeight, std::int64_t phaseX, std::int64_t phaseY);
    void drawRegions(const PictureRect& destRect, const Picture& source, std::uint32_t frame);

    Picture& destination_;
    F rule_;
};

extern template class PictureCombiner<PictureCombinerFunctors::BlendUsingAlpha>;
extern template class PictureCombiner<PictureCombinerFunctors::CopySource>;
extern template class PictureCombiner<PictureCombinerFunctors::DyeUsingAlphaMask>;

}  // namespace QX::UIA
