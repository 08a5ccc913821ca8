#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "nwl/widgets/Bar.h"
#include "nwl/widgets/MultilineLabel.h"
#include "uia/picture/Font.h"
#include "WidgetsTestSupport.h"

namespace QX::NWL {
namespace {

using Testing::RecordingCanvas;

const char* const kSheet =
    "MultilineLabel { foreground-color: #000000; margin: 4; }\n"
    "MultilineLabel.right { horizontal-alignment: right; }\n"
    "MultilineLabel.centre { horizontal-alignment: center; vertical-alignment: center; }\n"
    "MultilineLabel.bottom { vertical-alignment: bottom; }\n"
    "MultilineLabel.odd { horizontal-alignment: right; vertical-alignment: middle; }\n";

// A label alone in a styled pane, explicitly sized.
class MultilineLabelTest : public ::testing::Test {
protected:
    std::shared_ptr<MultilineLabel> makeLabel(const char* styleClass, int width, int height,
                                              const std::string& text)
    {
        auto label = std::make_shared<MultilineLabel>();
        label->setStyleClass(styleClass);
        label->setMargins(4, 4, 4, 4);  // as the sheet says
        label->setText(text);
        pane.setSize(width, height);
        pane.setRootWidget(label);
        Testing::settle(pane);
        // Each label keeps its own address: the sheet caches by widget.
        made.push_back(label);
        return label;
    }

    // Pixel widths of the default 12 px face are its own: measure with it.
    int lineStep(MultilineLabel& label) { return label.getPanelDrawer().getStateFont(label, 1.0f)->getLineHeight(); }

    std::vector<std::string> lines(const MultilineLabel& label)
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < label.getLineCount(); ++i)
            out.emplace_back(label.getLine(i));
        return out;
    }

    Testing::StyledPane pane{kSheet};
    std::vector<std::shared_ptr<MultilineLabel>> made;
};

using Lines = std::vector<std::string>;

