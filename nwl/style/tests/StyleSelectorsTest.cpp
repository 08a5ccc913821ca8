#include <gtest/gtest.h>

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

TEST(StyleSelectors, anyTypeWithStyleClass)
{
    const auto outcome = parseText("*.Main { width: 628px; }");
    ASSERT_EQ(outcome.styles.size(), 1u);
    const Selector& s = outcome.styles[0].selectors.at(0);
    EXPECT_TRUE(s.type.empty());
    EXPECT_EQ(s.styleClass, sym("Main"));
    EXPECT_TRUE(s.name.empty());
    EXPECT_EQ(outcome.styles[0].properties.size(), 1u);
}

TEST(StyleSelectors, relationsKeepTheirFlagsNearestAncestorFirst)
{
    const auto selectors = selectorsOf("A::B C { x: 1; }");
    ASSERT_EQ(selectors.size(), 1u);
    const Selector& s = selectors[0];
    EXPECT_EQ(s.type, sym("C"));
    ASSERT_EQ(s.ancestors.size(), 2u);
    EXPECT_EQ(s.ancestors[0].type, sym("B"));
    EXPECT_FALSE(s.ancestors[0].directParent);
    EXPECT_EQ(s.ancestors[1].type, sym("A"));
    EXPECT_TRUE(s.ancestors[1].directParent);
}

TEST(StyleSelectors, whitespaceBeforeCommaOrBraceIsNoRelation)
{
    for (const char* sheet : {"A , B{ x: 1; }", "A\n,\nB\n{ x: 1; }", "A /*c*/ , B /*d*/ { x: 1; }"}) {
        const auto selectors = selectorsOf(sheet);
        ASSERT_EQ(selectors.size(), 2u) << sheet;
        EXPECT_EQ(selectors[0].type, sym("A"));
        EXPECT_EQ(selectors[1].type, sym("B"));
        EXPECT_TRUE(selectors[0].ancestors.empty());
        EXPECT_TRUE(selectors[1].ancestors.empty());
    }
}

TEST(StyleSelectors, whitespaceAroundExplicitRelation)
{
    const auto selectors = selectorsOf("A :: B { x: 1; }");
    ASSERT_EQ(selectors.at(0).ancestors.size(), 1u);
    EXPECT_TRUE(selectors[0].ancestors[0].directParent);
}

TEST(StyleSelectors, stateConditions)
{
    const auto selectors = selectorsOf("Button:selected:down, Button:!enabled, Button:over:!over { x: 1; }");
    ASSERT_EQ(selectors.size(), 3u);
    const auto index = [](qx::symbol state) { return *findStateIndex(state); };
    EXPECT_EQ(selectors[0].states.get(index(N::kSelected)), StateConditions::eMustHold);
    EXPECT_EQ(selectors[0].states.get(index(N::kDown)), StateConditions::eMustHold);
    EXPECT_EQ(selectors[0].states.countConditions(), 2u);
    EXPECT_EQ(selectors[1].states.get(index(N::kEnabled)), StateConditions::eMustNotHold);
    EXPECT_EQ(selectors[1].states.countConditions(), 1u);
    // The later part decides.
    EXPECT_EQ(selectors[2].states.get(index(N::kOver)), StateConditions::eMustNotHold);
}

TEST(StyleSelectors, misspeltStateAddsNothing)
{
    const auto selectors = selectorsOf("Button:slected { x: 1; }");
    EXPECT_EQ(selectors.at(0).states, StateConditions());
    EXPECT_EQ(selectors[0].specificity(), 1u);
}

TEST(StyleSelectors, statesOfAncestorsAreNotKept)
{
    const auto selectors = selectorsOf("Bar:over Button { x: 1; }");
    EXPECT_EQ(selectors.at(0).states, StateConditions());
    EXPECT_EQ(selectors[0].ancestors.at(0).type, sym("Bar"));
}

TEST(StyleSelectors, doubleColonIsARelationNotAState)
{
    const auto selectors = selectorsOf("A::selected { x: 1; }");
    EXPECT_EQ(selectors.at(0).type, sym("selected"));
    EXPECT_EQ(selectors[0].states, StateConditions());
    ASSERT_EQ(selectors[0].ancestors.size(), 1u);
    EXPECT_TRUE(selectors[0].ancestors[0].directParent);
}

TEST(StyleSelectors, templatedTypes)
{
    EXPECT_EQ(selectorsOf("tree<Bar> { x: 1; }").at(0).type, sym("tree<Bar>"));
    EXPECT_EQ(selectorsOf("tree< Bar > { x: 1; }").at(0).type, sym("tree<Bar>"));
    // After "*" a template argument is ignored.
    EXPECT_TRUE(selectorsOf("*<Bar> { x: 1; }").at(0).type.empty());
}

TEST(StyleSelectors, programsLongSelector)
{
    const auto selectors = selectorsOf("tree<Bar>.Design::Bar#widgets Button#collapser[state=empty]:over { x: 1; }");
    const Selector& s = selectors.at(0);
    EXPECT_EQ(s.type, sym("Button"));
    EXPECT_EQ(s.name, sym("collapser"));
    EXPECT_EQ(s.attributes.at(sym("state")).at(AttibuteSelector::eEqual), "empty");
    EXPECT_EQ(s.states.get(*findStateIndex(N::kOver)), StateConditions::eMustHold);
    ASSERT_EQ(s.ancestors.size(), 2u);
    EXPECT_EQ(s.ancestors[0].type, sym("Bar"));
    EXPECT_EQ(s.ancestors[0].name, sym("widgets"));
    EXPECT_FALSE(s.ancestors[0].directParent);
    EXPECT_EQ(s.ancestors[1].type, sym("tree<Bar>"));
    EXPECT_EQ(s.ancestors[1].styleClass, sym("Design"));
    EXPECT_TRUE(s.ancestors[1].directParent);
}

TEST(StyleSelectors, attributeOperators)
{
    const auto selectors = selectorsOf("A[ a=x ][b^=y][c$=z][d*=w][e!=v][a=u] { k: 1; }");
    const auto& attributes = selectors.at(0).attributes;
    EXPECT_EQ(attributes.size(), 5u);
    // The same name and comparison again: the later text wins.
    EXPECT_EQ(attributes.at(sym("a")).at(AttibuteSelector::eEqual), "u");
    EXPECT_EQ(attributes.at(sym("b")).at(AttibuteSelector::eBeginsWith), "y");
    EXPECT_EQ(attributes.at(sym("c")).at(AttibuteSelector::eEndsWith), "z");
    EXPECT_EQ(attributes.at(sym("d")).at(AttibuteSelector::eContains), "w");
    EXPECT_EQ(attributes.at(sym("e")).at(AttibuteSelector::eNotEqual), "v");
}

TEST(StyleSelectors, emptyStyleClassAndNameAndDigitsFirst)
{
    const auto selectors = selectorsOf("A.9-x#-1 { k: 1; }");
    EXPECT_EQ(selectors.at(0).styleClass, sym("9-x"));
    EXPECT_EQ(selectors[0].name, sym("-1"));
    const auto empty = selectorsOf("A# { k: 1; }");
    EXPECT_TRUE(empty.at(0).name.empty());
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
