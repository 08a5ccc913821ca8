#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "StyleTestSupport.h"
#include "gp/Resources.h"
#include "nwl/style/StyleNames.h"

namespace QX::NWL {
namespace {

using Testing::color;
using Testing::ErrorCapture;
using Testing::integer;
using Testing::parseText;

TEST(StyleParser, utf8MarkParsesLikeNoMark)
{
    const auto marked = parseText("\xEF\xBB\xBF" "A { x: 1; }");
    const auto plain = parseText("A { x: 1; }");
    EXPECT_TRUE(marked.errors.empty());
    ASSERT_EQ(marked.styles.size(), 1u);
    EXPECT_EQ(marked.styles[0].properties.at(0).value, plain.styles.at(0).properties.at(0).value);
}

TEST(StyleParser, shortTextWithMarkBytesIsParsedAsText)
{
    const auto outcome = parseText("\xEF\xBB\xBF");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting statement, whitespace or eoi");
}

TEST(StyleParser, refusesWideEncodings)
{
    for (const std::string& bytes : {std::string("\xFF\xFE" "A\0", 4), std::string("\xFE\xFF\0A", 4),
                                    std::string("\xFF\xFE\0\0A\0\0\0", 8), std::string("\0\0\xFE\xFF\0\0\0A", 8)}) {
        const auto outcome = parseText(bytes);
        EXPECT_FALSE(outcome.matched);
        ASSERT_EQ(outcome.errors.size(), 1u);
        EXPECT_EQ(outcome.errors[0], "Unsupported buffer encoding");
        EXPECT_EQ(outcome.errorMap.at("").begin()->first, 0u);
    }
}

TEST(StyleParser, constantsCarryValueAndUnit)
{
    const auto outcome = parseText("@define $size 13px;\n@define $white #FFFFFF;\nA { font-size: $size; color: $white; }");
    EXPECT_TRUE(outcome.errors.empty());
    ASSERT_EQ(outcome.styles.size(), 1u);
    const auto& properties = outcome.styles[0].properties;
    EXPECT_EQ(properties.at(0).value, integer(13));
    EXPECT_EQ(properties[0].unit, Property::ePixels);
    EXPECT_EQ(properties.at(1).value, color(0xFFFFFFFF));
    EXPECT_EQ(properties[1].unit, Property::eColor);
}

TEST(StyleParser, duplicateConstantKeepsTheFirst)
{
    const auto outcome = parseText("@define $x 5;\n\n@define $x 6;\nA { k: $x; }");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 3: constant already defined");
    EXPECT_EQ(outcome.styles.at(0).properties.at(0).value, integer(5));
}

TEST(StyleParser, undefinedConstantIsZero)
{
    const auto outcome = parseText("A { k: red; }\nB { k: $fontLabelSize; }\n@define $fontLabelSize 13;");
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 2: use of undefined constant fontLabelSize");
    ASSERT_EQ(outcome.styles.size(), 2u);
    EXPECT_EQ(outcome.styles[1].properties.at(0).value, integer(0));
    EXPECT_EQ(outcome.styles[1].properties[0].unit, Property::eNumber);
}

TEST(StyleParser, errorMapKeepsFirstMessageOfALineButReportsBoth)
{
    const auto outcome = parseText("A { a: $u; b: $v; }");
    EXPECT_EQ(outcome.errors.size(), 2u);
    ASSERT_EQ(outcome.errorMap.at("").size(), 1u);
    EXPECT_EQ(outcome.errorMap.at("").at(1), "PARSER ERROR at line 1: use of undefined constant u");
}

TEST(StyleParser, messagesReachHandlersFormatted)
{
    ErrorCapture capture;
    parseText("\n%junk");
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0],
              "Stylesheet error: :2 - PARSER ERROR at line 2: Expecting statement, whitespace or eoi");
}

