#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include "PngTestSupport.h"
#include "uia/picture/Picture.h"

namespace QX::UIA::Test {

struct tJpegImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    J_COLOR_SPACE inputSpace = JCS_RGB;  // samples given in this space
    int components = 3;
    J_COLOR_SPACE storedSpace = JCS_YCbCr;
    bool fullChromaResolution = false;
    Bytes samples;
    std::vector<Bytes> app2Markers;  // written in this order
};

Bytes encodeJpeg(const tJpegImage& image);

// The APP2 payloads that carry `profile` in `pieces` parts, in sequence order.
std::vector<Bytes> splitIccProfile(const Bytes& profile, unsigned pieces);
// An RGB profile with sRGB primaries and a linear tone curve.
Bytes makeLinearRgbProfile();
Bytes makeSrgbProfile();

// A TGA header followed by the given bytes.
Bytes makeTga(std::uint8_t imageType, std::uint16_t width, std::uint16_t height, std::uint8_t depth,
              std::uint8_t descriptor, const Bytes& body, const Bytes& id = {}, std::uint16_t colourMapLength = 0,
              std::uint8_t colourMapEntrySize = 0);

struct tDecoded {
    std::unique_ptr<Picture> picture;
    bool ok = false;
};

enum class tDecoder { kAny, kPng, kJpeg, kTga };
tDecoded decode(const Bytes& bytes, tDecoder decoder = tDecoder::kAny, bool detectAlpha = true);

// Independent decoder: RGBA pixels as 0xAARRGGBB, empty when it fails.
std::vector<std::uint32_t> decodeWithReference(const Bytes& bytes, int& width, int& height);

// Largest difference of any channel between the picture and the pixels.
int largestDifference(const Picture& picture, const std::vector<std::uint32_t>& pixels);

Bytes randomBytes(std::size_t count, unsigned seed);

}  // namespace QX::UIA::Test
