#include "nhl2/DevicePath.h"

#include <array>

namespace QX::NHL2 {
namespace {

char16_t toLowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

int hexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    c = toLowerAscii(c);
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

bool startsWithIgnoringCase(std::u16string_view text, std::size_t at, std::u16string_view key) {
    if (text.size() - at < key.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (toLowerAscii(text[at + i]) != key[i]) return false;
    }
    return true;
}

// The first occurrence of `key` decides: four hex digits, then no fifth.
std::optional<std::uint16_t> findHexField(std::u16string_view path, std::u16string_view key) {
    for (std::size_t at = 0; at + key.size() <= path.size(); ++at) {
        if (!startsWithIgnoringCase(path, at, key)) continue;
        const std::size_t digits = at + key.size();
        if (path.size() - digits < 4) return std::nullopt;
        unsigned value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const int digit = hexDigitValue(path[digits + i]);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        if (path.size() > digits + 4 && hexDigitValue(path[digits + 4]) >= 0) return std::nullopt;
        return static_cast<std::uint16_t>(value);
    }
    return std::nullopt;
}

}  // namespace

std::optional<tDevicePathIds> parseDevicePath(std::u16string_view path) {
    const auto vendor = findHexField(path, u"vid_");
    const auto product = findHexField(path, u"pid_");
    if (!vendor || !product) return std::nullopt;
    tDevicePathIds ids;
    ids.vendorId = *vendor;
    ids.productId = *product;
    ids.revision = findHexField(path, u"rev_");
    return ids;
}

}  // namespace QX::NHL2