TEST(StyleParser, defaultSheet)
{
    EXPECT_EQ(std::string(defaultStylesheetText).size(), 346u);
    StyleSheet sheet;
    ErrorCapture capture;
    ASSERT_TRUE(StyleParser2::processString(sheet, defaultStylesheetText));
    EXPECT_TRUE(capture.messages.empty());

    const auto* background = sheet.findRules(StyleNames::kBackgroundColor);
    ASSERT_NE(background, nullptr);
    ASSERT_EQ(background->size(), 4u);
    const std::uint32_t expected[] = {0xFFB0B0B0, 0xFFD0D0D0, 0xFF202020, 0xFFC0C0C0};
    const std::uint32_t lines[] = {2, 3, 4, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ((*background)[i].property.value, color(expected[i])) << i;
        EXPECT_EQ((*background)[i].selector->line, lines[i]) << i;
        EXPECT_EQ((*background)[i].selector->sourceName, qx::symbol("(StyleParser2::processString)"));
    }
    EXPECT_EQ((*background)[2].selector->type, qx::symbol("Bar"));
    EXPECT_EQ(sheet.findRules(StyleNames::kBackgroundBorderColor)->at(0).property.value, color(0xFF808080));
    EXPECT_EQ(sheet.findRules(StyleNames::kForegroundColor)->at(0).property.value, color(0xFF000000));
    EXPECT_EQ(sheet.getRuleIndex().size(), 3u);
}

TEST(StyleParser, loadsAStylesheetResource)
{
    const std::string text = "Label#r { width: 7; }";
    GP::registerResource("STYLETEST.TXT", "STYLESHEET", std::vector<std::uint8_t>(text.begin(), text.end()));
    StyleSheet sheet;
    const auto stream = GP::createResourceStream("StyleTest.txt", "STYLESHEET");
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(StyleParser2::loadStylesheet(sheet, stream, "StyleTest.txt"));
    const auto* rules = sheet.findRules(StyleNames::kWidth);
    ASSERT_NE(rules, nullptr);
    EXPECT_EQ(rules->at(0).property.value, integer(7));
    EXPECT_EQ(rules->at(0).selector->sourceName, qx::symbol("StyleTest.txt"));
}

TEST(StyleParser, loadsAnEmbeddedStylesheet)
{
    // The program build embeds it; the native build has no resources.
    if (!GP::findResource(nullptr, "StyleEmbedded.txt", "STYLESHEET")) {
        const std::string text = "/* */\n@define $w 11px;\nLabel#embedded { width: $w; }\n";
        GP::registerResource("StyleEmbedded.txt", "STYLESHEET", std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    StyleSheet sheet;
    ErrorCapture capture;
    ASSERT_TRUE(StyleParser2::loadStylesheet(sheet, GP::createResourceStream("StyleEmbedded.txt", "STYLESHEET"),
                                             "StyleEmbedded.txt"));
    EXPECT_TRUE(capture.messages.empty());
    const auto* rules = sheet.findRules(StyleNames::kWidth);
    ASSERT_NE(rules, nullptr);
    EXPECT_EQ(rules->at(0).property.value, integer(11));
    EXPECT_EQ(rules->at(0).property.unit, Property::ePixels);
    EXPECT_EQ(rules->at(0).selector->line, 3u);
}

// Sheets written to the working folder, where imports are looked for.
class ImportTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const auto& name : written_)
            std::remove(name.c_str());
    }

    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(name, std::ios::binary) << text;
        written_.push_back(name);
    }

    struct Loaded {
        bool ok;
        std::vector<std::string> messages;
    };

    Loaded load(const std::string& text)
    {
        ErrorCapture capture;
        auto stream = std::make_shared<GP::MemoryStream>(std::vector<std::uint8_t>(text.begin(), text.end()));
        const bool ok = StyleParser2::loadStylesheet(sheet, stream, "main.txt");
        return {ok, capture.messages};
    }

    StyleSheet sheet;

private:
    std::vector<std::string> written_;
};

