// Style-sheet parsing, side by side with a packaged CSS parser reading the
// same bytes: ours is the reported time, "speedup" is the peer's time over
// ours (above 1: we are faster).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#ifdef QX_HAVE_LITEHTML
#include <litehtml.h>
#endif

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

using Clock = std::chrono::steady_clock;

double parseOurs(const std::string& sheet)
{
    const auto start = Clock::now();
    QX::NWL::StyleSheet styles;
    QX::NWL::StyleParser2 parser(styles);
    benchmark::DoNotOptimize(parser.parseBuffer(sheet, "bench"));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The peer reads the sheet without a document: our sheets have no media
// queries or imports for it to resolve.
double parsePeer(const std::string& sheet)
{
#ifdef QX_HAVE_LITEHTML
    const auto start = Clock::now();
    litehtml::css css;
    css.parse_stylesheet(sheet.c_str(), "", nullptr, nullptr);
    benchmark::DoNotOptimize(css.selectors().size());
    return std::chrono::duration<double>(Clock::now() - start).count();
#else
    (void)sheet;
    return 0;
#endif
}

void parseSheet(benchmark::State& state)
{
    const std::string sheet = makeSheet(std::size_t(state.range(0)) << 20);
    double ours = 0, peer = 0;
    for (auto _ : state) {
        const double oursTime = parseOurs(sheet);
        ours += oursTime;
        peer += parsePeer(sheet);
        state.SetIterationTime(oursTime);
    }
    const double n = double(state.iterations() > 0 ? state.iterations() : 1);
    state.counters["ours_ns"] = ours / n * 1e9;
    state.counters["peer_ns"] = peer / n * 1e9;
    state.counters["speedup"] = ours > 0 ? peer / ours : 0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sheet.size()));
}
BENCHMARK(parseSheet)->Arg(1)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);

// Lines that each fail inside "url(...)" just after a "/*" that some rule
// tries: once read to the end of the text at every try (time growing with
// the square of the size), now found from the list of comment ends.
std::string makeHostileCommentSheet(std::size_t bytes, bool closed)
{
    std::string sheet;
    while (sheet.size() < bytes)
        sheet += "@import url(\"a\"//\r/*\n";
    return closed ? sheet + "*/" : sheet;
}

void parseHostileComments(benchmark::State& state)
{
    const std::string sheet = makeHostileCommentSheet(480 << 10, state.range(0) != 0);
    for (auto _ : state) {
        QX::NWL::StyleSheet styles;
        QX::NWL::StyleParser2 parser(styles);
        benchmark::DoNotOptimize(parser.parseBuffer(sheet, "bench"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sheet.size()));
}
BENCHMARK(parseHostileComments)->Arg(0)->Arg(1)->ArgName("closed")->Unit(benchmark::kMillisecond);

// One style of n selectors and n declarations: n * n rules.
void indexOneWideStyle(benchmark::State& state)
{
    const auto n = static_cast<int>(state.range(0));
    std::string sheet;
    for (int i = 0; i < n; ++i)
        sheet += (i ? ", " : "") + std::string("Bar.c Label#s") + std::to_string(i) + "[a=b]";
    sheet += " {\n";
    for (int i = 0; i < n; ++i)
        sheet += "p" + std::to_string(i) + ": " + std::to_string(i) + ";\n";
    sheet += "}\n";
    QX::NWL::StyleSheet styles;
    QX::NWL::StyleParser2 parser(styles);
    parser.parseBuffer(sheet, "bench");
    for (auto _ : state)
        styles.buildRuleIndex(parser.getStyles());
    state.counters["rules"] = static_cast<double>(n) * n;
}
BENCHMARK(indexOneWideStyle)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void loadDefaultSheet(benchmark::State& state)
{
    QX::NWL::StyleSheet styles;
    for (auto _ : state)
        benchmark::DoNotOptimize(QX::NWL::StyleParser2::processString(styles, QX::NWL::defaultStylesheetText));
}
BENCHMARK(loadDefaultSheet)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
