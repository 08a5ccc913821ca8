// The rules of the style-sheet grammar. This unit is expensive to compile
// (about 20 s and over 1 GB); everything that need not see the parser
// library lives in StyleGrammarActions.cpp.
#include "nwl/style/StyleGrammar.h"

#include <cmath>

#include <boost/phoenix/bind.hpp>
#include <boost/phoenix/core.hpp>
#include <boost/phoenix/operator.hpp>
#include <boost/spirit/include/qi.hpp>
#include <boost/variant/get.hpp>

namespace QX::NWL::DETAIL {

namespace qi = boost::spirit::qi;
namespace ascii = boost::spirit::ascii;
namespace phx = boost::phoenix;

using Iterator = const char*;
using tPropertyValue = StyleParser2::tPropertyValue;

namespace {

// Real numbers in plain decimal notation only: "nan", "inf" and "infinity"
// are words of the language, not numbers.
struct PlainRealPolicies : qi::real_policies<float> {
    template <typename It, typename Attribute>
    static bool parse_nan(It&, const It&, Attribute&) { return false; }
    template <typename It, typename Attribute>
    static bool parse_inf(It&, const It&, Attribute&) { return false; }
};

const qi::real_parser<float, PlainRealPolicies> plainReal{};

// A real out of the float range reads as infinity (or not at all, depending
// on how it is written): refuse every such number alike.
void storeReal(float value, PropertyVariant& stored, bool& accepted)
{
    accepted = std::isfinite(value);
    if (accepted)
        stored = PropertyVariant(std::in_place_type<float>, value);
}

// A block comment, looked up in the grammar's list of comment ends instead of
// read character by character: whitespace rules try the same "/*" many times
// over (look-aheads, backtracking, recovery), and an unclosed one would
// otherwise be read to the end of the text each time.
struct BlockCommentParser : qi::primitive_parser<BlockCommentParser> {
    template <typename Context, typename It>
    struct attribute {
        using type = boost::spirit::unused_type;
    };

    explicit BlockCommentParser(const StyleGrammar& grammar) : grammar(&grammar) {}

    template <typename It, typename Context, typename Skipper, typename Attribute>
    bool parse(It& first, const It& last, Context&, const Skipper& skipper, Attribute&) const
    {
        qi::skip_over(first, last, skipper);
        const char* end = grammar->blockCommentEnd(first, last);
        if (!end)
            return false;
        first = end;
        return true;
    }

    template <typename Context>
    boost::spirit::info what(Context&) const
    {
        return boost::spirit::info("BlockComment");
    }

    const StyleGrammar* grammar;
};

tPropertyValue makeNumeric(const PropertyVariant& number, int unit)
{
    return {number, static_cast<Property::eUnit>(unit)};
}

PropertyVariant integerVariant(std::int32_t value) { return PropertyVariant(std::in_place_type<std::int32_t>, value); }

tPropertyValue makeBool(bool value) { return {PropertyVariant(std::in_place_type<bool>, value), Property::eBool}; }

tPropertyValue makeText(const std::string& text, int unit)
{
    return {PropertyVariant(std::in_place_type<std::string>, text), static_cast<Property::eUnit>(unit)};
}

tPropertyValue makeColorValue(std::uint32_t color)
{
    return {PropertyVariant(std::in_place_type<std::uint32_t>, color), Property::eColor};
}

std::uint32_t makeHexColor(std::uint32_t number) { return 0xFF000000u + (number & 0x00FFFFFFu); }

StyleParser2::tAttrSelector makeAttribute(const std::string& name, int rule, const std::string& value)
{
    return {qx::symbol(name), static_cast<AttibuteSelector::eRule>(rule), value};
}

StyleParser2::tStateSelector makeState(bool negated, const std::string& name) { return {negated, qx::symbol(name)}; }

void markPosition(StyleGrammar* grammar, const boost::iterator_range<Iterator>& here)
{
    grammar->markPosition(here.begin());
}

void storeType(StyleGrammar* grammar, const boost::iterator_range<Iterator>& typeName)
{
    grammar->storeType(typeName.begin(), typeName.end());
}

StyleParser2::tConstant makeConstant(const std::string& name, const tPropertyValue& value) { return {name, value}; }

// The text an expected item shows in a syntax error.
std::string describe(const boost::spirit::info& what)
{
    std::string literal;
    if (const auto* text = boost::get<std::string>(&what.value))
        literal = *text;
    return StyleGrammar::describeExpectation(what.tag, literal);
}

}  // namespace

class StyleGrammarRules : public qi::grammar<Iterator> {
public:
    explicit StyleGrammarRules(StyleGrammar& grammar);

private:
    template <typename Rule>
    void installRecovery(Rule& rule, StyleGrammar::eRecovery kind);

