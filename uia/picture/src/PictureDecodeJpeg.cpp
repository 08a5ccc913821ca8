// JPEG through libjpeg, with the embedded ICC profile applied by Little CMS.
// libjpeg reports errors by a long jump: everything with a destructor lives
// in the caller's frame (tJpegDecoder), and the frame that sets the jump
// point holds only plain values.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
#include <lcms2.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "IccProfile.h"
#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {
namespace {

constexpr std::size_t kSourceBufferSize = 512;
// libjpeg's own working memory beyond which it gives up.
constexpr std::uint64_t kMaxDecoderMemory = 2 * Picture::kMaxBlockSize;

struct tErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

struct tSourceManager {
    jpeg_source_mgr base;
    GP::StorageIO* reader;
    JOCTET buffer[kSourceBufferSize];
};

// What a colour space of the file becomes.
struct tColourPlan {
    J_COLOR_SPACE output;
    int components;            // of the decoded rows
    cmsUInt32Number lcmsSpace; // PT_GRAY, PT_RGB or PT_CMYK
    cmsColorSpaceSignature profileSpace;
    bool profileApplies;
};

struct tJpegDecoder {
    tJpegDecoder() {
        std::memset(&decompressor, 0, sizeof decompressor);
        std::memset(&errors, 0, sizeof errors);
        std::memset(&source, 0, sizeof source);
    }
    ~tJpegDecoder() {
        if (transform) {
            cmsDeleteTransform(transform);
        }
        if (inputProfile) {
            cmsCloseProfile(inputProfile);
        }
        if (outputProfile) {
            cmsCloseProfile(outputProfile);
        }
        jpeg_destroy_decompress(&decompressor);  // safe on a zeroed or partly made decompressor
    }
    tJpegDecoder(const tJpegDecoder&) = delete;
    tJpegDecoder& operator=(const tJpegDecoder&) = delete;

