#include "nwl/core/StyleResources.h"

#include <array>
#include <optional>

#include <fmt/format.h>

#include "nwl/core/ManagerContainer.h"
#include "nwl/style/ErrorHandlers.h"
#include "nwl/style/PropertyValue.h"
#include "uia/picture/PictureProperties.h"

namespace QX::NWL {

namespace {

// What one style's declarations add up to.
struct tEvaluation {
    FontDescription font = getDefaultFontDescription();
    bool fontDeclared = false;
    bool familyGiven = false;
    UIA::PictureProperties picture;
    UIA::PictureProperties dyeMask;
    std::optional<std::string> image;
    std::optional<std::string> dyeMaskName;
    std::optional<GP::Point> pictureDisplacement;
    std::optional<GP::Point> textDisplacement;
};

enum class eKind { eInteger, eCount, eBool, eText, eResourceName };

// A count or border: a negative one would wrap to a huge unsigned value.
using tApply = void (*)(tEvaluation&, const Property&);

struct tRow {
    qx::symbol name;
    std::uint32_t units;  // bit per accepted unit code
    eKind kind;
    tApply apply;
};

constexpr std::uint32_t unitBit(Property::eUnit unit) { return 1u << unit; }
constexpr std::uint32_t kNumber = unitBit(Property::eNumber);
constexpr std::uint32_t kNumberOrPixels = kNumber | unitBit(Property::ePixels);
constexpr std::uint32_t kUrlOrWord = unitBit(Property::eURL) | unitBit(Property::eString);

std::int32_t integer(const Property& p) { return std::get<std::int32_t>(p.value); }
std::uint32_t count(const Property& p) { return static_cast<std::uint32_t>(integer(p)); }
const std::string& text(const Property& p) { return std::get<std::string>(p.value); }

void setFixed(tEvaluation& e, std::uint32_t n, bool top, bool bottom, bool left, bool right)
{
    for (UIA::PictureProperties* properties : {&e.picture, &e.dyeMask}) {
        if (top)
            properties->setFixedTop(n);
        if (bottom)
            properties->setFixedBottom(n);
        if (left)
            properties->setFixedLeft(n);
        if (right)
            properties->setFixedRight(n);
        if (top || bottom)
            properties->setFixedVertical(true);
        if (left || right)
            properties->setFixedHorizontal(true);
    }
}

GP::Point& displacement(std::optional<GP::Point>& point)
{
    if (!point)
        point = GP::Point{0, 0};
    return *point;
}

const std::array<tRow, 19>& rows()
{
    static const std::array<tRow, 19> table = {{
        {qx::symbol("font-size"), kNumberOrPixels, eKind::eInteger,
         [](tEvaluation& e, const Property& p) { e.font.baseSize = integer(p); }},
        {qx::symbol("font-hinting"), unitBit(Property::eBool), eKind::eBool,
         [](tEvaluation& e, const Property& p) {
             if (std::get<bool>(p.value))
                 e.font.styleFlags |= UIA::kFontHinting;
             else
                 e.font.styleFlags &= ~UIA::kFontHinting;
         }},
        {qx::symbol("font-style"), unitBit(Property::eString), eKind::eText,
         [](tEvaluation& e, const Property& p) {
             if (text(p) == "bold")
                 e.font.styleFlags |= UIA::kFontBold;
             else if (text(p) == "italic")
                 e.font.styleFlags |= UIA::kFontItalic;
             else if (text(p) == "underline")
                 e.font.styleFlags |= UIA::kFontUnderline;
         }},
        {qx::symbol("font-resid"), kNumber, eKind::eInteger,
         [](tEvaluation& e, const Property& p) { e.font.resourceId = integer(p); }},
        {qx::symbol("font-name"), unitBit(Property::eURL), eKind::eText,
         [](tEvaluation& e, const Property& p) { e.font.name = text(p); }},
        {qx::symbol("font-family"), unitBit(Property::eString), eKind::eText,
         [](tEvaluation& e, const Property& p) {
             e.font.name = text(p);
             e.familyGiven = true;
         }},
        {qx::symbol("image"), kUrlOrWord, eKind::eResourceName,
         [](tEvaluation& e, const Property& p) { e.image = PropertyValue::toResourceName(p); }},
        {qx::symbol("dye-mask"), kUrlOrWord, eKind::eResourceName,
         [](tEvaluation& e, const Property& p) { e.dyeMaskName = PropertyValue::toResourceName(p); }},
        {qx::symbol("animations"), kNumber, eKind::eCount,
         [](tEvaluation& e, const Property& p) { e.picture.setAnimationCount(count(p)); }},
        {qx::symbol("dye-mask-animations"), kNumber, eKind::eCount,
         [](tEvaluation& e, const Property& p) { e.dyeMask.setAnimationCount(count(p)); }},
        {qx::symbol("fixed"), kNumberOrPixels, eKind::eCount,
         [](tEvaluation& e, const Property& p) { setFixed(e, count(p), true, true, true, true); }},
        {qx::symbol("fixed-top"), kNumberOrPixels, eKind::eCount,
         [](tEvaluation& e, const Property& p) { setFixed(e, count(p), true, false, false, false); }},
        {qx::symbol("fixed-bottom"), kNumberOrPixels, eKind::eCount,
         [](tEvaluation& e, const Property& p) { setFixed(e, count(p), false, true, false, false); }},
        {qx::symbol("fixed-left"), kNumberOrPixels, eKind::eCount,
         [](tEvaluation& e, const Property& p) { setFixed(e, count(p), false, false, true, false); }},
        {qx::symbol("fixed-right"), kNumberOrPixels, eKind::eCount,
         [](tEvaluation& e, const Property& p) { setFixed(e, count(p), false, false, false, true); }},
        {qx::symbol("relative-left"), kNumberOrPixels, eKind::eInteger,
         [](tEvaluation& e, const Property& p) { displacement(e.pictureDisplacement).x = integer(p); }},
        {qx::symbol("relative-top"), kNumberOrPixels, eKind::eInteger,
         [](tEvaluation& e, const Property& p) { displacement(e.pictureDisplacement).y = integer(p); }},
        {qx::symbol("foreground-relative-left"), kNumberOrPixels, eKind::eInteger,
         [](tEvaluation& e, const Property& p) { displacement(e.textDisplacement).x = integer(p); }},
        {qx::symbol("foreground-relative-top"), kNumberOrPixels, eKind::eInteger,
         [](tEvaluation& e, const Property& p) { displacement(e.textDisplacement).y = integer(p); }},
    }};
    return table;
}

bool isFontRow(const tRow& row) { return row.name.str().starts_with("font-"); }

// Why the value does not suit the row; nothing when it does.
std::optional<std::string> misfit(const tRow& row, const Property& property)
{
    switch (row.kind) {
    case eKind::eInteger:
        if (std::holds_alternative<std::int32_t>(property.value))
            return std::nullopt;
        return "an integer";
    case eKind::eCount:
        if (const auto* n = std::get_if<std::int32_t>(&property.value))
            return *n >= 0 ? std::nullopt : std::optional<std::string>("a count of 0 or more");
        return "an integer";
    case eKind::eBool:
        if (std::holds_alternative<bool>(property.value))
            return std::nullopt;
        return "a boolean";
    case eKind::eText:
        if (std::holds_alternative<std::string>(property.value))
            return std::nullopt;
        return "a text";
    case eKind::eResourceName:
        // A value that is no resource name has no effect, unreported.
        return std::nullopt;
    }
    return std::nullopt;
}

void reportMisfit(const Style& style, const tRow& row, const std::string& expected)
{
    const std::string source = style.selectors.empty() ? std::string() : style.selectors.front().sourceName.str();
    reportError(fmt::format("Stylesheet error: {0}:{1} - {2} expects {3}; the declaration is ignored", source,
                            style.line, row.name.str(), expected));
}

void evaluate(tEvaluation& evaluation, const Style& style, const Property& property)
{
    for (const tRow& row : rows()) {
        if (row.name != property.name)
            continue;
        if ((row.units & unitBit(property.unit)) == 0)
            return;
        if (const auto expected = misfit(row, property)) {
            reportMisfit(style, row, *expected);
            return;
        }
        if (row.kind == eKind::eResourceName && !PropertyValue::toResourceName(property))
            return;
        row.apply(evaluation, property);
        evaluation.fontDeclared = evaluation.fontDeclared || isFontRow(row);
        return;
    }
}

Property derivedPicture(ManagerContainer& container, qx::symbol name, const std::string& resource,
                        const UIA::PictureProperties& properties)
{
    return Property(PropertyVariant(std::in_place_type<LazyPicture>, container.getLazyPicture(resource, properties)),
                    name, Property::ePicture);
}

Property derivedPoint(qx::symbol name, GP::Point point)
{
    return Property(PropertyVariant(std::in_place_type<GP::Point>, point), name, Property::ePoint);
}

}  // namespace

void deriveStyleResources(ManagerContainer& container, const Style& style, std::vector<Property>& derived)
{
    static const qx::symbol picture("picture"), dyeMaskPicture("dye-mask-picture"),
        pictureDisplacement("picture-displacement"), textDisplacement("text-displacement"), font("font");
    tEvaluation evaluation;
    for (const auto& property : style.properties)
        evaluate(evaluation, style, property);

    if (evaluation.image)
        derived.push_back(derivedPicture(container, picture, *evaluation.image, evaluation.picture));
    if (evaluation.dyeMaskName)
        derived.push_back(derivedPicture(container, dyeMaskPicture, *evaluation.dyeMaskName, evaluation.dyeMask));
    if (evaluation.pictureDisplacement)
        derived.push_back(derivedPoint(pictureDisplacement, *evaluation.pictureDisplacement));
    if (evaluation.textDisplacement)
        derived.push_back(derivedPoint(textDisplacement, *evaluation.textDisplacement));
    // A style that declares a font always derives one, so that it beats a
    // less specific style's font even when it asks for the default.
    if (evaluation.fontDeclared) {
        if (evaluation.familyGiven)
            evaluation.font.styleFlags |= kFontFamilyName;
        derived.push_back(Property(PropertyVariant(std::in_place_type<const UIA::Font*>,
                                                   container.getFont(evaluation.font)),
                                   font, Property::eFont));
    }
}

}  // namespace QX::NWL
