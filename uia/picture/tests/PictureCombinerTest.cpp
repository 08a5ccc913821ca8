#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "PictureTestSupport.h"
#include "uia/picture/PictureCombiner.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;
using namespace QX::UIA::PictureCombinerFunctors;

namespace {

std::unique_ptr<Picture> makeRandomPicture(std::uint32_t width, std::uint32_t height, unsigned seed) {
    auto picture = makePicture(width, height, 0);
    std::mt19937 random(seed);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            picture->getRow(y)[x] = random();
        }
    }
    return picture;
}

// Every pixel names its own position, so that a copy shows where it read.
std::unique_ptr<Picture> makeIndexedPicture(std::uint32_t width, std::uint32_t height) {
    auto picture = makePicture(width, height, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            picture->getRow(y)[x] = 0xFF000000u | (y << 12) | x;
        }
    }
    return picture;
}

// The rules weigh by an 8-bit weight: the product of two alphas over 255,
// rounded.
std::uint32_t ruleWeight(std::uint32_t x, std::uint32_t y) {
    const std::uint32_t t = x * y;
    return (t + 1 + (t >> 8)) >> 8;
}

}  // namespace

TEST(PictureCombinerRules, CopyColourOnlyWhenEitherPictureAsksForIt) {
    auto dest = makePicture(3, 1, 0xFF204060);
    auto source = makePicture(3, 1, 0);
    source->getRow(0)[0] = 0xFF102030;
    source->getRow(0)[1] = 0x00FFFFFF;
    source->getRow(0)[2] = 0x80FF0000;
    source->setOption(true);
    dest->setTransparency(true);
    dest->copyPicture(0, 0, *source, 0);
    EXPECT_EQ(pixelAt(*dest, 0, 0), 0xFF102030u);
    EXPECT_EQ(pixelAt(*dest, 1, 0), 0xFF204060u);
    EXPECT_EQ(pixelAt(*dest, 2, 0), (0x80u << 24) | (((0x20 * 127 + 255 * 128) >> 8) << 16) |
                                        (((0x40 * 127) >> 8) << 8) | ((0x60 * 127) >> 8));
}

TEST(PictureCombinerRules, OpaqueCopyReplacesAlphaAndBlendKeepsIt) {
    auto dest = makePicture(4, 4, 0x00112233);
    auto source = makePicture(4, 4, 0x80445566);
    dest->copyPicture(0, 0, *source, 0);  // option false: rows copied as they are
    EXPECT_EQ(pixelAt(*dest, 3, 3), 0x80445566u);

    auto clear = makePicture(4, 4, 0x00112233);
    clear->blendPicture(0, 0, *source, 0);
    EXPECT_EQ(pixelAt(*clear, 1, 1), 0x00112233u);  // alpha 0 destination stays

    auto opaque = makePicture(1, 1, 0xFF000000);
    auto white = makePicture(1, 1, 0x80FFFFFF);
    opaque->blendPicture(0, 0, *white, 0);
    EXPECT_EQ(pixelAt(*opaque, 0, 0), 0xFF808080u);
}

TEST(PictureCombinerDrawAt, FramesAndSourceRectangles) {
    auto strip = makeIndexedPicture(4, 12);
    strip->setAnimationCount(3);
    auto dest = makePicture(10, 10, 0);
    dest->copyPicture(1, 1, *strip, 7);  // past the last frame: the last
    EXPECT_EQ(pixelAt(*dest, 1, 1), pixelAt(*strip, 0, 8));
    EXPECT_EQ(pixelAt(*dest, 4, 4), pixelAt(*strip, 3, 11));
    EXPECT_EQ(pixelAt(*dest, 5, 5), 0u);

    dest->fill(0);
    const PictureRect part(1, 2, 3, 4);
    dest->copyPicture(0, 0, *strip, 1, &part);
    EXPECT_EQ(pixelAt(*dest, 0, 0), pixelAt(*strip, 1, 6));
    EXPECT_EQ(pixelAt(*dest, 1, 1), pixelAt(*strip, 2, 7));
    EXPECT_EQ(pixelAt(*dest, 2, 0), 0u);
}

