#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "uia/picture/Picture.h"
#include "uia/picture/PictureClipScope.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

TEST(PictureProperties, OrientationAndFixedBitsAreIndependent) {
    PictureProperties properties;
    EXPECT_EQ(properties.getOrientation(), 1u);
    properties.setHorizontal(true);
    EXPECT_EQ(properties.getOrientation(), 2u);
    properties.setOrientation(7);
    EXPECT_TRUE(properties.isHorizontal());
    properties.setHorizontal(false);
    EXPECT_FALSE(properties.isHorizontal());

    properties.setFixedVertical(true);
    properties.setFixedHorizontal(true);
    properties.setFixedVertical(false);
    EXPECT_EQ(properties.getFixedFlags(), 2u);
    properties.setFixedVertical(true);
    properties.setFixedHorizontal(false);
    EXPECT_EQ(properties.getFixedFlags(), 1u);
}

TEST(Picture, FramesOfVerticalAndHorizontalStrips) {
    auto vertical = makePicture(30, 90, 0);
    vertical->setAnimationCount(3);
    vertical->setHorizontal(false);
    EXPECT_EQ(vertical->getFrameWidth(), 30u);
    EXPECT_EQ(vertical->getFrameHeight(), 30u);
    EXPECT_EQ(vertical->getFrameOrigin(2).y, 60);
    EXPECT_EQ(vertical->getFrameOrigin(9).y, 60);  // past the last frame: the last

    auto horizontal = makePicture(90, 30, 0);
    horizontal->setAnimationCount(3);
    horizontal->setHorizontal(true);
    EXPECT_EQ(horizontal->getFrameWidth(), 30u);
    EXPECT_EQ(horizontal->getFrameHeight(), 30u);
    EXPECT_EQ(horizontal->getFrameOrigin(1).x, 30);

    horizontal->setAnimationCount(0);  // 0 counts as one frame
    EXPECT_EQ(horizontal->getFrameWidth(), 90u);
}

TEST(Picture, AllocationKeepsLargerBlockUnlessExact) {
    Picture picture;
    ASSERT_TRUE(picture.resize(20, 20, true));
    EXPECT_EQ(picture.getAllocatedSize(), 40u + 20 * 20 * 4);
    EXPECT_EQ(reinterpret_cast<std::uint8_t*>(picture.getPixels()), picture.getHeader() + 40);
    ASSERT_TRUE(picture.allocatePixels(10, 10, false));
    EXPECT_EQ(picture.getAllocatedSize(), 40u + 20 * 20 * 4);
    ASSERT_TRUE(picture.allocatePixels(10, 10, true));
    EXPECT_EQ(picture.getAllocatedSize(), 440u);
}

TEST(Picture, HugePicturesFailWithoutWrapping) {
    Picture picture;
    ASSERT_TRUE(picture.resize(4, 4, true));
    // 32768 x 32768 x 4 wraps to 0 in 32 bits.
    EXPECT_FALSE(picture.resize(32768, 32768, true));
    EXPECT_FALSE(picture.hasPixels());
    EXPECT_EQ(picture.getWidth(), 0u);
    EXPECT_EQ(picture.getAllocatedSize(), 0u);
    EXPECT_FALSE(picture.resize(0xFFFFFFFFu, 0xFFFFFFFFu, false));
    EXPECT_FALSE(picture.resize(65536, 1025, false));
}

TEST(Picture, ResizeResetsOriginAndClip) {
    auto picture = makePicture(8, 6, 0);
    picture->setOrigin(2, 3);
    picture->setClipRect({0, 0, 2, 2});
    ASSERT_TRUE(picture->resize(5, 4, false));
    EXPECT_FALSE(picture->isClipActive());
    EXPECT_EQ(picture->getClipRect(), PictureRect(0, 0, 5, 4));
    EXPECT_EQ(picture->getOriginX(), 0);
}

TEST(Picture, ClipIsLimitedToPictureInOriginCoordinates) {
    auto picture = makePicture(10, 8, 0);
    picture->setOrigin(-3, 2);
    picture->setClipRect({-100, -100, 100, 100});
    EXPECT_EQ(picture->getClipRect(), PictureRect(3, 0, 13, 6));
    picture->setClipRect({20, 20, 30, 30});
    EXPECT_TRUE(picture->getClipRect().isEmpty());
    picture->fillRect(-100, -100, 300, 300, 0xFFFFFFFF);
    EXPECT_EQ(pixelAt(*picture, 0, 0), 0u);  // an empty clip draws nothing
}

TEST(Picture, SetOriginKeepsTheClipInPlace) {
    auto picture = makePicture(10, 10, 0);
    picture->setClipRect({2, 2, 6, 6});
    picture->setOrigin(2, 2);
    EXPECT_EQ(picture->getClipRect(), PictureRect(0, 0, 4, 4));
    picture->fillRect(-5, -5, 20, 20, 0xFF112233);
    EXPECT_EQ(pixelAt(*picture, 1, 1), 0u);
    EXPECT_EQ(pixelAt(*picture, 2, 2), 0xFF112233u);
    EXPECT_EQ(pixelAt(*picture, 5, 5), 0xFF112233u);
    EXPECT_EQ(pixelAt(*picture, 6, 6), 0u);
}

