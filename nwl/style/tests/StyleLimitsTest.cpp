// Sheets written to cost time, stack or precision: what they still get.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "gp/Stream.h"

#include "StyleTestSupport.h"

namespace QX::NWL {
namespace {

using Testing::parseText;

std::string repeat(const std::string& text, std::size_t times)
{
    std::string repeated;
    for (std::size_t i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

struct CommentCase {
    std::string sheet;
    std::size_t styles;
    std::size_t errors;
};

TEST(StyleLimits, blockCommentsEndAtTheFirstCloseAfterTheirOpening)
{
    // The grammar ends "//" at a lone carriage return, the error recovery
    // does not: each of these lines fails after a "/*" that the grammar tries.
    const std::string failingLine = "@import url(\"a\"//\r/*\n";
    const CommentCase cases[] = {
        {"A { x: 1; /* a\n b */ }", 1, 0},
        {"/**/A { x: 1; }", 1, 0},
        {"/*/ A { x: 1; } */", 0, 0},
        {"A { x: 1; }\n/* open\nB { y: 2; }", 1, 1},
        {repeat(failingLine, 3) + "A { x: 1; }", 1, 3},
        {repeat(failingLine, 3) + "*/ A { x: 1; }", 0, 4},
    };
    for (const auto& c : cases) {
        const auto outcome = parseText(c.sheet);
        EXPECT_EQ(outcome.styles.size(), c.styles) << c.sheet;
        EXPECT_EQ(outcome.errors.size(), c.errors) << c.sheet;
    }
}

TEST(StyleLimits, realsOutOfRangeAreRefusedAlike)
{
    const std::string values[] = {"3.4e39px", "1e39", "-3.4e39", std::string(39, '9'), "1" + std::string(39, '0') + ".5"};
    for (const auto& value : values) {
        const auto outcome = parseText("A { x: " + value + "; }");
        EXPECT_TRUE(outcome.styles.empty()) << value;
        ASSERT_EQ(outcome.errors.size(), 1u) << value;
        EXPECT_EQ(outcome.errors[0], "PARSER ERROR at line 1: Expecting sequence") << value;
    }
    const auto largest = parseText("A { x: 3.4e38px; }");
    ASSERT_EQ(largest.styles.size(), 1u);
    EXPECT_EQ(largest.styles[0].properties[0].value, Testing::real(3.4e38f));
}

struct SaturationCase {
    std::string selector;
    std::uint32_t specificity;
};

TEST(StyleLimits, specificityFieldsSaturate)
{
    std::string attributes;
    for (int i = 0; i < 16; ++i)
        attributes += "[a" + std::to_string(i) + "=v]";
    const SaturationCase cases[] = {
        {repeat("A#x ", 256) + "A#x", 0xFF00000Fu},
        {repeat("*.c ", 300) + "*.c", 0x00FF0000u},
        {repeat("A ", 16) + "A", 0x0000000Fu},
        {"A" + attributes, 0x000000F1u},
    };
    for (const auto& c : cases) {
        const auto outcome = parseText(c.selector + " { x: 1; }");
        ASSERT_EQ(outcome.styles.size(), 1u);
        EXPECT_EQ(outcome.styles[0].selectors.at(0).specificity(), c.specificity) << c.selector.substr(0, 12);
    }

    // So the longest selector still wins over a short one.
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, ("A#x { x: 1; }\n" + repeat("A#x ", 256) + "A#x { x: 2; }").c_str()));
    EXPECT_EQ(sheet.findRules(qx::symbol("x"))->at(0).property.value, Testing::integer(2));
}

TEST(StyleLimits, theRulesOfOneStyleShareItsSelectors)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, "A, B#b, C { x: 1; y: 2; z: 3; }"));
    const auto& x = *sheet.findRules(qx::symbol("x"));
    for (const char* name : {"y", "z"}) {
        const auto& other = *sheet.findRules(qx::symbol(name));
        ASSERT_EQ(other.size(), x.size());
        for (std::size_t i = 0; i < x.size(); ++i)
            EXPECT_EQ(other[i].selector, x[i].selector) << name << i;
    }
    EXPECT_EQ(x[0].selector->name, qx::symbol("b"));
}

// Reads the sheet "0" whose imports come from `sheets`; answers the reported
// texts.
std::vector<std::string> importFromMemory(const std::map<std::string, std::string>& sheets, std::size_t& styles)
{
    StyleSheet sheet;
    StyleParser2 parser(sheet);
    parser.setSheetOpener([&sheets](const GP::Path& path) -> std::shared_ptr<GP::Stream> {
        const auto found = sheets.find(path.toString());
        if (found == sheets.end())
            return nullptr;
        return std::make_shared<GP::MemoryStream>(std::vector<std::uint8_t>(found->second.begin(), found->second.end()));
    });
    Testing::ErrorCapture capture;
    EXPECT_TRUE(parser.parseFile(GP::Path("0")));
    styles = parser.getStyles().size();
    return capture.messages;
}

TEST(StyleLimits, importCyclesAreReportedOnceAndDepthIsLimited)
{
    std::size_t styles = 0;
    const auto cycle = importFromMemory({{"0", "A { x: 1; }\n@import url(\"1\");"},
                                         {"1", "@import url(\"0\");\nB { x: 2; }"}},
                                        styles);
    EXPECT_EQ(styles, 2u);
    EXPECT_EQ(cycle, std::vector<std::string>{"Stylesheet error: 1:1 - PARSER ERROR at line 1: recursive import of "
                                              "stylesheet 0"});

    std::map<std::string, std::string> chain;
    for (int i = 0; i < 1000; ++i)
        chain[std::to_string(i)] = "@import url(\"" + std::to_string(i + 1) + "\");\nS { x: 1; }";
    const auto deep = importFromMemory(chain, styles);
    EXPECT_EQ(styles, StyleParser2::kMaxImportDepth + 1);
    const std::string last = std::to_string(StyleParser2::kMaxImportDepth);
    EXPECT_EQ(deep, std::vector<std::string>{"Stylesheet error: " + last + ":1 - PARSER ERROR at line 1: imports "
                                             "nested too deeply to import stylesheet " + std::to_string(StyleParser2::kMaxImportDepth + 1)});
}

}  // namespace
}  // namespace QX::NWL