TEST(PictureCombinerDrawAt, SourceRectangleIsLimitedToTheFrame) {
    auto strip = makeIndexedPicture(4, 8);
    strip->setAnimationCount(2);
    auto dest = makePicture(20, 20, 0);
    const PictureRect tooLarge(-2, -1, 50, 50);
    dest->copyPicture(5, 5, *strip, 1, &tooLarge);
    // The part of the rectangle inside frame 1 lands where it would have.
    EXPECT_EQ(pixelAt(*dest, 7, 6), pixelAt(*strip, 0, 4));
    EXPECT_EQ(pixelAt(*dest, 10, 9), pixelAt(*strip, 3, 7));
    EXPECT_EQ(pixelAt(*dest, 11, 9), 0u);
    EXPECT_EQ(pixelAt(*dest, 7, 10), 0u);  // nothing of the next rows is read
}

TEST(PictureCombinerDrawAt, ClippingMovesTheSourceStart) {
    auto source = makeIndexedPicture(8, 4);
    auto dest = makePicture(10, 10, 0);
    dest->copyPicture(-3, 2, *source, 0);
    EXPECT_EQ(pixelAt(*dest, 0, 2), pixelAt(*source, 3, 0));
    EXPECT_EQ(pixelAt(*dest, 4, 5), pixelAt(*source, 7, 3));

    auto clipped = makePicture(10, 10, 0);
    clipped->setClipRect({4, 4, 4, 9});
    clipped->copyPicture(0, 0, *source, 0);
    for (std::uint32_t y = 0; y < 10; ++y) {
        for (std::uint32_t x = 0; x < 10; ++x) {
            ASSERT_EQ(pixelAt(*clipped, x, y), 0u);
        }
    }
}

namespace {

// A frame of 12 x 10 with fixed borders left 4, right 4, top 3, bottom 2 in
// a two-frame horizontal strip.
std::unique_ptr<Picture> makeBorderedStrip() {
    auto strip = makeIndexedPicture(24, 10);
    strip->setAnimationCount(2);
    strip->setHorizontal(true);
    strip->setFixedHorizontal(true);
    strip->setFixedVertical(true);
    strip->setFixedLeft(4);
    strip->setFixedRight(4);
    strip->setFixedTop(3);
    strip->setFixedBottom(2);
    return strip;
}

// Where the nine-region drawing reads the pixel at offset i of a rectangle
// of length `length`, for a frame of length `frameLength`.
std::uint32_t sourceOffset(std::int64_t i, std::int64_t length, std::uint32_t first, std::uint32_t last,
                           std::uint32_t frameLength) {
    if (i < first) {
        return std::uint32_t(i);
    }
    if (i >= length - last) {
        return std::uint32_t(frameLength - (length - i));
    }
    return std::uint32_t(first + (i - first) % (frameLength - first - last));
}

}  // namespace

TEST(PictureCombinerDrawInRect, BordersStayAndTheCentreRepeats) {
    auto strip = makeBorderedStrip();
    auto dest = makePicture(30, 12, 0);
    dest->copyPictureInRect({0, 0, 20, 10}, *strip, 1);
    for (std::uint32_t x = 0; x < 20; ++x) {
        EXPECT_EQ(pixelAt(*dest, x, 0), pixelAt(*strip, 12 + sourceOffset(x, 20, 4, 4, 12), 0)) << x;
    }
    EXPECT_EQ(pixelAt(*dest, 20, 0), 0u);
}

TEST(PictureCombinerDrawInRect, NineRegionsUnderAClipThatCutsTiles) {
    auto strip = makeBorderedStrip();
    auto dest = makePicture(60, 50, 0);
    const PictureRect rect(5, 7, 5 + 37, 7 + 29);
    const PictureRect clip(9, 12, 30, 33);
    dest->copyPictureInRect(rect, *strip, 0, &clip);
    for (std::int32_t y = 0; y < 50; ++y) {
        for (std::int32_t x = 0; x < 60; ++x) {
            std::uint32_t expected = 0;
            if (clip.contains(x, y) && rect.contains(x, y)) {
                const std::uint32_t sx = sourceOffset(x - rect.left, rect.width(), 4, 4, 12);
                const std::uint32_t sy = sourceOffset(y - rect.top, rect.height(), 3, 2, 10);
                expected = pixelAt(*strip, sx, sy);
            }
            ASSERT_EQ(pixelAt(*dest, x, y), expected) << x << "," << y;
        }
    }
    EXPECT_FALSE(dest->isClipActive());
}

