#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "gp/Region.h"

using namespace QX::GP;

namespace {

std::vector<Rect> randomRects(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> position(0, 1000);
    std::uniform_int_distribution<int> size(1, 80);
    std::vector<Rect> rects;
    for (int i = 0; i < count; ++i)
        rects.push_back(Rect::fromSize(position(random), position(random), size(random), size(random)));
    return rects;
}

Region regionOf(const std::vector<Rect>& rects)
{
    Region region;
    for (const Rect& r : rects)
        region.addRect(r);
    return region;
}

// Times `combine(result, a, b)` over two regions of state.range(0) random
// rectangles each.
template <typename Combine>
void runCombination(benchmark::State& state, unsigned seed, Combine combine)
{
    acquireRegionPool();
    const Region a = regionOf(randomRects(static_cast<int>(state.range(0)), seed));
    const Region b = regionOf(randomRects(static_cast<int>(state.range(0)), seed + 1));
    for (auto _ : state) {
        Region result;
        combine(result, a, b);
        benchmark::DoNotOptimize(result.count());
    }
    releaseRegionPool();
}

void BM_RegionUnion(benchmark::State& state)
{
    runCombination(state, 1, [](Region& result, const Region& a, const Region& b) { result.unite(a, b); });
}
BENCHMARK(BM_RegionUnion)->Arg(16)->Arg(64)->Arg(256);

void BM_RegionIntersection(benchmark::State& state)
{
    runCombination(state, 3, [](Region& result, const Region& a, const Region& b) { result.intersect(a, b); });
}
BENCHMARK(BM_RegionIntersection)->Arg(16)->Arg(64)->Arg(256);

}  // namespace
