#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "nwl/style/ErrorHandlers.h"
#include "nwl/widgets/Bar.h"
#include "nwl/widgets/Label.h"
#include "uia/picture/Font.h"
#include "WidgetsTestSupport.h"

namespace QX::NWL {
namespace {

const char* const kSheet =
    "Label { foreground-color: #000000; margin: 2; }\n"
    "Label.nofont { font: no; }\n"
    "Bar#styled { width: 50; }\n"
    "Bar#long { height: 30; }\n";

TEST(Label, SameTextChangesNothing)
{
    Testing::StyledPane pane(kSheet);
    auto label = std::make_shared<Label>();
    label->setup("text", nullptr);
    pane.setSize(100, 20);
    pane.setRootWidget(label);
    Testing::settle(pane);
    label->takeDirtyMask();
    label->setText("text");
    EXPECT_EQ(label->peekDirtyMask(), 0u);
    label->setText("te\xFFxt");
    EXPECT_EQ(label->getText(), "te?xt");
    label->takeDirtyMask();
    label->setText("te\xFExt");
    EXPECT_EQ(label->peekDirtyMask(), 0u);
}

TEST(Label, SizesToItsTextTurnedOrNot)
{
    Testing::StyledPane pane(kSheet);
    auto bar = std::make_shared<Bar>();
    bar->setup(Bar::eTopToBottom, nullptr);
    auto label = std::make_shared<Label>();
    label->setup("ab\ncd\nlonger", nullptr);
    label->setMargins(2, 2, 2, 2);  // as the sheet says
    label->setExplicitlyPlaced(true);
    bar->addChild(label);
    pane.setSize(300, 300);
    pane.setRootWidget(bar);
    Testing::settle(pane);
    const UIA::Font* font = label->getPanelDrawer().getStateFont(*label, 1.0f);
    const int along = font->getTextWidth("longer");
    const int across = 3 * font->getLineHeight();

    label->setSizeToText(true);
    EXPECT_EQ(label->getSize(), (Size{2 + along + 2, 2 + across + 2}));
    label->setVertical(true);
    EXPECT_EQ(label->getSize(), (Size{2 + across + 2, 2 + along + 2}));
}

TEST(Label, FontNoDrawsWithTheDefaultFont)
{
    Testing::StyledPane pane(kSheet);
    auto label = std::make_shared<Label>();
    label->setup("text", "nofont");
    pane.setSize(100, 20);
    pane.setRootWidget(label);
    Testing::settle(pane);
    Testing::RecordingCanvas canvas;
    Testing::paintWidget(*label, canvas);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "text");
}

TEST(BarStyle, ReportsASizeBothStyledAndComputed)
{
    std::vector<std::string> messages;
    const std::size_t handler = addErrorHandler([&messages](const std::string& m) { messages.push_back(m); });
    Testing::StyledPane pane(kSheet);
    auto bar = std::make_shared<Bar>();
    bar->setup(Bar::eTopToBottom, nullptr);
    bar->useBreadthFromChildren();
    auto computed = std::make_shared<Bar>();
    computed->setup(Bar::eTopToBottom, nullptr);
    computed->setLengthComputed(true);
    computed->setFlexibleElement(0);
    auto root = std::make_shared<Bar>();
    root->setup(Bar::eLeftToRight, nullptr);
    root->addChild(bar, "styled");
    root->addChild(computed, "long");
    pane.setSize(100, 100);
    pane.setRootWidget(root);
    Testing::settle(pane);
    removeErrorHandler(handler);
    const std::vector<std::string> expected{
        "Layout contradiction - width of Bar styled is given at line (StyleParser2::processString):3 of the "
        "stylesheet but also computed automatically by styleBreadthXXX!!!",
        " Layout contradiction - Bar long has a flexible element, but is also computed automatically by "
        "styleLengthXXX!!!",
        "Layout contradiction - height of Bar long is given at line (StyleParser2::processString):4 of the "
        "stylesheet but also computed automatically by styleLengthXXX!!!"};
    EXPECT_EQ(messages, expected);
}

}  // namespace
}  // namespace QX::NWL
