#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "gp/Geometry.h"
#include "gp/ShortenText.h"

namespace QX::UIA {
class Font;
}

namespace QX::NWL {

class Widget;
class WidgetStyle;
struct PaintContext;

// Paints a widget's styled panel: background colour and outline, the state's
// picture and dye mask, and one line of text in the state's colour and font.
// Bars, labels, buttons and multi-line labels share it.
class PanelDrawer {
public:
    // Shortens a text to a width in pixels at the canvas scale.
    using tShortenText = std::function<std::string(std::string_view text, std::int32_t width)>;
    // May change the picture frame about to be drawn.
    using tFrameProvider = std::function<void(std::int32_t& frame)>;

    PanelDrawer();

    void setTextShortener(tShortenText shortener) { shortenText_ = std::move(shortener); }
    void setFrameProvider(tFrameProvider provider) { frameProvider_ = std::move(provider); }
    void setPaletteColorIndex(std::uint32_t index) { paletteColorIndex_ = index; }

    // The background, then the text.
    void draw(const Widget& widget, PaintContext& context, std::string_view text, bool vertical = false);
    void drawBackground(const Widget& widget, PaintContext& context);
    // The text in the widget's rectangle inside its margins, aligned as the
    // style says, shortened to the available length.
    void drawText(const Widget& widget, PaintContext& context, std::string_view text, bool vertical = false);
    // The same in a rectangle of the widget's own coordinates with the given
    // alignment flags.
    void drawTextInRect(const Widget& widget, PaintContext& context, std::string_view text, const GP::Rect& rect,
                        std::uint32_t flags, bool vertical = false);

    // The font of the widget's state, else the style's default; never null
    // for a widget whose style has been applied. Set to `scale`.
    const UIA::Font* getStateFont(const Widget& widget, float scale);
    // The alignment flags the style gives the widget's state.
    std::uint32_t getAlignmentFlags(const Widget& widget);
    // Fits the text to `width` pixels at the font's current scale.
    std::string shorten(const UIA::Font& font, std::string_view text, std::int32_t width);

private:
    WidgetStyle* getStyle(const Widget& widget);

    WidgetStyle* style_ = nullptr;
    tShortenText shortenText_;
    tFrameProvider frameProvider_;
    GP::NamedStringMap shorteningState_;
    std::uint32_t paletteColorIndex_ = 0;
};

}  // namespace QX::NWL
