#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "CodecTestSupport.h"
#include "PictureTestSupport.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

// A smooth picture: JPEG decoders agree closely on it.
tJpegImage makeImage(std::uint32_t width, std::uint32_t height, J_COLOR_SPACE inputSpace, int components,
                     J_COLOR_SPACE storedSpace) {
    tJpegImage image;
    image.width = width;
    image.height = height;
    image.inputSpace = inputSpace;
    image.components = components;
    image.storedSpace = storedSpace;
    image.samples.resize(std::size_t(width) * height * components);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                image.samples[(std::size_t(y) * width + x) * components + c] =
                    std::uint8_t(40 + (x * (3 + c) + y * (5 - c)) % 170);
            }
        }
    }
    return image;
}

tJpegImage makeUniformRgb(std::uint8_t value) {
    tJpegImage image = makeImage(16, 16, JCS_RGB, 3, JCS_RGB);
    std::fill(image.samples.begin(), image.samples.end(), value);
    return image;
}

void expectNearReference(const Bytes& file, int tolerance) {
    const tDecoded ours = decode(file, tDecoder::kJpeg);
    ASSERT_TRUE(ours.ok);
    int width = 0, height = 0;
    const auto reference = decodeWithReference(file, width, height);
    ASSERT_FALSE(reference.empty());
    EXPECT_LE(largestDifference(*ours.picture, reference), tolerance);
    EXPECT_FALSE(ours.picture->getOption());
}

// djpeg's output for the file (PPM or PGM as BGRA pixels); empty when djpeg
// cannot be run here.
std::vector<std::uint32_t> decodeWithDjpeg(const Bytes& file) {
    const std::string path = ::testing::TempDir() + "picture_djpeg_input_" + std::to_string(::getpid()) + ".jpg";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    FILE* pipe = popen(("djpeg " + path + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        return {};
    }
    std::vector<std::uint32_t> pixels;
    char magic[3] = {};
    int width = 0, height = 0, maximum = 0;
    if (std::fscanf(pipe, "%2s %d %d %d", magic, &width, &height, &maximum) == 4 && std::fgetc(pipe) != EOF) {
        const int channels = std::string(magic) == "P6" ? 3 : 1;
        std::vector<unsigned char> data(std::size_t(width) * height * channels);
        if (std::fread(data.data(), 1, data.size(), pipe) == data.size()) {
            for (std::size_t i = 0; i < std::size_t(width) * height; ++i) {
                const unsigned char* p = &data[i * channels];
                const std::uint32_t r = p[0], g = p[channels > 1], b = p[2 * (channels > 1)];
                pixels.push_back(0xFF000000u | r << 16 | g << 8 | b);
            }
        }
    }
    pclose(pipe);
    return pixels;
}

}  // namespace

TEST(PictureDecodeJpeg, YCbCrAndGreyMatchTheReferenceDecoders) {
    const Bytes colour = encodeJpeg(makeImage(45, 31, JCS_RGB, 3, JCS_YCbCr));
    expectNearReference(colour, 6);
    const Bytes grey = encodeJpeg(makeImage(45, 31, JCS_GRAYSCALE, 1, JCS_GRAYSCALE));
    expectNearReference(grey, 2);

    for (const Bytes* file : {&colour, &grey}) {
        const auto fromDjpeg = decodeWithDjpeg(*file);
        if (fromDjpeg.empty()) {
            GTEST_SKIP() << "djpeg is not available";
        }
        const tDecoded ours = decode(*file, tDecoder::kJpeg);
        ASSERT_TRUE(ours.ok);
        EXPECT_EQ(largestDifference(*ours.picture, fromDjpeg), 0);
        for (std::uint32_t i = 0; i < 45 * 31; ++i) ASSERT_EQ(ours.picture->getPixels()[i] >> 24, 0xFFu);
    }
}

