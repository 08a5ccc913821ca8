#include "TrueTypeTestFont.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"
#include "uia/picture/PictureRect.h"

namespace QX::UIA::Test {
namespace {

using Table = std::vector<std::uint8_t>;

constexpr std::uint16_t kUnitsPerEm = 1000;
constexpr std::int16_t kAscender = 800;
constexpr std::int16_t kDescender = -200;
constexpr std::uint16_t kAdvance = 1000;

// Font files are big-endian.
void put16(Table& table, std::uint32_t value)
{
    table.push_back(std::uint8_t(value >> 8));
    table.push_back(std::uint8_t(value));
}

void put32(Table& table, std::uint32_t value)
{
    put16(table, value >> 16);
    put16(table, value & 0xFFFFu);
}

void padToFour(Table& table) { table.resize((table.size() + 3) & ~std::size_t(3)); }

// The number of entries of a binary search table: the largest power of two
// not above `count`, and its logarithm.
std::pair<std::uint16_t, std::uint16_t> searchPower(std::size_t count)
{
    std::uint16_t power = 1, log = 0;
    while (power * 2u <= count) {
        power = std::uint16_t(power * 2);
        ++log;
    }
    return {power, log};
}

struct tBox {
    std::int16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

tBox boxOf(const std::vector<tContour>& contours)
{
    tBox box{INT16_MAX, INT16_MAX, INT16_MIN, INT16_MIN};
    for (const tContour& contour : contours) {
        for (const tFontPoint& point : contour) {
            box = {std::min(box.xMin, point.x), std::min(box.yMin, point.y), std::max(box.xMax, point.x),
                   std::max(box.yMax, point.y)};
        }
    }
    return contours.empty() ? tBox{} : box;
}

tBox unite(const tBox& a, const tBox& b)
{
    return {std::min(a.xMin, b.xMin), std::min(a.yMin, b.yMin), std::max(a.xMax, b.xMax), std::max(a.yMax, b.yMax)};
}

void putBox(Table& table, const tBox& box)
{
    for (const std::int16_t value : {box.xMin, box.yMin, box.xMax, box.yMax})
        put16(table, std::uint16_t(value));
}

// A simple glyph: on-curve points only, every coordinate a 16-bit delta, no
// instructions. An empty glyph has no data at all.
Table glyphData(const std::vector<tContour>& contours)
{
    Table data;
    if (contours.empty())
        return data;
    put16(data, std::uint16_t(contours.size()));
    putBox(data, boxOf(contours));
    std::size_t points = 0;
    for (const tContour& contour : contours) {
        points += contour.size();
        put16(data, std::uint16_t(points - 1));
    }
    put16(data, 0);
    data.insert(data.end(), points, std::uint8_t(1));  // on curve
    for (const bool horizontal : {true, false}) {
        std::int16_t previous = 0;
        for (const tContour& contour : contours) {
            for (const tFontPoint& point : contour) {
                const std::int16_t value = horizontal ? point.x : point.y;
                put16(data, std::uint16_t(value - previous));
                previous = value;
            }
        }
    }
    padToFour(data);
    return data;
}

// A composite glyph: each component drawn at the origin.
Table compositeData(const std::vector<std::uint16_t>& components, const tBox& box)
{
    constexpr std::uint16_t kArgsAreOffsets = 0x0002, kMoreComponents = 0x0020;
    Table data;
    put16(data, 0xFFFF);  // -1 contours
    putBox(data, box);
    for (std::size_t i = 0; i < components.size(); ++i) {
        put16(data, kArgsAreOffsets | (i + 1 < components.size() ? kMoreComponents : 0));
        put16(data, components[i]);
        data.insert(data.end(), {0, 0});  // x and y offsets as bytes
    }
    padToFour(data);
    return data;
}

// What a glyph draws with its components: their box (with the origin for
// a composite), points and contours added up, and how deep its composites
// nest.
struct tExpansion {
    tBox box;
    std::size_t points = 0, contours = 0, depth = 0;
};

// The expansion of every glyph, each worked out once. A component that is no
// glyph, or the glyph itself again, adds nothing.
std::vector<tExpansion> expansionsOf(const std::vector<tTestGlyph>& glyphs)
{
    std::vector<tExpansion> expansions(glyphs.size());
    std::vector<int> state(glyphs.size());  // 0 not yet, 1 in progress, 2 known
    const auto expand = [&](const auto& self, std::size_t glyph) -> void {
        state[glyph] = 1;
        tExpansion& expansion = expansions[glyph];
        if (glyphs[glyph].components.empty()) {
            expansion.box = boxOf(glyphs[glyph].contours);
            expansion.contours = glyphs[glyph].contours.size();
            for (const tContour& contour : glyphs[glyph].contours)
                expansion.points += contour.size();
        }
        for (const std::uint16_t component : glyphs[glyph].components) {
            if (component >= glyphs.size() || state[component] == 1)
                continue;
            if (state[component] == 0)
                self(self, component);
            const tExpansion& part = expansions[component];
            expansion.box = unite(expansion.box, part.box);
            expansion.points += part.points;
            expansion.contours += part.contours;
            expansion.depth = std::max(expansion.depth, part.depth + 1);
        }
        if (!glyphs[glyph].components.empty())
            expansion.depth = std::max<std::size_t>(expansion.depth, 1);
        state[glyph] = 2;
    };
    for (std::size_t glyph = 0; glyph < glyphs.size(); ++glyph) {
        if (state[glyph] == 0)
            expand(expand, glyph);
    }
    return expansions;
}

std::uint16_t clamp16(std::size_t value) { return std::uint16_t(std::min<std::size_t>(value, 0xFFFF)); }

// Format 4, one segment per code point (its glyph by delta) and the closing
// segment at 0xFFFF that the format requires.
Table characterMap(const tTestFont& font)
{
    std::map<std::uint16_t, std::uint16_t> glyphOf;
    for (std::size_t glyph = 0; glyph < font.glyphs.size(); ++glyph) {
        for (const char32_t codePoint : font.glyphs[glyph].codePoints)
            glyphOf[std::uint16_t(codePoint)] = std::uint16_t(glyph + 1);
    }
    std::vector<std::pair<std::uint16_t, std::uint16_t>> segments;  // code point, delta
    for (const auto& [codePoint, glyph] : glyphOf)
        segments.emplace_back(codePoint, std::uint16_t(glyph - codePoint));
    segments.emplace_back(0xFFFF, 1);

    const std::size_t count = segments.size();
    const auto [power, log] = searchPower(count);
    Table map;
    put16(map, 0);
    put16(map, 1);
    put16(map, font.mapPlatform);
    put16(map, font.mapEncoding);
    put32(map, 12);
    put16(map, 4);
    put16(map, std::uint32_t(16 + 8 * count));
    put16(map, 0);  // language
    put16(map, std::uint32_t(2 * count));
    put16(map, 2u * power);
    put16(map, log);
    put16(map, std::uint32_t(2 * count - 2u * power));
    for (const auto& segment : segments)
        put16(map, segment.first);  // end
    put16(map, 0);
    for (const auto& segment : segments)
        put16(map, segment.first);  // start
    for (const auto& segment : segments)
        put16(map, segment.second);
    for (std::size_t i = 0; i < count; ++i)
        put16(map, 0);  // no glyph index array
    return map;
}

// The offset table and table directory, then the tables; checksums are
// left 0 (FreeType does not check them).
Table sfnt(const std::map<std::string, Table>& tables)
{
    const std::size_t count = tables.size();
    const auto [power, log] = searchPower(count);
    Table file;
    put32(file, 0x00010000);
    put16(file, std::uint32_t(count));
    put16(file, 16u * power);
    put16(file, log);
    put16(file, std::uint32_t(16 * count - 16u * power));
    std::size_t offset = 12 + 16 * count;
    for (const auto& [tag, data] : tables) {  // ordered by tag, as the directory must be
        file.insert(file.end(), tag.begin(), tag.end());
        put32(file, 0);
        put32(file, std::uint32_t(offset));
        put32(file, std::uint32_t(data.size()));
        offset += (data.size() + 3) & ~std::size_t(3);
    }
    for (const auto& entry : tables) {
        file.insert(file.end(), entry.second.begin(), entry.second.end());
        padToFour(file);
    }
    return file;
}

}  // namespace

std::vector<tContour> arrowOutline()
{
    return {{{100, 300}, {100, 500}, {600, 500}, {600, 700}, {900, 400}, {600, 100}, {600, 300}}};
}

std::vector<tContour> manyEmsWideOutline()
{
    // Points 30000 units apart: the glyph data holds each step in 16 bits.
    return {{{-30000, -30000}, {-30000, 0}, {-30000, 30000}, {0, 30000}, {30000, 30000}, {30000, 0}, {30000, -30000},
             {0, -30000}}};
}

std::vector<std::uint8_t> writeTrueTypeFont(const tTestFont& font)
{
    std::vector<tTestGlyph> glyphs = {{{}, {{{100, 0}, {100, 700}, {500, 700}, {500, 0}}}}};
    glyphs.insert(glyphs.end(), font.glyphs.begin(), font.glyphs.end());
    const std::size_t glyphCount = glyphs.size();
    const std::vector<tExpansion> expansions = expansionsOf(glyphs);

    tBox fontBox;
    std::size_t maxPoints = 0, maxContours = 0, maxCompositePoints = 0, maxCompositeContours = 0;
    std::size_t maxComponents = 0, maxDepth = 0;
    Table glyf, loca, hmtx;
    for (std::size_t glyph = 0; glyph < glyphCount; ++glyph) {
        const tExpansion& expansion = expansions[glyph];
        const tBox& box = expansion.box;
        fontBox = unite(fontBox, box);
        const std::vector<std::uint16_t>& components = glyphs[glyph].components;
        if (components.empty()) {
            maxPoints = std::max(maxPoints, expansion.points);
            maxContours = std::max(maxContours, expansion.contours);
        } else {
            maxCompositePoints = std::max(maxCompositePoints, expansion.points);
            maxCompositeContours = std::max(maxCompositeContours, expansion.contours);
            maxComponents = std::max(maxComponents, components.size());
            maxDepth = std::max(maxDepth, expansion.depth);
        }
        put32(loca, std::uint32_t(glyf.size()));
        const Table data = components.empty() ? glyphData(glyphs[glyph].contours) : compositeData(components, box);
        glyf.insert(glyf.end(), data.begin(), data.end());
        put16(hmtx, kAdvance);
        put16(hmtx, std::uint16_t(box.xMin));
    }
    put32(loca, std::uint32_t(glyf.size()));

    Table head;
    put32(head, 0x00010000);  // version
    put32(head, 0x00010000);  // font revision
    put32(head, 0);           // checksum adjustment
    put32(head, 0x5F0F3CF5);  // magic number
    put16(head, 0x0003);      // baseline at y 0, left side bearing at x 0
    put16(head, kUnitsPerEm);
    for (int i = 0; i < 4; ++i)
        put32(head, 0);  // created, modified
    putBox(head, fontBox);
    put16(head, 0);  // mac style
    put16(head, 8);  // lowest readable size
    put16(head, 2);  // font direction hint
    put16(head, 1);  // long loca offsets
    put16(head, 0);  // glyph data format

    Table hhea;
    put32(hhea, 0x00010000);
    put16(hhea, std::uint16_t(kAscender));
    put16(hhea, std::uint16_t(kDescender));
    put16(hhea, 0);  // line gap
    put16(hhea, kAdvance);
    put16(hhea, std::uint16_t(fontBox.xMin));  // min left side bearing
    put16(hhea, std::uint16_t(kAdvance - fontBox.xMax));  // min right side bearing
    put16(hhea, std::uint16_t(fontBox.xMax));  // x max extent
    put16(hhea, 1);  // caret slope rise
    for (int i = 0; i < 7; ++i)
        put16(hhea, 0);  // caret slope run, caret offset, reserved, metric data format
    put16(hhea, std::uint32_t(glyphCount));  // horizontal metrics

    Table maxp;
    put32(maxp, 0x00010000);
    put16(maxp, std::uint32_t(glyphCount));
    put16(maxp, std::uint32_t(maxPoints));
    put16(maxp, std::uint32_t(maxContours));
    put16(maxp, clamp16(maxCompositePoints));
    put16(maxp, clamp16(maxCompositeContours));
    put16(maxp, 2);  // zones
    for (int i = 0; i < 6; ++i)
        put16(maxp, 0);  // twilight points, storage, function and instruction definitions, stack, instructions
    put16(maxp, clamp16(maxComponents));
    put16(maxp, clamp16(maxDepth));

    return sfnt({{"cmap", characterMap(font)},
                 {"glyf", glyf},
                 {"head", head},
                 {"hhea", hhea},
                 {"hmtx", hmtx},
                 {"loca", loca},
                 {"maxp", maxp}});
}

tTestFont nestedArrowFont(std::uint16_t depth, std::uint16_t width)
{
    tTestFont font{{{{}, arrowOutline()}}};
    for (std::uint16_t level = 1; level <= depth; ++level)
        font.glyphs.push_back({{}, {}, std::vector<std::uint16_t>(width, level)});
    font.glyphs.back().codePoints = {0x2192};
    return font;
}

int inkOf(const Font& font, const std::string& text)
{
    constexpr std::int32_t kWidth = 200, kHeight = 40;
    Picture picture;
    if (!picture.resize(kWidth, kHeight, true))
        return -1;
    picture.fill(0xFFFFFFFFu);
    font.drawText(picture, PictureRect(0, 0, kWidth, kHeight), text, 0xFF000000u, kAlignLeft | kAlignTop, 0);
    return int(std::count_if(picture.getPixels(), picture.getPixels() + kWidth * kHeight,
                             [](std::uint32_t pixel) { return pixel != 0xFFFFFFFFu; }));
}

}  // namespace QX::UIA::Test
