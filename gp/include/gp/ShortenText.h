#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace QX::GP {

// The state `shortenText` works on: the shortening mode (0 after
// construction, the only mode this program uses) and a cache keyed by text,
// width and measure.
struct NamedStringMap {
    std::uint32_t mode = 0;
    std::string text;
    std::map<std::string, std::string, std::less<>> map;
};

using MeasureText = std::function<int(std::string_view text)>;
using TextFits = std::function<bool(std::string_view text, int width)>;

// Shortens `text` to fit `width` pixels. Mode 0: the text itself when it
// fits, else the longest prefix (whole code points) that fits followed by
// "..", else ".." alone or the empty text. Results are cached in `state` per
// text, width and `measureKey`: callers that measure differently (in another
// font, say) give different keys, so that one state can serve them all.
std::string shortenText(NamedStringMap& state, std::string_view text, int width,
                        const MeasureText& measure, const TextFits& fits, std::string_view measureKey = {});

}  // namespace QX::GP