TEST(PictureDecodeJpeg, CmykAndYcckWithoutProfileAreConverted) {
    // Inks stored inverted, as files with an Adobe marker have them.
    tJpegImage cmyk = makeImage(24, 16, JCS_CMYK, 4, JCS_CMYK);
    cmyk.fullChromaResolution = true;
    expectNearReference(encodeJpeg(cmyk), 4);
    tJpegImage ycck = makeImage(24, 16, JCS_CMYK, 4, JCS_YCCK);
    ycck.fullChromaResolution = true;
    expectNearReference(encodeJpeg(ycck), 6);

    // White paper and full black.
    tJpegImage plain = makeImage(8, 8, JCS_CMYK, 4, JCS_CMYK);
    std::fill(plain.samples.begin(), plain.samples.end(), 255);
    const tDecoded white = decode(encodeJpeg(plain), tDecoder::kJpeg);
    ASSERT_TRUE(white.ok);
    EXPECT_EQ(pixelAt(*white.picture, 3, 3), 0xFFFFFFFFu);
}

TEST(PictureDecodeJpeg, ProfileInPiecesOutOfOrderIsApplied) {
    const Bytes linear = makeLinearRgbProfile();
    tJpegImage image = makeUniformRgb(128);
    const Bytes plain = encodeJpeg(image);
    auto pieces = splitIccProfile(linear, 3);
    image.app2Markers = {pieces[1], pieces[2], pieces[0]};
    const Bytes shuffled = encodeJpeg(image);
    image.app2Markers = pieces;
    const Bytes ordered = encodeJpeg(image);

    const tDecoded withoutProfile = decode(plain, tDecoder::kJpeg);
    const tDecoded fromShuffled = decode(shuffled, tDecoder::kJpeg);
    const tDecoded fromOrdered = decode(ordered, tDecoder::kJpeg);
    ASSERT_TRUE(withoutProfile.ok && fromShuffled.ok && fromOrdered.ok);
    const std::uint32_t before = channel(pixelAt(*withoutProfile.picture, 5, 5), 1);
    const std::uint32_t after = channel(pixelAt(*fromShuffled.picture, 5, 5), 1);
    EXPECT_NEAR(double(before), 128.0, 1.0);
    EXPECT_NEAR(double(after), 188.0, 2.0);  // linear 0.5 in sRGB
    EXPECT_EQ(pixelAt(*fromShuffled.picture, 5, 5) >> 24, 0xFFu);
    EXPECT_EQ(largestDifference(*fromShuffled.picture,
                                std::vector<std::uint32_t>(fromOrdered.picture->getPixels(),
                                                           fromOrdered.picture->getPixels() + 256)),
              0);
}

// Profiles in pieces that do not fit together, or of another colour space,
// or not profiles at all: the file is refused.
TEST(PictureDecodeJpeg, BrokenProfilesFail) {
    const auto pieces = splitIccProfile(makeLinearRgbProfile(), 2);
    Bytes otherCount = pieces[1];
    otherCount[13] = 3;
    Bytes zero = pieces[0];
    zero[12] = 0;
    const std::pair<const char*, std::vector<Bytes>> rgbCases[] = {
        {"piece 1 twice", {pieces[0], pieces[0]}},
        {"another count", {pieces[0], otherCount}},
        {"piece 1 missing", {pieces[1]}},
        {"piece number 0", {zero, pieces[1]}},
        {"no profile", splitIccProfile(randomBytes(300, 3), 1)},
    };
    for (const auto& [name, markers] : rgbCases) {
        tJpegImage image = makeUniformRgb(128);
        image.app2Markers = markers;
        EXPECT_FALSE(decode(encodeJpeg(image), tDecoder::kJpeg).ok) << name;
    }
    tJpegImage cmyk = makeImage(8, 8, JCS_CMYK, 4, JCS_CMYK);
    cmyk.app2Markers = splitIccProfile(makeSrgbProfile(), 1);
    EXPECT_FALSE(decode(encodeJpeg(cmyk), tDecoder::kJpeg).ok);
}

TEST(PictureDecodeJpeg, YCbCrIgnoresItsProfile) {
    tJpegImage image = makeUniformRgb(128);
    image.storedSpace = JCS_YCbCr;
    image.app2Markers = splitIccProfile(makeLinearRgbProfile(), 2);
    const tDecoded ours = decode(encodeJpeg(image), tDecoder::kJpeg);
    ASSERT_TRUE(ours.ok);
    EXPECT_NEAR(double(channel(pixelAt(*ours.picture, 3, 3), 1)), 128.0, 2.0);
}

