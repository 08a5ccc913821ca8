#include "CompositeGlyphBounds.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

namespace QX::UIA::DETAIL {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Component record flags.
constexpr std::uint16_t kArgsAreWords = 0x0001;
constexpr std::uint16_t kHasScale = 0x0008;
constexpr std::uint16_t kMoreComponents = 0x0020;
constexpr std::uint16_t kHasXYScale = 0x0040;
constexpr std::uint16_t kHasTwoByTwo = 0x0080;

constexpr std::size_t kGlyphHeaderSize = 10;

std::uint16_t read16(const Bytes& bytes, std::size_t at) { return std::uint16_t(bytes[at] << 8 | bytes[at + 1]); }

std::uint32_t read32(const Bytes& bytes, std::size_t at)
{
    return std::uint32_t(read16(bytes, at)) << 16 | read16(bytes, at + 2);
}

std::optional<Bytes> loadTable(FT_Face face, FT_ULong tag, FT_ULong length)
{
    Bytes table(length);
    if (length == 0 || FT_Load_Sfnt_Table(face, tag, 0, table.data(), &length) != 0) return std::nullopt;
    return table;
}

// The glyph table as FreeType reads it. A glyph whose location equals the
// next one is empty (as a space is); any other starts at its location (none
// past the table's end), and its component records may run on to the
// table's end: FreeType reads no further, and reads them all or none.
class GlyphTable {
public:
    static bool isIn(FT_Face face)
    {
        FT_ULong length = 0;
        return FT_Load_Sfnt_Table(face, TTAG_glyf, 0, nullptr, &length) == 0;
    }

    // None when the table cannot be read.
    static std::optional<GlyphTable> read(FT_Face face)
    {
        const auto* head = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(face, FT_SFNT_HEAD));
        FT_ULong glyphsLength = 0;
        if (!head || FT_Load_Sfnt_Table(face, TTAG_glyf, 0, nullptr, &glyphsLength) != 0) return std::nullopt;
        // FreeType reads one location more than there are glyphs, past the
        // end of a short location table when the file leaves room for them,
        // and otherwise counts fewer glyphs.
        const bool longOffsets = head->Index_To_Loc_Format != 0;
        const FT_ULong locationsLength = (FT_ULong(face->num_glyphs) + 1) << (longOffsets ? 2 : 1);
        auto locations = loadTable(face, TTAG_loca, locationsLength);
        auto glyphs = loadTable(face, TTAG_glyf, glyphsLength);
        if (!locations || !glyphs) return std::nullopt;
        return GlyphTable(std::move(*locations), std::move(*glyphs), longOffsets);
    }

    // The glyph indices of the first `limit` components of the glyph; none
    // for a simple or empty glyph.
    std::vector<FT_UInt> components(FT_UInt glyph, std::size_t limit) const
    {
        std::vector<FT_UInt> indices;
        std::size_t at = location(glyph);
        if (at == location(glyph + 1) || at > glyphs_.size() || glyphs_.size() - at < kGlyphHeaderSize ||
            static_cast<std::int16_t>(read16(glyphs_, at)) >= 0)
            return indices;
        at += kGlyphHeaderSize;
        std::uint16_t flags = kMoreComponents;
        while ((flags & kMoreComponents) && indices.size() < limit && at + 4 <= glyphs_.size()) {
            flags = read16(glyphs_, at);
            indices.push_back(read16(glyphs_, at + 2));
            at += 4 + argumentsSize(flags);
        }
        return indices;
    }

private:
    GlyphTable(Bytes locations, Bytes glyphs, bool longOffsets)
        : locations_(std::move(locations)), glyphs_(std::move(glyphs)), longOffsets_(longOffsets)
    {
    }

    std::size_t location(FT_UInt glyph) const
    {
        const std::size_t entry = glyph;
        return longOffsets_ ? read32(locations_, entry * 4) : std::size_t(read16(locations_, entry * 2)) * 2;
    }

    static std::size_t argumentsSize(std::uint16_t flags)
    {
        const std::size_t offsets = (flags & kArgsAreWords) ? 4 : 2;
        if (flags & kHasScale) return offsets + 2;
        if (flags & kHasXYScale) return offsets + 4;
        if (flags & kHasTwoByTwo) return offsets + 8;
        return offsets;
    }

    Bytes locations_;
    Bytes glyphs_;
    bool longOffsets_;
};

// Each glyph's expansion, worked out once: a glyph reached again through
// another composite adds what was counted for it.
class CompositeWalk {
public:
    CompositeWalk(const GlyphTable& table, FT_Long glyphCount)
        : table_(table), expansions_(std::size_t(glyphCount))
    {
    }

    bool staysWithinBounds(FT_UInt glyph) { return expand(glyph, 0); }

private:
    struct tExpansion {
        bool known = false;
        std::size_t depth = 0;
        std::size_t components = 0;
    };

    // `level` counts the composites above the glyph: a composite as many
    // levels down as the depth bound makes the glyph the walk started from
    // too deep. That also ends the walk through a glyph made of itself.
    bool expand(FT_UInt glyph, std::size_t level)
    {
        if (expansions_[glyph].known) return true;
        const std::vector<FT_UInt> components = table_.components(glyph, kMaxCompositeComponents + 1);
        if (!components.empty() && level == kMaxCompositeDepth) return false;
        tExpansion expansion{true};
        for (const FT_UInt component : components) {
            // FreeType fails the load at a component that is no glyph.
            if (component < expansions_.size()) {
                if (!expand(component, level + 1)) return false;
                expansion.depth = std::max(expansion.depth, expansions_[component].depth);
                expansion.components += expansions_[component].components;
            }
            ++expansion.components;
        }
        if (!components.empty()) ++expansion.depth;
        if (expansion.depth > kMaxCompositeDepth || expansion.components > kMaxCompositeComponents) return false;
        expansions_[glyph] = expansion;
        return true;
    }

    const GlyphTable& table_;
    std::vector<tExpansion> expansions_;
};

}  // namespace

bool compositesStayWithinBounds(FT_Face face)
{
    if (!GlyphTable::isIn(face)) return true;
    const std::optional<GlyphTable> table = GlyphTable::read(face);
    if (!table) return false;
    CompositeWalk walk(*table, face->num_glyphs);
    for (FT_Long glyph = 0; glyph < face->num_glyphs; ++glyph) {
        if (!walk.staysWithinBounds(FT_UInt(glyph))) return false;
    }
    return true;
}

}  // namespace QX::UIA::DETAIL
