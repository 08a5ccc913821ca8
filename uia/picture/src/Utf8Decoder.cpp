#include "uia/picture/Utf8Decoder.h"

#include <cstdint>
#include <stdexcept>

namespace QX::UIA {
namespace {

[[noreturn]] void throwInvalidSequence()
{
    throw std::out_of_range("Invalid UTF-8 sequence encountered while trying to encode UTF-32 character");
}

// Bytes of the sequence a lead byte starts; 0 for a byte that cannot lead.
int getSequenceLength(std::uint8_t lead)
{
    if (lead < 0x80) return 1;
    if (lead < 0xC0) return 0;  // continuation byte
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    return 0;  // five leading one bits or more: no such sequence
}

bool isContinuation(std::uint8_t byte) { return (byte & 0xC0) == 0x80; }

// Smallest value each length may carry; anything below is an overlong form.
constexpr char32_t kSmallestValue[5] = {0, 0, 0x80, 0x800, 0x10000};
constexpr char32_t kValueMask[5] = {0, 0x7F, 0x7FF, 0xFFFF, 0x1FFFFF};

}  // namespace

char32_t decodeUtf8CodePoint(std::string_view text, std::size_t& offset)
{
    const auto lead = static_cast<std::uint8_t>(text[offset]);
    const int length = getSequenceLength(lead);
    if (length == 0) throwInvalidSequence();
    if (length == 1) {
        ++offset;
        return lead;
    }
    if (text.size() - offset < static_cast<std::size_t>(length)) throwInvalidSequence();

    char32_t value = lead;
    for (int i = 1; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(text[offset + i]);
        if (!isContinuation(byte)) throwInvalidSequence();
        value = (value << 6) | (byte & 0x3F);
    }
    value &= kValueMask[length];
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF) || value < kSmallestValue[length])
        throwInvalidSequence();
    offset += length;
    return value;
}

}  // namespace QX::UIA
