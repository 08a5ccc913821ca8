#include "gp/ShortenText.h"

#include <vector>

#include "gp/Text.h"

namespace QX::GP {
namespace {

constexpr std::string_view kEllipsis = "..";
// The cache is dropped when it grows past this, so that changing texts
// (a progress line, say) cannot make it grow without end.
constexpr std::size_t kCacheLimit = 512;

// Byte offsets of every code point boundary after the first code point.
std::vector<std::size_t> codePointEnds(std::string_view text)
{
    std::vector<std::size_t> ends;
    std::size_t offset = 0;
    while (offset < text.size()) {
        decodeUtf8(text, offset);
        ends.push_back(offset);
    }
    return ends;
}

// The longest prefix (whole code points) that still fits with the ellipsis
// after it, else the ellipsis alone, else nothing. Fitting is taken to be
// monotonic in the prefix length, so a binary search finds it.
std::string shortenByPrefix(std::string_view text, int width, const TextFits& fits)
{
    const std::vector<std::size_t> ends = codePointEnds(text);
    auto fitsWithEllipsis = [&](std::size_t count) {
        std::string candidate(text.substr(0, count ? ends[count - 1] : 0));
        candidate += kEllipsis;
        return fits(candidate, width);
    };
    std::size_t low = 0;  // the longest known fit
    std::size_t high = ends.size();
    if (!fitsWithEllipsis(0))
        return {};
    while (low < high) {
        const std::size_t middle = low + (high - low + 1) / 2;
        if (fitsWithEllipsis(middle))
            low = middle;
        else
            high = middle - 1;
    }
    std::string result(text.substr(0, low ? ends[low - 1] : 0));
    result += kEllipsis;
    return result;
}

}  // namespace

std::string shortenText(NamedStringMap& state, std::string_view text, int width, const MeasureText& measure,
                        const TextFits& fits, std::string_view measureKey)
{
    if (!fits && !measure)
        return std::string(text);
    const TextFits check = fits ? fits : [&measure](std::string_view candidate, int w) {
        return measure(candidate) <= w;
    };

    // The measure key goes first with its length, so that no measure key,
    // width and text run together into another's.
    std::string key = std::to_string(measureKey.size()) + ":";
    key.append(measureKey).append(std::to_string(width)).append(":").append(text);
    if (auto cached = state.map.find(key); cached != state.map.end())
        return cached->second;

    // Every mode shortens by prefix: mode 0 is the only one this program
    // asks for.
    std::string result = check(text, width) ? std::string(text) : shortenByPrefix(text, width, check);
    state.text = result;
    if (state.map.size() >= kCacheLimit)
        state.map.clear();
    state.map.emplace(key, result);
    return result;
}

}  // namespace QX::GP
