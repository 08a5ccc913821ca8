#include <gtest/gtest.h>

#include <cmath>

#include "StyleTestSupport.h"

namespace QX::NWL {
namespace {

using namespace Testing;

// A value written in a declaration of a one-style sheet.
struct ValueCase {
    const char* written;
    PropertyVariant value;
    Property::eUnit unit;
};

std::string sheetWithValue(const std::string& written)
{
    // The value itself may close the block ("5px}").
    return "A { x: " + written + (written.ends_with("}") ? "" : " }");
}

class PropertyValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(PropertyValueTest, readsValueAndUnit)
{
    const ValueCase& c = GetParam();
    const auto outcome = parseText(sheetWithValue(c.written));
    EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
    ASSERT_EQ(outcome.styles.size(), 1u);
    ASSERT_EQ(outcome.styles[0].properties.size(), 1u);
    const Property& property = outcome.styles[0].properties[0];
    EXPECT_EQ(property.value, c.value) << c.written;
    EXPECT_EQ(property.unit, c.unit) << c.written;
    EXPECT_EQ(property.name, qx::symbol("x"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, PropertyValueTest,
    ::testing::Values(ValueCase{"#FFF", color(0xFF000FFF), Property::eColor},
                      ValueCase{"#80FF0000", color(0xFFFF0000), Property::eColor},
                      ValueCase{"#abcdef", color(0xFFABCDEF), Property::eColor},
                      ValueCase{"rgb( 255, 255, 255 )", color(0xFFFFFFFF), Property::eColor},
                      ValueCase{"rgba( 16, 35, 49, 230 )", color(0xE6102331), Property::eColor},
                      ValueCase{"RGB(1,2,3)", color(0xFF010203), Property::eColor},
                      ValueCase{"rgb(300,0,0)", color(0xFF2C0000), Property::eColor},
                      ValueCase{"rgb(256, 1 , 2)", color(0xFF000102), Property::eColor},
                      ValueCase{"url( \"virid.ttf\" )", text("virid.ttf"), Property::eURL},
                      ValueCase{"URL('a b.png')", text("a b.png"), Property::eURL},
                      ValueCase{"5;", integer(5), Property::eNumber},
                      ValueCase{"10 ;", integer(10), Property::eNumber},
                      ValueCase{"5px}", integer(5), Property::ePixels},
                      ValueCase{"-1px;", integer(-1), Property::ePixels},
                      ValueCase{"628px;", integer(628), Property::ePixels},
                      ValueCase{"5.0;", real(5.0f), Property::eNumber},
                      ValueCase{"1.5px;", real(1.5f), Property::ePixels},
                      ValueCase{"-.5;", real(-0.5f), Property::eNumber},
                      ValueCase{"2e3;", real(2000.0f), Property::eNumber},
                      ValueCase{"50 %;", integer(50), Property::ePercent},
                      ValueCase{"99999999999;", real(99999999999.0f), Property::eNumber},
                      ValueCase{"true;", boolean(true), Property::eBool},
                      ValueCase{"false;", boolean(false), Property::eBool},
                      ValueCase{"True;", text("True"), Property::eString},
                      ValueCase{"center;", text("center"), Property::eString},
                      ValueCase{"no;", text("no"), Property::eString},
                      ValueCase{"outer-margin-left;", text("outer-margin-left"), Property::eString},
                      ValueCase{"S10;", text("S10"), Property::eString},
                      ValueCase{"_x;", text("_x"), Property::eString},
                      // Not numbers in this language.
                      ValueCase{"nan;", text("nan"), Property::eString},
                      ValueCase{"inf;", text("inf"), Property::eString},
                      ValueCase{"infinity;", text("infinity"), Property::eString}));

TEST_P(SyntaxErrorTest, reportsExpectedItem)
{
    const ErrorCase& c = GetParam();
    const auto outcome = parseText(c.sheet);
    ASSERT_FALSE(outcome.errors.empty()) << c.sheet;
    EXPECT_EQ(outcome.errors.front(), c.message) << c.sheet;
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, SyntaxErrorTest,
    ::testing::Values(
        ErrorCase{"A { x: #123456789; }", "PARSER ERROR at line 1: Expecting unsigned-integer"},
        ErrorCase{"A { x: #; }", "PARSER ERROR at line 1: Expecting unsigned-integer"},
        ErrorCase{"A { x: url(\"abc); }", "PARSER ERROR at line 1: Expecting \""},
        ErrorCase{"A { x: url('abc\n'); }", "PARSER ERROR at line 1: Expecting '"},
        ErrorCase{"A { x: urls; }", "PARSER ERROR at line 1: Expecting ("},
        ErrorCase{"A { x: rgbx; }", "PARSER ERROR at line 1: Expecting ("},
        ErrorCase{"A { x: Rgb; }", "PARSER ERROR at line 1: Expecting ("},
        ErrorCase{"A { x: url( 5 ); }", "PARSER ERROR at line 1: Expecting string"},
        ErrorCase{"A { x: rgb(); }", "PARSER ERROR at line 1: Expecting unnamed-rule"},
        ErrorCase{"A { x: rgb(1,2,3; }", "PARSER ERROR at line 1: Expecting )"},
        ErrorCase{"A { x: $; }", "PARSER ERROR at line 1: Expecting Identifier"},
        ErrorCase{"A { x: -x; }", "PARSER ERROR at line 1: Expecting sequence"},
        ErrorCase{"A { x: rgb(1,2); }", "PARSER ERROR at line 1: invalid color declaration"},
        ErrorCase{"A { x: rgba(1,2,3); }", "PARSER ERROR at line 1: invalid color declaration"},
        ErrorCase{"A { x: rgb(1,2,3,4); }", "PARSER ERROR at line 1: invalid color declaration"},
        // An unclosed comment is no comment.
        ErrorCase{"/* A { x: 1; }", "PARSER ERROR at line 1: Expecting statement, whitespace or eoi"}));

TEST(StyleTokens, wrongColourCountGivesColourZeroAndKeepsStyle)
{
    const auto outcome = parseText("\nA { x: rgb(1,2); y: 3; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 2: invalid color declaration");
    ASSERT_EQ(outcome.styles.size(), 1u);
    ASSERT_EQ(outcome.styles[0].properties.size(), 2u);
    EXPECT_EQ(outcome.styles[0].properties[0].value, color(0));
    EXPECT_EQ(outcome.styles[0].properties[0].unit, Property::eColor);
}

TEST(StyleTokens, commentsAndLineEndsAreWhitespace)
{
    const auto outcome = parseText("// head ]\r\nA /* one\r\n two */ { // x\n x /*a*/ : /*b*/ 4 /*c*/ ; }\r");
    EXPECT_TRUE(outcome.errors.empty());
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].properties.at(0).value, integer(4));
}

TEST(StyleTokens, bytesAboveAsciiAreNoLetters)
{
    const auto outcome = parseText("A\xC3\xA9 { x: 1; }\nB { y: \xFF; }\nC { z: 2; }");
    EXPECT_FALSE(outcome.errors.empty());
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].selectors.at(0).type, qx::symbol("C"));
}

TEST(StyleTokens, quotedStringsKeepBytesAboveAscii)
{
    const auto outcome = parseText("A { x: url(\"\xC3\xA9t\xC3\xA9.png\"); }");
    ASSERT_EQ(outcome.styles.size(), 1u);
    EXPECT_EQ(outcome.styles[0].properties.at(0).value, text("\xC3\xA9t\xC3\xA9.png"));
}

}  // namespace
}  // namespace QX::NWL
