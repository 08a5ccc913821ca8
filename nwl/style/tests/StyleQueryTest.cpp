#include <gtest/gtest.h>

#include "FakeWidget.h"
#include "StyleTestSupport.h"
#include "nwl/style/PropertyValue.h"
#include "nwl/style/StyleQuery.h"

namespace QX::NWL {
namespace {

using Testing::FakeWidget;
using Testing::sym;

// The frame index that the rules "<selector> { x: 1; }" give a widget: 1 when
// the selector matches it, 0 when not.
std::int32_t matchedBy(const char* selector, FakeWidget& top, const FakeWidget& widget)
{
    StyleSheet sheet;
    EXPECT_TRUE(StyleParser2::processString(sheet, (std::string(selector) + " { x: 1; }").c_str())) << selector;
    top.sheet = &sheet;
    static const std::int32_t zero = 0;
    const std::int32_t answer = *findIntProperty(widget, sym("x"), &zero);
    top.sheet = nullptr;
    return answer;
}

struct MatchCase {
    const char* selector;
    bool matches;
};

// A(Bar.q) > B(Bar.p) > C(Bar.x) > D(Bar.p #d) > E(Label #e); B is a "tree<Bar>".
class ChainMatchTest : public ::testing::TestWithParam<MatchCase> {
protected:
    ChainMatchTest()
    {
        top.styleClass = sym("q");
        auto& b = top.addChild("tree<Bar>");
        b.styleClass = sym("p");
        auto& c = b.addChild("Bar");
        c.styleClass = sym("x");
        auto& d = c.addChild("Bar");
        d.styleClass = sym("p");
        d.name = sym("d");
        leaf = &d.addChild("Label");
        leaf->name = sym("e");
    }
    FakeWidget top{"Bar"};
    FakeWidget* leaf = nullptr;
};

TEST_P(ChainMatchTest, leafMatchesAsExpected)
{
    EXPECT_EQ(matchedBy(GetParam().selector, top, *leaf), GetParam().matches ? 1 : 0) << GetParam().selector;
}

INSTANTIATE_TEST_SUITE_P(
    StyleQuery, ChainMatchTest,
    ::testing::Values(MatchCase{"Label", true}, MatchCase{"*#e", true}, MatchCase{"Label#d", false},
                      MatchCase{"Bar Label", true}, MatchCase{"Bar.p::Label", true}, MatchCase{"Bar.x::Label", false},
                      // The nearest Bar.p (D) has no Bar.q parent; the retry from higher up finds B.
                      MatchCase{"Bar.q::Bar.p Label", false}, MatchCase{"Bar.q::tree.p Label", true},
                      MatchCase{"*.q::*.p Label", true}, MatchCase{"*.x::*.p Label", true},
                      MatchCase{"*.q::*.x Label", false}, MatchCase{"*.q *.x Label", true},
                      // A type prefix before "<" matches; the full type of another widget does not.
                      MatchCase{"tree Bar Label", true}, MatchCase{"Label Bar Label", false},
                      MatchCase{"Bar.q Bar.x Bar.p Label", true}, MatchCase{"Bar.p Bar.q Label", false}));

struct AttributeCase {
    const char* selector;
    bool matches;
};

class AttributeMatchTest : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(AttributeMatchTest, ownAttributesBeforeComputedOnes)
{
    FakeWidget bar("Bar");
    bar.barDirection = 1;
    auto& label = bar.addChild("Label");
    label.name = sym("real");
    label.attributes[sym("getId")] = "own";
    label.attributes[sym("state")] = "success";
    label.attributes[sym("on")] = "yes";
    EXPECT_EQ(matchedBy(GetParam().selector, bar, label), GetParam().matches ? 1 : 0) << GetParam().selector;
}

INSTANTIATE_TEST_SUITE_P(
    StyleQuery, AttributeMatchTest,
    ::testing::Values(AttributeCase{"Label[getId=own]", true}, AttributeCase{"Label[getId=real]", false},
                      AttributeCase{"Label[getClass=Label]", true}, AttributeCase{"Label[state=success]", true},
                      AttributeCase{"Label[state=succ]", false}, AttributeCase{"Label[state^=succ]", true},
                      AttributeCase{"Label[state^=ess]", false}, AttributeCase{"Label[state$=ess]", true},
                      AttributeCase{"Label[state*=cce]", true}, AttributeCase{"Label[state*=fail]", false},
                      AttributeCase{"Label[state!=success]", false}, AttributeCase{"Label[state!=fail]", true},
                      AttributeCase{"Label[missing!=x]", false}, AttributeCase{"Label[missing=x]", false},
                      AttributeCase{"Label[isHorizontal=false]", false},
                      AttributeCase{"Label[isHorizontal!=true]", false},
                      AttributeCase{"Bar[isHorizontal=true] Label", true},
                      AttributeCase{"Bar[isHorizontal=yes] Label", true},
                      AttributeCase{"Bar[isHorizontal!=true] Label", false},
                      AttributeCase{"Bar[isHorizontal!=false] Label", true},
                      AttributeCase{"Bar[isHorizontal=false] Label", false},
                      AttributeCase{"Label[state^=su][state$=ss]", true},
                      AttributeCase{"Label[state^=su][state$=xx]", false}));

const char* const kButtonSheet =
    "Button { animation-index: 0; background-color: rgb(1, 2, 3); }\n"
    "Button:selected { animation-index: 1; }\n"
    "Button:down { animation-index: 2; }\n"
    "Button:selected:down { animation-index: 3; }\n"
    "Button:!enabled { animation-index: 6; }\n"
    "Button[hasFocus=true] { animation-index: 9; background-color: no; }\n"
    "Bar#panel[ background=ok ] { animation-index: 1; }\n"
    "Bar#panel[ background=info ] { animation-index: 2; }\n";

struct StateCase {
    std::uint32_t flags;
    bool down;
    const char* hasFocus;
    std::int32_t frame;
    std::uint32_t colour;
};

class ButtonStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(ButtonStateTest, mostSpecificRuleWhoseStatesHold)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, kButtonSheet));
    FakeWidget button("Button");
    button.sheet = &sheet;
    button.flags = GetParam().flags;
    button.pressed = GetParam().down;
    if (GetParam().hasFocus)
        button.attributes[sym("hasFocus")] = GetParam().hasFocus;
    const std::int32_t none = -1;
    const std::uint32_t noColour = 0xDEADBEEF;
    bool found = false;
    EXPECT_EQ(*findIntProperty(button, sym("animation-index"), &none), GetParam().frame);
    EXPECT_EQ(*findColorProperty(button, sym("background-color"), &noColour, &found), GetParam().colour);
    EXPECT_TRUE(found);
}

