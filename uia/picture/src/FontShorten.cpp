#include "uia/picture/Font.h"

#include "gp/ShortenText.h"

namespace QX::UIA {

std::string Font::shortenText(GP::NamedStringMap& state, std::string_view text, std::int32_t width) const
{
    const GP::MeasureText measure = [this](std::string_view piece) { return getTextWidth(piece); };
    const GP::TextFits fits = [this](std::string_view piece, int available) {
        return getFittingLength(piece, available, kFitExclude) >= static_cast<std::int32_t>(piece.size());
    };
    return GP::shortenText(state, text, width, measure, fits);
}

}  // namespace QX::UIA
