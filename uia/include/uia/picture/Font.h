#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "uia/picture/FaceCache.h"

namespace QX::GP {
class Stream;
struct NamedStringMap;
}  // namespace QX::GP

namespace QX::UIA {

class Picture;
struct PictureRect;

// Style flags of a font description; the font itself uses underline and
// hinting (bold and italic choose the font file elsewhere).
inline constexpr std::uint32_t kFontBold = 1;
inline constexpr std::uint32_t kFontItalic = 2;
inline constexpr std::uint32_t kFontUnderline = 4;
inline constexpr std::uint32_t kFontHinting = 16;

// Alignment flags of drawText.
inline constexpr std::uint32_t kAlignRight = 0x1;
inline constexpr std::uint32_t kAlignBottom = 0x10;
inline constexpr std::uint32_t kAlignTop = 0x100;
inline constexpr std::uint32_t kAlignLeft = 0x1000;

// Modes of getFittingLength for the code point that crosses the width.
inline constexpr int kFitNearest = 0;
inline constexpr int kFitExclude = 1;
inline constexpr int kFitInclude = 2;

// Resource type of embedded fonts.
inline constexpr std::string_view kFontResourceType = "TTFd";

// What a font is: its file (resource id, or name when the id is 0), base
// pixel size and style; the defaults are the program's default font.
struct FontDescription {
    std::string name;
    std::int32_t resourceId = 1;
    std::int32_t baseSize = 12;
    std::uint32_t styleFlags = 0;
    std::shared_ptr<DETAIL::FaceCache> faceCache = DETAIL::FaceCache::getProcessCache();
};

// A TrueType font drawn at a base pixel size times a display scale. Fonts
// of one file share its face; fonts of one size and hinting share a glyph
// cache. Text is UTF-8; a line ends at a line feed (or NUL). Invalid UTF-8
// throws std::out_of_range from every text operation.
class Font {
public:
    // Reads the whole stream as the font file.
    Font(const std::shared_ptr<GP::Stream>& reader, const FontDescription& description);
    // Reads the font from the program's "TTFd" resource of the description's id.
    explicit Font(const FontDescription& description);

    void setScale(float scale);
    float getScale() const { return scale_; }
    // The cache of the current scale, made now when the font holds none for
    // it; null for a font that could not be opened and for a scale too small
    // for any glyph.
    const std::shared_ptr<DETAIL::FTRenderCache>& getRenderCache() const;
    // Whether the font's file made a face that draws text. A font without
    // one measures and draws nothing: its file is missing or no font at all,
    // is bitmap-only, has no Unicode map, its map reaches no glyph with an
    // outline (as in a truncated file) among its first 1024 distinct glyphs
    // and 65536 code points, or one of its glyphs nests composite glyphs
    // more than 8 deep, expands to more than 128 components or is made of
    // itself.
    bool isUsable() const;

    std::int32_t getResourceId() const { return resourceId_; }
    const std::string& getName() const { return name_; }
    std::int32_t getBaseSize() const { return baseSize_; }
    bool isUnderlined() const { return underline_; }
    bool isHinted() const { return hinting_; }

    // Sum of the pixel advances up to NUL, a line feed or `length` bytes
    // (-1: no limit).
    std::int32_t getTextWidth(const char* utf8, std::int32_t length = -1) const;
    std::int32_t getTextWidth(std::string_view text) const;
    // The widest line of the text.
    std::int32_t getMaxLineWidth(std::string_view text) const;
    std::int32_t getGlyphAdvance(char32_t codePoint) const;
    std::int32_t getLineHeight() const;
    // Where the first line starts in a box `width` wide.
    std::int32_t getHorizontalAlignmentOffset(std::string_view text, std::uint32_t flags, std::int32_t width) const;
    // Bytes of the first line's prefix that fit `maxWidth`.
    std::int32_t getFittingLength(std::string_view text, std::int32_t maxWidth, int mode) const;
    // The text shortened to `width` by the foundation's shortening. One
    // `state` may serve several fonts: its results are kept apart by font.
    std::string shortenText(GP::NamedStringMap& state, std::string_view text, std::int32_t width) const;

    // Draws the lines of the text into `rect`, aligned by `flags`, in
    // `colour` (0xAARRGGBB), with `lineSpacing` extra pixels between lines.
    void drawText(Picture& picture, const PictureRect& rect, std::string_view text, std::uint32_t colour,
                  std::uint32_t flags, std::int32_t lineSpacing) const;

private:
    // `readBytes` is called only when no usable font of the same key came first.
    void initialise(const FontDescription& description,
                    const std::function<std::vector<std::uint8_t>()>& readBytes);
    std::shared_ptr<DETAIL::FaceHolder> findFaceHolder(std::vector<std::uint8_t> bytes = {}) const;
    std::int32_t measureLine(std::string_view line, std::int32_t stopWidth) const;
    std::int64_t getLineStart(std::string_view line, const PictureRect& rect, std::uint32_t flags) const;
    void drawLine(Picture& picture, DETAIL::FTRenderCache& cache, std::string_view line, std::int64_t x,
                  std::int64_t baseline, std::int32_t right, std::uint32_t colour) const;
    void drawGlyph(Picture& picture, const DETAIL::FTRenderCache& cache, const DETAIL::tGlyph& glyph,
                   std::int32_t x, std::int32_t y, std::uint32_t colour) const;

    std::shared_ptr<DETAIL::FaceCache> faceCache_;
    // Made on demand, also by const readers.
    mutable std::map<float, std::shared_ptr<DETAIL::FTRenderCache>> caches_;
    std::int32_t resourceId_ = 0;
    std::string name_;
    std::int32_t baseSize_ = 0;
    float scale_ = 1.0f;
    bool underline_ = false;
    bool hinting_ = false;
};

// The pixel advance of a 26.6 advance: nearest integer, halves to even.
std::int32_t roundAdvance(std::int32_t advance26Dot6);

}  // namespace QX::UIA
