#include <string>

#include "CharStringWriter.h"
#include "PostScriptTestFonts.h"

namespace QX::UIA::Test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void append(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

// Where the strings of the TrueType data break. The format breaks them
// between tables, and FreeType misreads some strings that run from one table
// into the next: the offset table with the table directory, and each table,
// get a string of their own (the test fonts' tables stay well below the
// 64 KB a string holds).
std::vector<std::size_t> tableStarts(const Bytes& trueType)
{
    const std::size_t tables = std::size_t(trueType[4] << 8 | trueType[5]);
    std::vector<std::size_t> starts = {0};
    for (std::size_t table = 0; table < tables; ++table) {
        const std::uint8_t* offset = &trueType[12 + 16 * table + 8];
        starts.push_back(std::size_t(offset[0]) << 24 | std::size_t(offset[1]) << 16 | std::size_t(offset[2]) << 8 |
                         offset[3]);
    }
    starts.push_back(trueType.size());
    return starts;
}

}  // namespace

std::vector<std::uint8_t> writeType42Font(const tTestFont& font)
{
    Bytes file;
    append(file, "%!PS-TrueTypeFont-1.0-1.0\n"
                 "11 dict begin\n"
                 "/FontName /QxTest42 def\n"
                 "/FontType 42 def\n"
                 "/PaintType 0 def\n"
                 "/FontMatrix [1 0 0 1 0 0] readonly def\n"
                 "/FontBBox [0 0 0 0] readonly def\n"
                 "/Encoding StandardEncoding def\n");
    std::size_t named = 1;
    for (const tTestGlyph& glyph : font.glyphs)
        named += glyph.codePoints.empty() ? 0 : 1;
    append(file, "/CharStrings " + std::to_string(named) + " dict dup begin\n/.notdef 0 def\n");
    for (std::size_t glyph = 0; glyph < font.glyphs.size(); ++glyph) {
        if (!font.glyphs[glyph].codePoints.empty())
            append(file, "/" + glyphNameOf(font.glyphs[glyph], glyph + 1) + " " + std::to_string(glyph + 1) + " def\n");
    }
    append(file, "end readonly def\n/sfnts [\n");
    static constexpr char kHex[] = "0123456789ABCDEF";
    const Bytes trueType = writeTrueTypeFont(font);
    const std::vector<std::size_t> starts = tableStarts(trueType);
    for (std::size_t string = 0; string + 1 < starts.size(); ++string) {
        file.push_back('<');
        for (std::size_t i = starts[string]; i < starts[string + 1]; ++i) {
            file.push_back(std::uint8_t(kHex[trueType[i] >> 4]));
            file.push_back(std::uint8_t(kHex[trueType[i] & 15]));
        }
        append(file, ">\n");
    }
    append(file, "] def\nFontName currentdict end definefont pop\n");
    return file;
}

}  // namespace QX::UIA::Test
