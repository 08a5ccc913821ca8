#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include "CodecTestSupport.h"
#include "PictureTestSupport.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

tPngImage makeImage(std::uint32_t width, std::uint32_t height, int colourType, int bitDepth, unsigned seed) {
    tPngImage image;
    image.width = width;
    image.height = height;
    image.colourType = colourType;
    image.bitDepth = bitDepth;
    const int channels = colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                         : colourType == PNG_COLOR_TYPE_RGB      ? 3
                         : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                   : 1;
    image.rows = randomBytes((std::size_t(width) * channels * bitDepth + 7) / 8 * height, seed);
    return image;
}

// Decodes with both decoders and expects the same pixels.
void expectSameAsReference(const Bytes& file, bool expectedOption) {
    const tDecoded ours = decode(file, tDecoder::kPng);
    ASSERT_TRUE(ours.ok);
    int width = 0, height = 0;
    const auto reference = decodeWithReference(file, width, height);
    ASSERT_FALSE(reference.empty());
    EXPECT_EQ(ours.picture->getWidth(), std::uint32_t(width));
    EXPECT_EQ(ours.picture->getHeight(), std::uint32_t(height));
    EXPECT_EQ(largestDifference(*ours.picture, reference), 0);
    EXPECT_EQ(ours.picture->getOption(), expectedOption);
}

}  // namespace

TEST(PictureDecodePng, ColourTypesMatchTheReferenceDecoder) {
    SCOPED_TRACE("RGBA");
    expectSameAsReference(encodePng(makeImage(37, 23, PNG_COLOR_TYPE_RGB_ALPHA, 8, 1)), true);
    SCOPED_TRACE("RGB");
    expectSameAsReference(encodePng(makeImage(37, 23, PNG_COLOR_TYPE_RGB, 8, 2)), false);
    SCOPED_TRACE("grey");
    expectSameAsReference(encodePng(makeImage(19, 5, PNG_COLOR_TYPE_GRAY, 8, 3)), false);
    SCOPED_TRACE("grey 1 bit");
    expectSameAsReference(encodePng(makeImage(19, 5, PNG_COLOR_TYPE_GRAY, 1, 4)), false);
    SCOPED_TRACE("grey 4 bit");
    expectSameAsReference(encodePng(makeImage(19, 5, PNG_COLOR_TYPE_GRAY, 4, 5)), false);
    SCOPED_TRACE("grey with alpha");
    expectSameAsReference(encodePng(makeImage(19, 5, PNG_COLOR_TYPE_GRAY_ALPHA, 8, 6)), true);
    SCOPED_TRACE("16-bit RGBA");
    expectSameAsReference(encodePng(makeImage(11, 7, PNG_COLOR_TYPE_RGB_ALPHA, 16, 7)), true);
    SCOPED_TRACE("16-bit RGB");
    expectSameAsReference(encodePng(makeImage(11, 7, PNG_COLOR_TYPE_RGB, 16, 8)), false);
}

TEST(PictureDecodePng, InterlacedMatchesTheReferenceDecoder) {
    tPngImage image = makeImage(33, 17, PNG_COLOR_TYPE_RGB_ALPHA, 8, 9);
    image.interlaced = true;
    expectSameAsReference(encodePng(image), true);
}

TEST(PictureDecodePng, PaletteWithTransparencyEntrySetsTheOption) {
    tPngImage image = makeImage(16, 8, PNG_COLOR_TYPE_PALETTE, 8, 10);
    for (auto& index : image.rows) {
        index %= 4;
    }
    image.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    image.transparency = {255, 128};
    expectSameAsReference(encodePng(image), true);

    image.transparency.clear();
    expectSameAsReference(encodePng(image), false);
}

// A transparent colour gives grey and RGB files alpha: the option is on when
// a pixel has that colour, off when none has.
TEST(PictureDecodePng, TransparentColourSetsTheOptionWhenAPixelHasIt) {
    struct tCase {
        int colourType;
        Bytes rows;
        Bytes transparency;
        bool expected;
    };
    const tCase cases[] = {
        {PNG_COLOR_TYPE_RGB, {1, 2, 3, 4, 5, 6, 1, 2, 3, 7, 8, 9}, {1, 2, 3}, true},
        {PNG_COLOR_TYPE_RGB, {1, 2, 3, 4, 5, 6, 1, 2, 3, 7, 8, 9}, {9, 9, 9}, false},
        {PNG_COLOR_TYPE_GRAY, {10, 20, 30, 40}, {20}, true},
    };
    for (const auto& c : cases) {
        tPngImage image = makeImage(4, 1, c.colourType, 8, 11);
        image.rows = c.rows;
        image.transparency = c.transparency;
        const tDecoded ours = decode(encodePng(image), tDecoder::kPng);
        ASSERT_TRUE(ours.ok);
        EXPECT_EQ(ours.picture->getOption(), c.expected) << c.colourType << " " << int(c.transparency[0]);
    }
}

TEST(PictureDecodePng, OptionIsClearedWithoutDetection) {
    auto picture = std::make_unique<Picture>();
    const tDecoded ours = decode(encodePng(makeImage(4, 4, PNG_COLOR_TYPE_RGB_ALPHA, 8, 12)), tDecoder::kPng, false);
    ASSERT_TRUE(ours.ok);
    EXPECT_FALSE(ours.picture->getOption());
}

TEST(PictureDecodePng, TruncatedFilesFailCleanly) {
    const Bytes file = encodePng(makeImage(40, 40, PNG_COLOR_TYPE_RGB_ALPHA, 8, 13));
    for (std::size_t length = 0; length < file.size(); length += 1 + length / 4) {
        const Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(length));
        EXPECT_FALSE(decode(cut, tDecoder::kPng).ok) << length;
    }
}

TEST(PictureDecodePng, GarbageAndOversizedFilesFail) {
    EXPECT_FALSE(decode(randomBytes(1000, 14), tDecoder::kPng).ok);
    Bytes file = encodePng(makeImage(2, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, 15));
    // Width and height of IHDR (CRC left wrong: libpng refuses that too).
    file[16] = 0x00, file[17] = 0x00, file[18] = 0x9C, file[19] = 0x40;
    file[20] = 0x00, file[21] = 0x00, file[22] = 0x9C, file[23] = 0x40;
    EXPECT_FALSE(decode(file, tDecoder::kPng).ok);
}

TEST(PictureDecodePng, HugeDeclaredSizeFailsWithoutAllocating) {
    // A 40000 x 40000 picture whose IHDR has a correct CRC but no data.
    tPngImage image = makeImage(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, 16);
    Bytes file = encodePng(image);
    file[16] = 0, file[17] = 0, file[18] = 0x9C, file[19] = 0x40;
    file[20] = 0, file[21] = 0, file[22] = 0x9C, file[23] = 0x40;
    const std::uint32_t crc = std::uint32_t(crc32(crc32(0, nullptr, 0), file.data() + 12, 17));
    file[29] = std::uint8_t(crc >> 24), file[30] = std::uint8_t(crc >> 16);
    file[31] = std::uint8_t(crc >> 8), file[32] = std::uint8_t(crc);
    const tDecoded ours = decode(file, tDecoder::kPng);
    EXPECT_FALSE(ours.ok);
}
