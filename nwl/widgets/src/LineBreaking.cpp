#include "nwl/widgets/LineBreaking.h"

#include <cmath>

#include "gp/Text.h"

namespace QX::NWL::DETAIL {
namespace {

// A line may end after these characters when the next one does not fit.
bool isBreakAfter(char32_t c)
{
    switch (c) {
    case U'\t': case U' ': case U'-': case U',': case U'.': case U'/': case U':': case U';': case U'\\':
        return true;
    default:
        return false;
    }
}

// The running state of one wrap: widths are pixel sums from the start of the
// text, so a line's width is the difference of two sums.
class LineBreaker {
public:
    LineBreaker(std::int32_t innerWidth, float scale, std::vector<tLineBreak>& breaks)
        : innerWidth_(innerWidth), scale_(scale > 0.0f && std::isfinite(scale) ? scale : 1.0f), breaks_(breaks)
    {
        breaks_.clear();
        breaks_.push_back({0, kNoCodePoint});
    }

    void endLineAtFeed(std::size_t next)
    {
        startLine({next, kNoCodePoint}, total_);
    }

    void addCharacter(std::size_t at, std::size_t next, char32_t c, std::int32_t advance)
    {
        total_ += advance;
        if (innerWidth_ > 0 && at != lineStart_ && !fits()) {
            if (candidate_.offset != lineStart_) {
                startLine({candidate_.next, kNoCodePoint}, candidate_.totalAfter);
                // The rest of the line may still not fit (a very wide character).
                if (at != lineStart_ && !fits())
                    startLine({at, c}, total_ - advance);
            } else {
                startLine({at, c}, total_ - advance);
            }
        }
        if (isBreakAfter(c))
            candidate_ = {at, next, total_};
    }

    void finish(std::size_t end) { breaks_.push_back({end, kNoCodePoint}); }

private:
    struct tCandidate {
        std::size_t offset = 0;      // where the break character is
        std::size_t next = 0;        // just after it
        std::int64_t totalAfter = 0; // the pixel sum just after it
    };

    bool fits() const
    {
        return std::lround(static_cast<float>(total_ - lineStartTotal_) / scale_) <= innerWidth_;
    }

    // Every new line entry is also the new break candidate, at the line start.
    void startLine(const tLineBreak& entry, std::int64_t totalAtStart)
    {
        breaks_.push_back(entry);
        lineStart_ = entry.offset;
        lineStartTotal_ = totalAtStart;
        candidate_ = {entry.offset, entry.offset, totalAtStart};
    }

    const std::int32_t innerWidth_;
    const float scale_;
    std::vector<tLineBreak>& breaks_;
    std::int64_t total_ = 0;
    std::size_t lineStart_ = 0;
    std::int64_t lineStartTotal_ = 0;
    tCandidate candidate_;
};

}  // namespace

void breakLines(std::string_view text, std::int32_t innerWidth, float scale, const GlyphAdvance& advance,
                std::vector<tLineBreak>& breaks)
{
    LineBreaker breaker(innerWidth, scale, breaks);
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t at = offset;
        const char32_t c = GP::decodeUtf8(text, offset);
        if (c == U'\n')
            breaker.endLineAtFeed(offset);
        else
            breaker.addCharacter(at, offset, c, advance(c));
    }
    breaker.finish(text.size());
}

}  // namespace QX::NWL::DETAIL
