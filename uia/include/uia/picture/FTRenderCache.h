#pragma once
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

struct hb_font_t;

namespace QX::UIA::DETAIL {

// The FreeType library, shared by the face cache and every render cache so
// that no face outlives it.
using FreeTypeLibrary = std::shared_ptr<FT_LibraryRec_>;
// The bytes of a font file; every face opened from them reads them.
using FontBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

struct tRenderCacheKey {
    std::uint32_t pixelSize = 0;
    bool hinting = false;

    friend bool operator==(const tRenderCacheKey&, const tRenderCacheKey&) = default;
};

// One rendered glyph: advance in 26.6 fixed point, bitmap bearings and the
// 8-bit coverage bitmap (rows × pitch bytes).
struct tGlyph {
    std::int32_t advance = 0;
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int32_t width = 0;
    std::int32_t rows = 0;
    std::int32_t pitch = 0;
    std::vector<std::uint8_t> coverage;
};

// Stores the slot's bitmap in the glyph as 8-bit coverage. Strikes embedded
// in a font may come as 1, 2 or 4 bits per pixel (or in colour): they are
// converted and spread over 0..255, so that a row always holds `width`
// coverage bytes. A bitmap that cannot be converted leaves no coverage.
void copyCoverage(FT_Library library, const FT_Bitmap& bitmap, tGlyph& glyph);

// FNV-1a over the four bytes of a code point, low byte first.
struct CodePointHash {
    std::size_t operator()(char32_t codePoint) const noexcept;
};

// A face at one pixel size and hinting choice, with the glyphs rendered so
// far. Made only through `create`; shared by the fonts that use it.
class FTRenderCache {
public:
    static std::shared_ptr<FTRenderCache> create(const FreeTypeLibrary& library, const FontBytes& bytes,
                                                 tRenderCacheKey key);
    ~FTRenderCache();
    FTRenderCache(const FTRenderCache&) = delete;
    FTRenderCache& operator=(const FTRenderCache&) = delete;

    // The glyph of a code point, rendered on first use; a code point the
    // face cannot render gives the glyph of '?', and null when even that is
    // missing.
    const tGlyph* getGlyph(char32_t codePoint);

    const tRenderCacheKey& getKey() const { return key_; }
    std::int32_t getLineHeight() const { return lineHeight_; }
    std::int32_t getAscent() const { return ascent_; }
    std::int32_t getUnderlinePosition() const { return underlinePosition_; }
    std::int32_t getUnderlineThickness() const { return underlineThickness_; }
    FT_Face getFace() const { return face_; }
    hb_font_t* getHarfBuzzFont() const { return harfBuzzFont_; }
    // How many glyphs were asked of FreeType (cache misses).
    std::size_t getLoadCount() const { return loadCount_; }

private:
    FTRenderCache(FreeTypeLibrary library, FontBytes bytes, FT_Face face, tRenderCacheKey key);
    void computeMetrics();
    const tGlyph* findGlyph(char32_t codePoint);
    const tGlyph* loadGlyph(char32_t codePoint);

    // Declared first so that they are released last, after the face.
    FreeTypeLibrary library_;
    FontBytes bytes_;
    FT_Face face_ = nullptr;
    hb_font_t* harfBuzzFont_ = nullptr;
    tRenderCacheKey key_;
    std::int32_t lineHeight_ = 0;
    std::int32_t ascent_ = 0;
    std::int32_t underlinePosition_ = 0;
    std::int32_t underlineThickness_ = 0;
    std::unordered_map<char32_t, const tGlyph*, CodePointHash> glyphTable_;
    // Most text is ASCII: its glyphs are found by index, without hashing.
    static constexpr char32_t kAsciiCount = 128;
    std::array<const tGlyph*, kAsciiCount> asciiGlyphs_{};
    std::bitset<kAsciiCount> asciiKnown_;
    std::list<tGlyph> glyphs_;
    std::size_t loadCount_ = 0;
};

}  // namespace QX::UIA::DETAIL
