#include <windows.h>

#include <string>

#include "uia/ClipboardPlatform.h"

namespace QX::UIA::DETAIL {

std::uint32_t registerClipboardFormatName(std::string_view name) {
    return RegisterClipboardFormatA(std::string(name).c_str());
}

std::uint32_t getCurrentProcessId() { return GetCurrentProcessId(); }

std::string ansiToUtf8(std::string_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace QX::UIA::DETAIL
