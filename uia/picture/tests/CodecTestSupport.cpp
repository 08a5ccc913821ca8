#include "CodecTestSupport.h"

#include <lcms2.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "gp/Storage.h"
#include "gp/StorageIO.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

namespace QX::UIA::Test {
namespace {

Bytes saveProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

}  // namespace

Bytes encodeJpeg(const tJpegImage& image) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = image.width;
    cinfo.image_height = image.height;
    cinfo.input_components = image.components;
    cinfo.in_color_space = image.inputSpace;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, image.storedSpace);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (image.fullChromaResolution) {
        for (int c = 0; c < cinfo.num_components; ++c) {
            cinfo.comp_info[c].h_samp_factor = 1;
            cinfo.comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&cinfo, TRUE);
    for (const Bytes& marker : image.app2Markers) {
        jpeg_write_marker(&cinfo, JPEG_APP0 + 2, marker.data(), unsigned(marker.size()));
    }
    const std::size_t stride = std::size_t(image.width) * image.components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.samples.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<Bytes> splitIccProfile(const Bytes& profile, unsigned pieces) {
    std::vector<Bytes> markers;
    const std::size_t length = (profile.size() + pieces - 1) / pieces;
    for (unsigned i = 0; i < pieces; ++i) {
        Bytes marker = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, std::uint8_t(i + 1),
                        std::uint8_t(pieces)};
        const std::size_t begin = std::min(profile.size(), i * length);
        const std::size_t end = std::min(profile.size(), begin + length);
        marker.insert(marker.end(), profile.begin() + std::ptrdiff_t(begin), profile.begin() + std::ptrdiff_t(end));
        markers.push_back(std::move(marker));
    }
    return markers;
}

Bytes makeLinearRgbProfile() {
    cmsCIExyY whitePoint;
    cmsWhitePointFromTemp(&whitePoint, 6504);
    const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* linear = cmsBuildGamma(nullptr, 1.0);
    cmsToneCurve* curves[3] = {linear, linear, linear};
    cmsHPROFILE profile = cmsCreateRGBProfile(&whitePoint, &primaries, curves);
    cmsFreeToneCurve(linear);
    return saveProfile(profile);
}

Bytes makeSrgbProfile() {
    return saveProfile(cmsCreate_sRGBProfile());
}

Bytes makeTga(std::uint8_t imageType, std::uint16_t width, std::uint16_t height, std::uint8_t depth,
              std::uint8_t descriptor, const Bytes& body, const Bytes& id, std::uint16_t colourMapLength,
              std::uint8_t colourMapEntrySize) {
    Bytes out = {std::uint8_t(id.size()),
                 std::uint8_t(colourMapLength ? 1 : 0),
                 imageType,
                 0,
                 0,
                 std::uint8_t(colourMapLength),
                 std::uint8_t(colourMapLength >> 8),
                 colourMapEntrySize,
                 0,
                 0,
                 0,
                 0,
                 std::uint8_t(width),
                 std::uint8_t(width >> 8),
                 std::uint8_t(height),
                 std::uint8_t(height >> 8),
                 depth,
                 descriptor};
    out.insert(out.end(), id.begin(), id.end());
    out.insert(out.end(), std::size_t(colourMapLength) * ((colourMapEntrySize + 7) / 8), 0x5A);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

tDecoded decode(const Bytes& bytes, tDecoder decoder, bool detectAlpha) {
    tDecoded result;
    result.picture = std::make_unique<Picture>();
    GP::MemoryStorage storage(bytes);
    GP::StorageIO reader(&storage);
    switch (decoder) {
    case tDecoder::kAny: result.ok = result.picture->loadFromStream(reader, detectAlpha); break;
    case tDecoder::kPng: result.ok = result.picture->decodePng(reader, detectAlpha); break;
    case tDecoder::kJpeg: result.ok = result.picture->decodeJpeg(reader, detectAlpha); break;
    case tDecoder::kTga: result.ok = result.picture->decodeTga(reader, detectAlpha); break;
    }
    return result;
}

std::vector<std::uint32_t> decodeWithReference(const Bytes& bytes, int& width, int& height) {
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), int(bytes.size()), &width, &height, &channels, 4);
    if (!pixels) {
        return {};
    }
    std::vector<std::uint32_t> out(std::size_t(width) * height);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const stbi_uc* p = pixels + 4 * i;
        out[i] = std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
    }
    stbi_image_free(pixels);
    return out;
}

int largestDifference(const Picture& picture, const std::vector<std::uint32_t>& pixels) {
    if (pixels.size() != std::size_t(picture.getWidth()) * picture.getHeight()) {
        return 1 << 30;
    }
    int largest = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t a = picture.getPixels()[i], b = pixels[i];
        for (int shift = 0; shift < 32; shift += 8) {
            largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
        }
    }
    return largest;
}

Bytes randomBytes(std::size_t count, unsigned seed) {
    Bytes out(count);
    std::mt19937 random(seed);
    for (auto& b : out) {
        b = std::uint8_t(random());
    }
    return out;
}

}  // namespace QX::UIA::Test
