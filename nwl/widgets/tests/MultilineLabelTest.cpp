#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "nwl/widgets/Bar.h"
#include "nwl/widgets/MultilineLabel.h"
#include "RecordingCanvas.h"
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

    void paint(MultilineLabel& label, RecordingCanvas& canvas)
    {
        GP::Region region(label.getAbsoluteRect());
        PaintContext context(canvas, region, label.getAbsoluteRect(), 1.0f);
        canvas.setOffset(label.getAbsolutePosition());
        label.paint(context);
    }

    Testing::StyledPane pane{kSheet};
    std::vector<std::shared_ptr<MultilineLabel>> made;
};

using Lines = std::vector<std::string>;

TEST_F(MultilineLabelTest, WrapsToItsInnerWidth)
{
    // Where a line breaks inside a sentence depends on the face: those cases
    // are checked by the rules (every line fits, none is empty, words break
    // after their blank or punctuation, a long word where it overflows).
    enum eCheck { eExact, eAfterBreakCharacters, eInsideTheWord };
    struct Case {
        const char* what;
        std::string text;
        int width;  // the label's, margins 4 + 4 included
        eCheck check;
        Lines expected;
    };
    const Case cases[] = {
        {"empty text", "", 100, eExact, {""}},
        {"blanks", "one two three four five", 8 + 60, eAfterBreakCharacters, {}},
        {"punctuation", "alpha,beta;gamma/delta", 8 + 60, eAfterBreakCharacters, {}},
        {"long word", "abcdefghijklmnopqrstuvwxyz", 8 + 40, eInsideTheWord, {}},
        {"double line feed", "a\n\nb", 100, eExact, {"a\n", "\n", "b"}},
        {"control bytes dropped", "a\tb\rc\x01", 100, eExact, {"abc"}},
        {"invalid UTF-8 becomes '?'", "ab\xC3(\xFF", 100, eExact, {"ab?(?"}},
        {"no empty line before a too wide first character", "MM", 8 + 1, eExact, {"M", "M"}},
    };
    for (const Case& c : cases) {
        auto label = makeLabel(nullptr, c.width, 100, c.text);
        const Lines got = lines(*label);
        if (c.check == eExact) {
            EXPECT_EQ(got, c.expected) << c.what;
            continue;
        }
        ASSERT_GT(got.size(), 1u) << c.what;
        const UIA::Font* font = label->getPanelDrawer().getStateFont(*label, 1.0f);
        std::string joined;
        for (std::size_t i = 0; i < got.size(); ++i) {
            joined += got[i];
            EXPECT_FALSE(got[i].empty()) << c.what;
            EXPECT_LE(font->getTextWidth(got[i]), c.width - 8) << c.what << " line " << i;
            if (i + 1 == got.size())
                continue;
            if (c.check == eAfterBreakCharacters)
                EXPECT_NE(std::string(" ,;/").find(got[i].back()), std::string::npos) << c.what << " line " << i;
            else
                EXPECT_GT(font->getTextWidth(got[i] + got[i + 1].front()), c.width - 8) << c.what << " line " << i;
        }
        EXPECT_EQ(joined, c.text) << c.what;
    }
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
    };
    for (const Case& c : {Case{nullptr, 4096, 256}, Case{"right", 1, 256}, Case{"centre", 0, 0},
                          Case{"bottom", 4096, 16}, Case{"odd", 1, 256}}) {
        auto label = makeLabel(c.styleClass, 200, 100, "one\ntwo");
        EXPECT_EQ(label->getHorizontalAlignment(), c.horizontal);
        EXPECT_EQ(label->getVerticalAlignment(), c.vertical);
        const int step = lineStep(*label);
        RecordingCanvas canvas;
        paint(*label, canvas);
        ASSERT_EQ(canvas.texts.size(), 2u);
        const int expectedTop = c.vertical == 0 ? 4 + (92 - 2 * step) / 2 : c.vertical == 16 ? 4 + 92 - 2 * step : 4;
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
    paint(*label, fits);
    ASSERT_EQ(fits.texts.size(), 3u);
    EXPECT_EQ(fits.texts[2].text, "three");

    pane.setSize(200, 8 + 2 * step - 1);
    Testing::settle(pane);
    RecordingCanvas cut;
    paint(*label, cut);
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
