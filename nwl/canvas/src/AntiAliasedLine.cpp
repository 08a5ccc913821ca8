#include "nwl/canvas/AntiAliasedLine.h"

#include <agg_basics.h>
#include <agg_conv_stroke.h>
#include <agg_path_storage.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_rendering_buffer.h>
#include <agg_scanline_u.h>

#include <cmath>
#include <cstdlib>

#include "uia/picture/Picture.h"

namespace QX::NWL {
namespace {

// The buffer keeps straight alpha: the plain blender composites without
// premultiplying, so semi-transparent colours keep their brightness.
using tPixelFormat = agg::pixfmt_alpha_blend_rgba<agg::blender_rgba_plain<agg::rgba8, agg::order_bgra>,
                                                  agg::rendering_buffer>;

// Beyond this the rasteriser's 24.8 fixed point overflows.
constexpr double kCoordinateLimit = double(1 << 22);

bool isDrawable(double x, double y) { return std::fabs(x) <= kCoordinateLimit && std::fabs(y) <= kCoordinateLimit; }

}  // namespace

void drawAntiAliasedLine(UIA::Picture& picture, const GP::Point& a, const GP::Point& b, std::uint32_t colour,
                         float width) {
    const std::uint32_t alpha = colour >> 24;
    if (alpha == 0 || !picture.hasPixels() || !std::isfinite(width) || width <= 0.0f ||
        double(width) > kCoordinateLimit)
        return;
    const double ax = double(a.x) + picture.getOriginX();
    const double ay = double(a.y) + picture.getOriginY();
    const double bx = double(b.x) + picture.getOriginX();
    const double by = double(b.y) + picture.getOriginY();
    if (!isDrawable(ax, ay) || !isDrawable(bx, by)) return;

    // The drawing bounds are logical; the renderer works on physical pixels
    // and its clip box takes inclusive edges.
    const UIA::PictureRect bounds = picture.getDrawingBounds().offsetBy(picture.getOriginX(), picture.getOriginY())
                                        .intersected(UIA::PictureRect::fromSize(0, 0, picture.getWidth(),
                                                                                picture.getHeight()));
    if (bounds.isEmpty()) return;

    agg::rendering_buffer rows(reinterpret_cast<agg::int8u*>(picture.getPixels()), picture.getWidth(),
                               picture.getHeight(), int(picture.getWidth() * 4));
    tPixelFormat pixels(rows);
    agg::renderer_base<tPixelFormat> renderer(pixels);
    renderer.clip_box(bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1);

    agg::path_storage path;
    path.move_to(ax, ay);
    path.line_to(bx, by);
    agg::conv_stroke<agg::path_storage> stroke(path);
    stroke.width(width);
    stroke.line_cap(agg::butt_cap);
    stroke.line_join(agg::round_join);
    stroke.inner_join(agg::inner_round);
    stroke.miter_limit(4.0);
    stroke.inner_miter_limit(1.01);
    stroke.approximation_scale(1.0);

    agg::rasterizer_scanline_aa<> rasteriser;
    rasteriser.clip_box(bounds.left, bounds.top, bounds.right, bounds.bottom);
    rasteriser.add_path(stroke);
    agg::scanline_u8 scanline;
    const agg::rgba8 aggColour(agg::int8u(colour >> 16), agg::int8u(colour >> 8), agg::int8u(colour),
                               agg::int8u(alpha));
    agg::render_scanlines_aa_solid(rasteriser, scanline, renderer, aggColour);
}

}  // namespace QX::NWL