TEST(PictureCombinerDrawInRect, FrameSizedRectangleEqualsDrawAt) {
    auto strip = makeRandomPicture(24, 10, 9);
    strip->setAnimationCount(2);
    strip->setHorizontal(true);
    strip->setFixedHorizontal(true);
    strip->setFixedLeft(3);
    strip->setFixedRight(2);
    auto viaRect = makeRandomPicture(20, 20, 10);
    auto viaPoint = makeRandomPicture(20, 20, 10);
    viaRect->blendPictureInRect({4, 5, 16, 15}, *strip, 1);
    viaPoint->blendPicture(4, 5, *strip, 1);
    for (std::uint32_t y = 0; y < 20; ++y) {
        for (std::uint32_t x = 0; x < 20; ++x) {
            ASSERT_EQ(pixelAt(*viaRect, x, y), pixelAt(*viaPoint, x, y));
        }
    }
}

TEST(PictureCombinerDrawInRect, MaskedRegionsAreSkipped) {
    auto strip = makeBorderedStrip();
    strip->setOption(true);
    for (std::uint32_t y = 0; y < 10; ++y) {
        for (std::uint32_t x = 0; x < 24; ++x) {
            strip->getRow(y)[x] &= 0x00FFFFFF;  // wholly transparent ...
        }
    }
    strip->getRow(5)[6] |= 0xFF000000;  // ... but for the centre of frame 0
    strip->updateRegionMasks();
    ASSERT_EQ(strip->getRegionMask(0), 511u & ~16u);
    auto dest = makePicture(30, 30, 0x00ABCDEF);
    dest->setTransparency(true);  // colour-only copy: a skipped region would not show otherwise
    dest->copyPictureInRect({0, 0, 30, 30}, *strip, 0);
    EXPECT_EQ(pixelAt(*dest, 0, 0), 0x00ABCDEFu);
    EXPECT_EQ(pixelAt(*dest, 29, 29), 0x00ABCDEFu);
    EXPECT_EQ(pixelAt(*dest, 6, 5), pixelAt(*strip, 6, 5));
}

TEST(PictureCombinerDrawInRect, WithoutBordersDrawsAtTheCornerInsideTheClip) {
    auto source = makeIndexedPicture(8, 8);
    auto dest = makePicture(10, 10, 0);
    const PictureRect clip(0, 0, 5, 5);
    dest->copyPictureInRect({2, 2, 3, 3}, *source, 0, &clip);
    EXPECT_EQ(pixelAt(*dest, 4, 4), pixelAt(*source, 2, 2));
    EXPECT_EQ(pixelAt(*dest, 5, 5), 0u);
}

namespace {

// The blend and dye rules exactly as stated, one pixel at a time.
std::uint32_t ruleMix(std::uint32_t d, std::uint32_t k, std::uint32_t w) {
    std::uint32_t out = d & 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t t = channel(d, c) * (255 - w) + channel(k, c) * w;
        out |= ((t + 1 + (t >> 8)) >> 8) << (8 * c);
    }
    return out;
}

// Runs of clear, opaque and mixed pixels of every length around the vector
// widths, over opaque and translucent destinations.
std::unique_ptr<Picture> makeRunsPicture(std::uint32_t width, std::uint32_t height, unsigned seed, bool opaque) {
    auto picture = makeRandomPicture(width, height, seed);
    std::mt19937 random(seed);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint32_t* row = picture->getRow(y);
        for (std::uint32_t x = 0; x < width;) {
            const std::uint32_t run = 1 + random() % 19;
            const std::uint32_t kind = opaque ? 1 : random() % 3;
            for (std::uint32_t i = x; i < std::min(width, x + run); ++i) {
                row[i] = kind == 0 ? row[i] & 0x00FFFFFF : kind == 1 ? row[i] | 0xFF000000 : row[i];
            }
            x += run;
        }
    }
    return picture;
}

}  // namespace

