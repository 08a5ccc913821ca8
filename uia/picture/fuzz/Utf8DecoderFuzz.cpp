// Any bytes: the decoder either throws out_of_range or answers a Unicode
// scalar value and moves forward within the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "uia/picture/Utf8Decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t before = offset;
        try {
            const char32_t codePoint = QX::UIA::decodeUtf8CodePoint(text, offset);
            const bool scalar = codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
            if (!scalar || offset <= before || offset - before > 4 || offset > text.size()) std::abort();
        } catch (const std::out_of_range&) {
            offset = before + 1;
        }
    }
    return 0;
}
