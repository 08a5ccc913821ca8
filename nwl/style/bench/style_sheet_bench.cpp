#include <benchmark/benchmark.h>

#include <string>

#include "nwl/style/StyleParser2.h"

namespace {

// A sheet of about `bytes` bytes using every kind of selector and value.
std::string makeSheet(std::size_t bytes)
{
    std::string sheet = "@define $accent rgb(12, 34, 56);\n@define $size 13px;\n";
    for (int i = 0; sheet.size() < bytes; ++i) {
        sheet += "Bar#Panel" + std::to_string(i) + " Button.Action:selected:over, tree<Bar>::Label[state=s" +
                 std::to_string(i % 7) + "] {\n";
        sheet += "    background-color: #10" + std::to_string(10 + i % 80) + "FF; /* comment */\n";
        sheet += "    foreground-color: $accent;\n    width: " + std::to_string(i % 500) + "px;\n";
        sheet += "    margin-left: -1px; line-spacing: 1.5; font-size: $size;\n";
        sheet += "    image: url(\"Bg_" + std::to_string(i) + ".png\"); horizontal-alignment: center;\n";
        sheet += "    draw_foreground: true; dye-color: rgba(1, 2, 3, 200);\n}\n";
    }
    return sheet;
}

void parseOneMegabyte(benchmark::State& state)
{
    const std::string sheet = makeSheet(1 << 20);
    for (auto _ : state) {
        QX::NWL::StyleSheet styles;
        QX::NWL::StyleParser2 parser(styles);
        benchmark::DoNotOptimize(parser.parseBuffer(sheet, "bench"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sheet.size()));
}
BENCHMARK(parseOneMegabyte)->Unit(benchmark::kMillisecond);

void loadDefaultSheet(benchmark::State& state)
{
    QX::NWL::StyleSheet styles;
    for (auto _ : state)
        benchmark::DoNotOptimize(QX::NWL::StyleParser2::processString(styles, QX::NWL::defaultStylesheetText));
}
BENCHMARK(loadDefaultSheet)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
