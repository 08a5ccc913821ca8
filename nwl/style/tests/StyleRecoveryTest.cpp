#include <gtest/gtest.h>

#include <algorithm>

#include "StyleTestSupport.h"
#include "nwl/style/StyleGrammar.h"

namespace QX::NWL {
namespace {

using Testing::parseText;
using Testing::sym;

using Texts = std::vector<std::string>;

// Each style as "Type,Type{property,property}".
Texts summary(const std::vector<Style>& styles)
{
    Texts lines;
    for (const Style& style : styles) {
        std::string line;
        for (const auto& selector : style.selectors)
            line += (line.empty() ? "" : ",") + selector.type.str();
        line += "{";
        for (std::size_t i = 0; i < style.properties.size(); ++i)
            line += (i ? "," : "") + style.properties[i].name.str();
        lines.push_back(line + "}");
    }
    return lines;
}

TEST(StyleLines, lineEndsOfEveryKindCountOnce)
{
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        const std::string sheet = std::string("A { x: 1; }") + eol + eol + "B { y: 2 z }";
        const auto outcome = parseText(sheet);
        ASSERT_EQ(outcome.errors.size(), 1u);
        EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 3: Expecting } or ;");
    }
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

TEST(StyleRecovery, badAttributeIsSkippedToItsBracketAndDropped)
{
    const auto outcome = parseText("A[x=1 // ] not here\n ] { y: 2; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting Identifier");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_TRUE(outcome.styles[0].selectors.at(0).attributes.empty());
    EXPECT_EQ(summary(outcome.styles), Texts{"A{y}"});
}

TEST(StyleRecovery, completeAttributeStaysWhenOnlyBracketIsMissing)
{
    const auto outcome = parseText("A[x=y z] { k: 1; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting ]");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).attributes.at(sym("x")).at(AttibuteSelector::eEqual), "y");
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


// What a broken sheet reports and which of its styles survive.
TEST(StyleRecovery, skipsTheBrokenPartAndKeepsTheRest)
{
    struct Case {
        const char* sheet;
        Texts errors;  // "" where any message will do
        Texts styles;
    };
    const auto line = [](int number, const char* expected) {
        return "PARSER ERROR at line " + std::to_string(number) + ": Expecting " + expected;
    };
    const Case cases[] = {
        // Line ends in comments and in whitespace read twice by look-aheads count once.
        {"/* one\r\ntwo\rthree\n */ // four\n\n  %junk", {line(6, "statement, whitespace or eoi")}, {}},
        {"A\n\n,\nB\n\n{ x: 5\n\npx\n\n; y: 1\n\n}\n\nC { z: 1 %% }", {line(14, "} or ;")}, {"A,B{x,y}"}},
        // A failed style leaks nothing into the next, also right after its brace.
        {"B { y: 2 z }\nC { w: 3; }", {line(1, "} or ;")}, {"C{w}"}},
        {"B { y: 2 z }C { w: 3; }", {line(1, "} or ;")}, {"C{w}"}},
        // A failed declaration drops the rest of its block only.
        {"A { v: 0; x 1; y: 2; }\nB { z: 3; }", {line(1, ":")}, {"A{v}", "B{z}"}},
        {"A { x: ; }\nB { y: 1; }", {""}, {"B{y}"}},
        {"A { x 1 /* } */ // }\n ; y: 2; }\nB { z: 3; }", {line(1, ":")}, {"B{z}"}},
        {"A[x=1 /* ] */ ] { y: 2; }", {line(1, "Identifier")}, {"A{y}"}},
        // A bad selector is dropped and its list goes on; skipping to the
        // line end can swallow a whole block.
        {"B, A:1\n, C { x: 1; }", {line(1, "Identifier")}, {"B,C{x}"}},
        {"A:1 { x: 1; }\nB { y: 2; }\nC { z: 3; }",
         {line(1, "Identifier"), line(2, "selector relation operator or {")}, {"C{z}"}},
        {"%junk A { x: 1; }\nB { y: 2; }", {line(1, "statement, whitespace or eoi")}, {"B{y}"}},
        // A missing last brace is reported once, at the end; stepping back
        // from the end does not count the last line twice.
        {"A { x: 1; }\nB { y: 1;\n\n", {line(4, "} or ;")}, {"A{x}"}},
        {"A { x 1\n", {line(1, ":"), line(2, "} or ;")}, {}},
        {"A { a: 1; }\n%%%\nB { b: #zz; }\nC { c: 3; }\n",
         {line(2, "statement, whitespace or eoi"), ""}, {"A{a}", "C{c}"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        const auto outcome = parseText(c.sheet);
        EXPECT_TRUE(outcome.matched);
        Texts errors = outcome.errors;
        for (std::size_t i = 0; i < std::min(errors.size(), c.errors.size()); ++i)
            if (c.errors[i].empty()) errors[i].clear();
        EXPECT_EQ(errors, c.errors);
        EXPECT_EQ(summary(outcome.styles), c.styles);
    }
}

TEST(StyleMessages, expectedCharactersShowTheirMeaning)
{
    EXPECT_EQ(StyleGrammar::describeExpectation("literal-char", "{"), "Expecting selector relation operator or {");
    EXPECT_EQ(StyleGrammar::describeExpectation("literal-char", "}"), "Expecting } or ;");
    EXPECT_EQ(StyleGrammar::describeExpectation("ConstIdentifier", ""), "Expecting const identifier");
}

}  // namespace
}  // namespace QX::NWL
