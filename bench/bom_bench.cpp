// The parts-list report over a generated 100 000-line list, whole: lines per second.
#include <benchmark/benchmark.h>

#include <string>

#include "materiallist/bom.h"

namespace {

// A parts list in the mix a drawing's list has: sections with lengths, plates, pipes,
// fasteners with quantities, and a few lines smart fill rejects.
std::string partsList(int lines) {
    const char* forms[] = {
        "L63x40x5-%d*4",
        "HW250x250x9x14-%d",
        "U25a-%d*2",
        "channel 250x78x7-%d",
        "plate 10x1500x%d",
        "pipe 89x4.5---%d*3",
        "I20b-%d",
        "L50x5-%d",
        "bolt M20---%d ×10",
        "nut M20*%d",
        "washer 40x21x3*%d",
        "pin 4x%d",
        "rod 20-%d",
        "HN400x150x8x13-%d*6",
        "flat bar 10x100x%d",
        "see drawing %d",
    };
    std::string text;
    char line[64];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, forms[i % 16], 100 + (i * 37) % 12000);
        text += line;
        text += '\n';
    }
    return text;
}

void bomReport(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string list = partsList(lines);
    std::string out;
    for (auto _ : state) {
        out.clear();
        const materiallist::BomSummary s = materiallist::appendBomReport(list, out);
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(bomReport)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
