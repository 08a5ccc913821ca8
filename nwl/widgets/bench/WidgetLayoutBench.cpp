// Line breaking of long paragraphs with the program's 12 px face: the wrap
// is one running sum of advances, so 100 KB should cost about ten times
// 10 KB. A wrap that re-measures the line for each code point is shown
// beside it for comparison.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "gp/Region.h"
#include "gp/Resources.h"
#include "gp/Stream.h"
#include "nwl/core/Library.h"
#include "nwl/core/Pane.h"
#include "nwl/widgets/Bar.h"
#include "nwl/widgets/Button.h"
#include "nwl/widgets/Label.h"
#include "nwl/widgets/LineBreaking.h"
#include "nwl/widgets/MultilineLabel.h"
#include "uia/picture/Font.h"

namespace {

using QX::NWL::DETAIL::breakLines;
using QX::NWL::DETAIL::tLineBreak;
using QX::UIA::Font;

constexpr int kWrapWidth = 520;

std::vector<std::uint8_t> readDefaultFont()
{
    std::ifstream file(std::string(QX_TEST_FONT_DIR) + "/default.ttf", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const Font& getFont()
{
    static const Font font = [] {
        QX::UIA::FontDescription description;
        description.resourceId = 0;
        description.name = "bench-default.ttf";
        description.baseSize = 12;
        return Font(std::make_shared<QX::GP::MemoryStream>(readDefaultFont()), description);
    }();
    return font;
}

std::string makeParagraph(std::size_t bytes)
{
    static const std::string sentence =
        "A firmware update is available for your keyboard; to update it now, click UPDATE, "
        "or later with QUIT. Do not disconnect it from USB while it is being updated. ";
    std::string text;
    while (text.size() < bytes)
        text += sentence;
    text.resize(bytes);
    return text;
}

void BM_WrapParagraph(benchmark::State& state)
{
    const Font& font = getFont();
    const std::string text = makeParagraph(std::size_t(state.range(0)) * 1024);
    std::vector<tLineBreak> breaks;
    for (auto _ : state) {
        breakLines(text, kWrapWidth, 1.0f, [&font](char32_t c) { return font.getGlyphAdvance(c); }, breaks);
        benchmark::DoNotOptimize(breaks.data());
    }
    state.counters["lines"] = double(breaks.size() - 1);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_WrapParagraph)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// The reference: the line's width measured anew for every code point.
void BM_WrapParagraphRemeasuring(benchmark::State& state)
{
    const Font& font = getFont();
    const std::string text = makeParagraph(std::size_t(state.range(0)) * 1024);
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        std::size_t lineStart = 0;
        std::size_t lastBlank = std::string::npos;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ' ')
                lastBlank = i;
            if (font.getTextWidth(std::string_view(text).substr(lineStart, i + 1 - lineStart)) > kWrapWidth) {
                lineStart = lastBlank != std::string::npos && lastBlank >= lineStart ? lastBlank + 1 : i;
                ++lines;
            }
        }
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = double(lines + 1);
}
BENCHMARK(BM_WrapParagraphRemeasuring)->Arg(10)->Unit(benchmark::kMicrosecond);

// A tree shaped like the updater's window: a title row, a body of five
// value rows, a message as wide as the window, a button row; 45 widgets
// over five levels.
std::shared_ptr<QX::NWL::Bar> makeWizardTree()
{
    using namespace QX::NWL;
    auto makeBar = [](std::uint32_t direction) {
        auto bar = std::make_shared<Bar>();
        bar->setup(direction, "Panel");
        return bar;
    };
    auto root = makeBar(Bar::eTopToBottom);
    auto title = makeBar(Bar::eLeftToRight);
    for (int i = 0; i < 3; ++i) {
        auto label = std::make_shared<Label>();
        label->setup("Firmware Updater", nullptr);
        title->addChild(label);
    }
    root->addChild(title);
    auto body = makeBar(Bar::eLeftToRight);
    auto values = makeBar(Bar::eTopToBottom);
    for (int row = 0; row < 5; ++row) {
        auto line = makeBar(Bar::eLeftToRight);
        for (const char* text : {"Installed firmware:", "1.2.3", " "}) {
            auto label = std::make_shared<Label>();
            label->setup(text, nullptr);
            line->addChild(label);
        }
        values->addChild(line);
    }
    body->addChild(values);
    auto message = std::make_shared<MultilineLabel>();
    message->setAutoHeight(true);
    message->setText("A firmware update is available. To update the firmware now, click UPDATE.");
    root->addChild(body);
    root->addChild(message);
    auto buttons = makeBar(Bar::eRightToLeft);
    for (const char* text : {"QUIT", "UPDATE", "RESCAN"}) {
        auto button = std::make_shared<Button>();
        button->setup(text, nullptr);
        buttons->addChild(button);
    }
    root->addChild(buttons);
    // Spacers and frames, as the window's pages have them.
    for (int i = 0; i < 13; ++i)
        root->addChild(makeBar(Bar::eLeftToRight));
    return root;
}

// With the library started, the message label wraps with the default face
// at every new width.
void BM_LayoutWizardTree(benchmark::State& state)
{
    QX::GP::registerResource(QX::GP::ResourceId(1), QX::UIA::kFontResourceType, readDefaultFont());
    QX::NWL::init();
    {
        QX::NWL::Pane pane;
        pane.setSize(627, 335);
        pane.setRootWidget(makeWizardTree());
        QX::GP::Region damage;
        pane.getDirtyRegion(damage);
        int width = 627;
        for (auto _ : state) {
            // A new width makes every bar lay its children out again.
            width = width == 627 ? 626 : 627;
            pane.setSize(width, 335);
            damage.clear();
            pane.getDirtyRegion(damage);
            benchmark::DoNotOptimize(damage.count());
        }
    }
    QX::NWL::exit();
}
BENCHMARK(BM_LayoutWizardTree)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