TEST(Picture, ClipScopeNarrowsAndRestores) {
    auto picture = makePicture(10, 10, 0);
    {
        PictureClipScope outer(*picture, {1, 1, 8, 8});
        EXPECT_EQ(picture->getClipRect(), PictureRect(1, 1, 8, 8));
        {
            PictureClipScope inner(*picture, {5, 0, 20, 4});
            EXPECT_EQ(picture->getClipRect(), PictureRect(5, 1, 8, 4));
            picture->setOrigin(1, 1);
        }
        EXPECT_EQ(picture->getOriginX(), 0);
        EXPECT_EQ(picture->getClipRect(), PictureRect(1, 1, 8, 8));
    }
    EXPECT_FALSE(picture->isClipActive());
    EXPECT_EQ(picture->getClipRect(), PictureRect(0, 0, 10, 10));
}

TEST(Picture, ClearRectKeepsToThePictureNotTheClip) {
    auto picture = makePicture(6, 4, 0x01020304);
    picture->setClipRect({0, 0, 1, 1});
    picture->setOrigin(1, 0);
    picture->clearRect({-10, -10, 100, 100}, 0x80FFFFFF);  // far larger than the picture
    for (std::uint32_t y = 0; y < 4; ++y) {
        for (std::uint32_t x = 0; x < 6; ++x) {
            EXPECT_EQ(pixelAt(*picture, x, y), 0x80FFFFFFu);
        }
    }
    picture->clearRect({0, 1, 2, 2}, 0);
    EXPECT_EQ(pixelAt(*picture, 0, 1), 0x80FFFFFFu);
    EXPECT_EQ(pixelAt(*picture, 1, 1), 0u);
    EXPECT_EQ(pixelAt(*picture, 2, 1), 0u);
    EXPECT_EQ(pixelAt(*picture, 3, 1), 0x80FFFFFFu);
}

TEST(Picture, FlipVerticalSwapsRows) {
    auto picture = makePicture(2, 3, 0);
    for (std::uint32_t y = 0; y < 3; ++y) {
        picture->getRow(y)[0] = y;
        picture->getRow(y)[1] = 10 + y;
    }
    picture->flipVertical();
    EXPECT_EQ(pixelAt(*picture, 0, 0), 2u);
    EXPECT_EQ(pixelAt(*picture, 1, 0), 12u);
    EXPECT_EQ(pixelAt(*picture, 0, 1), 1u);
    EXPECT_EQ(pixelAt(*picture, 0, 2), 0u);
}

namespace {

// A 3-frame vertical strip of 12 x 10 frames, fixed borders 3 on every side.
std::unique_ptr<Picture> makeBorderedStrip() {
    auto picture = makePicture(12, 30, 0x00FFFFFF);
    picture->setAnimationCount(3);
    picture->setFixedVertical(true);
    picture->setFixedHorizontal(true);
    picture->setFixedTop(3);
    picture->setFixedBottom(3);
    picture->setFixedLeft(3);
    picture->setFixedRight(3);
    picture->setOption(true);
    return picture;
}

}  // namespace

TEST(Picture, RegionMasksMarkWhollyTransparentRegions) {
    auto picture = makeBorderedStrip();
    picture->getRow(0)[0] = 0x01000000;        // frame 0: top-left
    picture->getRow(5)[6] = 0x10000000;        // frame 0: centre
    picture->getRow(10 + 9)[11] = 0xFF000000;  // frame 1: bottom-right
    picture->getRow(20 + 4)[11] = 0xFF000000;  // frame 2: right edge
    picture->getRow(20 + 9)[0] = 0xFF000000;   // frame 2: bottom-left
    picture->updateRegionMasks();
    ASSERT_EQ(picture->getRegionMasks().size(), 3u);
    EXPECT_EQ(picture->getRegionMask(0), 511u & ~1u & ~16u);
    EXPECT_EQ(picture->getRegionMask(1), 511u & ~256u);
    EXPECT_EQ(picture->getRegionMask(2), 511u & ~32u & ~64u);
    EXPECT_EQ(picture->getRegionMask(3), 0u);
    auto clear = makeBorderedStrip();
    clear->updateRegionMasks();
    EXPECT_EQ(clear->getRegionMask(1), 511u);  // a wholly transparent frame
}

TEST(Picture, NoRegionMasksWithoutAlphaOrBorders) {
    auto picture = makeBorderedStrip();
    picture->setOption(false);
    picture->updateRegionMasks();
    EXPECT_TRUE(picture->getRegionMasks().empty());

    picture = makeBorderedStrip();
    picture->setFixedLeft(6);
    picture->setFixedRight(6);  // no centre column left
    picture->updateRegionMasks();
    EXPECT_TRUE(picture->getRegionMasks().empty());
}
