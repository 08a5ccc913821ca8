#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "PictureTestSupport.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

int countPixels(const Picture& picture, std::uint32_t value) {
    int count = 0;
    for (std::uint32_t y = 0; y < picture.getHeight(); ++y) {
        for (std::uint32_t x = 0; x < picture.getWidth(); ++x) {
            count += pixelAt(picture, x, y) == value;
        }
    }
    return count;
}

// Straight-alpha source over in floating point.
std::uint32_t referenceSourceOver(std::uint32_t d, std::uint32_t k) {
    const double a = (k >> 24) / 255.0, da = (d >> 24) / 255.0;
    const double total = a + da * (1 - a);
    if (total <= 0) {
        return 0;
    }
    std::uint32_t out = std::uint32_t(std::lround(total * 255)) << 24;
    for (int c = 0; c < 3; ++c) {
        const double value = (channel(k, c) * a + channel(d, c) * da * (1 - a)) / total;
        out |= std::uint32_t(std::lround(value)) << (8 * c);
    }
    return out;
}

// Alpha within 1, and colour within 1 once weighted by alpha (a nearly
// transparent pixel's colour carries no information).
::testing::AssertionResult isNear(std::uint32_t pixel, std::uint32_t expected) {
    const int alpha = int(pixel >> 24), expectedAlpha = int(expected >> 24);
    bool near = std::abs(alpha - expectedAlpha) <= 1;
    for (int c = 0; c < 3; ++c) {
        const double weighted = channel(pixel, c) * alpha / 255.0;
        const double expectedWeighted = channel(expected, c) * expectedAlpha / 255.0;
        near = near && std::fabs(weighted - expectedWeighted) <= 1.0 + 1e-9;
    }
    if (near) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << std::hex << pixel << " vs " << expected;
}

}  // namespace

TEST(PictureColourBlend, SourceOverWithinOneOfReference) {
    Picture picture;
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        std::uint32_t pixel = random();
        const std::uint32_t colour = random();
        const std::uint32_t expected = referenceSourceOver(pixel, colour);
        picture.blendPixel(pixel, colour);
        ASSERT_TRUE(isNear(pixel, expected)) << std::hex << colour;
    }
}

TEST(PictureColourBlend, OpaqueStoresTransparentKeepsColourOnlyClearsAlpha) {
    Picture picture;
    std::uint32_t pixel = 0x80102030;
    picture.blendPixel(pixel, 0x00FFFFFF);
    EXPECT_EQ(pixel, 0x80102030u);
    picture.blendPixel(pixel, 0xFFABCDEF);
    EXPECT_EQ(pixel, 0xFFABCDEFu);

    picture.setTransparency(true);
    pixel = 0xFF000000;
    picture.blendPixel(pixel, 0x80FF0000);
    EXPECT_EQ(pixel, 0x007F0000u);  // (0 * 128 + 255 * 128) >> 8
}

TEST(PictureDrawing, LineExcludesItsEndPoint) {
    auto picture = makePicture(8, 8, 0);
    picture->drawLine(0, 0, 3, 0, 0xFFFFFFFF);
    EXPECT_EQ(countPixels(*picture, 0xFFFFFFFF), 3);
    EXPECT_EQ(pixelAt(*picture, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(pixelAt(*picture, 3, 0), 0u);
    picture->drawLine(5, 5, 5, 5, 0xFFFFFFFF);
    EXPECT_EQ(countPixels(*picture, 0xFFFFFFFF), 3);
}

TEST(PictureDrawing, ClippedLinesDrawTheUnclippedPointsInsideTheClip) {
    std::mt19937 random(7);
    const PictureRect clip(5, 7, 23, 19);
    for (int i = 0; i < 400; ++i) {
        auto coordinate = [&] { return int(random() % 60) - 15; };
        const int x1 = coordinate(), y1 = coordinate(), x2 = coordinate(), y2 = coordinate();
        auto reference = makePicture(30, 30, 0);
        reference->drawLine(x1, y1, x2, y2, 0xFFFFFFFF);
        auto clipped = makePicture(30, 30, 0);
        clipped->setClipRect(clip);
        clipped->drawLine(x1, y1, x2, y2, 0xFFFFFFFF);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                const std::uint32_t expected = clip.contains(x, y) ? pixelAt(*reference, x, y) : 0u;
                ASSERT_EQ(pixelAt(*clipped, x, y), expected) << x1 << "," << y1 << " " << x2 << "," << y2;
            }
        }
    }
}

TEST(PictureDrawing, FarAwayLineEndsAreClippedQuickly) {
    auto picture = makePicture(10, 10, 0);
    picture->drawLine(-2000000000, 5, 2000000000, 5, 0xFFFFFFFF);
    EXPECT_EQ(countPixels(*picture, 0xFFFFFFFF), 10);
    picture->drawLine(3, -2000000000, 3, 2000000000, 0xFF0000FF);
    EXPECT_EQ(countPixels(*picture, 0xFF0000FF), 10);
}

TEST(PictureDrawing, RectangleOutlines) {
    auto picture = makePicture(10, 10, 0);
    picture->drawRect(1, 1, 5, 1, 0xFFFFFFFF);
    EXPECT_EQ(countPixels(*picture, 0xFFFFFFFF), 5);
    picture->fill(0);
    picture->drawRect(1, 1, 5, 2, 0xFFFFFFFF);
    EXPECT_EQ(countPixels(*picture, 0xFFFFFFFF), 10);
    picture->fill(0);
    picture->drawRect(1, 1, 5, 4, 0x80FFFFFF);  // translucent: each pixel once
    EXPECT_EQ(countPixels(*picture, 0), 100 - 14);
    EXPECT_EQ(countPixels(*picture, pixelAt(*picture, 1, 1)), 14);
}

