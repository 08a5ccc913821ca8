#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "gp/Resources.h"
#include "uia/picture/Font.h"

namespace QX::UIA::Test {

inline std::vector<std::uint8_t> readFontFile(const std::string& name)
{
    std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The native build has no embedded resources: it is given the same files the
// program build embeds. The program build reads its own.
inline void registerProgramFonts()
{
#ifndef QX_TEST_EMBEDDED_FONTS
    GP::registerResource(GP::ResourceId(1), kFontResourceType, readFontFile("default.ttf"));
    GP::registerResource(GP::ResourceId("VIRID.TTF"), kFontResourceType, readFontFile("virid.ttf"));
#endif
}

// A description over a face cache of its own, so that tests do not share
// faces through the process-wide one.
inline FontDescription makeDescription(std::int32_t baseSize, std::uint32_t styleFlags = 0, std::int32_t resourceId = 1)
{
    FontDescription description;
    description.resourceId = resourceId;
    description.baseSize = baseSize;
    description.styleFlags = styleFlags;
    description.faceCache = std::make_shared<DETAIL::FaceCache>();
    return description;
}

// FreeType used directly, over the same font bytes, as the reference.
class ReferenceFace {
public:
    ReferenceFace(const std::vector<std::uint8_t>& bytes, unsigned pixelSize, bool hinting)
        : bytes_(bytes), hinting_(hinting)
    {
        FT_Init_FreeType(&library_);
        FT_New_Memory_Face(library_, bytes_.data(), FT_Long(bytes_.size()), 0, &face_);
        FT_Set_Pixel_Sizes(face_, 0, pixelSize);
    }
    ~ReferenceFace()
    {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    ReferenceFace(const ReferenceFace&) = delete;
    ReferenceFace& operator=(const ReferenceFace&) = delete;

    FT_Face face() const { return face_; }
    // Renders one code point; the slot stays valid until the next call.
    FT_GlyphSlot render(char32_t codePoint) const
    {
        const FT_Int32 flags = FT_LOAD_RENDER | (hinting_ ? FT_LOAD_NO_AUTOHINT : FT_LOAD_NO_HINTING);
        return FT_Load_Char(face_, codePoint, flags) == 0 ? face_->glyph : nullptr;
    }

private:
    std::vector<std::uint8_t> bytes_;
    bool hinting_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

}  // namespace QX::UIA::Test
