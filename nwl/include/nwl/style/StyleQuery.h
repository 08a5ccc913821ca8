#pragma once
#include <cstdint>
#include <string>

#include "gp/Symbol.h"
#include "nwl/style/IStyledWidget.h"
#include "nwl/style/Property.h"

// What a widget's style gives it: the property of the most specific rule
// whose selector, attributes and states match the widget now.
namespace QX::NWL {

// Null for a widget that is in no pane or that no rule matches.
const Property* findProperty(const IStyledWidget& widget, qx::symbol property);

// The typed getters answer a pointer to the value (into the style sheet, or
// to a static "none" value for the word "no") and set `found`; else they
// clear it and answer `defaultValue`. A value of another kind counts as
// absent.
const std::int32_t* findIntProperty(const IStyledWidget& widget, qx::symbol property,
                                    const std::int32_t* defaultValue, bool* found = nullptr);
const std::uint32_t* findColorProperty(const IStyledWidget& widget, qx::symbol property,
                                       const std::uint32_t* defaultValue, bool* found = nullptr);
const UIA::Font* const* findFontProperty(const IStyledWidget& widget, qx::symbol property,
                                         const UIA::Font* const* defaultValue, bool* found = nullptr);
const std::string* findStringProperty(const IStyledWidget& widget, qx::symbol property,
                                      const std::string* defaultValue, bool* found = nullptr);
const std::string* findStringProperty(const IStyledWidget& widget, const char* property,
                                      const std::string* defaultValue, bool* found = nullptr);
const bool* findBoolProperty(const IStyledWidget& widget, qx::symbol property, const bool* defaultValue,
                             bool* found = nullptr);

}  // namespace QX::NWL
