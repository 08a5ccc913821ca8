#pragma once
#include "gp/Symbol.h"

// The fixed names of the style language, interned once. Inline variables are
// initialised before anything that follows this header in the same unit, so
// static tables of other units may use them.
namespace QX::NWL::StyleNames {

// Stands for a selector part that was not written.
inline const qx::symbol kEmpty = qx::symbol::getEmpty();

// Property and keyword names.
inline const qx::symbol kAnimationIndex{"animation-index"};
inline const qx::symbol kAnimationsForRange{"animations_for_range"};
inline const qx::symbol kAuto{"auto"};
inline const qx::symbol kBetweenRows{"between_rows"};
inline const qx::symbol kBottom{"bottom"};
inline const qx::symbol kCancelable{"cancelable"};
inline const qx::symbol kCenter{"center"};
inline const qx::symbol kCheckstate{"checkstate"};
inline const qx::symbol kColor{"color"};
inline const qx::symbol kColumn{"column"};
inline const qx::symbol kCursorWidth{"cursor-width"};
inline const qx::symbol kDirection{"direction"};
inline const qx::symbol kDrawForeground{"draw_foreground"};
inline const qx::symbol kDyeMaskAnimationIndex{"dye-mask-animation-index"};
inline const qx::symbol kDyeMaskPicture{"dye-mask-picture"};
inline const qx::symbol kEnabled{"enabled"};
inline const qx::symbol kFont{"font"};
inline const qx::symbol kHasFocus{"HasFocus"};
inline const qx::symbol kHasMinimumSize{"HasMinimumSize"};
inline const qx::symbol kHasTitle{"has_title"};
inline const qx::symbol kHasValue{"has_value"};
inline const qx::symbol kHeight{"height"};
inline const qx::symbol kHorizontalAlignment{"horizontal-alignment"};
inline const qx::symbol kHorizontalContentAlignment{"horizontal-content-alignment"};
inline const qx::symbol kIsActive{"isActive"};
inline const qx::symbol kIsChecked{"isChecked"};
inline const qx::symbol kIsHorizontal{"isHorizontal"};
inline const qx::symbol kIsInput{"isInput"};
inline const qx::symbol kIsSeparator{"isSeparator"};
inline const qx::symbol kIsSubMenu{"isSubMenu"};
inline const qx::symbol kLayout{"layout"};
inline const qx::symbol kLeft{"left"};
inline const qx::symbol kLineSpacing{"line-spacing"};
inline const qx::symbol kMargin{"margin"};
inline const qx::symbol kMarginBottom{"margin-bottom"};
inline const qx::symbol kMarginLeft{"margin-left"};
inline const qx::symbol kMarginRight{"margin-right"};
inline const qx::symbol kMarginTop{"margin-top"};
inline const qx::symbol kMaxHeight{"max-height"};
inline const qx::symbol kMaxWidth{"max-width"};
inline const qx::symbol kMenuOffsetX{"menu-offset-x"};
inline const qx::symbol kMenuOffsetY{"menu-offset-y"};
inline const qx::symbol kMinHeight{"min-height"};
inline const qx::symbol kMinWidth{"min-width"};
inline const qx::symbol kMoveBorder{"move-border"};
inline const qx::symbol kMoveBorderBottom{"move-border-bottom"};
inline const qx::symbol kMoveBorderLeft{"move-border-left"};
inline const qx::symbol kMoveBorderRight{"move-border-right"};
inline const qx::symbol kMoveBorderTop{"move-border-top"};
inline const qx::symbol kNo{"no"};
inline const qx::symbol kOuterMargin{"outer-margin"};
inline const qx::symbol kOuterMarginBottom{"outer-margin-bottom"};
inline const qx::symbol kOuterMarginLeft{"outer-margin-left"};
inline const qx::symbol kOuterMarginRight{"outer-margin-right"};
inline const qx::symbol kOuterMarginTop{"outer-margin-top"};
inline const qx::symbol kPicture{"picture"};
inline const qx::symbol kPictureDisplacement{"picture-displacement"};
inline const qx::symbol kPictureIncludesMargin{"picture-includes-margin"};
inline const qx::symbol kRight{"right"};
inline const qx::symbol kRow{"row"};
inline const qx::symbol kSpacing{"spacing"};
inline const qx::symbol kState{"state"};
inline const qx::symbol kSubmenuDelay{"submenu-delay"};
inline const qx::symbol kTextDisplacement{"text-displacement"};
inline const qx::symbol kTop{"top"};
inline const qx::symbol kVerticalAlignment{"vertical-alignment"};
inline const qx::symbol kVerticalContentAlignment{"vertical-content-alignment"};
inline const qx::symbol kWidth{"width"};
inline const qx::symbol kX{"x"};
inline const qx::symbol kY{"y"};
inline const qx::symbol kZIndex{"z-index"};

// Colour and palette properties.
inline const qx::symbol kBackgroundColor{"background-color"};
inline const qx::symbol kForegroundColor{"foreground-color"};
inline const qx::symbol kSelectionBackgroundColor{"selection-background-color"};
inline const qx::symbol kSelectionForegroundColor{"selection-foreground-color"};
inline const qx::symbol kDyeColor{"dye-color"};
inline const qx::symbol kBackgroundBorderColor{"background-border-color"};
inline const qx::symbol kForegroundBorderColor{"foreground-border-color"};
inline const qx::symbol kBackgroundColorPalette{"background-color-palette"};
inline const qx::symbol kForegroundColorPalette{"foreground-color-palette"};
inline const qx::symbol kSelectionBackgroundColorPalette{"selection-background-color-palette"};
inline const qx::symbol kSelectionForegroundColorPalette{"selection-foreground-color-palette"};
inline const qx::symbol kDyeColorPalette{"dye-color-palette"};
inline const qx::symbol kBackgroundBorderColorPalette{"background-border-color-palette"};
inline const qx::symbol kForegroundBorderColorPalette{"foreground-border-color-palette"};

// States ("enabled" is above).
inline const qx::symbol kSelected{"selected"};
inline const qx::symbol kDown{"down"};
inline const qx::symbol kOver{"over"};
inline const qx::symbol kFocus{"focus"};
inline const qx::symbol kInput{"input"};
inline const qx::symbol kDormant{"dormant"};

// Computed attributes ("isHorizontal" is above).
inline const qx::symbol kGetClass{"getClass"};
inline const qx::symbol kGetStyle{"getStyle"};
inline const qx::symbol kGetId{"getId"};

}  // namespace QX::NWL::StyleNames