TEST(PictureCombinerRules, BlendAndDyeFollowTheRuleExactlyOnEveryKindOfRun) {
    for (bool opaqueDest : {true, false}) {
        auto source = makeRunsPicture(203, 9, 21, false);
        auto before = makeRunsPicture(203, 9, 22, opaqueDest);
        auto blended = makeRunsPicture(203, 9, 22, opaqueDest);
        auto dyed = makeRunsPicture(203, 9, 22, opaqueDest);
        const std::uint32_t dye = 0x9A13579B;
        blended->blendPicture(0, 0, *source, 0);
        PictureCombiner<DyeUsingAlphaMask>(*dyed, dye).drawAt(0, 0, *source, 0, nullptr);
        for (std::uint32_t y = 0; y < 9; ++y) {
            for (std::uint32_t x = 0; x < 203; ++x) {
                const std::uint32_t s = pixelAt(*source, x, y), d = pixelAt(*before, x, y);
                ASSERT_EQ(pixelAt(*blended, x, y), ruleMix(d, s, ruleWeight(s >> 24, d >> 24))) << x << "," << y;
                ASSERT_EQ(pixelAt(*dyed, x, y), ruleMix(d, dye, ruleWeight(s >> 24, dye >> 24))) << x << "," << y;
            }
        }
    }
}

TEST(PictureCombinerRules, BlendOfPartRowsLeavesTheRestAlone) {
    auto source = makeRandomPicture(40, 6, 23);
    auto dest = makeRandomPicture(50, 8, 24);
    auto before = makeRandomPicture(50, 8, 24);
    const PictureRect part(3, 1, 36, 5);
    dest->blendPicture(7, 2, *source, 0, &part);
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 50; ++x) {
            const bool inside = x >= 7 && x < 40 && y >= 2 && y < 6;
            const std::uint32_t d = pixelAt(*before, x, y);
            if (!inside) {
                ASSERT_EQ(pixelAt(*dest, x, y), d);
            } else {
                const std::uint32_t s = pixelAt(*source, x - 7 + 3, y - 2 + 1);
                ASSERT_EQ(pixelAt(*dest, x, y), ruleMix(d, s, ruleWeight(s >> 24, d >> 24)));
            }
        }
    }
}

TEST(PictureCombinerDrawInRect, OnePixelCentreStretchesUnderAnOddClip) {
    auto source = makeIndexedPicture(7, 6);
    source->setFixedHorizontal(true);
    source->setFixedVertical(true);
    source->setFixedLeft(3);
    source->setFixedRight(3);
    source->setFixedTop(2);
    source->setFixedBottom(3);
    auto dest = makePicture(700, 40, 0);
    const PictureRect rect(1, 2, 650, 37);
    const PictureRect clip(5, 0, 600, 30);
    dest->copyPictureInRect(rect, *source, 0, &clip);
    for (std::int32_t y = 0; y < 40; ++y) {
        for (std::int32_t x = 0; x < 700; ++x) {
            std::uint32_t expected = 0;
            if (clip.contains(x, y) && rect.contains(x, y)) {
                expected = pixelAt(*source, sourceOffset(x - rect.left, rect.width(), 3, 3, 7),
                                   sourceOffset(y - rect.top, rect.height(), 2, 3, 6));
            }
            ASSERT_EQ(pixelAt(*dest, x, y), expected) << x << "," << y;
        }
    }
}

