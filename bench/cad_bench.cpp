// The drawing engine on generated drawings of 1, 10 and 50 MB: open, ten purge passes,
// ten audit passes, an attribute edit and the save, as the batch run does for each
// drawing; beside it a plain copy of the same file (read, write, flush to disk). For
// the 10 MB drawing also: the same batch work with a plot to a PDF on A4 as the batch
// run plots, the plot of the open drawing alone (what plotting adds to a run), and its
// scene alone (the plot's share that does not depend on the device). Then the opening
// of each DWG test drawing (or of each DWG in $TOLVANE_DWG_BENCH_DIR) against the
// opening of the DXF the drawing program wrote of the same drawing (X_ascii.dxf beside
// X.dwg), and the batch work on each of the pair (open, ten purge and ten audit passes,
// the save as DXF). All report the file's bytes per second; their CPU time is the
// process's, over all its threads.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "batch/attribute_edit.h"
#include "drawing/document.h"
#include "drawing/test_drawings.h"
#include "dwg/dwg_format.h"
#include "plot/plotter.h"
#include "plot/scene_builder.h"

namespace {

namespace fs = std::filesystem;
using namespace drawing;
using namespace batch;

// A GBK drawing of about `megabytes` MB, written once per size into a folder removed
// when the benchmarks end.
const std::string& drawingOf(int megabytes) {
    static const drawing::testing::ScratchFolder dir("bench_cad_");
    static std::map<int, std::string> paths;
    auto it = paths.find(megabytes);
    if (it != paths.end()) return it->second;
    drawing::testing::SampleOptions o;
    o.version = "AC1018";
    o.nestedBlocks = 10;
    o.fillerEntities = 1;
    const size_t perEntity = drawing::testing::sampleDrawing(o).size();
    o.fillerEntities = 1000;
    const size_t thousand = drawing::testing::sampleDrawing(o).size() - perEntity;
    o.fillerEntities = static_cast<int>(static_cast<double>(megabytes) * 1e6 / (thousand / 1000.0));
    const std::string path = (dir.path() / (std::to_string(megabytes) + "mb.dxf")).string();
    drawing::testing::writeFile(path, drawing::testing::sampleDrawing(o));
    return paths.emplace(megabytes, path).first->second;
}

void batchWork(benchmark::State& state) {
    const std::string& path = drawingOf(static_cast<int>(state.range(0)));
    const std::string out = path + ".out.dxf";
    const auto size = static_cast<int64_t>(fs::file_size(path));
    for (auto _ : state) {
        std::unique_ptr<AcadDocument> doc;
        if (!AcadDocument::open(path, doc).ok()) state.SkipWithError("open failed");
        for (int k = 0; k < 10; ++k) doc->purgeAll();
        for (int k = 0; k < 10; ++k) doc->auditInfo(true);
        editAttributes(*doc, "TITLE", {"DRAWNO", "NAME"}, {"A101", "新标题"}, nullptr);
        if (!doc->saveAs(out).ok()) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
    fs::remove(out);
}

void plainCopy(benchmark::State& state) {
    const std::string& path = drawingOf(static_cast<int>(state.range(0)));
    const std::string out = path + ".copy";
    const auto size = static_cast<int64_t>(fs::file_size(path));
    for (auto _ : state) {
        const std::string bytes = drawing::testing::readFile(path);
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0)
            state.SkipWithError("copy failed");
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
    fs::remove(out);
}

// The layout of `doc` set to plot to a PDF on A4, fitted, centred, turned by 90°.
bool setUpPdfPlot(AcadDocument& doc) {
    AcadLayout layout = doc.activeLayout();
    layout.setCenterPlot(true);
    layout.setPlotRotation(1);
    return layout.setConfigName("PDF").ok() && layout.setStyleSheet("monochrome.ctb").ok() &&
           layout.setCanonicalMediaName("A4").ok();
}

void batchWorkWithPlot(benchmark::State& state) {
    const std::string& path = drawingOf(static_cast<int>(state.range(0)));
    const std::string out = path + ".out.dxf";
    const auto size = static_cast<int64_t>(fs::file_size(path));
    plot::installPlotService(fs::path(path).parent_path().string());
    for (auto _ : state) {
        std::unique_ptr<AcadDocument> doc;
        if (!AcadDocument::open(path, doc).ok()) state.SkipWithError("open failed");
        for (int k = 0; k < 10; ++k) doc->purgeAll();
        for (int k = 0; k < 10; ++k) doc->auditInfo(true);
        if (!setUpPdfPlot(*doc)) state.SkipWithError("no plot");
        const PlotResult plotted = doc->plot().plotToDevice();
        if (!plotted.status.ok()) state.SkipWithError("plot failed");
        fs::remove(plotted.output);  // a plot never replaces a file: the next takes its name
        editAttributes(*doc, "TITLE", {"DRAWNO", "NAME"}, {"A101", "新标题"}, nullptr);
        if (!doc->saveAs(out).ok()) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
    fs::remove(out);
}

void plotToPdf(benchmark::State& state) {
    const std::string& path = drawingOf(static_cast<int>(state.range(0)));
    const auto size = static_cast<int64_t>(fs::file_size(path));
    plot::installPlotService(fs::path(path).parent_path().string());
    std::unique_ptr<AcadDocument> doc;
    if (!AcadDocument::open(path, doc).ok() || !setUpPdfPlot(*doc)) state.SkipWithError("no plot");
    for (auto _ : state) {
        const PlotResult plotted = doc->plot().plotToDevice();
        if (!plotted.status.ok()) state.SkipWithError("plot failed");
        fs::remove(plotted.output);  // a plot never replaces a file: the next takes its name
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
}

void buildScene(benchmark::State& state) {
    const std::string& path = drawingOf(static_cast<int>(state.range(0)));
    const auto size = static_cast<int64_t>(fs::file_size(path));
    plot::installPlotService(fs::path(path).parent_path().string());  // texts need Qt Gui
    std::unique_ptr<AcadDocument> doc;
    if (!AcadDocument::open(path, doc).ok()) state.SkipWithError("open failed");
    for (auto _ : state) {
        const plot::Scene scene = plot::buildScene(*doc);
        benchmark::DoNotOptimize(scene.items.data());
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
}

// Opens `path` as the batch run does, DWG or DXF alike; with `work`, then purges and
// audits it ten times each and saves it as DXF.
void openDrawing(benchmark::State& state, const fs::path& path, bool work) {
    dwg::installDwgReader();
    const std::string out = (fs::temp_directory_path() / ("bench_cad_" + std::to_string(::getpid()) +
                                                          ".dxf"))
                                .string();
    for (auto _ : state) {
        std::unique_ptr<AcadDocument> doc;
        if (!AcadDocument::open(path.string(), doc).ok()) state.SkipWithError("open failed");
        benchmark::DoNotOptimize(doc.get());
        if (!work || !doc) continue;
        for (int k = 0; k < 10; ++k) doc->purgeAll();
        for (int k = 0; k < 10; ++k) doc->auditInfo(true);
        if (!doc->saveAs(out).ok()) state.SkipWithError("save failed");
        fs::remove(out);
    }
    const auto size = static_cast<int64_t>(fs::file_size(path));
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["MB"] = static_cast<double>(size) / 1e6;
}

// Each DWG drawing with a DXF twin, the DWG first.
const bool kTwinsRegistered = [] {
    const char* folder = std::getenv("TOLVANE_DWG_BENCH_DIR");
    std::vector<fs::path> dwgs;
    for (const auto& entry : fs::directory_iterator(folder ? folder : DWG_TESTDATA))
        if (entry.path().extension() == ".dwg") dwgs.push_back(entry.path());
    std::sort(dwgs.begin(), dwgs.end());
    for (const fs::path& dwg : dwgs) {
        fs::path twin = dwg;
        twin.replace_filename(dwg.stem().string() + "_ascii.dxf");
        if (!fs::exists(twin)) continue;
        for (const bool work : {false, true})
            for (const fs::path& path : {dwg, twin})
                benchmark::RegisterBenchmark(
                    ((work ? "batchWorkOn/" : "openDrawing/") + path.filename().string()).c_str(),
                    openDrawing, path, work)
                    ->Unit(benchmark::kMillisecond)
                    ->MeasureProcessCPUTime()
                    ->MinTime(1.0);
    }
    return true;
}();

BENCHMARK(batchWork)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2.0);
BENCHMARK(plainCopy)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2.0);

BENCHMARK(batchWorkWithPlot)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2.0);
BENCHMARK(plotToPdf)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2.0);
BENCHMARK(buildScene)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