// Where the breaks fall is the line breaker's own table; here the label
// cleans its text and wraps at its inner width with the real face.
TEST_F(MultilineLabelTest, CleansItsTextAndWrapsToItsInnerWidth)
{
    struct Case {
        const char* what;
        std::string text;
        int width;  // the label's, margins 4 + 4 included
        Lines expected;
    };
    const Case cases[] = {
        {"empty text", "", 100, {""}},
        {"double line feed", "a\n\nb", 100, {"a\n", "\n", "b"}},
        {"control bytes dropped", "a\tb\rc\x01", 100, {"abc"}},
        {"invalid UTF-8 becomes '?'", "ab\xC3(\xFF", 100, {"ab?(?"}},
        {"no empty line before a too wide first character", "MM", 8 + 1, {"M", "M"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lines(*makeLabel(nullptr, c.width, 100, c.text)), c.expected) << c.what;

    const std::string sentence = "one two three four five";
    auto label = makeLabel(nullptr, 8 + 60, 100, sentence);
    const Lines got = lines(*label);
    ASSERT_GT(got.size(), 1u);
    const UIA::Font* font = label->getPanelDrawer().getStateFont(*label, 1.0f);
    std::string joined;
    for (std::size_t i = 0; i < got.size(); ++i) {
        joined += got[i];
        EXPECT_LE(font->getTextWidth(got[i]), 60) << got[i];
        if (i + 1 < got.size()) {  // greedy: the next word would not have fitted
            EXPECT_GT(font->getTextWidth(got[i] + got[i + 1].substr(0, got[i + 1].find(' '))), 60) << got[i];
        }
    }
    EXPECT_EQ(joined, sentence);
}

TEST_F(MultilineLabelTest, TextSetOutsideAPaneIsOneLineUntilItJoins)
{
    auto label = std::make_shared<MultilineLabel>();
    label->setText("first\nsecond");
    EXPECT_EQ(label->getLineCount(), 1u);
    EXPECT_EQ(label->getLineBreaks().back().offset, label->getText().size());
    pane.setSize(200, 100);
    pane.setRootWidget(label);
    Testing::settle(pane);
    EXPECT_EQ(lines(*label), (Lines{"first\n", "second"}));
}

TEST_F(MultilineLabelTest, PaintsInsideTheInnerRectangle)
{
    struct Case {
        const char* styleClass;
        std::uint32_t horizontal;
        std::uint32_t vertical;
        int height;  // 101: the free height below the two lines is odd
    };
    for (const Case& c : {Case{nullptr, 4096, 256, 100}, Case{"right", 1, 256, 100}, Case{"centre", 0, 0, 100},
                          Case{"centre", 0, 0, 101}, Case{"bottom", 4096, 16, 100}, Case{"bottom", 4096, 16, 101},
                          Case{"odd", 1, 256, 100}}) {
        SCOPED_TRACE(std::string(c.styleClass ? c.styleClass : "plain") + ", height " + std::to_string(c.height));
        auto label = makeLabel(c.styleClass, 200, c.height, "one\ntwo");
        EXPECT_EQ(label->getHorizontalAlignment(), c.horizontal);
        EXPECT_EQ(label->getVerticalAlignment(), c.vertical);
        const int step = lineStep(*label);
        RecordingCanvas canvas;
        Testing::paintWidget(*label, canvas);
        ASSERT_EQ(canvas.texts.size(), 2u);
        const int free = c.height - 8 - 2 * step;
        // Centred, an odd free pixel stays below the block (division rounds down).
        const int expectedTop = c.vertical == 0 ? 4 + free / 2 : c.vertical == 16 ? 4 + free : 4;
        for (std::size_t i = 0; i < 2; ++i) {
            const GP::Rect& rect = canvas.texts[i].rect;
            EXPECT_EQ(rect, (GP::Rect{4, expectedTop + int(i) * step, 196, expectedTop + int(i + 1) * step}));
            EXPECT_EQ(canvas.texts[i].flags, c.horizontal | 256);
        }
        EXPECT_EQ(canvas.texts[0].text, "one");
        // The position of a character agrees with where the line is drawn.
        const UIA::Font* font = label->getPanelDrawer().getStateFont(*label, 1.0f);
        const GP::Point end = label->getCharPosition(1, 3);
        if (c.horizontal == 1) {
            EXPECT_EQ(end.x, 196);
        } else if (c.horizontal == 4096) {
            EXPECT_EQ(end.x, 4 + font->getTextWidth("two"));
        }
    }
}

TEST_F(MultilineLabelTest, ExactFitHasNoEllipsisAndOverflowKeepsTheFirstLine)
{
    auto label = makeLabel("centre", 200, 100, "one\ntwo\nthree");
    const int step = lineStep(*label);

    pane.setSize(200, 8 + 3 * step);
    Testing::settle(pane);
    RecordingCanvas fits;
    Testing::paintWidget(*label, fits);
    ASSERT_EQ(fits.texts.size(), 3u);
    EXPECT_EQ(fits.texts[2].text, "three");

    pane.setSize(200, 8 + 2 * step - 1);
    Testing::settle(pane);
    RecordingCanvas cut;
    Testing::paintWidget(*label, cut);
    ASSERT_EQ(cut.texts.size(), 1u);
    EXPECT_EQ(cut.texts[0].text, "onetwothree..");
    EXPECT_EQ(cut.texts[0].rect.top, 4);
}

TEST_F(MultilineLabelTest, AutoHeightInAStackedBar)
{
    auto bar = std::make_shared<Bar>();
    bar->setup(Bar::eTopToBottom, nullptr);
    auto label = std::make_shared<MultilineLabel>();
    label->setAutoHeight(true);
    label->setMargins(0, 3, 0, 5);
    label->setText("A firmware update is available for your keyboard. To update it now, click UPDATE.");
    auto below = std::make_shared<MultilineLabel>();
    below->setText("x");
    bar->addChild(label);
    bar->addChild(below);
    pane.setSize(120, 300);
    pane.setRootWidget(bar);
    Testing::settle(pane);

    const int step = lineStep(*label);
    ASSERT_GT(label->getLineCount(), 2u);
    EXPECT_EQ(label->getWidth(), 120);
    const Margins& margins = label->getMargins();
    EXPECT_EQ(label->getHeight(), margins.top + step * int(label->getLineCount()) + margins.bottom);
    EXPECT_EQ(below->getPosition().y, label->getHeight());

    pane.setSize(400, 300);
    Testing::settle(pane);
    EXPECT_EQ(label->getHeight(), margins.top + step * int(label->getLineCount()) + margins.bottom);
    EXPECT_EQ(below->getPosition().y, label->getHeight());
}

}  // namespace
}  // namespace QX::NWL
