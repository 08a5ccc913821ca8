#include <gtest/gtest.h>

#include <algorithm>

#include "StyleTestSupport.h"
#include "nwl/style/StyleVocabulary.h"

namespace QX::NWL {
namespace {

using namespace Testing;
namespace N = StyleNames;

// The selectors of the only style of a sheet.
std::vector<Selector> selectorsOf(const std::string& sheet)
{
    const auto outcome = parseText(sheet);
    EXPECT_TRUE(outcome.errors.empty()) << sheet << ": " << outcome.errors.front();
    EXPECT_EQ(outcome.styles.size(), 1u) << sheet;
    return outcome.styles.empty() ? std::vector<Selector>() : outcome.styles[0].selectors;
}

// A selector written back as text: ancestors farthest first ("::" for a
// direct parent), attributes sorted, states in table order ("!" for must not).
std::string describe(qx::symbol type, qx::symbol styleClass, qx::symbol name, const AttributeConditions& attributes)
{
    static const char* const kRules[] = {"", "~=", "=", "^=", "$=", "*=", "!="};
    std::string text = type.empty() ? "*" : type.str();
    if (!styleClass.empty()) text += "." + styleClass.str();
    if (!name.empty()) text += "#" + name.str();
    std::vector<std::string> conditions;
    for (const auto& [attribute, rules] : attributes)
        for (const auto& [rule, value] : rules) conditions.push_back("[" + attribute.str() + kRules[rule] + value + "]");
    std::sort(conditions.begin(), conditions.end());
    for (const auto& condition : conditions) text += condition;
    return text;
}

std::string describe(const std::vector<Selector>& selectors)
{
    const qx::symbol states[] = {N::kEnabled, N::kSelected, N::kDown, N::kOver, N::kFocus, N::kInput, N::kDormant};
    std::string text;
    for (const Selector& s : selectors) {
        if (!text.empty()) text += ", ";
        for (auto a = s.ancestors.rbegin(); a != s.ancestors.rend(); ++a)
            text += describe(a->type, a->styleClass, a->name, a->attributes) + (a->directParent ? "::" : " ");
        text += describe(s.type, s.styleClass, s.name, s.attributes);
        for (const qx::symbol& state : states) {
            const auto condition = s.states.get(*findStateIndex(state));
            if (condition != StateConditions::eAny)
                text += (condition == StateConditions::eMustHold ? ":" : ":!") + state.str();
        }
    }
    return text;
}

TEST(StyleSelectors, readAsWritten)
{
    const std::pair<const char*, const char*> cases[] = {
        {"*.Main", "*.Main"},
        {"A::B C", "A::B C"},
        {"A :: B", "A::B"},
        // Whitespace before a comma or a brace is no relation.
        {"A , B", "A, B"},
        {"A\n,\nB\n", "A, B"},
        {"A /*c*/ , B /*d*/ ", "A, B"},
        // The later state condition decides; a misspelt state adds nothing;
        // states of ancestors are not kept; "::" is a relation, not a state.
        {"Button:selected:down, Button:!enabled, Button:over:!over",
         "Button:selected:down, Button:!enabled, Button:!over"},
        {"Button:slected", "Button"},
        {"Bar:over Button", "Bar Button"},
        {"A::selected", "A::selected"},
        {"tree<Bar>", "tree<Bar>"},
        {"tree< Bar >", "tree<Bar>"},
        {"*<Bar>", "*"},  // after "*" a template argument is ignored
        {"tree<Bar>.Design::Bar#widgets Button#collapser[state=empty]:over",
         "tree<Bar>.Design::Bar#widgets Button#collapser[state=empty]:over"},
        // The same name and comparison again: the later text wins.
        {"A[ a=x ][b^=y][c$=z][d*=w][e!=v][a=u]", "A[a=u][b^=y][c$=z][d*=w][e!=v]"},
        {"A.9-x#-1", "A.9-x#-1"},
        {"A#", "A"},
    };
    for (const auto& [selector, expected] : cases)
        EXPECT_EQ(describe(selectorsOf(std::string(selector) + "{ x: 1; }")), expected) << selector;
}

TEST(StyleSelectors, lastDeclarationMayOmitSemicolon)
{
    const auto a = parseText("A { x: 1 }");
    const auto b = parseText("A { x: 1; }");
    ASSERT_EQ(a.styles.size(), 1u);
    ASSERT_EQ(b.styles.size(), 1u);
    EXPECT_EQ(a.styles[0].properties.at(0).value, b.styles[0].properties.at(0).value);
    EXPECT_TRUE(a.errors.empty());
}

TEST(StyleSelectors, emptyBlockAddsNothing)
{
    const auto outcome = parseText("A { }\nB {}");
    EXPECT_TRUE(outcome.errors.empty());
    EXPECT_TRUE(outcome.styles.empty());
    EXPECT_TRUE(outcome.matched);
}

TEST(StyleSelectors, sourceNameAndLineGoWithEverySelector)
{
    const auto outcome = parseText("\n\nA, B\n{ x: 1; }");
    ASSERT_EQ(outcome.styles.size(), 1u);
    for (const auto& selector : outcome.styles[0].selectors) {
        EXPECT_EQ(selector.sourceName, sym("test"));
        EXPECT_EQ(selector.line, 3u);
    }
    EXPECT_EQ(outcome.styles[0].line, 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, SyntaxErrorTest,
    ::testing::Values(
        ErrorCase{"%junk", "PARSER ERROR at line 1: Expecting statement, whitespace or eoi"},
        ErrorCase{"@DEFINE $x 5;", "PARSER ERROR at line 1: Expecting statement, whitespace or eoi"},
        ErrorCase{".Main { x: 1; }", "PARSER ERROR at line 1: Expecting statement, whitespace or eoi"},
        ErrorCase{"A B = 1 }", "PARSER ERROR at line 1: Expecting selector relation operator or {"},
        ErrorCase{"Label#name.class { x: 1; }", "PARSER ERROR at line 1: Expecting selector relation operator or {"},
        ErrorCase{"A { x: 1", "PARSER ERROR at line 1: Expecting } or ;"},
        ErrorCase{"A { x: 1;; }", "PARSER ERROR at line 1: Expecting } or ;"},
        ErrorCase{"A { x 1; }", "PARSER ERROR at line 1: Expecting :"},
        ErrorCase{"A { x: ; }", "PARSER ERROR at line 1: Expecting sequence"},
        ErrorCase{"A[ ] { x: 1; }", "PARSER ERROR at line 1: Expecting attribute declaration"},
        ErrorCase{"A[x 5] { x: 1; }", "PARSER ERROR at line 1: Expecting unnamed-rule"},
        ErrorCase{"A[x=] { x: 1; }", "PARSER ERROR at line 1: Expecting Identifier"},
        ErrorCase{"Button#a[x=1] { x: 1; }", "PARSER ERROR at line 1: Expecting Identifier"},
        ErrorCase{"A[x=y { x: 1; }", "PARSER ERROR at line 1: Expecting ]"},
        ErrorCase{"A: { x: 1; }", "PARSER ERROR at line 1: Expecting Identifier"},
        ErrorCase{"A:! { x: 1; }", "PARSER ERROR at line 1: Expecting Identifier"},
        ErrorCase{"tree<> { x: 1; }", "PARSER ERROR at line 1: Expecting Identifier"},
        ErrorCase{"tree<Bar { x: 1; }", "PARSER ERROR at line 1: Expecting >"},
        ErrorCase{"@define $x5;", "PARSER ERROR at line 1: Expecting WS"},
        ErrorCase{"@define$x 5;", "PARSER ERROR at line 1: Expecting WS"},
        ErrorCase{"@import\"a\";", "PARSER ERROR at line 1: Expecting WS"},
        ErrorCase{"@define x 5;", "PARSER ERROR at line 1: Expecting unnamed-rule"},
        ErrorCase{"@import 5;", "PARSER ERROR at line 1: Expecting URL"},
        ErrorCase{"@define $x 5 A { }", "PARSER ERROR at line 1: Expecting ;"}));

}  // namespace
}  // namespace QX::NWL
