#include <gtest/gtest.h>

#include "CodecTestSupport.h"
#include "PictureTestSupport.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

void expectSameAsReference(const Bytes& file) {
    const tDecoded ours = decode(file, tDecoder::kTga);
    ASSERT_TRUE(ours.ok);
    int width = 0, height = 0;
    const auto reference = decodeWithReference(file, width, height);
    ASSERT_FALSE(reference.empty());
    EXPECT_EQ(ours.picture->getWidth(), std::uint32_t(width));
    EXPECT_EQ(ours.picture->getHeight(), std::uint32_t(height));
    EXPECT_EQ(largestDifference(*ours.picture, reference), 0);
}

// A run-length body: a repeat packet, then literal packets, for `count`
// pixels of `bytesPerPixel`.
Bytes makeRunLengthBody(std::size_t count, std::size_t bytesPerPixel, unsigned seed) {
    Bytes body;
    const Bytes pixel = randomBytes(bytesPerPixel, seed);
    std::size_t filled = 0;
    unsigned literalSeed = seed;
    while (filled < count) {
        const std::size_t repeat = std::min<std::size_t>(5, count - filled);
        body.push_back(std::uint8_t(0x80 | (repeat - 1)));
        body.insert(body.end(), pixel.begin(), pixel.end());
        filled += repeat;
        const std::size_t literal = std::min<std::size_t>(3, count - filled);
        if (literal > 0) {
            body.push_back(std::uint8_t(literal - 1));
            const Bytes literals = randomBytes(literal * bytesPerPixel, ++literalSeed);
            body.insert(body.end(), literals.begin(), literals.end());
            filled += literal;
        }
    }
    return body;
}

}  // namespace

TEST(PictureDecodeTga, UncompressedDepthsMatchTheReferenceDecoder) {
    expectSameAsReference(makeTga(2, 13, 7, 24, 0, randomBytes(13 * 7 * 3, 1)));
    expectSameAsReference(makeTga(2, 13, 7, 24, 0x20, randomBytes(13 * 7 * 3, 2)));
    expectSameAsReference(makeTga(2, 13, 7, 32, 0x28, randomBytes(13 * 7 * 4, 3)));
}

TEST(PictureDecodeTga, RunLengthAtEveryDepthMatchesTheReferenceDecoder) {
    expectSameAsReference(makeTga(10, 11, 9, 24, 0, makeRunLengthBody(99, 3, 4)));
    expectSameAsReference(makeTga(10, 11, 9, 32, 0x28, makeRunLengthBody(99, 4, 5)));
}

TEST(PictureDecodeTga, IdFieldAndColourMapAreSkipped) {
    const Bytes body = randomBytes(5 * 4 * 3, 6);
    expectSameAsReference(makeTga(2, 5, 4, 24, 0, body, Bytes(17, 'x')));
    // The reference refuses a colour map in a true-colour file: compare with
    // the same pixels without it.
    const tDecoded withMap = decode(makeTga(2, 5, 4, 24, 0, body, Bytes(3, 'y'), 256, 24), tDecoder::kTga);
    ASSERT_TRUE(withMap.ok);
    int width = 0, height = 0;
    EXPECT_EQ(largestDifference(*withMap.picture, decodeWithReference(makeTga(2, 5, 4, 24, 0, body), width, height)),
              0);
}

TEST(PictureDecodeTga, SixteenBitPixels) {
    // 0x7FFF white, 0x0000 transparent, 0x801F blue with bit 15 set.
    const Bytes body = {0xFF, 0x7F, 0x00, 0x00, 0x1F, 0x80};
    const tDecoded ours = decode(makeTga(2, 3, 1, 16, 0x20, body), tDecoder::kTga);
    ASSERT_TRUE(ours.ok);
    EXPECT_EQ(pixelAt(*ours.picture, 0, 0), 0xFFF8F8F8u);
    EXPECT_EQ(pixelAt(*ours.picture, 1, 0), 0x00000000u);
    EXPECT_EQ(pixelAt(*ours.picture, 2, 0), 0xFF0000F8u);
    EXPECT_TRUE(ours.picture->getOption());
}

