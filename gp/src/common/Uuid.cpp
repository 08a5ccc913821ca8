#include "gp/Uuid.h"

#include <stdexcept>

#include "Platform.h"

namespace QX::GP {

Uuid makeRandomUuid()
{
    Uuid uuid{};
    if (!DETAIL::fillRandomBytes(uuid.data(), uuid.size()))
        throw std::runtime_error("the system's random source failed");
    uuid[6] = static_cast<std::uint8_t>((uuid[6] & 0x0F) | 0x40);  // version 4
    uuid[8] = static_cast<std::uint8_t>((uuid[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return uuid;
}

std::string uuidToString(const std::uint8_t* bytes16)
{
    if (!bytes16)
        return {};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(36);
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        text.push_back(kDigits[bytes16[i] >> 4]);
        text.push_back(kDigits[bytes16[i] & 0x0F]);
    }
    return text;
}

}  // namespace QX::GP
