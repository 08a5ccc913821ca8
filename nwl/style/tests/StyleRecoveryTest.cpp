#include <gtest/gtest.h>

#include "StyleTestSupport.h"
#include "nwl/style/StyleGrammar.h"

namespace QX::NWL {
namespace {

using Testing::parseText;
using Testing::sym;

std::vector<std::string> propertyNames(const Style& style)
{
    std::vector<std::string> names;
    for (const auto& property : style.properties)
        names.push_back(property.name.str());
    return names;
}

using Names = std::vector<std::string>;

TEST(StyleLines, lineEndsOfEveryKindCountOnce)
{
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        const std::string sheet = std::string("A { x: 1; }") + eol + eol + "B { y: 2 z }";
        const auto outcome = parseText(sheet);
        ASSERT_EQ(outcome.errors.size(), 1u);
        EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 3: Expecting } or ;");
    }
}

TEST(StyleLines, lineEndsInsideCommentsCount)
{
    const auto outcome = parseText("/* one\r\ntwo\rthree\n */ // four\n\n  %junk");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 6: Expecting statement, whitespace or eoi");
}

TEST(StyleLines, whitespaceReadTwiceIsCountedOnce)
{
    // Look-aheads of relations and integers read this whitespace twice.
    const auto outcome = parseText("A\n\n,\nB\n\n{ x: 5\n\npx\n\n; y: 1\n\n}\n\nC { z: 1 %% }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 14: Expecting } or ;");
}

TEST(StyleLines, firstLineOfStyles)
{
    const auto outcome = parseText("A { x: 1; } B { x: 1; }\n\n  C { x: 1; }\n/* c */ D\n{ x: 1; }");
    ASSERT_EQ(outcome.styles.size(), 4u);
    // On the first line, on the line of the previous "}", after line ends.
    EXPECT_EQ(outcome.styles[0].line, 0u);
    EXPECT_EQ(outcome.styles[1].line, 0u);
    EXPECT_EQ(outcome.styles[2].line, 3u);
    EXPECT_EQ(outcome.styles[3].line, 4u);
    EXPECT_EQ(outcome.styles[3].selectors.at(0).line, 4u);
}

TEST(StyleLines, styleAfterTopLevelErrorCarriesItsLine)
{
    const auto outcome = parseText("%junk\nA { x: 1; }");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].line, 2u);
}

TEST(StyleRecovery, failedStyleLeaksNothingIntoTheNext)
{
    const auto outcome = parseText("B { y: 2 z }\nC { w: 3; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting } or ;");
    ASSERT_EQ(outcome.styles.size(), 1u);
    ASSERT_EQ(outcome.styles[0].selectors.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors[0].type, sym("C"));
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"w"});
}

TEST(StyleRecovery, styleIsReadAgainRightAfterTheSkippedBrace)
{
    const auto outcome = parseText("B { y: 2 z }C { w: 3; }");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, sym("C"));
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"w"});
}

TEST(StyleRecovery, failedDeclarationDropsTheRestOfItsBlockOnly)
{
    const auto outcome = parseText("A { v: 0; x 1; y: 2; }\nB { z: 3; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting :");
    ASSERT_EQ(outcome.styles.size(), 2u);
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"v"});
    EXPECT_EQ(propertyNames(outcome.styles[1]), Names{"z"});
}

TEST(StyleRecovery, declarationWithoutValueIsDropped)
{
    const auto outcome = parseText("A { x: ; }\nB { y: 1; }");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, sym("B"));
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"y"});
}

TEST(StyleRecovery, braceInsideCommentDoesNotEndDeclarationSkip)
{
    const auto outcome = parseText("A { x 1 /* } */ // }\n ; y: 2; }\nB { z: 3; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, sym("B"));
}

TEST(StyleRecovery, badAttributeIsSkippedToItsBracketAndDropped)
{
    const auto outcome = parseText("A[x=1 // ] not here\n ] { y: 2; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting Identifier");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_TRUE(outcome.styles[0].selectors.at(0).attributes.empty());
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"y"});
}

TEST(StyleRecovery, completeAttributeStaysWhenOnlyBracketIsMissing)
{
    const auto outcome = parseText("A[x=y z] { k: 1; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting ]");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).attributes.at(sym("x")).at(AttibuteSelector::eEqual), "y");
}

