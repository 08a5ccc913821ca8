#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gp/Geometry.h"
#include "nwl/core/WidgetTemplate.h"
#include "nwl/widgets/LineBreaking.h"
#include "nwl/widgets/PanelDrawer.h"

namespace QX::NWL {

namespace DETAIL {

// A widget whose text wraps to its inner width, measured with the font of
// its state at the pane's scale. It wraps again whenever its text, style or
// inner width changes.
class MultilineText : public WidgetTemplate<MultilineText> {
public:
    MultilineText();

    std::string_view getTypeName() const override;

    // Control characters other than the line feed are dropped and ill-formed
    // UTF-8 bytes become '?'; an equal text changes nothing.
    virtual void setText(std::string_view text);
    // Breaks the text into lines; outside a pane the whole text is one line.
    virtual void wrapText();

    const std::string& getText() const { return text_; }
    std::int32_t getLineSpacing() const { return lineSpacing_; }
    const std::vector<tLineBreak>& getLineBreaks() const { return lineBreaks_; }
    std::size_t getLineCount() const { return lineBreaks_.size() - 1; }
    // Line i as stored, a line feed that ends it included.
    std::string_view getLine(std::size_t line) const;
    PanelDrawer& getPanelDrawer() { return panelDrawer_; }

    void updateSize() override;
    void applyStyle() override;
    // Wraps at once, so that a bar arranging its children reads the height
    // the new width gives.
    void setWidth(std::int32_t width) override;

protected:
    std::int32_t getInnerWidth() const;
    // Logical height of one line plus the line spacing.
    std::int32_t getLineStep();
    void readLineSpacing();
    // The state's font at the pane's scale; null outside a pane.
    const UIA::Font* getStateFont();

    PanelDrawer panelDrawer_;
    std::int32_t lineSpacing_ = 0;

private:
    void resetLineBreaks();

    std::string text_;
    std::vector<tLineBreak> lineBreaks_;
    std::int32_t wrapWidth_ = 0;
};

}  // namespace DETAIL

// A multi-line text aligned in its panel. With autoHeight the label's height
// follows its lines; without, lines that do not fit are cut and the last
// line that fits ends in "..".
class MultilineLabel : public DETAIL::MultilineText {
public:
    MultilineLabel() = default;

    std::string_view getTypeName() const override;

    void setAutoHeight(bool autoHeight);
    bool isAutoHeight() const { return autoHeight_; }
    std::uint32_t getHorizontalAlignment() const { return horizontalAlignment_; }
    std::uint32_t getVerticalAlignment() const { return verticalAlignment_; }

    // Where the character at byte `index` of line `line` is drawn, in the
    // label's own coordinates.
    GP::Point getCharPosition(std::size_t line, std::size_t index);

    void wrapText() override;
    void applyStyle() override;
    void paint(PaintContext& context) override;

private:
    // Where the block of lines starts below the top margin.
    std::int32_t getBlockOffset(std::int32_t step);

    bool autoHeight_ = false;
    std::uint32_t horizontalAlignment_ = 4096;
    std::uint32_t verticalAlignment_ = 256;
};

}  // namespace QX::NWL
