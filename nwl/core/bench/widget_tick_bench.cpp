#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "gp/Region.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/core/Pane.h"
#include "nwl/core/Widget.h"
#include "nwl/style/StyleParser2.h"
#include "nwl/style/StyleSheet.h"

namespace {

using namespace QX;

class BenchWidget : public NWL::Widget {
public:
    std::string_view getTypeName() const override { return "BenchWidget"; }
    // A spinning wheel: re-armed every second tick.
    void onTimer() override {
        if (spins) {
            markDirty();
            setTimerInterval(2);
        }
    }
    bool spins = false;
};

// Rules of the kinds the wizard's sheet has: by type, by name, by attribute.
const char* const kSheet = R"(
BenchWidget { margin: 2; }
BenchWidget#w3 { width: 100; height: 20; }
BenchWidget BenchWidget#w7 { outer-margin: 1; }
BenchWidget[state=ok] { height: 30; margin-left: 4; }
BenchWidget[state=fail] { height: 28; }
BenchWidget#w44:over { margin: 3; }
)";

// A wizard-sized tree: 45 widgets on six levels, one of them ticking.
struct WizardTree {
    WizardTree() {
        GP::acquireRegionPool();
        // The library's container keeps the per-widget style records, as in
        // the program.
        container = std::make_unique<NWL::ManagerContainer>();
        NWL::setManagerContainer(container.get());
        NWL::StyleParser2::processString(container->getStyleManager().getStyleSheet(), kSheet);
        pane = std::make_unique<NWL::Pane>();
        pane->setSize(627, 335);
        auto root = std::make_shared<BenchWidget>();
        std::vector<std::shared_ptr<BenchWidget>> level{root};
        const int fanOut[] = {3, 2, 2, 1, 1};
        int count = 1;
        for (int depth = 0; depth < 5; ++depth) {
            std::vector<std::shared_ptr<BenchWidget>> next;
            for (const auto& parent : level) {
                for (int i = 0; i < fanOut[depth] && count < 45; ++i, ++count) {
                    auto child = std::make_shared<BenchWidget>();
                    child->setExplicitlyPlaced(true);
                    child->setPosition(4 * i, 4 * depth);
                    child->setSize(120 - 15 * depth, 40);
                    parent->addChild(child, "w" + std::to_string(count));
                    next.push_back(child);
                }
            }
            level = std::move(next);
        }
        changing = level.front();
        spinner = level.back();
        spinner->spins = true;
        spinner->setTimerInterval(2);
        pane->setRootWidget(root, "wizard");
        tick();
    }
    ~WizardTree() {
        pane.reset();
        changing.reset();
        spinner.reset();
        NWL::setManagerContainer(nullptr);
        container.reset();
        GP::releaseRegionPool();
    }

    // What the window does on each 40 ms timer tick.
    void tick() {
        pane->dispatchTimers();
        damage.clear();
        pane->getDirtyRegion(damage);
    }

    std::unique_ptr<NWL::ManagerContainer> container;
    std::unique_ptr<NWL::Pane> pane;
    std::shared_ptr<BenchWidget> changing;
    std::shared_ptr<BenchWidget> spinner;
    GP::Region damage;
};

void idleTick(benchmark::State& state) {
    WizardTree tree;
    tree.spinner->spins = false;
    tree.tick();
    tree.tick();
    for (auto _ : state) {
        tree.tick();
        benchmark::DoNotOptimize(tree.damage.count());
    }
}
BENCHMARK(idleTick)->Unit(benchmark::kMicrosecond);

void tickAfterAttributeChange(benchmark::State& state) {
    WizardTree tree;
    bool flip = false;
    for (auto _ : state) {
        tree.changing->setAttribute("state", (flip = !flip) ? "ok" : "fail");
        tree.tick();
        benchmark::DoNotOptimize(tree.damage.count());
    }
}
BENCHMARK(tickAfterAttributeChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