TEST(PictureDecodeJpeg, TruncatedAndGarbageFilesFailCleanly) {
    const Bytes file = encodeJpeg(makeImage(40, 40, JCS_RGB, 3, JCS_YCbCr));
    for (std::size_t length = 0; length + 2 < file.size(); length += 1 + length / 3) {
        const Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(length));
        EXPECT_FALSE(decode(cut, tDecoder::kJpeg).ok) << length;
    }
    EXPECT_FALSE(decode(randomBytes(2000, 4), tDecoder::kJpeg).ok);
    Bytes corrupt = file;
    for (std::size_t i = corrupt.size() / 2; i < corrupt.size(); i += 7) {
        corrupt[i] ^= 0x5A;
    }
    decode(corrupt, tDecoder::kJpeg);  // may succeed with damaged pixels; must not misbehave
}

// The declared size against the data: 8000 x 8000 pixels cannot live in a
// few hundred bytes of a sequential file; 60000 x 60000 is beyond any picture.
TEST(PictureDecodeJpeg, DeclaredSizeFarBeyondTheDataFails) {
    for (const std::uint16_t side : {8000, 60000}) {
        Bytes file = encodeJpeg(makeImage(8, 8, JCS_RGB, 3, JCS_YCbCr));
        for (std::size_t i = 0; i + 8 < file.size(); ++i) {
            if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
                file[i + 5] = file[i + 7] = std::uint8_t(side >> 8);
                file[i + 6] = file[i + 8] = std::uint8_t(side);
                break;
            }
        }
        EXPECT_FALSE(decode(file, tDecoder::kJpeg).ok) << side;
    }
}

TEST(PictureDecodeJpeg, AFileThatLacksOnlyItsEndMarkerLoads) {
    const Bytes file = encodeJpeg(makeImage(40, 24, JCS_RGB, 3, JCS_YCbCr));
    ASSERT_EQ(file[file.size() - 1], 0xD9);
    const tDecoded whole = decode(file, tDecoder::kJpeg);
    const tDecoded cut = decode(Bytes(file.begin(), file.end() - 2), tDecoder::kJpeg);
    ASSERT_TRUE(whole.ok);
    ASSERT_TRUE(cut.ok);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(pixelAt(*cut.picture, x, y), pixelAt(*whole.picture, x, y));
}

// Data cut inside the image, with an end marker after it: libjpeg warns
// about corrupt data and would hand out grey rows.
TEST(PictureDecodeJpeg, CorruptDataIsAFailureNotGrey) {
    const Bytes file = encodeJpeg(makeImage(64, 64, JCS_RGB, 3, JCS_YCbCr));
    Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(file.size() * 2 / 3));
    cut.push_back(0xFF);
    cut.push_back(0xD9);
    EXPECT_FALSE(decode(cut, tDecoder::kJpeg).ok);
}

TEST(PictureDecodeJpeg, CmykProfileReadsAdobeInvertedInks) {
    // A CMYK output profile that the system may carry; Little CMS cannot make one.
    std::ifstream in("/usr/share/color/icc/ghostscript/default_cmyk.icc", std::ios::binary);
    const Bytes profile((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (profile.empty()) {
        GTEST_SKIP() << "no CMYK profile on this system";
    }
    // Left half bare paper, right half full black ink; stored inverted.
    tJpegImage image = makeImage(16, 8, JCS_CMYK, 4, JCS_CMYK);
    image.fullChromaResolution = true;
    for (std::size_t i = 0; i < image.samples.size(); i += 4) {
        const bool black = (i / 4) % 16 >= 8;
        image.samples[i] = image.samples[i + 1] = image.samples[i + 2] = 255;
        image.samples[i + 3] = black ? 0 : 255;
    }
    auto pieces = splitIccProfile(profile, unsigned(profile.size() / 60000 + 2));
    std::reverse(pieces.begin(), pieces.end());
    image.app2Markers = pieces;
    const tDecoded ours = decode(encodeJpeg(image), tDecoder::kJpeg);
    ASSERT_TRUE(ours.ok);
    const std::uint32_t paper = pixelAt(*ours.picture, 2, 4), ink = pixelAt(*ours.picture, 13, 4);
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(channel(paper, c), 230u) << std::hex << paper;
        EXPECT_LE(channel(ink, c), 80u) << std::hex << ink;
    }
    EXPECT_EQ(paper >> 24, 0xFFu);
}
