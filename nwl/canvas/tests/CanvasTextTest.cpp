#include <gtest/gtest.h>

#include <memory>

#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "CanvasTestSupport.h"

namespace QX::NWL {
namespace {

using Testing::pixelAt;
using Testing::pixelsOf;

constexpr std::uint32_t kBackground = 0x80336699;  // half transparent on purpose

std::unique_ptr<BackgroundDrawingCanvas> makeCanvas(float scale) {
    auto canvas = std::make_unique<BackgroundDrawingCanvas>();
    canvas->setScale(scale);
    canvas->setSize(40, 60);
    canvas->clear(kBackground);
    return canvas;
}

bool anyPixelDiffers(const UIA::Picture& picture, std::uint32_t colour) {
    for (std::uint32_t pixel : pixelsOf(picture))
        if (pixel != colour) return true;
    return false;
}

// Turned text is drawn through a scratch picture: whatever an earlier call
// left there must not show, and the background must not be blended twice.
TEST(CanvasText, TurnedTextLeavesNothingBehind) {
    UIA::Font font(Testing::defaultFont(14));
    auto canvas = makeCanvas(1.0f);
    canvas->drawText("WWWW", {0, 0, 40, 60}, font, 0xFF000000, 0, true);
    ASSERT_TRUE(anyPixelDiffers(canvas->getBuffer(), kBackground));

    canvas->clear(kBackground);
    canvas->drawText("WWWW", {0, 0, 40, 60}, font, 0x00000000, 0, true);
    canvas->drawText("", {0, 0, 40, 60}, font, 0xFF000000, 0, true);
    EXPECT_FALSE(anyPixelDiffers(canvas->getBuffer(), kBackground));
}

TEST(CanvasText, TurnedTextReadsFromBottomToTop) {
    UIA::Font font(Testing::defaultFont(14));
    auto canvas = makeCanvas(1.0f);
    // Turned, the start of a line lies at the bottom.
    canvas->drawText("W..........", {0, 0, 40, 60}, font, 0xFF000000, UIA::kAlignBottom, true);
    const UIA::Picture& buffer = canvas->getBuffer();
    auto inkInRows = [&](std::uint32_t from, std::uint32_t to) {
        std::uint32_t count = 0;
        for (std::uint32_t y = from; y < to; ++y)
            for (std::uint32_t x = 0; x < buffer.getWidth(); ++x) count += pixelAt(buffer, x, y) != kBackground;
        return count;
    };
    EXPECT_GT(inkInRows(45, 60), inkInRows(0, 15));
}

TEST(CanvasText, TurnedTextKeepsToTheClipAndTheBuffer) {
    UIA::Font font(Testing::defaultFont(20));
    auto canvas = makeCanvas(1.0f);
    canvas->setOffset({-10, -10});
    canvas->setClipRect({20, 20, 40, 40});
    canvas->drawText("MMMMMM", {0, 0, 60, 80}, font, 0xFF000000, 0, true);
    const UIA::Picture& buffer = canvas->getBuffer();
    bool inkInside = false;
    for (std::uint32_t y = 0; y < buffer.getHeight(); ++y)
        for (std::uint32_t x = 0; x < buffer.getWidth(); ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 10 && y < 30;
            const bool changed = pixelAt(buffer, x, y) != kBackground;
            EXPECT_TRUE(inside || !changed) << x << "," << y;
            inkInside |= changed;
        }
    EXPECT_TRUE(inkInside);
}

}  // namespace
}  // namespace QX::NWL