TEST(PictureCombinerRules, CopySourceOverFollowsTheRuleExactly) {
    // The rule as stated, with integer divisions.
    auto rule = [](std::uint32_t d, std::uint32_t s) {
        const std::uint32_t sa = s >> 24, da = d >> 24;
        const std::uint32_t total = ((255 - sa) * da + 127) / 255 + sa;
        if (total == 0) {
            return 0u;
        }
        std::uint32_t out = std::min(total, 255u) << 24;
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t value =
                (channel(s, c) * sa + (channel(d, c) * (255 - sa) * da + 127) / 255 + total / 2) / total;
            out |= std::min(value, 255u) << (8 * c);
        }
        return out;
    };
    const std::uint32_t alphas[] = {0, 1, 2, 127, 128, 254, 255};
    auto source = makePicture(7, 7, 0);
    auto dest = makePicture(7, 7, 0);
    auto before = makePicture(7, 7, 0);
    source->setOption(true);
    for (std::uint32_t y = 0; y < 7; ++y) {
        for (std::uint32_t x = 0; x < 7; ++x) {
            source->getRow(y)[x] = alphas[x] << 24 | 0x8040C0u;
            dest->getRow(y)[x] = before->getRow(y)[x] = alphas[y] << 24 | 0x20E010u;
        }
    }
    dest->copyPicture(0, 0, *source, 0);
    for (std::uint32_t y = 0; y < 7; ++y) {
        for (std::uint32_t x = 0; x < 7; ++x) {
            EXPECT_EQ(pixelAt(*dest, x, y), rule(pixelAt(*before, x, y), pixelAt(*source, x, y))) << x << "," << y;
        }
    }
}

namespace {

std::uint32_t ruleSourceOver(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t sa = s >> 24, da = d >> 24;
    const std::uint32_t total = ((255 - sa) * da + 127) / 255 + sa;
    if (total == 0) {
        return 0;
    }
    std::uint32_t out = std::min(total, 255u) << 24;
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t value =
            (channel(s, c) * sa + (channel(d, c) * (255 - sa) * da + 127) / 255 + total / 2) / total;
        out |= std::min(value, 255u) << (8 * c);
    }
    return out;
}

std::uint32_t ruleColourOnly(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t sa = s >> 24;
    if (sa == 255 || sa == 0) {
        return sa == 255 ? s : d;
    }
    std::uint32_t out = sa << 24;
    for (int c = 0; c < 3; ++c) {
        out |= ((channel(d, c) * (255 - sa) + channel(s, c) * sa) >> 8) << (8 * c);
    }
    return out;
}

}  // namespace

TEST(PictureCombinerRules, CopyRulesFollowTheRuleExactlyOnEveryKindOfRun) {
    for (bool colourOnly : {false, true}) {
        for (bool opaqueDest : {true, false}) {
            auto source = makeRunsPicture(203, 9, 31, false);
            auto before = makeRunsPicture(203, 9, 32, opaqueDest);
            auto dest = makeRunsPicture(203, 9, 32, opaqueDest);
            source->setOption(true);
            dest->setTransparency(colourOnly);
            const PictureRect part(0, 0, 200, 9);  // part rows as well as one run
            dest->copyPicture(0, 0, *source, 0, opaqueDest ? nullptr : &part);
            for (std::uint32_t y = 0; y < 9; ++y) {
                for (std::uint32_t x = 0; x < (opaqueDest ? 203u : 200u); ++x) {
                    const std::uint32_t s = pixelAt(*source, x, y), d = pixelAt(*before, x, y);
                    ASSERT_EQ(pixelAt(*dest, x, y), colourOnly ? ruleColourOnly(d, s) : ruleSourceOver(d, s))
                        << colourOnly << " " << x << "," << y;
                }
            }
        }
    }
}

// Drawn onto itself, shifted by one pixel either way: the result is the
// picture as it was before the call, not smeared rows.
TEST(PictureCombinerOverlap, APictureDrawnOntoItselfIsDrawnFromItsFormerPixels) {
    for (const int shift : {1, -1}) {
        auto picture = makeIndexedPicture(6, 4);
        auto before = makeIndexedPicture(6, 4);
        picture->copyPicture(shift, shift, *picture, 0, nullptr);
        for (std::int32_t y = 0; y < 4; ++y) {
            for (std::int32_t x = 0; x < 6; ++x) {
                const std::int32_t fromX = x - shift, fromY = y - shift;
                const bool inside = fromX >= 0 && fromX < 6 && fromY >= 0 && fromY < 4;
                const std::uint32_t expected = inside ? before->getRow(fromY)[fromX] : before->getRow(y)[x];
                ASSERT_EQ(picture->getRow(y)[x], expected) << shift << ": " << x << "," << y;
            }
        }
    }
}