    StyleGrammar& g_;

    qi::symbols<char, int> unitTable_;
    qi::symbols<char, int> operatorTable_;
    qi::symbols<char, bool> relationTable_;

    // Tokens.
    qi::rule<Iterator> Mark, EOL, LineChar, LineComment, BlockComment, WS, Comma, Semicolon, LeftParen, RightParen;
    qi::rule<Iterator, std::string()> Identifier, IdentifierTail, ConstIdentifier, QuotedString, DoubleQuoted,
        SingleQuoted, URL;
    // Values.
    qi::rule<Iterator, std::uint32_t(bool)> ColorComponents;
    qi::rule<Iterator, std::uint32_t()> RgbColor, RgbaColor, HexColor, Color;
    qi::rule<Iterator, int()> OptionalUnit, AttributeRule;
    qi::rule<Iterator, std::int32_t()> IntegerNumber;
    qi::rule<Iterator, PropertyVariant()> Number;
    qi::rule<Iterator, tPropertyValue()> NumericProperty, BoolProperty, URLProperty, ColorProperty,
        ConstantProperty, StringProperty, Property;
    // Selectors.
    qi::rule<Iterator> TypeName, TypeSelector, StyleSelector, ElementSelector, AttributeSelector, StateSelector,
        SimpleSelector, ExplicitRelation, ImplicitRelation, SelectorRelations, Selector, Selectors;
    qi::rule<Iterator, std::string()> TemplateArgument;
    qi::rule<Iterator, StyleParser2::tAttrSelector()> Attribute;
    qi::rule<Iterator, StyleParser2::tStateSelector()> StateTerm;
    // Declarations and statements.
    qi::rule<Iterator> Declaration, Properties, Style, Constant, Import, ATDeclaration, Statement, Stylesheet;
    qi::rule<Iterator, StyleParser2::tConstant()> ConstantDefinition;
};

StyleGrammarRules::StyleGrammarRules(StyleGrammar& grammar)
    : StyleGrammarRules::base_type(Stylesheet, "StyleGrammar"), g_(grammar)
{
    using qi::_1;
    using qi::_2;
    using qi::_3;
    using qi::_r1;
    using qi::_val;
    using qi::lit;
    StyleGrammar* const g = &g_;

    unitTable_.add("px", Property::ePixels)("%", Property::ePercent);
    operatorTable_.add("=", AttibuteSelector::eEqual)("^=", AttibuteSelector::eBeginsWith)(
        "$=", AttibuteSelector::eEndsWith)("*=", AttibuteSelector::eContains)("!=", AttibuteSelector::eNotEqual);
    relationTable_.add("::", true);

    // Lines are told from positions, so whitespace read twice (look-aheads,
    // backtracking) is harmless and one whitespace rule serves everywhere.
    Mark = qi::raw[qi::eps][phx::bind(&markPosition, g, _1)];
    EOL = lit("\r\n") | lit('\n') | lit('\r');
    LineChar = ~qi::standard::char_("\r\n");
    LineComment = lit("//") >> *LineChar;
    BlockComment = BlockCommentParser(g_);
    WS = +(ascii::blank | LineComment | BlockComment | EOL);
    Comma = lit(',') >> -WS;
    Semicolon = lit(';') >> -WS;
    LeftParen = lit('(') >> -WS;
    RightParen = -WS >> lit(')');

    Identifier %= ascii::char_("a-zA-Z_") >> *ascii::char_("a-zA-Z0-9_-");
    IdentifierTail %= *ascii::char_("a-zA-Z0-9_-");
    ConstIdentifier %= lit('$') > Identifier > Mark;
    DoubleQuoted %= *~qi::standard::char_("\"\r\n");
    SingleQuoted %= *~qi::standard::char_("'\r\n");
    QuotedString %= (lit('"') > DoubleQuoted > lit('"')) | (lit('\'') > SingleQuoted > lit('\''));
    URL %= ascii::no_case["url"] > -WS > LeftParen > QuotedString > RightParen > Mark;

    ColorComponents = (((qi::uint_ >> -WS) % Comma) >> Mark)[_val = phx::bind(&StyleGrammar::makeColor, g, _1, _r1)];
    RgbaColor %= ascii::no_case["rgba"] > -WS > LeftParen > ColorComponents(true) > RightParen;
    RgbColor %= ascii::no_case["rgb"] > -WS > LeftParen > ColorComponents(false) > RightParen;
    HexColor = lit('#') > qi::hex[_val = phx::bind(&makeHexColor, _1)];
    Color %= RgbaColor | RgbColor | HexColor;

    OptionalUnit %= unitTable_ | qi::attr(int(Property::eNumber));
    IntegerNumber %= &(qi::int_ >> -WS >> OptionalUnit >> -WS >> (lit(';') | lit('}'))) >> qi::int_;
    Number = IntegerNumber[_val = phx::bind(&integerVariant, _1)] | plainReal[phx::bind(&storeReal, _1, _val, qi::_pass)];

    NumericProperty = (Number >> -WS >> OptionalUnit)[_val = phx::bind(&makeNumeric, _1, _2)];
    BoolProperty = lit("true")[_val = phx::bind(&makeBool, true)] | lit("false")[_val = phx::bind(&makeBool, false)];
    URLProperty = URL[_val = phx::bind(&makeText, _1, int(Property::eURL))];
    ColorProperty = Color[_val = phx::bind(&makeColorValue, _1)];
    ConstantProperty = ConstIdentifier[_val = phx::bind(&StyleGrammar::getConstant, g, _1)];
    StringProperty = Identifier[_val = phx::bind(&makeText, _1, int(Property::eString))];
    Property %= NumericProperty | BoolProperty | URLProperty | ColorProperty | ConstantProperty | StringProperty;

    TypeName = lit('*') | Identifier;
    TemplateArgument %= lit('<') > -WS > Identifier > -WS > lit('>');
    TypeSelector = qi::raw[TypeName][phx::bind(&storeType, g, _1)] >>
                   -TemplateArgument[phx::bind(&StyleGrammar::storeTemplateArgument, g, _1)];
    StyleSelector = lit('.') > IdentifierTail[phx::bind(&StyleGrammar::storeStyleClass, g, _1)];
    ElementSelector = lit('#') > IdentifierTail[phx::bind(&StyleGrammar::storeElementName, g, _1)];
    AttributeRule %= operatorTable_;
    Attribute = (Identifier > AttributeRule > Identifier)[_val = phx::bind(&makeAttribute, _1, _2, _3)];
    // The condition is kept only once it was read whole.
    AttributeSelector = lit('[') > -WS > Attribute[phx::bind(&StyleGrammar::addAttributeSelector, g, _1)] > -WS >
                        lit(']');
    StateTerm = (qi::matches[lit('!')] > Identifier)[_val = phx::bind(&makeState, _1, _2)];
    StateSelector = !lit("::") >> (lit(':') > StateTerm[phx::bind(&StyleGrammar::addStateSelector, g, _1)]);
    SimpleSelector = TypeSelector >> -StyleSelector >> -ElementSelector >> *AttributeSelector >> *StateSelector;
    ExplicitRelation = &(-WS >> lit("::")) >> -WS >>
                       relationTable_[phx::bind(&StyleGrammar::storeRelation, g, _1)] >> -WS;
    ImplicitRelation = !(WS >> (lit(',') | lit('{'))) >> WS[phx::bind(&StyleGrammar::storeRelation, g, false)];
    SelectorRelations = ExplicitRelation | ImplicitRelation;
    Selector = (SimpleSelector[phx::bind(&StyleGrammar::endSimpleSelector, g)] % SelectorRelations) >> -WS;
    Selectors = Selector[phx::bind(&StyleGrammar::endSelector, g)] % Comma;

    Declaration = Identifier[phx::bind(&StyleGrammar::storeDeclarationName, g, _1)] > -WS > lit(':') > -WS >
                  (Property[phx::bind(&StyleGrammar::storeDeclarationValue, g, _1)] >> -WS);
    Properties = Declaration[phx::bind(&StyleGrammar::endDeclaration, g)] % Semicolon;
    Style = Selectors > -WS > lit('{') > -WS > -Properties > -lit(';') > -WS > lit('}') > Mark;
    ConstantDefinition = (ConstIdentifier > WS > Property > Mark)[_val = phx::bind(&makeConstant, _1, _2)];
    Constant = lit("@define") > WS > ConstantDefinition[phx::bind(&StyleGrammar::defineConstant, g, _1)];
    Import = lit("@import") > WS > URL[phx::bind(&StyleGrammar::importStylesheet, g, _1)];
    ATDeclaration = (Constant | Import) > -WS > lit(';');
    Statement = Style[phx::bind(&StyleGrammar::endStyle, g)] | ATDeclaration;
    Stylesheet = *(Statement | WS) > qi::eoi;

    EOL.name("EOL");
    WS.name("WS");
    Semicolon.name(";");
    LeftParen.name("(");
    RightParen.name(")");
    Identifier.name("Identifier");
    ConstIdentifier.name("ConstIdentifier");
    DoubleQuoted.name("String");
    SingleQuoted.name("String");
    QuotedString.name("QuotedString");
    URL.name("URL");
    HexColor.name("HexColor");
    Color.name("Color");
    NumericProperty.name("NumericProperty");
    BoolProperty.name("BoolProperty");
    URLProperty.name("URLProperty");
    ColorProperty.name("ColorProperty");
    ConstantProperty.name("ConstantProperty");
    StringProperty.name("StringProperty");
    Property.name("Property");
    TypeSelector.name("TypeSelector");
    StyleSelector.name("StyleSelector");
    ElementSelector.name("ElementSelector");
    Attribute.name("Attribute");
    AttributeSelector.name("AttributeSelector");
    StateSelector.name("StateSelector");
    SimpleSelector.name("SimpleSelector");
    SelectorRelations.name("SelectorRelations");
    Selector.name("Selector");
    Selectors.name("Selectors");
    Declaration.name("Declaration");
    Properties.name("Properties");
    Style.name("Style");
    Constant.name("Constant");
    Import.name("Import");
    ATDeclaration.name("ATDeclaration");
    Statement.name("Statement");
    Stylesheet.name("Stylesheet");

    installRecovery(AttributeSelector, StyleGrammar::eAttributeSelector);
    installRecovery(Selector, StyleGrammar::eSelector);
    installRecovery(Declaration, StyleGrammar::eDeclaration);
    installRecovery(Style, StyleGrammar::eStyle);
    installRecovery(Stylesheet, StyleGrammar::eStylesheet);
}

template <typename Rule>
void StyleGrammarRules::installRecovery(Rule& rule, StyleGrammar::eRecovery kind)
{
    StyleGrammar* const g = &g_;
    const bool readAgain = kind == StyleGrammar::eStyle || kind == StyleGrammar::eStylesheet;
    auto handler = [g, kind, readAgain](auto& args, auto& /*context*/, qi::error_handler_result& result) {
        Iterator& first = boost::fusion::at_c<0>(args);
        const Iterator& last = boost::fusion::at_c<1>(args);
        const Iterator& where = boost::fusion::at_c<2>(args);
        const boost::spirit::info& what = boost::fusion::at_c<3>(args);
        first = g->recover(kind, where, last, describe(what));
        result = readAgain ? qi::retry : qi::accept;
    };
    qi::on_error<qi::accept>(rule, handler);
}

}  // namespace QX::NWL::DETAIL

namespace QX::NWL {

// Here, where the rules are a complete type.
StyleGrammar::StyleGrammar(StyleParser2& processor, std::string sourceName)
    : processor_(processor), sourceName_(std::move(sourceName)), sourceSymbol_(sourceName_)
{
    rules_ = std::make_unique<DETAIL::StyleGrammarRules>(*this);
}

StyleGrammar::~StyleGrammar() = default;

bool StyleGrammar::runRules(const char* begin, const char* end)
{
    const char* position = begin;
    const bool matched = boost::spirit::qi::parse(position, end, *rules_);
    return matched && position == end;
}

}  // namespace QX::NWL
