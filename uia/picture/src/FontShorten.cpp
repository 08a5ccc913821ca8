#include "uia/picture/Font.h"

#include <cmath>

#include "gp/ShortenText.h"

namespace QX::UIA {
namespace {

// What a text's width depends on: the face (by id or name), the pixel size of
// the current scale and the hinting. Shortening results cached for one font
// are no answer for another that measures differently.
std::string measuringKey(const Font& font)
{
    std::string key = font.getResourceId() != 0 ? "#" + std::to_string(font.getResourceId()) : "=" + font.getName();
    key += "/" + std::to_string(std::lroundf(static_cast<float>(font.getBaseSize()) * font.getScale()));
    key += font.isHinted() ? "/h" : "/-";
    return key;
}

}  // namespace

std::string Font::shortenText(GP::NamedStringMap& state, std::string_view text, std::int32_t width) const
{
    const GP::MeasureText measure = [this](std::string_view piece) { return getTextWidth(piece); };
    const GP::TextFits fits = [this](std::string_view piece, int available) {
        return getFittingLength(piece, available, kFitExclude) >= static_cast<std::int32_t>(piece.size());
    };
    return GP::shortenText(state, text, width, measure, fits, measuringKey(*this));
}

}  // namespace QX::UIA
