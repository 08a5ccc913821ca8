#include <unistd.h>

#include <map>
#include <mutex>
#include <string>

#include "uia/ClipboardPlatform.h"

namespace QX::UIA::DETAIL {

// Registered names get ids from the system's range for registered formats.
std::uint32_t registerClipboardFormatName(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, std::uint32_t, std::less<>> ids;
    std::lock_guard<std::mutex> lock(mutex);
    if (auto found = ids.find(name); found != ids.end())
        return found->second;
    const auto id = static_cast<std::uint32_t>(0xC000 + ids.size());
    ids.emplace(std::string(name), id);
    return id;
}

std::uint32_t getCurrentProcessId() { return static_cast<std::uint32_t>(getpid()); }

// The native build's 8-bit texts are UTF-8 already.
std::string ansiToUtf8(std::string_view text) { return std::string(text); }

}  // namespace QX::UIA::DETAIL