TEST(PictureDrawing, RectangleSidesCutByTheClipAreNotDrawn) {
    auto picture = makePicture(10, 10, 0);
    picture->setClipRect({3, 0, 10, 10});
    picture->drawRect(1, 1, 6, 5, 0xFFFFFFFF);
    // Top row 3..6, bottom row 3..6, right column rows 2..4; no left column.
    EXPECT_EQ(countPixels(*picture, 0xFFFFFFFF), 4 + 4 + 3);
    EXPECT_EQ(pixelAt(*picture, 6, 3), 0xFFFFFFFFu);
    EXPECT_EQ(pixelAt(*picture, 3, 3), 0u);
}

TEST(PictureDrawing, PrimitivesStopAtTheClipsExclusiveEdges) {
    auto picture = makePicture(10, 10, 0);
    picture->setClipRect({2, 2, 6, 6});
    const std::uint32_t white = 0xFFFFFFFF;
    picture->drawPixel(6, 5, white);
    picture->drawPixel(5, 6, white);
    picture->drawHorizontalLine(0, 6, 10, white);
    picture->drawVerticalLine(6, 0, 10, white);
    picture->drawLine(6, 0, 6, 10, white);
    EXPECT_EQ(countPixels(*picture, white), 0);

    picture->drawPixel(5, 5, white);
    EXPECT_EQ(countPixels(*picture, white), 1);
    picture->drawHorizontalLine(0, 2, 10, white);
    EXPECT_EQ(countPixels(*picture, white), 5);
    picture->drawVerticalLine(2, 0, 10, white);
    EXPECT_EQ(countPixels(*picture, white), 8);
    picture->fillRect(-5, -5, 100, 100, white);
    EXPECT_EQ(countPixels(*picture, white), 16);
    picture->invertRect(0, 0, 10, 10);
    EXPECT_EQ(countPixels(*picture, 0xFF000000), 16);
}

TEST(PictureDrawing, FillRules) {
    auto picture = makePicture(6, 6, 0x80402010);
    picture->fillRect(1, 1, 3, 3, 0x00FFFFFF);
    EXPECT_EQ(countPixels(*picture, 0x80402010), 36);
    picture->fillRect(1, 1, 3, 3, 0xFF123456);
    EXPECT_EQ(countPixels(*picture, 0xFF123456), 9);
    picture->fillRect(-3, -3, 4, 4, 0xFF000001);  // partly outside the picture
    EXPECT_EQ(countPixels(*picture, 0xFF000001), 1);
    picture->fillRect(0, 5, 6, 1, 0x80FFFFFF);
    EXPECT_TRUE(isNear(pixelAt(*picture, 0, 5), referenceSourceOver(0x80402010, 0x80FFFFFF)));

    picture->setTransparency(true);
    picture->fillRect(0, 0, 6, 6, 0x40FFFFFF);
    EXPECT_EQ(pixelAt(*picture, 5, 5) >> 24, 0u);
}

TEST(PictureDrawing, InvertTwiceRestores) {
    auto picture = makePicture(4, 4, 0x12345678);
    picture->invertRect(0, 0, 3, 3);
    EXPECT_EQ(pixelAt(*picture, 0, 0), 0x12CBA987u);
    picture->invertRect(0, 0, 3, 3);
    EXPECT_EQ(countPixels(*picture, 0x12345678), 16);
}

TEST(PictureDrawing, AntialiasedHorizontalLineCoversHalfPixelsAtItsEnds) {
    auto picture = makePicture(8, 5, 0xFF000000);
    picture->drawAntialiasedLine(1.0f, 2.0f, 5.0f, 2.0f, 0xFFFFFFFF);
    for (std::uint32_t x = 2; x <= 4; ++x) {
        EXPECT_EQ(pixelAt(*picture, x, 2), 0xFFFFFFFFu);
    }
    EXPECT_NEAR(double(channel(pixelAt(*picture, 1, 2), 0)), 127.5, 1.5);
    EXPECT_NEAR(double(channel(pixelAt(*picture, 5, 2), 0)), 127.5, 1.5);
    EXPECT_EQ(pixelAt(*picture, 3, 1), 0xFF000000u);
    EXPECT_EQ(pixelAt(*picture, 3, 3), 0xFF000000u);
}

TEST(PictureDrawing, AntialiasedLinesStayInsideTheClip) {
    auto picture = makePicture(20, 20, 0);
    picture->setClipRect({5, 5, 15, 15});
    std::mt19937 random(3);
    for (int i = 0; i < 300; ++i) {
        auto coordinate = [&] { return float(random() % 4000) / 100.0f - 10.0f; };
        picture->drawAntialiasedLine(coordinate(), coordinate(), coordinate(), coordinate(), 0xFFFFFFFF);
    }
    picture->drawAntialiasedLine(NAN, 0, 1e30f, 5, 0xFFFFFFFF);
    for (std::uint32_t y = 0; y < 20; ++y) {
        for (std::uint32_t x = 0; x < 20; ++x) {
            if (!PictureRect(5, 5, 15, 15).contains(x, y)) {
                ASSERT_EQ(pixelAt(*picture, x, y), 0u);
            }
        }
    }
}
