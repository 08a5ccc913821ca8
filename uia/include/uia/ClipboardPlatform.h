#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace QX::UIA::DETAIL {

// What the clipboard formats need from the platform.

// Registers a format name with the system (once per name) and answers its id.
std::uint32_t registerClipboardFormatName(std::string_view name);
std::uint32_t getCurrentProcessId();
// Text in the system's 8-bit code page, as UTF-8.
std::string ansiToUtf8(std::string_view text);

}  // namespace QX::UIA::DETAIL