TEST(PictureDecodeTga, AlphaDetectionAndOrientation) {
    // Two rows stored bottom first.
    const Bytes body = {1, 2, 3, 255, 4, 5, 6, 128};
    const tDecoded bottomUp = decode(makeTga(2, 1, 2, 32, 0, body), tDecoder::kTga);
    ASSERT_TRUE(bottomUp.ok);
    EXPECT_EQ(pixelAt(*bottomUp.picture, 0, 0), 0x80060504u);
    EXPECT_EQ(pixelAt(*bottomUp.picture, 0, 1), 0xFF030201u);
    EXPECT_TRUE(bottomUp.picture->getOption());

    const Bytes opaque = {1, 2, 3, 255, 4, 5, 6, 255};
    const tDecoded topDown = decode(makeTga(2, 1, 2, 32, 0x20, opaque), tDecoder::kTga);
    ASSERT_TRUE(topDown.ok);
    EXPECT_EQ(pixelAt(*topDown.picture, 0, 0), 0xFF030201u);
    EXPECT_FALSE(topDown.picture->getOption());
}

TEST(PictureDecodeTga, FinalPacketLongerThanThePictureIsCut) {
    // 5 pixels: a literal packet of 2, then a repeat packet of 128.
    Bytes body = {0x01, 1, 1, 1, 255, 2, 2, 2, 255, 0xFF, 9, 9, 9, 255};
    const tDecoded ours = decode(makeTga(10, 5, 1, 32, 0x20, body), tDecoder::kTga);
    ASSERT_TRUE(ours.ok);
    EXPECT_EQ(pixelAt(*ours.picture, 1, 0), 0xFF020202u);
    EXPECT_EQ(pixelAt(*ours.picture, 4, 0), 0xFF090909u);
}

TEST(PictureDecodeTga, RefusedAndBrokenFiles) {
    EXPECT_FALSE(decode(makeTga(1, 4, 4, 8, 0, randomBytes(16, 7), {}, 256, 24), tDecoder::kTga).ok);
    EXPECT_FALSE(decode(makeTga(3, 4, 4, 8, 0, randomBytes(16, 8)), tDecoder::kTga).ok);
    EXPECT_FALSE(decode(makeTga(2, 4, 4, 8, 0, randomBytes(16, 9)), tDecoder::kTga).ok);
    EXPECT_FALSE(decode(makeTga(2, 0, 4, 24, 0, {}), tDecoder::kTga).ok);
    const Bytes file = makeTga(2, 8, 8, 24, 0, randomBytes(8 * 8 * 3, 10));
    for (std::size_t length = 0; length < file.size(); length += 7) {
        EXPECT_FALSE(decode(Bytes(file.begin(), file.begin() + std::ptrdiff_t(length)), tDecoder::kTga).ok);
    }
    const Bytes runs = makeTga(10, 8, 8, 32, 0, makeRunLengthBody(64, 4, 11));
    EXPECT_FALSE(decode(Bytes(runs.begin(), runs.end() - 3), tDecoder::kTga).ok);
}

TEST(PictureDecodeTga, OversizedPicturesFailWithoutWritingPastTheBlock) {
    // 32768 x 32768 x 4 bytes wraps to 0 in 32 bits; 65535 x 65535 is larger still.
    EXPECT_FALSE(decode(makeTga(2, 32768, 32768, 32, 0, randomBytes(4096, 12)), tDecoder::kTga).ok);
    EXPECT_FALSE(decode(makeTga(10, 65535, 65535, 24, 0, randomBytes(4096, 13)), tDecoder::kTga).ok);
    // Within the limit but short of data.
    EXPECT_FALSE(decode(makeTga(2, 4000, 4000, 32, 0, randomBytes(4096, 14)), tDecoder::kTga).ok);
}