TEST(StyleRecovery, badSelectorIsDroppedAndItsListGoesOn)
{
    const auto outcome = parseText("B, A:1\n, C { x: 1; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting Identifier");
    ASSERT_EQ(outcome.styles.size(), 1u);
    const auto& selectors = outcome.styles[0].selectors;
    ASSERT_EQ(selectors.size(), 2u);
    EXPECT_EQ(selectors[0].type, sym("B"));
    EXPECT_EQ(selectors[1].type, sym("C"));
    EXPECT_TRUE(selectors[1].ancestors.empty());
}

TEST(StyleRecovery, selectorSkipToLineEndCanSwallowTheBlock)
{
    const auto outcome = parseText("A:1 { x: 1; }\nB { y: 2; }\nC { z: 3; }");
    ASSERT_EQ(outcome.errors.size(), 2u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting Identifier");
    EXPECT_EQ(outcome.errors[1], "PARSER ERROR at line 2: Expecting selector relation operator or {");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, sym("C"));
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"z"});
}

TEST(StyleRecovery, topLevelSkipsToLineEnd)
{
    const auto outcome = parseText("%junk A { x: 1; }\nB { y: 2; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, sym("B"));
    EXPECT_TRUE(outcome.matched);
}

TEST(StyleRecovery, missingLastBraceReportsOnceAtTheEnd)
{
    const auto outcome = parseText("A { x: 1; }\nB { y: 1;\n\n");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 4: Expecting } or ;");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, sym("A"));
}

TEST(StyleRecovery, atDeclarationWithoutSemicolonStillDefines)
{
    const auto outcome = parseText("@define $a 1\nA { x: $a; }\nB { y: $a; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 2: Expecting ;");
    // The value took the line end, so the skip took the whole next line.
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, sym("B"));
    EXPECT_EQ(outcome.styles[0].properties.at(0).value, PropertyVariant(1.0f));
}

TEST(StyleRecovery, declarationSkipToTheEndCountsTheLastLineOnce)
{
    // Stepping back from the end would read the last line end again.
    const auto outcome = parseText("A { x 1\n");
    ASSERT_EQ(outcome.errors.size(), 2u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting :");
    EXPECT_EQ(outcome.errors[1], "PARSER ERROR at line 2: Expecting } or ;");
}

TEST(StyleRecovery, blockCommentHidesStopCharacter)
{
    const auto outcome = parseText("A[x=1 /* ] */ ] { y: 2; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"y"});
}

TEST(StyleMessages, expectedItemsShowTheirDisplayText)
{
    const std::pair<const char*, const char*> shown[] = {
        {"eoi", "statement, whitespace or eoi"}, {"symbols", "keyword"},
        {"ConstIdentifier", "const identifier"}, {"Value", "value declaration"},
        {"Attribute", "attribute declaration"}, {"QuotedString", "string"},
        {"unnamed-rule", "unnamed-rule"}, {"WS", "WS"}};
    for (const auto& [tag, text] : shown)
        EXPECT_EQ(StyleGrammar::describeExpectation(tag, ""), std::string("Expecting ") + text);
    EXPECT_EQ(StyleGrammar::describeExpectation("literal-char", "{"), "Expecting selector relation operator or {");
    EXPECT_EQ(StyleGrammar::describeExpectation("literal-char", "}"), "Expecting } or ;");
    EXPECT_EQ(StyleGrammar::describeExpectation("literal-string", "::"), "Expecting ::");
    EXPECT_EQ(StyleGrammar::expectationNames.size(), 8u);
}

TEST(StyleRecovery, stylesBeforeAndAfterErrorsAreApplied)
{
    const auto outcome = parseText("A { a: 1; }\n%%%\nB { b: #zz; }\nC { c: 3; }\n");
    ASSERT_EQ(outcome.errors.size(), 2u);
    ASSERT_EQ(outcome.styles.size(), 2u);
    EXPECT_EQ(propertyNames(outcome.styles[0]), Names{"a"});
    EXPECT_EQ(propertyNames(outcome.styles[1]), Names{"c"});
    EXPECT_EQ(outcome.styles[1].line, 4u);
}

}  // namespace
}  // namespace QX::NWL
