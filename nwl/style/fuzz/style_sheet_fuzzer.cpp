// Any text after a complete style, read together with sheets that it may
// import (the other parts of the same input): no crash, no hang, no sheet read
// inside itself, and every value holds what its kind promises.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gp/Path.h"
#include "gp/Stream.h"
#include "nwl/style/StyleParser2.h"

namespace {

using QX::NWL::Property;
using QX::NWL::PropertyVariant;

void require(bool holds)
{
    if (!holds)
        std::abort();
}

// The input split at its zero bytes: the first part follows the root
// sheet's guard, the others are the sheets "1", "2" and "3".
std::vector<std::string> splitParts(std::string_view input)
{
    std::vector<std::string> parts;
    while (parts.size() < 3) {
        const auto zero = input.find('\0');
        if (zero == std::string_view::npos)
            break;
        parts.emplace_back(input.substr(0, zero));
        input.remove_prefix(zero + 1);
    }
    parts.emplace_back(input);
    return parts;
}

// The value's alternative is the one its unit promises; reals are finite.
bool holdsItsKind(const Property& property)
{
    const PropertyVariant& value = property.value;
    switch (property.unit) {
    case Property::eNumber:
    case Property::ePixels:
    case Property::ePercent:
        if (const float* real = std::get_if<float>(&value))
            return std::isfinite(*real);
        return std::holds_alternative<std::int32_t>(value);
    case Property::eBool: return std::holds_alternative<bool>(value);
    case Property::eURL:
    case Property::eString: return std::holds_alternative<std::string>(value);
    case Property::eColor: return std::holds_alternative<std::uint32_t>(value);
    default: return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = splitParts(std::string_view(reinterpret_cast<const char*>(data), size));
    std::map<std::string, std::string> sheets{
        {"root", "Guard#g { width: 7px; }\n@import url(\"1\");\n" + parts[0]}};
    for (std::size_t i = 1; i < parts.size(); ++i)
        sheets[std::to_string(i)] = parts[i];

    std::map<std::string, int> opens;
    QX::NWL::StyleSheet sheet;
    QX::NWL::StyleParser2 parser(sheet);
    parser.setSheetOpener([&](const QX::GP::Path& path) -> std::shared_ptr<QX::GP::Stream> {
        const auto found = sheets.find(path.toString());
        if (found == sheets.end())
            return nullptr;
        ++opens[found->first];
        return std::make_shared<QX::GP::MemoryStream>(
            std::vector<std::uint8_t>(found->second.begin(), found->second.end()));
    });
    parser.parseFile(QX::GP::Path("root"));
    // A cycle back to the root is reported, not read again.
    require(opens["root"] == 1);

    const auto& styles = parser.getStyles();
    require(!styles.empty());
    const QX::NWL::Style& guard = styles.front();
    require(guard.selectors.size() == 1 && guard.selectors[0].type == qx::symbol("Guard") &&
            guard.selectors[0].name == qx::symbol("g") && guard.selectors[0].sourceName == qx::symbol("root") &&
            guard.properties.size() == 1 && guard.properties[0].name == qx::symbol("width") &&
            guard.properties[0].unit == Property::ePixels &&
            guard.properties[0].value == PropertyVariant(std::int32_t(7)));

    std::size_t ruleCount = 0;
    for (const auto& style : styles) {
        require(!style.selectors.empty() && !style.properties.empty());
        for (const auto& selector : style.selectors)
            require(sheets.contains(selector.sourceName.str()));
        for (const auto& property : style.properties)
            require(!property.name.empty() && holdsItsKind(property));
        ruleCount += style.selectors.size() * style.properties.size();
    }

    // The index holds one rule per selector and declaration, most specific
    // first.
    sheet.buildRuleIndex(styles);
    std::size_t indexed = 0;
    for (const auto& [name, rules] : sheet.getRuleIndex()) {
        indexed += rules.size();
        for (std::size_t i = 1; i < rules.size(); ++i)
            require(rules[i - 1].selector->specificity() >= rules[i].selector->specificity());
    }
    require(indexed == ruleCount);
    return 0;
}
