#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "gp/Geometry.h"
#include "gp/Symbol.h"
#include "nwl/style/IStyledWidget.h"
#include "nwl/style/LazyPicture.h"
#include "nwl/style/Selector.h"
#include "nwl/style/StyleVocabulary.h"

namespace QX::UIA {
class Font;
}

namespace QX::NWL {

// A value that holds while the widget is in the given states.
template <typename T>
struct tStateValue {
    StateConditions states;
    T value;
};

// State-dependent values, most specific rule first.
template <typename T>
using tStateList = std::vector<tStateValue<T>>;

// The first value whose states hold for the widget now; null when none.
template <typename T>
const T* findStateValue(const tStateList<T>& list, const IStyledWidget& widget)
{
    for (const auto& entry : list) {
        if (matchStateConditions(entry.states, widget))
            return &entry.value;
    }
    return nullptr;
}

// The colours of one widget: per colour role the colours and the palette
// numbers its rules give, and the lookup that picks one for the states the
// widget is in now.
class Palette {
public:
    // Colour roles.
    enum eRole : std::int32_t {
        eBackground = 0,
        eSelectionBackground = 1,
        eForeground = 2,
        eSelectionForeground = 3,
        eDye = 4,
        eBackgroundBorder = 5,
        eForegroundBorder = 6,
    };

    explicit Palette(const IStyledWidget& widget) : widget_(widget) {}

    // The colour of a role (with `border`: the background-border colour for
    // the background role, else the foreground-border colour). When the
    // role selects a palette, the colour `colorIndex` of that palette as
    // the pane's root widget sets it, the plain colour otherwise.
    std::uint32_t findColor(std::int32_t role, bool border, std::int32_t colorIndex) const;
    // "palette<palette>-color<index>", made once per pair.
    static qx::symbol colorSymbol(std::int32_t palette, std::int32_t colorIndex);

    const IStyledWidget& getWidget() const { return widget_; }
    const tStateList<std::uint32_t>& getColors(std::int32_t role) const { return colors_.at(role); }
    const tStateList<std::int32_t>& getPalettes(std::int32_t role) const { return palettes_.at(role); }

protected:
    const IStyledWidget& widget_;
    std::array<tStateList<std::uint32_t>, kColorRoleCount> colors_;
    std::array<tStateList<std::int32_t>, kColorRoleCount> palettes_;
};

// What drawing a widget needs of its style many times over, collected once
// per style application as lists of (states, value).
class WidgetStyle : public Palette {
public:
    // Alignment codes.
    static constexpr std::int32_t kAlignLeft = 4096;
    static constexpr std::int32_t kAlignRight = 1;
    static constexpr std::int32_t kAlignTop = 256;
    static constexpr std::int32_t kAlignBottom = 16;
    static constexpr std::int32_t kAlignCenter = 0;

    WidgetStyle(const IStyledWidget& widget, const UIA::Font* defaultFont);

    // Collects every list again from the widget's style sheet.
    void update();

    // The value for the widget's states now, or the fallback.
    const UIA::Font* findFont() const;  // the default font when none
    std::int32_t findHorizontalAlignment(std::int32_t fallback = kAlignCenter) const;
    std::int32_t findVerticalAlignment(std::int32_t fallback = kAlignCenter) const;
    const LazyPicture* findPicture() const;
    const LazyPicture* findDyeMaskPicture() const;
    std::int32_t findAnimationIndex(std::int32_t fallback = 0) const;
    std::int32_t findDyeMaskAnimationIndex(std::int32_t fallback = 0) const;
    GP::Point findPictureDisplacement() const;
    GP::Point findTextDisplacement() const;
    bool findPictureIncludesMargin(bool fallback = false) const;

    const UIA::Font* getDefaultFont() const { return defaultFont_; }
    const tStateList<const UIA::Font*>& getFonts() const { return fonts_; }
    const tStateList<std::int32_t>& getHorizontalAlignments() const { return horizontalAlignments_; }
    const tStateList<std::int32_t>& getVerticalAlignments() const { return verticalAlignments_; }
    const tStateList<LazyPicture>& getPictures() const { return pictures_; }
    const tStateList<LazyPicture>& getDyeMaskPictures() const { return dyeMaskPictures_; }
    const tStateList<std::int32_t>& getAnimationIndexes() const { return animationIndexes_; }
    const tStateList<std::int32_t>& getDyeMaskAnimationIndexes() const { return dyeMaskAnimationIndexes_; }
    const tStateList<GP::Point>& getPictureDisplacements() const { return pictureDisplacements_; }
    const tStateList<GP::Point>& getTextDisplacements() const { return textDisplacements_; }
    const tStateList<bool>& getPictureIncludesMargin() const { return pictureIncludesMargin_; }

private:
    tStateList<const UIA::Font*> fonts_;
    const UIA::Font* defaultFont_;
    tStateList<std::int32_t> horizontalAlignments_;
    tStateList<std::int32_t> verticalAlignments_;
    tStateList<LazyPicture> pictures_;
    tStateList<LazyPicture> dyeMaskPictures_;
    tStateList<std::int32_t> animationIndexes_;
    tStateList<std::int32_t> dyeMaskAnimationIndexes_;
    tStateList<GP::Point> pictureDisplacements_;
    tStateList<GP::Point> textDisplacements_;
    tStateList<bool> pictureIncludesMargin_;
};

}  // namespace QX::NWL