INSTANTIATE_TEST_SUITE_P(StyleQuery, ButtonStateTest,
                         ::testing::Values(StateCase{0x30, false, nullptr, 0, 0xFF010203},
                                           StateCase{0x70, false, nullptr, 1, 0xFF010203},
                                           StateCase{0x30, true, nullptr, 2, 0xFF010203},
                                           StateCase{0x70, true, nullptr, 3, 0xFF010203},
                                           StateCase{0x10, false, nullptr, 6, 0xFF010203},
                                           StateCase{0x70, true, "true", 3, 0},
                                           StateCase{0x30, false, "true", 9, 0},
                                           StateCase{0x30, false, "false", 0, 0xFF010203}));

TEST(StyleQuery, attributeValuesPickTheFrame)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, kButtonSheet));
    FakeWidget panel("Bar");
    panel.name = sym("panel");
    panel.sheet = &sheet;
    const std::int32_t none = -1;
    EXPECT_EQ(*findIntProperty(panel, sym("animation-index"), &none), -1);
    panel.attributes[sym("background")] = "ok";
    EXPECT_EQ(*findIntProperty(panel, sym("animation-index"), &none), 1);
    panel.attributes[sym("background")] = "info";
    EXPECT_EQ(*findIntProperty(panel, sym("animation-index"), &none), 2);
}

