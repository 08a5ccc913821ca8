#pragma once
#include <cstddef>
#include <string_view>

namespace QX::UIA {

// Strict UTF-8 reading for text layout: every ill-formed sequence (stray
// continuation byte, lead byte F8..FF, missing continuation byte, overlong
// form, surrogate, value above U+10FFFF) throws std::out_of_range.
// Decodes the code point at `offset` and moves `offset` behind it; the
// caller makes sure `offset` is below text.size().
char32_t decodeUtf8CodePoint(std::string_view text, std::size_t& offset);

}  // namespace QX::UIA
