#include <benchmark/benchmark.h>

#include <string>

#include "gp/Text.h"

using namespace QX::GP;

namespace {

void BM_Utf8ToWideAscii(benchmark::State& state)
{
    const std::string text(static_cast<std::size_t>(state.range(0)), 'a');
    for (auto _ : state)
        benchmark::DoNotOptimize(utf8ToWide(text));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Utf8ToWideAscii)->Arg(64)->Arg(4096);

void BM_Utf8ToWideMixed(benchmark::State& state)
{
    std::string text;
    while (text.size() < static_cast<std::size_t>(state.range(0)))
        text += "Gr\xC3\xBC\xC3\x9F \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB9 ";
    for (auto _ : state)
        benchmark::DoNotOptimize(utf8ToWide(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToWideMixed)->Arg(64)->Arg(4096);

}  // namespace

BENCHMARK_MAIN();
