#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/canvas/PixelConversion.h"
#include "CanvasTestSupport.h"

namespace QX::NWL {
namespace {

using TEST::pixelAt;

struct tConversionCase {
    float scale;
    GP::Rect logical;
    GP::Rect pixels;
};

TEST(PixelConversion, RoundsEdgeByEdge) {
    const tConversionCase cases[] = {
        {1.0f, {1, 1, 2, 2}, {1, 1, 2, 2}},
        {1.5f, {1, 1, 2, 2}, {2, 2, 3, 3}},
        {1.5f, {-1, -3, 3, 5}, {-2, -5, 5, 8}},
        {2.0f, {1, 2, 3, 4}, {2, 4, 6, 8}},
    };
    for (const auto& c : cases) EXPECT_EQ(toPixels(c.logical, c.scale), c.pixels) << c.scale;
}

TEST(PixelConversion, SaturatesAndRejectsNonsense) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(toPixels(kMax, 2.0f), kMax);
    EXPECT_EQ(toPixels(kMin, 2.0f), kMin);
    EXPECT_EQ(toPixels(5, std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(toPixels(5, std::numeric_limits<float>::infinity()), kMax);
    for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::infinity(), std::nanf("")})
        EXPECT_FALSE(isUsableScale(bad)) << bad;
}

// Neighbouring logical rectangles leave neither gaps nor overlaps at any
// scale: every pixel of the row belongs to exactly one of them.
TEST(BackgroundDrawingCanvas, AdjacentRectanglesAreSeamless) {
    for (float scale : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f}) {
        BackgroundDrawingCanvas canvas;
        canvas.setScale(scale);
        canvas.setSize(21, 1);
        for (std::int32_t x = 0; x < 21; ++x)
            canvas.fillRectBlended({x, 0, x + 1, 1}, 0x80000000u | std::uint32_t(x + 1));
        const UIA::Picture& buffer = canvas.getBuffer();
        for (std::uint32_t x = 0; x < buffer.getWidth(); ++x)
            EXPECT_EQ(pixelAt(buffer, x, 0) >> 24, 0x80u) << "scale " << scale << " x " << x;
    }
}

TEST(BackgroundDrawingCanvas, OffsetRoundTripsThroughTheScale) {
    BackgroundDrawingCanvas canvas;
    canvas.setScale(1.5f);
    canvas.setOffset({3, 3});
    EXPECT_EQ(canvas.getOffset(), (GP::Point{3, 3}));
    EXPECT_EQ(canvas.getBuffer().getOrigin(), (GP::Point{5, 5}));
    canvas.resetOffset();
    EXPECT_EQ(canvas.getBuffer().getOrigin(), (GP::Point{0, 0}));
}

TEST(BackgroundDrawingCanvas, OnlyANewUsableScaleResizesAndClears) {
    BackgroundDrawingCanvas canvas;
    canvas.setSize(10, 4);
    canvas.clear(0xFF123456);
    struct tStep {
        float scale;
        std::uint32_t width;
        bool cleared;
    };
    const tStep steps[] = {
        {1.0f, 10, false},
        {std::nanf(""), 10, false},
        {0.0f, 10, false},
        {-2.0f, 10, false},
        {std::numeric_limits<float>::infinity(), 10, false},
        {1.5f, 15, true},
    };
    for (const auto& step : steps) {
        canvas.setScale(step.scale);
        EXPECT_EQ(canvas.getBuffer().getWidth(), step.width) << step.scale;
        EXPECT_EQ(pixelAt(canvas.getBuffer(), 0, 0), step.cleared ? 0u : 0xFF123456u) << step.scale;
    }
    EXPECT_EQ(canvas.getScale(), 1.5f);
    EXPECT_EQ(canvas.getBuffer().getHeight(), 6u);
}

TEST(BackgroundDrawingCanvas, DrawPixelKeepsToTheClip) {
    BackgroundDrawingCanvas canvas;
    canvas.setSize(4, 4);
    canvas.setClipRect({1, 1, 3, 3});
    canvas.drawPixel({0, 0}, 0xFFFFFFFF);
    canvas.drawPixel({2, 2}, 0xFFFFFFFF);
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 0, 0), 0u);
    EXPECT_EQ(pixelAt(canvas.getBuffer(), 2, 2), 0xFFFFFFFFu);
}

// fillRect stores without a clip, but never beyond the buffer, whatever the
// rectangle: a root styled a pixel larger than the canvas is the usual case.
TEST(BackgroundDrawingCanvas, FillsStayInsideTheBuffer) {
    BackgroundDrawingCanvas canvas;
    canvas.setScale(2.0f);
    canvas.setSize(3, 2);
    canvas.setOffset({1, 1});
    canvas.fillRect({-5, -5, 100, 100}, 0xFF00FF00);
    canvas.fillRectBlended({-5, -5, 100, 100}, 0x80FF0000);
    canvas.invertRect({std::numeric_limits<std::int32_t>::min(), 0, std::numeric_limits<std::int32_t>::max(), 1});
    for (std::uint32_t pixel : TEST::pixelsOf(canvas.getBuffer())) EXPECT_EQ(pixel >> 24, 0xFFu);
}

}  // namespace
}  // namespace QX::NWL