TEST(StyleQuery, aWidgetInNoPaneGetsTheCallersDefault)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, kButtonSheet));
    FakeWidget button("Button");
    const std::int32_t none = -1;
    bool found = true;
    EXPECT_EQ(findIntProperty(button, sym("animation-index"), &none, &found), &none);
    EXPECT_FALSE(found);
    EXPECT_EQ(findProperty(button, sym("animation-index")), nullptr);
    std::vector<const StyleRule*> rules{nullptr};
    StyleSheet::findMatchingRules(button, sym("animation-index"), rules);
    EXPECT_TRUE(rules.empty());
}

TEST(StyleQuery, aValueOfAnotherKindCountsAsAbsent)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(
        sheet, "Label { x: rgb(1, 2, 3); t: no; s: word; f: 1.5; }"));
    FakeWidget label("Label");
    label.sheet = &sheet;
    const std::int32_t none = -1;
    const std::string fallback = "fallback";
    bool found = true;
    EXPECT_EQ(*findIntProperty(label, sym("x"), &none, &found), -1);
    EXPECT_FALSE(found);
    EXPECT_EQ(*findIntProperty(label, sym("f"), &none, &found), -1);
    EXPECT_FALSE(found);
    EXPECT_EQ(*findStringProperty(label, "t", &fallback, &found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(*findStringProperty(label, "s", &fallback, &found), "word");
    EXPECT_EQ(*findIntProperty(label, sym("t"), &none, &found), 0);
    EXPECT_TRUE(found);
    const UIA::Font* noFont = nullptr;
    EXPECT_EQ(*findFontProperty(label, sym("t"), &noFont, &found), nullptr);
    EXPECT_TRUE(found);
}

struct BoolCase {
    const char* value;
    int expected;  // 1 true, 0 false, -1 no boolean
};

class BoolReadingTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(BoolReadingTest, readsTheWordsAndPlainNumbers)
{
    StyleSheet sheet;
    const std::string text = std::string("Label { picture-includes-margin: ") + GetParam().value + "; }";
    ASSERT_TRUE(StyleParser2::processString(sheet, text.c_str()));
    FakeWidget label("Label");
    label.sheet = &sheet;
    const bool fallback = false;
    bool found = false;
    const bool* answer = findBoolProperty(label, sym("picture-includes-margin"), &fallback, &found);
    if (GetParam().expected < 0) {
        EXPECT_EQ(answer, &fallback) << GetParam().value;
        EXPECT_FALSE(found);
    } else {
        EXPECT_TRUE(found) << GetParam().value;
        EXPECT_EQ(*answer, GetParam().expected == 1) << GetParam().value;
    }
}

INSTANTIATE_TEST_SUITE_P(StyleQuery, BoolReadingTest,
                         ::testing::Values(BoolCase{"1", 1}, BoolCase{"yes", 1}, BoolCase{"true", 1},
                                           BoolCase{"0", 0}, BoolCase{"no", 0}, BoolCase{"false", 0},
                                           BoolCase{"7", 1}, BoolCase{"1px", -1}, BoolCase{"maybe", -1},
                                           BoolCase{"\"yes\"", -1}));

TEST(StyleQuery, candidatesAreCachedPerWidgetAndProperty)
{
    StyleSheet sheet;
    ASSERT_TRUE(StyleParser2::processString(sheet, kButtonSheet));
    FakeWidget button("Button");
    button.sheet = &sheet;
    const auto& first = sheet.findCandidates(button, sym("animation-index"));
    EXPECT_EQ(first.size(), 6u);
    EXPECT_EQ(&sheet.findCandidates(button, sym("animation-index")), &first);
    button.flags = 0x10;
    EXPECT_EQ(StyleSheet::findMatchingRules(button, sym("animation-index")).size(), 5u);
}

TEST(StyleErrorHandlers, anEmptyHandlerIsIgnored)
{
    const auto empty = addErrorHandler({});
    Testing::ErrorCapture capture;
    EXPECT_NO_THROW(reportError("message"));
    EXPECT_EQ(capture.messages, std::vector<std::string>{"message"});
    removeErrorHandler(empty);
}

}  // namespace
}  // namespace QX::NWL
