#include <gtest/gtest.h>

#include <stdexcept>

#include "FakeWidget.h"
#include "StyleTestSupport.h"

namespace QX::NWL {
namespace {

using Testing::FakeWidget;
using Testing::parseText;

Selector firstSelectorOf(const std::string& selectorText)
{
    const auto outcome = parseText(selectorText + " { x: 1; }");
    EXPECT_EQ(outcome.styles.size(), 1u) << selectorText;
    return outcome.styles.empty() ? Selector() : outcome.styles[0].selectors.at(0);
}

struct WeightCase {
    const char* selector;
    std::uint32_t specificity;
};

class SpecificityTest : public ::testing::TestWithParam<WeightCase> {};

TEST_P(SpecificityTest, weighsEveryPart)
{
    EXPECT_EQ(firstSelectorOf(GetParam().selector).specificity(), GetParam().specificity) << GetParam().selector;
}

INSTANTIATE_TEST_SUITE_P(
    Weights, SpecificityTest,
    ::testing::Values(WeightCase{"*", 0}, WeightCase{"Button", 1}, WeightCase{"*.a", 65536},
                      WeightCase{"*#a", 16777216}, WeightCase{"A[x=y]", 17}, WeightCase{"A[x=y][x^=z][w=v]", 33},
                      WeightCase{"A:over", 257}, WeightCase{"A:over:!over", 257},
                      WeightCase{"Button#FirmwareUpdaterButtonAction:selected:over", 16777216 + 1 + 2 * 256},
                      WeightCase{"A.b::C#d E[f=g]", 1 + 65536 + 1 + 16777216 + 1 + 16}));

std::vector<std::string> ruleSelectorsOf(const StyleSheet& sheet, const char* property)
{
    std::vector<std::string> texts;
    if (const auto* rules = sheet.findRules(qx::symbol(property))) {
        for (const auto& rule : *rules)
            texts.push_back(rule.selector->type.str() + "#" + rule.selector->name.str() + "@" +
                            std::to_string(rule.selector->line) + "=" +
                            std::to_string(std::get<std::int32_t>(rule.property.value)));
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST(StyleRuleIndex, mostSpecificFirstTiesInSheetOrder)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet,
                                            "A { x: 1; }\n"
                                            "A#n { x: 2; }\n"
                                            "B, A { x: 3; y: 4; }\n"
                                            "* { x: 5; }\n"
                                            "A#n { x: 6; }\n"));
    EXPECT_EQ(ruleSelectorsOf(sheet, "x"),
              (Texts{"A#n@2=2", "A#n@5=6", "A#@0=1", "B#@3=3", "A#@3=3", "#@4=5"}));
    EXPECT_EQ(ruleSelectorsOf(sheet, "y"), (Texts{"B#@3=4", "A#@3=4"}));
    EXPECT_EQ(sheet.findRules(qx::symbol("z")), nullptr);
}

TEST(StyleRuleIndex, stateAndAttributeConditionsOutweighThePlainSelector)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet,
                                            "Button#Act { a: 1; }\n"
                                            "Button#Act:over { a: 2; }\n"
                                            "Button#Act[hasFocus=true] { a: 3; }\n"
                                            "Button#Act:selected:over { a: 4; }\n"
                                            "Button#Act:selected { a: 5; }\n"));
    EXPECT_EQ(ruleSelectorsOf(sheet, "a"),
              (Texts{"Button#Act@4=4", "Button#Act@2=2", "Button#Act@5=5", "Button#Act@3=3", "Button#Act@0=1"}));
}

TEST(StyleRuleIndex, derivedPropertiesJoinTheirStyle)
{
    StyleSheet sheet;
    const auto derive = [](const Style& style, std::vector<Property>& derived) {
        derived.emplace_back(PropertyVariant(std::in_place_type<std::int32_t>, int(style.properties.size())),
                             qx::symbol("count"), Property::eNumber);
    };
    ASSERT_TRUE(StyleParser2::processString(sheet, "A { x: 1; y: 2; }\nB#b { x: 3; }", derive));
    EXPECT_EQ(ruleSelectorsOf(sheet, "count"), (Texts{"B#b@2=1", "A#@0=2"}));
}

TEST(StyleRuleIndex, failedEvaluationLeavesTheRules)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, "A { x: 1; }"));
    const auto failing = [](const Style&, std::vector<Property>&) { throw std::runtime_error("bad value"); };
    EXPECT_THROW(StyleParser2::processString(sheet, "B { x: 2; }", failing), std::runtime_error);
    EXPECT_EQ(ruleSelectorsOf(sheet, "x"), (Texts{"A#@0=1"}));
}

TEST(StyleRuleIndex, failedParseLeavesTheRules)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, "A { x: 1; }"));
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("B\0{\0}\0", 6);
    auto stream = std::make_shared<GP::MemoryStream>(std::vector<std::uint8_t>(utf16.begin(), utf16.end()));
    Testing::ErrorCapture capture;
    EXPECT_FALSE(StyleParser2::loadStylesheet(sheet, stream, "wide.txt"));
    EXPECT_EQ(ruleSelectorsOf(sheet, "x"), (Texts{"A#@0=1"}));
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0], "Stylesheet error: wide.txt:0 - Unsupported buffer encoding");
}

TEST(StyleCandidateCache, clearedAfterEveryLoad)
{
    StyleSheet sheet;
    FakeWidget widget;
    sheet.getCandidateCache()[&widget];
    StyleParser2::processString(sheet, "A { x: 1; }");
    EXPECT_TRUE(sheet.getCandidateCache().empty());
    // Enough entries to make the cache grow: clearing also shrinks it back.
    std::vector<FakeWidget> widgets(100);
    for (const auto& w : widgets)
        sheet.getCandidateCache()[&w];
    const auto initialBuckets = StyleSheet::tCandidateCache(StyleSheet::kInitialCacheBuckets).bucket_count();
    ASSERT_GT(sheet.getCandidateCache().bucket_count(), initialBuckets);
    StyleParser2::loadStylesheet(sheet, nullptr, "missing");
    EXPECT_TRUE(sheet.getCandidateCache().empty());
    EXPECT_EQ(sheet.getCandidateCache().bucket_count(), initialBuckets);
}

TEST(StyleCandidateCache, forgettingAWidgetForgetsItsWholeSubtree)
{
    StyleSheet sheet;
    FakeWidget detached;  // in no pane: its own entry must go too
    FakeWidget& child = detached.addChild();
    FakeWidget& grandchild = child.addChild();
    FakeWidget other;
    for (const IStyledWidget* w : {static_cast<const IStyledWidget*>(&detached), static_cast<const IStyledWidget*>(&child),
                                   static_cast<const IStyledWidget*>(&grandchild), static_cast<const IStyledWidget*>(&other)})
        sheet.getCandidateCache()[w];
    sheet.forgetWidget(detached);
    ASSERT_EQ(sheet.getCandidateCache().size(), 1u);
    EXPECT_TRUE(sheet.getCandidateCache().contains(&other));
}

}  // namespace
}  // namespace QX::NWL
