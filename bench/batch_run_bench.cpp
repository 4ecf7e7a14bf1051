// Whole batch runs as the batch window starts them: over 50 and then 500 generated
// drawings (about 100 kB each, every one with its own title), ten purge and ten audit
// passes, an attribute edit and a copy named from the title block. Reports drawings
// per second and the process's peak memory after the run: with memory flat, the peak
// after 500 drawings is the peak after 50.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "batch/run.h"
#include "drawing/test_drawings.h"

namespace {

namespace fs = std::filesystem;
using namespace drawing;
using namespace batch;

double peakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// `count` drawings in a fresh folder.
std::vector<std::string> writeDrawings(const fs::path& folder, int count) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::string> paths;
    drawing::testing::SampleOptions o;
    o.fillerEntities = 800;
    for (int i = 0; i < count; ++i) {
        o.title = "图" + std::to_string(1000 + i);
        paths.push_back((folder / ("drawing-" + std::to_string(i) + ".dwg")).string());
        drawing::testing::writeFile(paths.back(), drawing::testing::sampleDrawing(o));
    }
    return paths;
}

void batchRun(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const fs::path folder =
        fs::temp_directory_path() / ("bench_batch_run_" + std::to_string(::getpid()));
    BatchSettings settings;
    settings.purge = settings.audit = settings.editAttributes = settings.renameCopy = true;
    settings.block = "TITLE";
    settings.tags = {"REV"};
    settings.values = {"C"};
    settings.name.addTag("NAME");
    settings.name.addConstant("-");
    settings.name.addTag("REV");
    settings.errorLog = (folder / "errlogoqrz.txt").string();
    size_t errors = 0;
    BatchObserver observer;
    observer.error = [&](const std::string&, const std::string&) { ++errors; };
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<std::string> drawings = writeDrawings(folder, count);
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
