#pragma once
#include <optional>
#include <string>

#include "nwl/style/Property.h"

namespace QX::NWL {

// Readings of a style value that several readers share.
struct PropertyValue {
    // A boolean: a held boolean; a plain number (0 false, any other true);
    // the words "yes", "true", "no" and "false". Null for anything else.
    static const bool* toBool(const Property& property);
    // The text of a url; empty for the word "no"; nothing for anything else.
    static std::optional<std::string> toResourceName(const Property& property);
    // The word "no", which means none for every kind of value.
    static bool isNo(const Property& property);
};

}  // namespace QX::NWL
