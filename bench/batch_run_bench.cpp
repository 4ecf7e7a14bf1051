// Whole batch runs as the batch window starts them: over 50 and then 500 generated
// drawings (about 100 kB each, every one with its own title), ten purge and ten audit
// passes, an attribute edit and a copy named from the title block. Reports drawings
// per second and the process's peak memory after the run: with memory flat, the peak
// after 500 drawings is the peak after 50.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "bench/batch_bench_run.h"

namespace {

namespace fs = std::filesystem;
using namespace drawing;
using namespace batch;

double peakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void batchRun(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const fs::path folder =
        fs::temp_directory_path() / ("bench_batch_run_" + std::to_string(::getpid()));
    const BatchSettings settings = bench::windowRunSettings((folder / "errlogoqrz.txt").string());
    size_t errors = 0;
    BatchObserver observer;
    observer.error = [&](const std::string&, const std::string&) { ++errors; };
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<std::string> drawings =
            bench::writeTitledDrawings(folder, count, 800, "drawing-");
        state.ResumeTiming();
        AcadApplication application;
        runBatch(application, drawings, settings, observer);
    }
    if (errors > 0) state.SkipWithError("the run logged errors");
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["drawings/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * count), benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = peakMegabytes();
    fs::remove_all(folder);
}

BENCHMARK(batchRun)->Arg(50)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
