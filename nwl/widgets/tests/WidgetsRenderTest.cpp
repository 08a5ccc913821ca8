// The widgets drawn for real on the background canvas: the picture goes to
// the build tree for a person to look at, and the text of every
// aligned label is checked to stay inside its panel.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PngTestSupport.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/widgets/Bar.h"
#include "nwl/widgets/Button.h"
#include "nwl/widgets/Label.h"
#include "nwl/widgets/MultilineLabel.h"
#include "uia/picture/Picture.h"
#include "WidgetsTestSupport.h"

namespace QX::NWL {
namespace {

// Colours and alignments come from the sheet; sizes and margins are set by
// the test itself.
const char* const kSheet =
    "Bar { background-color: #202830; spacing: 4; }\n"
    "Label { background-color: #E0E0E0; foreground-color: #101010; }\n"
    "Label.right { horizontal-alignment: right; }\n"
    "Label.centre { horizontal-alignment: center; }\n"
    "Button { background-color: #3070C0; foreground-color: #FFFFFF; horizontal-alignment: center; }\n"
    "MultilineLabel { background-color: #F0F0D0; foreground-color: #000000; }\n"
    "MultilineLabel.cut { horizontal-alignment: center; vertical-alignment: center; }\n"
    "MultilineLabel.right { horizontal-alignment: right; }\n";

template <typename W>
std::shared_ptr<W> sized(std::shared_ptr<W> widget, std::int32_t height, std::int32_t margin)
{
    if (height > 0) {
        widget->setMinimumSize({0, height});
        widget->setMaximumSize({0, height});
    }
    widget->setMargins(margin, margin, margin, margin);
    return widget;
}

// The columns of the widget's rectangle where a dark text pixel lies.
std::pair<int, int> inkColumns(const UIA::Picture& picture, const Widget& widget)
{
    const GP::Rect r = widget.getAbsoluteRect();
    int first = -1;
    int last = -1;
    for (int y = r.top; y < r.bottom; ++y) {
        const std::uint32_t* row = picture.getRow(std::uint32_t(y));
        for (int x = r.left; x < r.right; ++x) {
            if ((row[x] & 0xFF) < 0x80) {
                first = first < 0 ? x : std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

TEST(WidgetsRender, AlignedTextStaysInsideItsPanel)
{
    Testing::StyledPane pane(kSheet);
    auto root = std::make_shared<Bar>();
    root->setup(Bar::eTopToBottom, nullptr);
    root->setMargins(6, 6, 6, 6);
    std::vector<std::shared_ptr<Label>> labels;
    for (const char* styleClass : {"", "right", "centre"}) {
        auto label = std::make_shared<Label>();
        label->setup(std::string("Revision 1.4.0 ") + styleClass, *styleClass ? styleClass : nullptr);
        root->addChild(sized(label, 20, 4));
        labels.push_back(label);
    }
    auto button = std::make_shared<Button>();
    button->setup("UPDATE", nullptr);
    root->addChild(sized(button, 24, 0));
    auto cut = std::make_shared<MultilineLabel>();
    cut->setStyleClass("cut");
    cut->setText("A firmware update is available for your keyboard. To update the firmware now, "
                 "click UPDATE. To update it later, click QUIT.");
    root->addChild(sized(cut, 40, 4));
    auto grown = std::make_shared<MultilineLabel>();
    grown->setStyleClass("right");
    grown->setAutoHeight(true);
    grown->setText("Please stand by while your keyboard is being updated and do not disconnect it from USB.");
    root->addChild(sized(grown, 0, 4));

    pane.setSize(260, 240);
    pane.setRootWidget(root);
    Testing::settle(pane);
    BackgroundDrawingCanvas canvas;
    canvas.setSize(260, 240);
    pane.render(canvas, GP::Region(), 1);
    EXPECT_TRUE(UIA::Test::writePng(canvas.getBuffer(), QX_TEST_RENDER_DIR "/widgets_render.png"));

    const UIA::Picture& picture = canvas.getBuffer();
    for (const auto& label : labels) {
        const auto [first, last] = inkColumns(picture, *label);
        const GP::Rect r = label->getAbsoluteRect();
        ASSERT_GE(first, 0) << label->getText();
        EXPECT_GE(first, r.left + 4) << label->getText();
        EXPECT_LT(last, r.right - 4) << label->getText();
    }
    const auto [first, last] = inkColumns(picture, *grown);
    EXPECT_LT(last, grown->getAbsoluteRect().right - 4);
    EXPECT_GT(grown->getLineCount(), 1u);
}

}  // namespace
}  // namespace QX::NWL
