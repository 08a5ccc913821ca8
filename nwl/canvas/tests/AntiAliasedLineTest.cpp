#include <gtest/gtest.h>

#include <memory>

#include <cmath>
#include <limits>

#include "nwl/canvas/AntiAliasedLine.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "CanvasTestSupport.h"

namespace QX::NWL {
namespace {

using TEST::pixelAt;

// The columns (from, to) of a row that hold any coverage.
std::pair<std::int32_t, std::int32_t> coveredColumns(const UIA::Picture& picture, std::uint32_t y) {
    std::int32_t first = -1;
    std::int32_t last = -1;
    for (std::uint32_t x = 0; x < picture.getWidth(); ++x) {
        if ((pixelAt(picture, x, y) >> 24) == 0) continue;
        if (first < 0) first = std::int32_t(x);
        last = std::int32_t(x);
    }
    return {first, last};
}

std::unique_ptr<BackgroundDrawingCanvas> makeCanvas(float scale, std::int32_t width, std::int32_t height) {
    auto canvas = std::make_unique<BackgroundDrawingCanvas>();
    canvas->setScale(scale);
    canvas->setSize(width, height);
    return canvas;
}

TEST(AntiAliasedLine, HorizontalLineAtTwoIsTwoPixelsWideWithButtEnds) {
    auto canvas = makeCanvas(2.0f, 16, 4);
    canvas->drawHorizontalLine({1, 1}, 10, 0xFF000000);
    const UIA::Picture& buffer = canvas->getBuffer();
    for (std::uint32_t y : {1u, 2u}) {
        EXPECT_EQ(coveredColumns(buffer, y), std::make_pair(2, 21)) << y;
        for (std::uint32_t x = 2; x < 22; ++x) EXPECT_EQ(pixelAt(buffer, x, y), 0xFF000000u) << x << "," << y;
    }
    for (std::uint32_t y : {0u, 3u}) EXPECT_EQ(coveredColumns(buffer, y), std::make_pair(-1, -1)) << y;
}

TEST(AntiAliasedLine, LengthScalesWithTheCanvas) {
    auto canvas = makeCanvas(1.5f, 16, 4);
    canvas->drawHorizontalLine({0, 1}, 10, 0xFF000000);
    const auto [first, last] = coveredColumns(canvas->getBuffer(), 1);
    EXPECT_EQ(last - first + 1, 15);
}

TEST(AntiAliasedLine, KeepsToTheClipRectangle) {
    auto canvas = makeCanvas(2.0f, 16, 8);
    canvas->setClipRect({4, 0, 8, 8});
    canvas->drawLine({0, 0}, {16, 8}, 0xFF0000FF);
    canvas->drawVerticalLine({1, 0}, 8, 0xFF0000FF);
    const UIA::Picture& buffer = canvas->getBuffer();
    bool anyInside = false;
    for (std::uint32_t y = 0; y < buffer.getHeight(); ++y)
        for (std::uint32_t x = 0; x < buffer.getWidth(); ++x) {
            const bool inside = x >= 8 && x < 16;
            const bool covered = (pixelAt(buffer, x, y) >> 24) != 0;
            EXPECT_TRUE(inside || !covered) << x << "," << y;
            anyInside |= covered;
        }
    EXPECT_TRUE(anyInside);
}

// The buffer holds straight alpha: a half-transparent white over nothing is
// still white, only half opaque; over opaque black it is mid grey.
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
    constexpr float kHuge = 1e30f;
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    canvas->drawLine({0, 0}, {8, 8}, 0x00FFFFFF);
    canvas->drawLineF(0, 0, kHuge, 1, 0xFFFFFFFF);
    canvas->drawLineF(kNaN, 0, 1, 1, 0xFFFFFFFF);
    canvas->drawHorizontalLine({0, 1}, std::numeric_limits<std::int32_t>::max(), 0xFFFFFFFF);
    UIA::Picture& buffer = canvas->getBuffer();
    drawAntiAliasedLine(buffer, {0, 2}, {8, 2}, 0xFFFFFFFF, 0.0f);
    drawAntiAliasedLine(buffer, {0, 2}, {8, 2}, 0xFFFFFFFF, -1.0f);
    drawAntiAliasedLine(buffer, {0, 2}, {8, 2}, 0xFFFFFFFF, kNaN);
    drawAntiAliasedLine(buffer, {0, 2}, {(1 << 22) + 1, 2}, 0xFFFFFFFF, 1.0f);
    for (std::uint32_t pixel : TEST::pixelsOf(buffer)) EXPECT_EQ(pixel, 0x40102030u);
}

// At scale 1.0 the canvas draws exactly what the picture's own integer and
// float line operations draw.
TEST(AntiAliasedLine, ScaleOneUsesThePictureLines) {
    auto canvas = makeCanvas(1.0f, 12, 12);
    UIA::Picture reference;
    reference.resize(12, 12, true);
    reference.fill(0);
    canvas->drawLine({1, 1}, {10, 7}, 0xC0FF0000);
    reference.drawLine(1, 1, 10, 7, 0xC0FF0000);
    canvas->drawHorizontalLine({0, 9}, 7, 0xFF00FF00);
    reference.drawHorizontalLine(0, 9, 7, 0xFF00FF00);
    canvas->drawVerticalLine({11, 2}, 5, 0xFF0000FF);
    reference.drawVerticalLine(11, 2, 5, 0xFF0000FF);
    canvas->drawLineF(0.5f, 11.2f, 9.7f, 10.1f, 0xFF808080);
    reference.drawAntialiasedLine(0.5f, 11.2f, 9.7f, 10.1f, 0xFF808080);
    EXPECT_EQ(TEST::pixelsOf(canvas->getBuffer()), TEST::pixelsOf(reference));
}

}  // namespace
}  // namespace QX::NWL
