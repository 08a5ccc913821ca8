#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/style/LazyPicture.h"
#include "CanvasTestSupport.h"

namespace QX::NWL {
namespace {

using Testing::pixelAt;

constexpr std::uint32_t kPlain = 0xFFFF0000;
constexpr std::uint32_t kDouble = 0xFF0000FF;
// Pictures blend by the destination's alpha too: the canvas starts opaque.
constexpr std::uint32_t kBackground = 0xFF000000;

// Pictures named by the style are looked for under their "@2x" name at any
// scale but 1.0, and fall back to the plain picture when there is none.
TEST(CanvasPicture, LazyPicturesFollowTheCanvasScale) {
    GP::registerResource(GP::ResourceId("BADGE.TGA"), "PICTURE", Testing::makeTga(4, 4, kPlain));
    GP::registerResource(GP::ResourceId("BADGE@2X.TGA"), "PICTURE", Testing::makeTga(8, 8, kDouble));
    GP::registerResource(GP::ResourceId("PLAIN.TGA"), "PICTURE", Testing::makeTga(4, 4, kPlain));
    ManagerContainer container;
    const LazyPicture badge = container.getLazyPicture("badge.tga", UIA::PictureProperties());
    const LazyPicture plain = container.getLazyPicture("plain.tga", UIA::PictureProperties());
    struct tCase {
        float scale;
        const LazyPicture* picture;
        std::uint32_t colour;
        std::uint32_t lastCovered;  // in pixels
    };
    const tCase cases[] = {
        {1.0f, &badge, kPlain, 3}, {2.0f, &badge, kDouble, 7}, {1.5f, &badge, kDouble, 7}, {2.0f, &plain, kPlain, 3},
    };
    for (const auto& c : cases) {
        BackgroundDrawingCanvas canvas;
        canvas.setScale(c.scale);
        canvas.setSize(10, 10);
        canvas.clear(kBackground);
        canvas.drawLazyPicture({0, 0}, *c.picture, 0, nullptr, true);
        const UIA::Picture& buffer = canvas.getBuffer();
        EXPECT_EQ(pixelAt(buffer, c.lastCovered, c.lastCovered), c.colour) << c.scale;
        EXPECT_EQ(pixelAt(buffer, c.lastCovered + 1, 0), kBackground) << c.scale;
    }
}

// Each picture is loaded once per scale; a scale without a picture of its
// own asks again at every draw (one may appear later) and meanwhile draws the
// one of 1.0, loaded once; a scale that is no number reads as 1.0.
TEST(CanvasPicture, LazyPicturesLoadOncePerScale) {
    std::map<float, int> loads;
    const auto onePixel = std::make_shared<UIA::Picture>();
    onePixel->resize(1, 1, true);
    onePixel->fill(kPlain);
    const LazyPicture picture("counted", [&](float scale) -> std::shared_ptr<const UIA::Picture> {
        ++loads[scale];
        return scale == 1.0f ? onePixel : nullptr;
    });
    BackgroundDrawingCanvas canvas;
    canvas.setScale(2.0f);
    canvas.setSize(4, 4);
    canvas.clear(kBackground);
    for (int repaint = 0; repaint < 3; ++repaint) canvas.drawLazyPicture({1, 1}, picture, 0, nullptr, true);
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 2, 2), kPlain);
    for (float odd : {std::nanf(""), std::numeric_limits<float>::infinity(), 0.0f, -2.0f})
        EXPECT_EQ(picture.get(odd), onePixel);
    EXPECT_EQ(loads, (std::map<float, int>{{1.0f, 1}, {2.0f, 3}}));
}

}  // namespace
}  // namespace QX::NWL
