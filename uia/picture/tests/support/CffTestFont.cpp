#include <string>

#include "CharStringWriter.h"
#include "PostScriptTestFonts.h"

namespace QX::UIA::Test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Dialect = CharStringWriter::Dialect;

constexpr std::int32_t kAdvance = 1000;
// A charstring names a local subroutine by its index less a bias that keeps
// the common numbers short: 107 for fewer than 1240 subroutines.
constexpr std::int32_t kSubroutineBias = 107;
// String ids below this are the standard strings; the font's own follow.
constexpr std::uint16_t kFirstCustomString = 391;

// Dictionary operators.
constexpr std::uint8_t kFontBBox = 5;
constexpr std::uint8_t kCharset = 15;
constexpr std::uint8_t kCharStrings = 17;
constexpr std::uint8_t kPrivate = 18;
constexpr std::uint8_t kSubrs = 19;
constexpr std::uint8_t kDefaultWidthX = 20;

void put16(Bytes& bytes, std::uint32_t value)
{
    bytes.push_back(std::uint8_t(value >> 8));
    bytes.push_back(std::uint8_t(value));
}

// An INDEX: count, offset size, the 1-based offsets, then the data.
Bytes index(const std::vector<Bytes>& items)
{
    Bytes bytes;
    put16(bytes, std::uint32_t(items.size()));
    if (items.empty())
        return bytes;
    std::size_t end = 1;
    for (const Bytes& item : items)
        end += item.size();
    const std::uint8_t offsetSize = end <= 0xFF ? 1 : end <= 0xFFFF ? 2 : end <= 0xFFFFFF ? 3 : 4;
    bytes.push_back(offsetSize);
    std::size_t offset = 1;
    const auto putOffset = [&] {
        for (int shift = 8 * (offsetSize - 1); shift >= 0; shift -= 8)
            bytes.push_back(std::uint8_t(offset >> shift));
    };
    putOffset();
    for (const Bytes& item : items) {
        offset += item.size();
        putOffset();
    }
    for (const Bytes& item : items)
        bytes.insert(bytes.end(), item.begin(), item.end());
    return bytes;
}

// A dictionary operand, always in the five-byte form: an offset's size then
// does not depend on its value.
void putOperand(Bytes& dictionary, std::int32_t value)
{
    dictionary.insert(dictionary.end(), {29, std::uint8_t(value >> 24), std::uint8_t(value >> 16),
                                         std::uint8_t(value >> 8), std::uint8_t(value)});
}

Bytes subroutines(const tSubroutineChain& chain)
{
    std::vector<Bytes> programs;
    for (std::int32_t index = 0; index <= chain.depth; ++index) {
        CharStringWriter program(Dialect::Type2);
        for (int call = 0; index > 0 && call < chain.fanOut; ++call)
            program.number(index - 1 - kSubroutineBias).op(CharStringWriter::kCallSubr);
        programs.push_back(program.op(CharStringWriter::kReturn).bytes());
    }
    return index(programs);
}

}  // namespace

std::vector<std::uint8_t> writeCffFont(const tTestFont& font, const tSubroutineChain& chain)
{
    std::vector<Bytes> names, charStrings = {CharStringWriter(Dialect::Type2).op(CharStringWriter::kEndChar).bytes()};
    Bytes charset = {0};  // format 0: one string id per glyph after .notdef
    for (std::size_t glyph = 0; glyph < font.glyphs.size(); ++glyph) {
        const std::string name = glyphNameOf(font.glyphs[glyph], glyph + 1);
        names.emplace_back(name.begin(), name.end());
        put16(charset, kFirstCustomString + std::uint32_t(glyph));
        CharStringWriter program(Dialect::Type2);
        if (chain.depth > 0)
            program.number(chain.depth - kSubroutineBias).op(CharStringWriter::kCallSubr);
        charStrings.push_back(program.contours(font.glyphs[glyph].contours).op(CharStringWriter::kEndChar).bytes());
    }
    const Bytes charStringIndex = index(charStrings);

    // The private dictionary, and its subroutines right after it (their
    // offset counts from the dictionary's start).
    const auto privateDictionaryOf = [](std::int32_t subroutinesOffset) {
        Bytes dictionary;
        putOperand(dictionary, kAdvance);
        dictionary.push_back(kDefaultWidthX);
        putOperand(dictionary, subroutinesOffset);
        dictionary.push_back(kSubrs);
        return dictionary;
    };
    const Bytes privateDictionary = privateDictionaryOf(std::int32_t(privateDictionaryOf(0).size()));

    // The top dictionary's offsets count from the file's start: header, name
    // index, top dictionary index, string index, global subroutine index,
    // then the charset, the charstrings and the private dictionary.
    const Bytes header = {1, 0, 4, 4};
    const Bytes nameIndex = index({Bytes{'Q', 'x', 'T', 'e', 's', 't'}});
    const Bytes stringIndex = index(names);
    const Bytes globalSubroutines = index({});
    const auto topDictionaryOf = [&](std::int32_t charsetOffset) {
        Bytes dictionary;
        for (const std::int32_t value : {0, -200, 1000, 800})
            putOperand(dictionary, value);
        dictionary.push_back(kFontBBox);
        putOperand(dictionary, charsetOffset);
        dictionary.push_back(kCharset);
        putOperand(dictionary, charsetOffset + std::int32_t(charset.size()));
        dictionary.push_back(kCharStrings);
        putOperand(dictionary, std::int32_t(privateDictionary.size()));
        putOperand(dictionary, charsetOffset + std::int32_t(charset.size() + charStringIndex.size()));
        dictionary.push_back(kPrivate);
        return index({dictionary});
    };
    const std::int32_t charsetOffset = std::int32_t(header.size() + nameIndex.size() + topDictionaryOf(0).size() +
                                                    stringIndex.size() + globalSubroutines.size());

    Bytes file = header;
    for (const Bytes& part : {nameIndex, topDictionaryOf(charsetOffset), stringIndex, globalSubroutines, charset,
                              charStringIndex, privateDictionary, subroutines(chain)})
        file.insert(file.end(), part.begin(), part.end());
    return file;
}

}  // namespace QX::UIA::Test
