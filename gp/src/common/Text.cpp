#include "gp/Text.h"

#include <cstdint>

namespace QX::GP {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEnd = static_cast<char32_t>(-1);

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void appendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// Upper case for the scripts the program's texts use (Latin-1, Greek,
// Cyrillic); everything else compares as it stands.
char32_t toUpper(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c < 0xE0)
        return c;
    if (c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return c - 0x20;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

}  // namespace

char32_t decodeUtf8(std::string_view utf8, std::size_t& offset)
{
    if (offset >= utf8.size())
        return kEnd;
    const auto lead = static_cast<unsigned char>(utf8[offset]);
    if (lead < 0x80) {
        ++offset;
        return lead;
    }
    std::size_t length;
    char32_t minimum;
    char32_t c;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, c = lead & 0x07;
    } else {
        ++offset;
        return kReplacement;
    }
    if (utf8.size() - offset < length) {
        ++offset;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[offset + i]);
        if (!isContinuation(byte)) {
            ++offset;
            return kReplacement;
        }
        c = (c << 6) | (byte & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || isSurrogate(c)) {
        ++offset;
        return kReplacement;
    }
    offset += length;
    return c;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || isSurrogate(c))
        c = kReplacement;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string replaceInvalidUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t start = offset;
        const auto lead = static_cast<unsigned char>(text[start]);
        decodeUtf8(text, offset);
        // Only an ill-formed byte is consumed alone when it is not ASCII.
        if (offset - start == 1 && lead >= 0x80)
            out.push_back('?');
        else
            out.append(text.substr(start, offset - start));
    }
    return out;
}

std::u16string utf8ToWide(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t offset = 0;
    // ASCII runs are by far the most common input.
    while (offset < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[offset]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++offset;
        } else {
            appendUtf16(out, decodeUtf8(utf8, offset));
        }
    }
    return out;
}

std::u16string toWideString(std::string_view utf8) { return utf8ToWide(utf8); }

std::string utf16ToUtf8(const char16_t* units, std::size_t count)
{
    std::string out;
    if (!units)
        return out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            // A lone surrogate becomes U+FFFD in appendUtf8.
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view units) { return utf16ToUtf8(units.data(), units.size()); }

std::string wideToUtf8(const char16_t* nulTerminated)
{
    if (!nulTerminated)
        return {};
    return utf16ToUtf8(std::u16string_view(nulTerminated));
}

std::string narrowFromWide(std::u16string_view wide)
{
    // The process's narrow encoding is UTF-8 in both builds.
    return utf16ToUtf8(wide);
}

std::string copyIfAscii(std::string_view text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 1 || byte > 127)
            return {};
    }
    return std::string(text);
}

std::size_t findString(std::string_view haystack, std::string_view needle, std::size_t start,
                       bool ignoreCase)
{
    if (start > haystack.size())
        return 0;
    std::size_t h = start;
    std::size_t n = 0;
    while (n < needle.size()) {
        char32_t a = decodeUtf8(haystack, h);
        char32_t b = decodeUtf8(needle, n);
        if (a == kEnd)
            return 0;
        if (ignoreCase) {
            a = toUpper(a);
            b = toUpper(b);
        }
        if (a != b)
            return 0;
    }
    return h - start;
}

}  // namespace QX::GP
