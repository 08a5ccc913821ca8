#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace QX::GP {

// Text is UTF-8 in narrow strings inside the libraries and UTF-16 at the
// Win32 boundary. Invalid input never fails: every ill-formed sequence
// (bad lead or continuation bytes, overlong forms, surrogates encoded in
// UTF-8, code points above U+10FFFF, lone UTF-16 surrogates) becomes U+FFFD.

std::u16string utf8ToWide(std::string_view utf8);
std::u16string toWideString(std::string_view utf8);
// Up to the terminating NUL; null gives the empty text.
std::string wideToUtf8(const char16_t* nulTerminated);
std::string utf16ToUtf8(const char16_t* units, std::size_t count);
std::string utf16ToUtf8(std::u16string_view units);

// Converts through the wide-to-narrow facet of the process's global locale
// (UTF-8 here); an empty text gives an empty text.
std::string narrowFromWide(std::u16string_view wide);

// A copy when every byte is in 1..127, else the empty text.
std::string copyIfAscii(std::string_view text);

// Compares `needle` with `haystack` from byte offset `start` code point by
// code point (upper-casing both when ignoring case) and returns how many
// haystack bytes matched when the needle was used up; the caller compares
// the result with the needle's length.
std::size_t findString(std::string_view haystack, std::string_view needle, std::size_t start,
                       bool ignoreCase);

// Decodes one code point at `offset`, advancing it; answers U+FFFD for an
// ill-formed sequence (consuming one byte) and -1 at the end.
char32_t decodeUtf8(std::string_view utf8, std::size_t& offset);
void appendUtf8(std::string& out, char32_t codePoint);

// The text with every byte that is no part of a well-formed sequence (the
// same sequences decodeUtf8 refuses) replaced by '?', so that text layout,
// which refuses ill-formed input, can always take it.
std::string replaceInvalidUtf8(std::string_view text);

}  // namespace QX::GP