TEST_F(ImportTest, importedStylesJoinAtTheImport)
{
    write("qx_style_part.txt", "@define $w 5;\nB { x: $w; }\n");
    const auto loaded = load("A { x: 1; }\n@import url(\"qx_style_part.txt\");\nC { y: $w; }");
    EXPECT_TRUE(loaded.ok);
    EXPECT_TRUE(loaded.messages.empty()) << loaded.messages.front();
    const auto* x = sheet.findRules(qx::symbol("x"));
    ASSERT_NE(x, nullptr);
    ASSERT_EQ(x->size(), 2u);
    EXPECT_EQ(x->at(1).selector->type, qx::symbol("B"));
    EXPECT_EQ(x->at(1).selector->sourceName, qx::symbol("qx_style_part.txt"));
    EXPECT_EQ(x->at(1).property.value, integer(5));
    EXPECT_EQ(sheet.findRules(qx::symbol("y"))->at(0).property.value, integer(5));
    EXPECT_EQ(sheet.getImported(), std::set<std::string>{"qx_style_part.txt"});
}

TEST_F(ImportTest, missingImportIsReportedAndTheSheetStillApplies)
{
    const auto loaded = load("\n@import url('qx_style_missing.txt');\nA { x: 1; }");
    EXPECT_TRUE(loaded.ok);
    ASSERT_EQ(loaded.messages.size(), 1u);
    EXPECT_EQ(loaded.messages[0],
              "Stylesheet error: main.txt:2 - PARSER ERROR at line 2: Failed to import stylesheet qx_style_missing.txt");
    EXPECT_NE(sheet.findRules(qx::symbol("x")), nullptr);
    EXPECT_TRUE(sheet.getImported().empty());
}

TEST_F(ImportTest, selfImportIsRecursive)
{
    write("qx_style_self.txt", "A { x: 1; }\n@import url(\"qx_style_self.txt\");\n");
    const auto loaded = load("@import url(\"qx_style_self.txt\");");
    EXPECT_TRUE(loaded.ok);
    ASSERT_EQ(loaded.messages.size(), 1u);
    EXPECT_EQ(loaded.messages[0], "Stylesheet error: qx_style_self.txt:2 - PARSER ERROR at line 2: recursive "
                                  "import of stylesheet qx_style_self.txt");
}

// A loaded sheet names itself in its reports: its syntax errors and its
// import of itself.
TEST_F(ImportTest, aLoadedSheetNamesItselfInItsReports)
{
    const auto loaded = load("A { x: 1; }\n@import url(\"main.txt\");\n%junk\nB { x: 2; }");
    ASSERT_EQ(loaded.messages.size(), 2u);
    EXPECT_EQ(loaded.messages[0], "Stylesheet error: main.txt:2 - PARSER ERROR at line 2: recursive import of "
                                  "stylesheet main.txt");
    EXPECT_EQ(loaded.messages[1].rfind("Stylesheet error: main.txt:3 - PARSER ERROR at line 3: ", 0), 0u)
        << loaded.messages[1];
}

TEST_F(ImportTest, secondImportOfTheSameFileIsRefused)
{
    write("qx_style_twice.txt", "B { x: 2; }\n");
    const auto loaded = load("@import url(\"qx_style_twice.txt\");\n@import url(\"qx_style_twice.txt\");");
    ASSERT_EQ(loaded.messages.size(), 1u);
    EXPECT_EQ(loaded.messages[0], "Stylesheet error: main.txt:2 - PARSER ERROR at line 2: recursive import of stylesheet "
                                  "qx_style_twice.txt");
    EXPECT_EQ(sheet.findRules(qx::symbol("x"))->size(), 1u);
}

TEST_F(ImportTest, refusedImportIsTriedAgainLater)
{
    write("qx_style_wide.txt", std::string("\xFF\xFE" "A\0", 4));
    const auto loaded = load("@import url(\"qx_style_wide.txt\");\n@import url(\"qx_style_wide.txt\");");
    ASSERT_EQ(loaded.messages.size(), 4u);
    EXPECT_EQ(loaded.messages[0], "Stylesheet error: qx_style_wide.txt:0 - Unsupported buffer encoding");
    EXPECT_EQ(loaded.messages[1],
              "Stylesheet error: main.txt:1 - PARSER ERROR at line 1: Failed to import stylesheet qx_style_wide.txt");
    EXPECT_EQ(loaded.messages[3],
              "Stylesheet error: main.txt:2 - PARSER ERROR at line 2: Failed to import stylesheet qx_style_wide.txt");
}

}  // namespace
}  // namespace QX::NWL
