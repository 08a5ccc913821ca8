#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../../core/tests/TestResources.h"
#include "gp/Region.h"
#include "gp/Resources.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/core/Pane.h"
#include "nwl/core/Widget.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"

namespace QX::NWL {
namespace {

constexpr std::int32_t kWidth = 627;
constexpr std::int32_t kHeight = 335;

// A widget that paints through a function, as the library's panels do:
// once for each rectangle of the paint region, clipped to it.
class PaintedWidget : public Widget {
public:
    using tPaint = std::function<void(const PaintedWidget&, PaintContext&)>;
    explicit PaintedWidget(tPaint paint) : paint_(std::move(paint)) {}
    std::string_view getTypeName() const override { return "Painted"; }
    void paint(PaintContext& context) override {
        for (const GP::RegionNode* node = context.region.first(); node; node = node->next) {
            GP::Rect part = node->rect;
            part.intersect(context.rect);
            if (part.isEmpty()) continue;
            part.offset(-context.rect.left, -context.rect.top);
            context.canvas.setClipRect(part);
            paint_(*this, context);
            context.canvas.resetClipRect();
        }
    }

private:
    tPaint paint_;
};

// A strip of three frames with fixed borders, drawn by code: a rounded
// panel whose edges fade out.
std::shared_ptr<UIA::Picture> makeStrip() {
    auto strip = std::make_shared<UIA::Picture>();
    strip->resize(48, 3 * 32, true);
    for (std::uint32_t y = 0; y < strip->getHeight(); ++y)
        for (std::uint32_t x = 0; x < strip->getWidth(); ++x) {
            const std::uint32_t edge = std::min({x, y % 32, 47 - x, 31 - y % 32});
            const std::uint32_t alpha = edge >= 8 ? 0xFF : edge * 32;
            strip->getRow(y)[x] = alpha << 24 | (0x30 + y) << 16 | 0x6080;
        }
    strip->setOption(true);
    strip->setAnimationCount(3);
    strip->setFixedVertical(true);
    strip->setFixedHorizontal(true);
    strip->setFixedTop(8);
    strip->setFixedBottom(8);
    strip->setFixedLeft(8);
    strip->setFixedRight(8);
    strip->updateRegionMasks();
    return strip;
}

UIA::FontDescription benchFont(std::int32_t size) { return Testing::defaultFont(size); }

// The updater's window as the canvas sees it: a filled root, eight strip
// panels, twelve labels, two buttons and one multi-line text.
struct RegionPoolHold {
    RegionPoolHold() { GP::acquireRegionPool(); }
    ~RegionPoolHold() { GP::releaseRegionPool(); }
};

struct WizardLikeTree {
    WizardLikeTree() {
        strip = makeStrip();
        auto place = [](const std::shared_ptr<Widget>& widget, GP::Rect rect) {
            widget->setExplicitlyPlaced(true);
            widget->setPosition(rect.left, rect.top);
            widget->setSize(std::int32_t(rect.width()), std::int32_t(rect.height()));
        };
        auto root = std::make_shared<PaintedWidget>([](const PaintedWidget& w, PaintContext& context) {
            context.canvas.fillRectBlended({0, 0, w.getWidth(), w.getHeight()}, 0xFF202428);
        });
        for (int i = 0; i < 8; ++i) {
            auto panel = std::make_shared<PaintedWidget>([this, i](const PaintedWidget& w, PaintContext& context) {
                context.canvas.drawPictureInRect({0, 0, w.getWidth(), w.getHeight()}, *strip, std::uint32_t(i % 3),
                                                 nullptr, true);
            });
            place(panel, GP::Rect::fromSize(8 + (i % 2) * 306, 8 + (i / 2) * 80, 300, 72));
            root->addChild(panel, "panel" + std::to_string(i));
        }
        auto text = [this](std::string value, std::uint32_t flags) {
            return std::make_shared<PaintedWidget>([this, value, flags](const PaintedWidget& w, PaintContext& context) {
                context.canvas.drawText(value, {0, 0, w.getWidth(), w.getHeight()}, labelFont, 0xFFE0E0E0, flags,
                                        false);
            });
        };
        for (int i = 0; i < 12; ++i) {
            auto label = text("Installed firmware " + std::to_string(i), UIA::kAlignLeft);
            place(label, GP::Rect::fromSize(20 + (i % 2) * 306, 14 + (i / 2) * 52, 280, 20));
            root->addChild(label, "label" + std::to_string(i));
            labels.push_back(label);
        }
        for (int i = 0; i < 2; ++i) {
            auto button = std::make_shared<PaintedWidget>([this](const PaintedWidget& w, PaintContext& context) {
                context.canvas.drawPictureInRect({0, 0, w.getWidth(), w.getHeight()}, *strip, 1, nullptr, true);
                context.canvas.drawText("UPDATE", {0, 0, w.getWidth(), w.getHeight()}, labelFont, 0xFFFFFFFF, 0,
                                        false);
            });
            place(button, GP::Rect::fromSize(400 + i * 110, 290, 100, 32));
            root->addChild(button, "button" + std::to_string(i));
        }
        auto lines = text("A firmware update is available for your keyboard.\nTo update the firmware now,\n"
                          "click UPDATE. To update the firmware later,\nclick QUIT.",
                          UIA::kAlignLeft | UIA::kAlignTop);
        place(lines, GP::Rect::fromSize(20, 240, 360, 80));
        root->addChild(lines, "lines");

        pane.setRootWidget(root, "root");
        pane.setSize(kWidth, kHeight);
        canvas.setSize(kWidth, kHeight);
        GP::Region settle;
        pane.getDirtyRegion(settle);
    }
    RegionPoolHold pool;
    std::shared_ptr<UIA::Picture> strip;
    UIA::Font labelFont{benchFont(12)};
    std::vector<std::shared_ptr<Widget>> labels;
    Pane pane;
    BackgroundDrawingCanvas canvas;
};

void FullRepaint(benchmark::State& state) {
    WizardLikeTree tree;
    const GP::Region everything;
    for (auto _ : state) {
        tree.pane.render(tree.canvas, everything, 3);
        benchmark::DoNotOptimize(tree.canvas.getPixels());
    }
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMicrosecond);

// The floor: copying one frame of the same size.
void FrameCopy(benchmark::State& state) {
    std::vector<std::uint32_t> from(std::size_t(kWidth) * kHeight, 0xFF202428);
    std::vector<std::uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FrameCopy)->Unit(benchmark::kMicrosecond);

// One window tick after one label changed: collect its damage and repaint it.
void OneLabelTick(benchmark::State& state) {
    WizardLikeTree tree;
    tree.pane.render(tree.canvas, GP::Region(), 3);
    GP::Region damage;
    for (auto _ : state) {
        tree.labels[5]->markDirty();
        damage.clear();
        tree.pane.getDirtyRegion(damage);
        tree.pane.render(tree.canvas, damage, 3);
        benchmark::DoNotOptimize(tree.canvas.getPixels());
    }
}
BENCHMARK(OneLabelTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace QX::NWL

BENCHMARK_MAIN();
