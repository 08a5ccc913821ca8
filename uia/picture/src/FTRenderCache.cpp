#include "uia/picture/FTRenderCache.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include FT_BITMAP_H
#include <hb-ft.h>
#include <hb.h>

#include "GlyphSpan.h"

namespace QX::UIA::DETAIL {
namespace {

constexpr char32_t kReplacementCharacter = U'?';
// With hinting use the font's own hints, never the auto-hinter.
constexpr FT_Int32 kLoadHinted = FT_LOAD_NO_AUTOHINT;
constexpr FT_Int32 kLoadUnhinted = FT_LOAD_NO_HINTING;

// An embedded bitmap is drawn as its strike has it; an outline only when it
// spans few ems.
bool isRenderable(const FT_GlyphSlot slot, std::uint32_t pixelSize)
{
    return slot->format != FT_GLYPH_FORMAT_OUTLINE || spansFewEms(slot->outline, FT_Pos(pixelSize) * 64);
}

std::int32_t scaleToPixels(double fontUnits, std::uint32_t pixelSize, double unitsPerEm)
{
    return static_cast<std::int32_t>(std::lround(fontUnits * pixelSize / unitsPerEm));
}

}  // namespace

void copyCoverage(FT_Library library, const FT_Bitmap& bitmap, tGlyph& glyph)
{
    glyph.coverage.clear();
    glyph.width = glyph.rows = glyph.pitch = 0;
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    const bool grey = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    if (grey || FT_Bitmap_Convert(library, &bitmap, &converted, 1) == 0) {
        const FT_Bitmap& source = grey ? bitmap : converted;
        glyph.width = static_cast<std::int32_t>(source.width);
        glyph.rows = static_cast<std::int32_t>(source.rows);
        glyph.pitch = source.pitch;
        const std::size_t size = std::size_t(source.rows) * std::size_t(std::abs(source.pitch));
        if (size > 0 && source.buffer) glyph.coverage.assign(source.buffer, source.buffer + size);
        // Converted values run from 0 to num_grays - 1.
        const unsigned top = grey ? 255u : std::max(1u, static_cast<unsigned>(source.num_grays) - 1u);
        if (top != 255u) {
            for (std::uint8_t& value : glyph.coverage)
                value = static_cast<std::uint8_t>(std::min(255u, value * 255u / top));
        }
    }
    FT_Bitmap_Done(library, &converted);
}

std::size_t CodePointHash::operator()(char32_t codePoint) const noexcept
{
    std::uint32_t hash = 0x811C9DC5u;
    for (int shift = 0; shift < 32; shift += 8) {
        hash ^= (static_cast<std::uint32_t>(codePoint) >> shift) & 0xFFu;
        hash *= 16777619u;
    }
    return hash;
}

std::shared_ptr<FTRenderCache> FTRenderCache::create(const FreeTypeLibrary& library, const FontBytes& bytes,
                                                     tRenderCacheKey key)
{
    if (!library || !bytes || bytes->empty()) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library.get(), bytes->data(), static_cast<FT_Long>(bytes->size()), 0, &face) != 0)
        return nullptr;
    // The metrics are taken from font units: a face without outlines (a
    // bitmap-only format) has none, and is refused like an unusable file.
    if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, key.pixelSize) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    // make_shared cannot reach the private constructor.
    std::shared_ptr<FTRenderCache> cache(new FTRenderCache(library, bytes, face, key));
    cache->computeMetrics();
    cache->harfBuzzFont_ = hb_ft_font_create_referenced(face);
    return cache;
}

FTRenderCache::FTRenderCache(FreeTypeLibrary library, FontBytes bytes, FT_Face face, tRenderCacheKey key)
    : library_(std::move(library)), bytes_(std::move(bytes)), face_(face), key_(key), glyphTable_(8)
{
    glyphTable_.max_load_factor(1.0f);
}

FTRenderCache::~FTRenderCache()
{
    if (harfBuzzFont_) hb_font_destroy(harfBuzzFont_);
    FT_Done_Face(face_);
}

void FTRenderCache::computeMetrics()
{
    const double unitsPerEm = face_->units_per_EM;
    const std::uint32_t size = key_.pixelSize;
    lineHeight_ = scaleToPixels(double(face_->bbox.yMax) - face_->bbox.yMin, size, unitsPerEm);
    ascent_ = scaleToPixels(face_->bbox.yMax, size, unitsPerEm);
    underlinePosition_ = scaleToPixels(face_->underline_position, size, unitsPerEm);
    underlineThickness_ = static_cast<std::int32_t>(std::ceil(face_->underline_thickness * double(size) / unitsPerEm));
    // Keep the underline inside the line.
    if (ascent_ - underlinePosition_ >= lineHeight_) ++lineHeight_;
}

const tGlyph* FTRenderCache::getGlyph(char32_t codePoint)
{
    if (codePoint >= kAsciiCount) return findGlyph(codePoint);
    if (!asciiKnown_[codePoint]) {
        asciiGlyphs_[codePoint] = findGlyph(codePoint);
        asciiKnown_.set(codePoint);
    }
    return asciiGlyphs_[codePoint];
}

const tGlyph* FTRenderCache::findGlyph(char32_t codePoint)
{
    const auto found = glyphTable_.find(codePoint);
    if (found != glyphTable_.end()) return found->second;
    const tGlyph* glyph = loadGlyph(codePoint);
    glyphTable_.emplace(codePoint, glyph);
    return glyph;
}

const tGlyph* FTRenderCache::loadGlyph(char32_t codePoint)
{
    ++loadCount_;
    // FreeType answers a code point the font lacks with glyph 0 (the
    // "missing" box) and no error: that is a failure here too.
    const FT_UInt glyphIndex = FT_Get_Char_Index(face_, codePoint);
    const FT_GlyphSlot slot = face_->glyph;
    if (glyphIndex == 0 || FT_Load_Glyph(face_, glyphIndex, key_.hinting ? kLoadHinted : kLoadUnhinted) != 0 ||
        !isRenderable(slot, key_.pixelSize) || FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return codePoint == kReplacementCharacter ? nullptr : getGlyph(kReplacementCharacter);

    tGlyph& glyph = glyphs_.emplace_back();
    glyph.advance = static_cast<std::int32_t>(slot->advance.x);
    glyph.top = slot->bitmap_top;
    glyph.left = slot->bitmap_left;
    copyCoverage(library_.get(), slot->bitmap, glyph);
    return &glyph;
}

}  // namespace QX::UIA::DETAIL
