#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "gp/Text.h"
#include "nwl/core/WidgetTemplate.h"
#include "nwl/widgets/PanelDrawer.h"
#include "uia/picture/Font.h"

namespace QX::NWL {

// A widget that shows a styled panel with one text. With sizeToText the
// panel's size follows its text.
template <typename T>
class TextPanel : public WidgetTemplate<T> {
public:
    const std::string& getText() const { return text_; }

    // Ill-formed UTF-8 is stored with '?' in place of each bad byte, so that
    // painting can always measure and draw it.
    void setText(std::string_view text)
    {
        std::string repaired = GP::replaceInvalidUtf8(text);
        if (repaired == text_)
            return;
        text_ = std::move(repaired);
        this->markDirty();
        updateTextSize();
    }

    void setSizeToText(bool sizeToText)
    {
        if (sizeToText == sizeToText_)
            return;
        sizeToText_ = sizeToText;
        updateTextSize();
    }
    bool isSizeToText() const { return sizeToText_; }

    // The text turned by 90 degrees, reading from bottom to top.
    void setVertical(bool vertical)
    {
        if (vertical == vertical_)
            return;
        vertical_ = vertical;
        this->markDirty();
        updateTextSize();
    }
    bool isVertical() const { return vertical_; }

    PanelDrawer& getPanelDrawer() { return panelDrawer_; }

    void applyStyle() override
    {
        WidgetTemplate<T>::applyStyle();
        updateTextSize();
    }

    // Sizes the panel to its text when sizeToText is set and it is in a pane.
    void updateTextSize()
    {
        if (!sizeToText_ || !this->getPane())
            return;
        const float scale = this->getScale();
        const UIA::Font* font = panelDrawer_.getStateFont(*this, scale);
        if (!font)
            return;
        const std::int32_t lines = std::int32_t(std::count(text_.begin(), text_.end(), '\n')) + 1;
        const std::int32_t stacked = font->getLineHeight() * lines;
        const std::int32_t widest = font->getMaxLineWidth(text_);
        const Margins& margins = this->getMargins();
        const std::int32_t width =
            limit(margins.left + toLogical(vertical_ ? stacked : widest, scale) + margins.right,
                  this->getMaximumSize().width);
        this->setSize(width, this->getHeight());
        const std::int32_t height =
            limit(margins.top + margins.bottom + toLogical(vertical_ ? widest : stacked, scale),
                  this->getMaximumSize().height);
        this->setSize(this->getWidth(), height);
    }

protected:
    // The panel, then the text.
    void paintPanel(PaintContext& context) { panelDrawer_.draw(*this, context, text_, vertical_); }

private:
    static std::int32_t toLogical(std::int32_t pixels, float scale)
    {
        return std::int32_t(std::lroundf(float(pixels) / scale));
    }
    // A maximum below 1 means none.
    static std::int32_t limit(std::int32_t value, std::int32_t maximum)
    {
        return maximum >= 1 ? std::min(value, maximum) : value;
    }

    std::string text_;
    bool sizeToText_ = false;
    PanelDrawer panelDrawer_;
    bool vertical_ = false;
};

}  // namespace QX::NWL
