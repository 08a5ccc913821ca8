#include <string>

#include "CharStringWriter.h"
#include "PostScriptTestFonts.h"

namespace QX::UIA::Test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Dialect = CharStringWriter::Dialect;

constexpr std::int32_t kAdvance = 1000;
// Subroutines 0 to 3 are, by convention, the font's flex and hint
// replacement helpers: the chain starts above them.
constexpr std::int32_t kFirstChainSubroutine = 4;
// The eexec and charstring encryption keys.
constexpr std::uint16_t kEexecKey = 55665;
constexpr std::uint16_t kCharStringKey = 4330;

// The encryption of both layers: a running key over the bytes, after four
// bytes of no meaning (lenIV for a charstring) that the reader drops.
Bytes encrypt(const Bytes& plain, std::uint16_t key)
{
    Bytes cipher;
    std::uint16_t r = key;
    const auto put = [&](std::uint8_t byte) {
        const std::uint8_t c = std::uint8_t(byte ^ (r >> 8));
        r = std::uint16_t((c + r) * 52845u + 22719u);
        cipher.push_back(c);
    };
    for (int i = 0; i < 4; ++i)
        put(0);
    for (const std::uint8_t byte : plain)
        put(byte);
    return cipher;
}

void append(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

// "<size> RD <binary>" of one encrypted charstring.
void appendCharString(Bytes& bytes, const CharStringWriter& program)
{
    const Bytes cipher = encrypt(program.bytes(), kCharStringKey);
    append(bytes, std::to_string(cipher.size()) + " RD ");
    bytes.insert(bytes.end(), cipher.begin(), cipher.end());
}

Bytes privatePart(const tTestFont& font, const tSubroutineChain& chain)
{
    Bytes part;
    append(part, "dup /Private 8 dict dup begin\n"
                 "/RD {string currentfile exch readstring pop} executeonly def\n"
                 "/ND {noaccess def} executeonly def\n"
                 "/NP {noaccess put} executeonly def\n");
    const std::int32_t subroutines = kFirstChainSubroutine + 1 + chain.depth;
    append(part, "/Subrs " + std::to_string(subroutines) + " array\n");
    for (std::int32_t index = 0; index < subroutines; ++index) {
        CharStringWriter subroutine(Dialect::Type1);
        for (int call = 0; index > kFirstChainSubroutine && call < chain.fanOut; ++call)
            subroutine.number(index - 1).op(CharStringWriter::kCallSubr);
        subroutine.op(CharStringWriter::kReturn);
        append(part, "dup " + std::to_string(index) + " ");
        appendCharString(part, subroutine);
        append(part, " NP\n");
    }
    append(part, "ND\n2 index /CharStrings " + std::to_string(font.glyphs.size() + 1) + " dict dup begin\n");
    append(part, "/.notdef ");
    appendCharString(part, CharStringWriter(Dialect::Type1).number(0).number(kAdvance).op(CharStringWriter::kHsbw)
                               .op(CharStringWriter::kEndChar));
    append(part, " ND\n");
    for (std::size_t index = 0; index < font.glyphs.size(); ++index) {
        CharStringWriter glyph(Dialect::Type1);
        glyph.number(0).number(kAdvance).op(CharStringWriter::kHsbw);
        if (chain.depth > 0)
            glyph.number(kFirstChainSubroutine + chain.depth).op(CharStringWriter::kCallSubr);
        glyph.contours(font.glyphs[index].contours).op(CharStringWriter::kEndChar);
        append(part, "/" + glyphNameOf(font.glyphs[index], index + 1) + " ");
        appendCharString(part, glyph);
        append(part, " ND\n");
    }
    append(part, "end\nend\nreadonly put\nnoaccess put\n"
                 "dup /FontName get exch definefont pop\nmark currentfile closefile\n");
    return part;
}

}  // namespace

std::vector<std::uint8_t> writeType1Font(const tTestFont& font, const tSubroutineChain& chain)
{
    Bytes file;
    append(file, "%!PS-AdobeFont-1.0: QxTest 001.000\n"
                 "10 dict begin\n"
                 "/FontName /QxTest def\n"
                 "/FontType 1 def\n"
                 "/PaintType 0 def\n"
                 "/FontMatrix [0.001 0 0 0.001 0 0] readonly def\n"
                 "/FontBBox {0 -200 1000 800} readonly def\n"
                 "/Encoding StandardEncoding def\n"
                 "currentdict end\n"
                 "currentfile eexec\n");
    static constexpr char kHex[] = "0123456789abcdef";
    const Bytes cipher = encrypt(privatePart(font, chain), kEexecKey);
    for (std::size_t i = 0; i < cipher.size(); ++i) {
        file.push_back(std::uint8_t(kHex[cipher[i] >> 4]));
        file.push_back(std::uint8_t(kHex[cipher[i] & 15]));
        if (i % 32 == 31 || i + 1 == cipher.size())
            file.push_back('\n');
    }
    // The trailer of 512 zeros that ends the encrypted part.
    for (int line = 0; line < 8; ++line)
        append(file, std::string(64, '0') + "\n");
    append(file, "cleartomark\n");
    return file;
}

}  // namespace QX::UIA::Test
