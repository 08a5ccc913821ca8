#include <gtest/gtest.h>

#include <cmath>
#include <png.h>

#include "CodecTestSupport.h"
#include "PictureTestSupport.h"
#include "gp/Path.h"
#include "gp/Storage.h"
#include "gp/StorageIO.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

Bytes makePngFile() {
    tPngImage image;
    image.width = 3;
    image.height = 2;
    image.colourType = PNG_COLOR_TYPE_RGB;
    image.rows = randomBytes(3 * 2 * 3, 1);
    return encodePng(image);
}

Bytes makeJpegFile() {
    tJpegImage image;
    image.width = 5;
    image.height = 4;
    image.samples = randomBytes(5 * 4 * 3, 2);
    return encodeJpeg(image);
}

// Loads a file that starts `prefix` bytes into the storage.
tDecoded loadAfterPrefix(const Bytes& file, std::size_t prefix) {
    Bytes bytes(prefix, 0xEE);
    bytes.insert(bytes.end(), file.begin(), file.end());
    tDecoded result;
    result.picture = std::make_unique<Picture>();
    QX::GP::MemoryStorage storage(bytes);
    storage.seek(std::int64_t(prefix), QX::GP::kSeekStart);
    QX::GP::StorageIO reader(&storage);
    result.ok = result.picture->loadFromStream(reader, true);
    return result;
}

}  // namespace

TEST(PictureLoading, EachFormatIsFoundFromTheStartingPosition) {
    const tDecoded png = loadAfterPrefix(makePngFile(), 7);
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.picture->getWidth(), 3u);
    const tDecoded jpeg = loadAfterPrefix(makeJpegFile(), 11);
    ASSERT_TRUE(jpeg.ok);
    EXPECT_EQ(jpeg.picture->getWidth(), 5u);
    const tDecoded tga = loadAfterPrefix(makeTga(2, 6, 2, 24, 0, randomBytes(36, 3)), 5);
    ASSERT_TRUE(tga.ok);
    EXPECT_EQ(tga.picture->getWidth(), 6u);
    EXPECT_FALSE(loadAfterPrefix(randomBytes(17, 4), 3).ok);
}

TEST(PictureLoading, ReaderWithoutStorageFails) {
    Picture picture;
    QX::GP::StorageIO reader;
    EXPECT_FALSE(picture.loadFromStream(reader, true));
}

TEST(PictureLoading, ScaledPictureNames) {
    const QX::GP::Path path("skin/pictures/Button.png");
    EXPECT_EQ(makeScaledPictureName(path, 1.0f).toString(), path.toString());
    EXPECT_EQ(makeScaledPictureName(path, NAN).toString(), path.toString());
    const QX::GP::Path scaled = makeScaledPictureName(path, 2.0f);
    EXPECT_EQ(scaled.name(), "Button@2x");
    EXPECT_EQ(scaled.extension(), "png");
    EXPECT_EQ(scaled.directory(), path.directory());
    EXPECT_EQ(makeScaledPictureName(path, 1.5f).name(), "Button@2x");
}

TEST(PictureScaling, SizesRoundHalvesAway) {
    auto picture = makePicture(10, 10, 0xFF808080);
    auto larger = picture->scalePicture(1.5f, true);
    ASSERT_TRUE(larger);
    EXPECT_EQ(larger->getWidth(), 15u);
    EXPECT_EQ(larger->getHeight(), 15u);
    auto rounded = picture->scalePicture(1.25f, false);
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->getWidth(), 13u);
    EXPECT_EQ(pixelAt(*rounded, 12, 12), 0xFF808080u);
}

TEST(PictureScaling, PropertiesAndBordersCarryOver) {
    auto strip = makePicture(8, 24, 0);
    strip->setAnimationCount(3);
    strip->setOrientation(1);
    strip->setOption(true);
    strip->setFixedVertical(true);
    strip->setFixedTop(3);
    strip->setFixedBottom(5);
    strip->setFixedLeft(1);
    strip->setTransparency(true);
    strip->setOrigin(2, 2);
    auto scaled = strip->scalePicture(2.0f, true);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->getAnimationCount(), 3u);
    EXPECT_EQ(scaled->getOrientation(), 1u);
    EXPECT_TRUE(scaled->getOption());
    EXPECT_EQ(scaled->getFixedFlags(), 1u);
    EXPECT_EQ(scaled->getFixedTop(), 6u);
    EXPECT_EQ(scaled->getFixedBottom(), 10u);
    EXPECT_EQ(scaled->getFixedLeft(), 2u);
    EXPECT_FALSE(scaled->hasTransparency());
    EXPECT_EQ(scaled->getOriginX(), 0);
    EXPECT_EQ(scaled->getFrameHeight(), 16u);
}

TEST(PictureScaling, NearestDoublesEveryPixel) {
    auto picture = makePicture(2, 2, 0);
    picture->getRow(0)[0] = 0xFF000001;
    picture->getRow(0)[1] = 0xFF000002;
    picture->getRow(1)[0] = 0xFF000003;
    picture->getRow(1)[1] = 0x00000004;
    auto scaled = picture->scalePicture(2.0f, true);
    ASSERT_TRUE(scaled);
    for (std::uint32_t y = 0; y < 4; ++y) {
        for (std::uint32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(pixelAt(*scaled, x, y), pixelAt(*picture, x / 2, y / 2));
        }
    }
}

TEST(PictureScaling, RefusesUnusableScales) {
    auto picture = makePicture(10, 10, 0);
    for (float scale : {0.0f, -1.0f, NAN, INFINITY, -INFINITY, 1e30f}) {
        EXPECT_FALSE(picture->scalePicture(scale, true)) << scale;
        EXPECT_FALSE(picture->scalePicture(scale, false)) << scale;
    }
    EXPECT_FALSE(picture->scalePicture(0.01f, true));  // nothing would be left
    EXPECT_FALSE(Picture().scalePicture(2.0f, true));
}
