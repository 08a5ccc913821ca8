#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/canvas/PixelConversion.h"
#include "CanvasTestSupport.h"

namespace QX::NWL {
namespace {

using Testing::pixelAt;

TEST(PixelConversion, RoundsEdgeByEdgeAndSaturates) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    const struct {
        float scale;
        GP::Rect logical;
        GP::Rect pixels;
    } cases[] = {
        {1.0f, {1, 1, 2, 2}, {1, 1, 2, 2}},
        {1.5f, {1, 1, 2, 2}, {2, 2, 3, 3}},
        {1.5f, {-1, -3, 3, 5}, {-2, -5, 5, 8}},
        {2.0f, {kMin, 0, kMax, 1}, {kMin, 0, kMax, 2}},
        {std::numeric_limits<float>::infinity(), {-1, 0, 1, 0}, {kMin, 0, kMax, 0}},
        {std::nanf(""), {1, 2, 3, 4}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(toPixels(c.logical, c.scale), c.pixels) << c.scale;
}

// Neighbouring logical rectangles leave neither gaps nor overlaps at any
// scale: every pixel of the row is covered exactly once.
TEST(BackgroundDrawingCanvas, AdjacentRectanglesAreSeamless) {
    for (float scale : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f}) {
        BackgroundDrawingCanvas canvas;
        canvas.setScale(scale);
        canvas.setSize(21, 1);
        for (std::int32_t x = 0; x < 21; ++x) canvas.fillRectBlended({x, 0, x + 1, 1}, 0x80000000u | std::uint32_t(x));
        for (std::uint32_t pixel : Testing::pixelsOf(canvas.getBuffer())) EXPECT_EQ(pixel >> 24, 0x80u) << scale;
    }
}

TEST(BackgroundDrawingCanvas, OffsetRoundTripsThroughTheScale) {
    BackgroundDrawingCanvas canvas;
    canvas.setScale(1.5f);
    canvas.setOffset({3, 3});
    EXPECT_EQ(canvas.getOffset(), (GP::Point{3, 3}));
    EXPECT_EQ(canvas.getBuffer().getOrigin(), (GP::Point{5, 5}));
}

// Scales that are no finite positive number are ignored; only a new scale
// resizes and clears the buffer.
TEST(BackgroundDrawingCanvas, OnlyANewUsableScaleResizesAndClears) {
    BackgroundDrawingCanvas canvas;
    canvas.setSize(10, 4);
    canvas.clear(0xFF123456);
    const struct {
        float scale;
        std::uint32_t width;
        bool cleared;
    } steps[] = {
        {1.0f, 10, false}, {std::nanf(""), 10, false}, {0.0f, 10, false},
        {-2.0f, 10, false}, {std::numeric_limits<float>::infinity(), 10, false}, {1.5f, 15, true},
    };
    for (const auto& step : steps) {
        canvas.setScale(step.scale);
        EXPECT_EQ(canvas.getBuffer().getWidth(), step.width) << step.scale;
        EXPECT_EQ(pixelAt(canvas.getBuffer(), 0, 0), step.cleared ? 0u : 0xFF123456u) << step.scale;
    }
}

}  // namespace
}  // namespace QX::NWL
