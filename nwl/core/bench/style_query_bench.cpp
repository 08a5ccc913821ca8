#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>

#include "../../style/tests/FakeWidget.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/core/WidgetStyle.h"
#include "nwl/style/StyleNames.h"
#include "nwl/style/StyleParser2.h"
#include "nwl/style/StyleQuery.h"

// Counts allocations, so that the warm lookups can show they make none.
namespace {
std::atomic<std::size_t> allocations{0};
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

using namespace QX::NWL;
using QX::NWL::Testing::FakeWidget;
namespace N = StyleNames;

// The program's own style sheet.
std::string programSheet()
{
    std::ifstream file(std::string(QX_SOURCE_DIR) + "/resources/FirmwareUpdaterStyles.txt");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Ten times the program's rules: nine renamed copies after the original.
std::string largeSheet()
{
    const std::string sheet = programSheet();
    std::string large;
    for (int copy = 0; copy < 10; ++copy) {
        std::string renamed = sheet;
        if (copy > 0) {
            const std::string suffix = "Copy" + std::to_string(copy);
            for (std::size_t at = renamed.find("FirmwareUpdater"); at != std::string::npos;
                 at = renamed.find("FirmwareUpdater", at + suffix.size() + 1))
                renamed.insert(at + std::string("FirmwareUpdater").size(), suffix);
            // Constants are defined once, by the original.
            std::string withoutConstants;
            std::size_t start = 0;
            while (start < renamed.size()) {
                std::size_t end = renamed.find('\n', start);
                end = end == std::string::npos ? renamed.size() : end + 1;
                if (renamed.compare(start, 7, "@define") != 0)
                    withoutConstants.append(renamed, start, end - start);
                start = end;
            }
            renamed = withoutConstants;
        }
        large += renamed + "\n";
    }
    return large;
}

// The wizard's tree: 45 widgets, the action button six levels deep.
struct WizardTree {
    explicit WizardTree(StyleSheet& sheet) : root("Bar")
    {
        root.sheet = &sheet;
        root.name = qx::symbol("FirmwareUpdaterMainWidget");
        root.styleClass = root.name;
        auto add = [](FakeWidget& parent, const char* type, const char* name) -> FakeWidget& {
            auto& child = parent.addChild(type);
            child.name = qx::symbol(name);
            child.styleClass = child.name;
            return child;
        };
        auto& title = add(root, "Bar", "FirmwareUpdaterTitlePanel");
        add(title, "Label", "FirmwareUpdaterTitlePanelHeadline");
        add(title, "Button", "FirmwareUpdaterTitlePanelAbout");
        auto& body = add(root, "Bar", "FirmwareUpdaterBodyPanel");
        auto& firmware = add(body, "Bar", "FirmwareUpdaterFirmwarePanel");
        auto& firmwareBody = add(firmware, "Bar", "FirmwareUpdaterFirmwarePanelBody");
        auto& revisions = add(firmwareBody, "Bar", "FirmwareUpdaterFirmwarePanelRevisions");
        for (const char* kind : {"NewestFirmwareRevision", "InstalledFirmwareRevision", "SerialNumber"}) {
            auto& row = add(revisions, "Bar", "FirmwareUpdaterFirmwarePanelRevisionsRow");
            add(row, "Label", "Value").styleClass = qx::symbol(std::string("FirmwareUpdater") + kind + "Value");
            add(row, "Label", "Label").styleClass = qx::symbol(std::string("FirmwareUpdater") + kind + "Label");
        }
        auto& device = add(firmwareBody, "Bar", "FirmwareUpdaterFirmwarePanelDeviceImage");
        device.attributes[qx::symbol("product")] = "HVX61m2";
        add(device, "Label", "FirmwareUpdaterFirmwarePanelDeviceImageOverlay");
        auto& info = add(body, "Bar", "FirmwareUpdaterInfoPanel");
        info.attributes[qx::symbol("background")] = "info";
        add(info, "Label", "FirmwareUpdaterInfoPanelIcon").attributes[qx::symbol("icon")] = "error";
        add(info, "SpinningProgressWheel", "FirmwareUpdaterSpinningProgressWheel");
        auto& labelBar = add(info, "Bar", "FirmwareUpdaterInfoPanelLabelBar");
        add(labelBar, "MultilineLabel", "FirmwareUpdaterInfoPanelLabel");
        auto& buttons = add(body, "Bar", "FirmwareUpdaterButtonPanel");
        auto& action = add(buttons, "Button", "FirmwareUpdaterButtonAction");
        action.attributes[qx::symbol("hasFocus")] = "true";
        add(buttons, "Button", "FirmwareUpdaterButtonQuit").attributes[qx::symbol("hasFocus")] = "false";
        // A deeper spot for the measured button: six levels below the root.
        auto& deep = add(add(add(add(add(root, "Bar", "FirmwareUpdaterOverlay"), "Bar", "FirmwareUpdaterOverlayPanel"),
                                 "Bar", "FirmwareUpdaterAboutInfos"),
                             "Bar", "FirmwareUpdaterAboutContributors"),
                         "Bar", "FirmwareUpdaterButtonPanel");
        button = &add(deep, "Button", "FirmwareUpdaterButtonAction");
        button->attributes[qx::symbol("hasFocus")] = "true";
        for (int line = 0; line < 12; ++line)
            add(deep, "Label", "FirmwareUpdaterAboutContributorsLine");
        collect(root);
    }
    void collect(FakeWidget& widget)
    {
        all.push_back(&widget);
        for (auto& child : widget.children)
            collect(*child);
    }
    FakeWidget root;
    FakeWidget* button = nullptr;
    std::vector<FakeWidget*> all;
};

// What a widget's style application reads besides its record.
void applyStyle(StyleManager& manager, const FakeWidget& widget)
{
    static const qx::symbol geometry[] = {
        N::kMargin,       N::kMarginLeft,        N::kMarginRight,      N::kMarginTop,        N::kMarginBottom,
        N::kOuterMargin,  N::kOuterMarginLeft,   N::kOuterMarginRight, N::kOuterMarginTop,   N::kOuterMarginBottom,
        N::kMinWidth,     N::kMaxWidth,          N::kMinHeight,        N::kMaxHeight,        N::kWidth,
        N::kHeight,       N::kX,                 N::kY,                N::kZIndex,           N::kSpacing,
        N::kLineSpacing};
    const std::int32_t none = 0;
    const bool no = false;
    manager.getWidgetStyle(widget).update();
    for (const qx::symbol name : geometry)
        benchmark::DoNotOptimize(findIntProperty(widget, name, &none));
    benchmark::DoNotOptimize(findBoolProperty(widget, N::kDrawForeground, &no));
    benchmark::DoNotOptimize(findBoolProperty(widget, N::kPictureIncludesMargin, &no));
    benchmark::DoNotOptimize(findProperty(widget, N::kPicture));
}

struct Fixture {
    explicit Fixture(bool large)
    {
        StyleParser2::loadStylesheet(
            container.getStyleManager().getStyleSheet(),
            std::make_shared<QX::GP::MemoryStream>([&] {
                const std::string text = large ? largeSheet() : programSheet();
                return std::vector<std::uint8_t>(text.begin(), text.end());
            }()),
            "FirmwareUpdaterStyles.txt", container.makeResourceDeriver());
    }
    std::size_t countRules()
    {
        std::size_t count = 0;
        for (const auto& [name, rules] : sheet().getRuleIndex())
            count += rules.size();
        return count;
    }
    ManagerContainer container;
    StyleManager& manager() { return container.getStyleManager(); }
    StyleSheet& sheet() { return manager().getStyleSheet(); }
};

void buttonCold(benchmark::State& state)
{
    Fixture fixture(state.range(0) != 0);
    WizardTree tree(fixture.sheet());
    for (auto _ : state) {
        fixture.sheet().clearCaches();
        applyStyle(fixture.manager(), *tree.button);
    }
}

void buttonWarm(benchmark::State& state)
{
    Fixture fixture(state.range(0) != 0);
    WizardTree tree(fixture.sheet());
    applyStyle(fixture.manager(), *tree.button);
    for (auto _ : state)
        applyStyle(fixture.manager(), *tree.button);
}

void treeCold(benchmark::State& state)
{
    Fixture fixture(state.range(0) != 0);
    WizardTree tree(fixture.sheet());
    if (fixture.countRules() < 100)
        state.SkipWithError("the program's style sheet was not loaded");
    for (auto _ : state) {
        fixture.sheet().clearCaches();
        for (const FakeWidget* widget : tree.all)
            applyStyle(fixture.manager(), *widget);
    }
    state.counters["widgets"] = static_cast<double>(tree.all.size());
    state.counters["rules"] = static_cast<double>(fixture.countRules());
}

void paletteWarm(benchmark::State& state)
{
    Fixture fixture(state.range(0) != 0);
    WizardTree tree(fixture.sheet());
    tree.button->flags = 0x70;
    WidgetStyle& style = fixture.manager().getWidgetStyle(*tree.button);
    style.update();
    const std::size_t before = allocations.load();
    for (auto _ : state) {
        for (std::int32_t role = 0; role < 7; ++role)
            benchmark::DoNotOptimize(style.findColor(role, false, 0));
    }
    state.counters["allocations"] = static_cast<double>(allocations.load() - before);
}

// 0: the program's sheet; 1: ten times as many rules.
BENCHMARK(buttonCold)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(buttonWarm)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(treeCold)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(paletteWarm)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