    jpeg_decompress_struct decompressor;
    tErrorManager errors;
    tSourceManager source;
    cmsHPROFILE inputProfile = nullptr;
    cmsHPROFILE outputProfile = nullptr;
    cmsHTRANSFORM transform = nullptr;
    std::vector<std::uint8_t> profile;
    std::vector<std::uint8_t> row;
};

[[noreturn]] void jumpOnError(j_common_ptr common) {
    std::longjmp(reinterpret_cast<tErrorManager*>(common->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

// libjpeg warns about corrupt data and goes on with grey: for us such a file
// is broken. Warnings about harmless oddities pass.
void failOnCorruptData(j_common_ptr common, int level) {
    if (level >= 0) return;  // trace messages
    switch (common->err->msg_code) {
    case JWRN_ADOBE_XFORM:
    case JWRN_JFIF_MAJOR:
    case JWRN_TOO_MUCH_DATA:
        return;
    default:
        jumpOnError(common);
    }
}

// Every block of a sequential Huffman-coded file takes at least two bits per
// component; a declared size that would need many times the data there is
// is refused before anything is allocated for it.
bool dataCanHoldImage(const jpeg_decompress_struct& cinfo, GP::StorageIO& reader) {
    if (cinfo.progressive_mode || cinfo.arith_code || reader.getStorage() == nullptr) return true;
    constexpr std::uint64_t kSlack = 16;
    const std::uint64_t blocks = ((std::uint64_t(cinfo.image_width) + 7) / 8) * ((cinfo.image_height + 7) / 8);
    const std::uint64_t minimumBytes = blocks * std::uint64_t(cinfo.num_components) / 4;
    return std::uint64_t(std::max<std::int64_t>(reader.getStorage()->getSize(), 0)) * kSlack >= minimumBytes;
}

void initSource(j_decompress_ptr decompressor) {
    decompressor->src->next_input_byte = nullptr;
    decompressor->src->bytes_in_buffer = 0;
}

// At the end of the data (or when the storage fails) an end marker follows,
// as with libjpeg's own sources: a file that lacks only its end marker is
// whole, and one cut short makes libjpeg warn about corrupt data.
boolean fillInputBuffer(j_decompress_ptr decompressor) {
    auto* source = reinterpret_cast<tSourceManager*>(decompressor->src);
    std::size_t got = source->reader->read(source->buffer, kSourceBufferSize);
    if (got == 0) {
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->base.next_input_byte = source->buffer;
    source->base.bytes_in_buffer = got;
    return TRUE;
}

void skipInputData(j_decompress_ptr decompressor, long count) {
    if (count <= 0) {
        return;
    }
    auto* source = reinterpret_cast<tSourceManager*>(decompressor->src);
    const std::size_t buffered = std::min<std::size_t>(std::size_t(count), source->base.bytes_in_buffer);
    source->base.next_input_byte += buffered;
    source->base.bytes_in_buffer -= buffered;
    if (std::size_t(count) > buffered) {
        source->reader->seek(std::int64_t(std::size_t(count) - buffered), GP::kSeekCurrent);
    }
}

void terminateSource(j_decompress_ptr) {}

bool planColours(J_COLOR_SPACE fileSpace, tColourPlan& plan) {
    switch (fileSpace) {
    case JCS_GRAYSCALE:
        plan = {JCS_GRAYSCALE, 1, PT_GRAY, cmsSigGrayData, false};
        return true;
    case JCS_RGB:
        plan = {JCS_RGB, 3, PT_RGB, cmsSigRgbData, true};
        return true;
    case JCS_YCbCr:
        plan = {JCS_RGB, 3, PT_RGB, cmsSigRgbData, false};
        return true;
    case JCS_CMYK:
    case JCS_YCCK:
        plan = {JCS_CMYK, 4, PT_CMYK, cmsSigCmykData, true};
        return true;
    default:
        return false;
    }
}

// Opens the file's profile and makes the transform to sRGB BGRA (alpha
// untouched). True without a transform when the file has no profile; false
// when its profile pieces do not fit together or the profile is unusable.
bool prepareTransform(tJpegDecoder& decoder, const tColourPlan& plan, bool inverted) {
    if (!plan.profileApplies) {
        return true;
    }
    bool found = false;
    if (!DETAIL::assembleIccProfile(decoder.decompressor, decoder.profile, found)) {
        return !found;
    }
    decoder.inputProfile =
        cmsOpenProfileFromMem(decoder.profile.data(), cmsUInt32Number(decoder.profile.size()));
    if (!decoder.inputProfile || cmsGetColorSpace(decoder.inputProfile) != plan.profileSpace) {
        return false;
    }
    decoder.outputProfile = cmsCreate_sRGBProfile();
    if (!decoder.outputProfile) {
        return false;
    }
    const cmsUInt32Number inputFormat = COLORSPACE_SH(plan.lcmsSpace) | CHANNELS_SH(plan.components) |
                                        BYTES_SH(1) | FLAVOR_SH(inverted ? 1 : 0);
    decoder.transform = cmsCreateTransform(decoder.inputProfile, inputFormat, decoder.outputProfile, TYPE_BGRA_8,
                                           INTENT_PERCEPTUAL, 0);
    return decoder.transform != nullptr;
}

std::uint8_t mulDiv255(unsigned x, unsigned y) {
    return std::uint8_t((x * y + 127) / 255);
}

// Rows without a profile: packed into BGRA by hand. CMYK becomes RGB by the
// naive rule; files with an Adobe marker store inverted inks.
void packRow(const std::uint8_t* in, std::uint32_t width, int components, bool inverted, std::uint8_t* out) {
    for (std::uint32_t x = 0; x < width; ++x, in += components, out += 4) {
        if (components == 1) {
            out[0] = out[1] = out[2] = in[0];
        } else if (components == 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        } else {
            const unsigned c = inverted ? in[0] : 255 - in[0];
            const unsigned m = inverted ? in[1] : 255 - in[1];
            const unsigned y = inverted ? in[2] : 255 - in[2];
            const unsigned k = inverted ? in[3] : 255 - in[3];
            out[0] = mulDiv255(y, k);
            out[1] = mulDiv255(m, k);
            out[2] = mulDiv255(c, k);
        }
        out[3] = 0xFF;
    }
}

// Runs libjpeg from the header to the last row. Only plain values live here.
bool decodeImage(tJpegDecoder& decoder, GP::StorageIO& reader, Picture& picture) {
    jpeg_decompress_struct* cinfo = &decoder.decompressor;
    cinfo->err = jpeg_std_error(&decoder.errors.base);
    decoder.errors.base.error_exit = jumpOnError;
    decoder.errors.base.output_message = ignoreMessage;
    decoder.errors.base.emit_message = failOnCorruptData;
    if (setjmp(decoder.errors.jump)) {
        return false;
    }
    jpeg_create_decompress(cinfo);
    decoder.source.reader = &reader;
    decoder.source.base.init_source = initSource;
    decoder.source.base.fill_input_buffer = fillInputBuffer;
    decoder.source.base.skip_input_data = skipInputData;
    decoder.source.base.resync_to_restart = jpeg_resync_to_restart;
    decoder.source.base.term_source = terminateSource;
    cinfo->src = &decoder.source.base;
    jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    // Refuse what could never become a picture before libjpeg allocates for
    // it (a progressive file keeps every coefficient of the image).
    if (std::uint64_t(cinfo->image_width) * cinfo->image_height > (Picture::kMaxBlockSize - Picture::kHeaderSize) / 4 ||
        !dataCanHoldImage(*cinfo, reader)) {
        return false;
    }
    cinfo->mem->max_memory_to_use = long(kMaxDecoderMemory);
    tColourPlan plan{};
    if (!planColours(cinfo->jpeg_color_space, plan)) {
        return false;
    }
    cinfo->out_color_space = plan.output;
    // Adobe writes CMYK inks inverted (0 is full ink).
    const bool inverted = plan.components == 4 && cinfo->saw_Adobe_marker != 0;
    if (!prepareTransform(decoder, plan, inverted) || !jpeg_start_decompress(cinfo) ||
        cinfo->output_components != plan.components ||
        !picture.resize(cinfo->output_width, cinfo->output_height, true)) {
        return false;
    }
    decoder.row.resize(std::size_t(cinfo->output_components) * cinfo->output_width);
    if (decoder.transform) {
        picture.fill(0xFFFFFFFFu);  // the transform leaves the alpha bytes alone
    }
    JSAMPROW row = decoder.row.data();
    for (std::uint32_t y = 0; y < cinfo->output_height; ++y) {
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            return false;
        }
        auto* out = reinterpret_cast<std::uint8_t*>(picture.getRow(y));
        if (decoder.transform) {
            cmsDoTransform(decoder.transform, row, out, cinfo->output_width);
        } else {
            packRow(row, cinfo->output_width, plan.components, inverted, out);
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

bool Picture::decodeJpeg(GP::StorageIO& reader, bool detectAlpha) {
    tJpegDecoder decoder;
    if (!decodeImage(decoder, reader, *this)) {
        return false;
    }
    if (detectAlpha) {
        setOption(false);
    }
    return true;
}

}  // namespace QX::UIA
