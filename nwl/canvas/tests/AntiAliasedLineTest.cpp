#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "nwl/canvas/AntiAliasedLine.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "CanvasTestSupport.h"

namespace QX::NWL {
namespace {

using Testing::pixelAt;

std::unique_ptr<BackgroundDrawingCanvas> makeCanvas(float scale, std::int32_t width, std::int32_t height) {
    auto canvas = std::make_unique<BackgroundDrawingCanvas>();
    canvas->setScale(scale);
    canvas->setSize(width, height);
    return canvas;
}

// The first and last columns of a row with any coverage (-1 for none).
std::pair<int, int> coveredColumns(const UIA::Picture& picture, std::uint32_t y) {
    int first = -1, last = -1;
    for (std::uint32_t x = 0; x < picture.getWidth(); ++x)
        if (pixelAt(picture, x, y) >> 24) {
            if (first < 0) first = int(x);
            last = int(x);
        }
    return {first, last};
}

// At 2.0 a horizontal line at (1, 1) of length 10 runs from (2, 2) to
// (22, 2), two pixels wide with butt ends; at 1.5 it spans 15 pixels.
TEST(AntiAliasedLine, HorizontalLinesScaleWithTheCanvas) {
    const struct {
        float scale;
        std::uint32_t row;
        std::pair<int, int> columns;
    } cases[] = {{2.0f, 1, {2, 21}}, {2.0f, 2, {2, 21}}, {2.0f, 0, {-1, -1}}, {2.0f, 3, {-1, -1}}, {1.5f, 1, {2, 16}}};
    for (const auto& c : cases) {
        auto canvas = makeCanvas(c.scale, 16, 4);
        canvas->drawHorizontalLine({1, 1}, 10, 0xFF000000);
        EXPECT_EQ(coveredColumns(canvas->getBuffer(), c.row), c.columns) << c.scale << " row " << c.row;
    }
}

TEST(AntiAliasedLine, KeepsToTheClipRectangle) {
    auto canvas = makeCanvas(2.0f, 16, 8);
    canvas->setClipRect({4, 0, 8, 8});
    canvas->drawLine({0, 0}, {16, 8}, 0xFF0000FF);
    canvas->drawVerticalLine({1, 0}, 8, 0xFF0000FF);
    for (std::uint32_t y = 0; y < 16; ++y) {
        const auto [first, last] = coveredColumns(canvas->getBuffer(), y);
        if (first >= 0) {
            EXPECT_TRUE(first >= 8 && last < 16) << y;
        }
    }
    EXPECT_NE(coveredColumns(canvas->getBuffer(), 8).first, -1);
}

// The buffer holds straight alpha: half-transparent white over nothing is
// still white, half opaque; over opaque black it is mid grey.
TEST(AntiAliasedLine, SemiTransparentColoursKeepTheirBrightness) {
    auto canvas = makeCanvas(2.0f, 8, 4);
    canvas->fillRect({0, 0, 8, 1}, 0xFF000000);
    canvas->drawHorizontalLine({0, 0}, 8, 0x80FFFFFF);
    canvas->drawHorizontalLine({0, 2}, 8, 0x80FFFFFF);
    const std::uint32_t overBlack = pixelAt(canvas->getBuffer(), 4, 0);
    const std::uint32_t overNothing = pixelAt(canvas->getBuffer(), 4, 4);
    EXPECT_EQ(overBlack >> 24, 0xFFu);
    EXPECT_NEAR(double(overBlack & 0xFF), 128.0, 1.0);
    EXPECT_NEAR(double(overNothing >> 24), 128.0, 1.0);
    EXPECT_EQ(overNothing & 0xFFFFFF, 0xFFFFFFu);
}

TEST(AntiAliasedLine, DrawsNothingForNonsense) {
    auto canvas = makeCanvas(2.0f, 8, 8);
    canvas->clear(0x40102030);
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    canvas->drawLine({0, 0}, {8, 8}, 0x00FFFFFF);
    canvas->drawLineF(0, 0, 1e30f, 1, 0xFFFFFFFF);
    canvas->drawLineF(kNaN, 0, 1, 1, 0xFFFFFFFF);
    canvas->drawHorizontalLine({0, 1}, std::numeric_limits<std::int32_t>::max(), 0xFFFFFFFF);
    UIA::Picture& buffer = canvas->getBuffer();
    for (float width : {0.0f, -1.0f, kNaN}) drawAntiAliasedLine(buffer, {0, 2}, {8, 2}, 0xFFFFFFFF, width);
    drawAntiAliasedLine(buffer, {0, 2}, {(1 << 22) + 1, 2}, 0xFFFFFFFF, 1.0f);
    for (std::uint32_t pixel : Testing::pixelsOf(buffer)) EXPECT_EQ(pixel, 0x40102030u);
}

// At scale 1.0 the canvas draws exactly what the picture's own lines draw.
TEST(AntiAliasedLine, ScaleOneUsesThePictureLines) {
    auto canvas = makeCanvas(1.0f, 12, 12);
    UIA::Picture reference;
    reference.resize(12, 12, true);
    reference.fill(0);
    canvas->drawLine({1, 1}, {10, 7}, 0xC0FF0000);
    reference.drawLine(1, 1, 10, 7, 0xC0FF0000);
    canvas->drawLineF(0.5f, 11.2f, 9.7f, 10.1f, 0xFF808080);
    reference.drawAntialiasedLine(0.5f, 11.2f, 9.7f, 10.1f, 0xFF808080);
    EXPECT_EQ(Testing::pixelsOf(canvas->getBuffer()), Testing::pixelsOf(reference));
}

}  // namespace
}  // namespace QX::NWL
