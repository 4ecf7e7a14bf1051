// The continuous-beam model for 2 … 9 supports, and a whole column calculation
// (box texts in, result texts out, report block appended to a scratch file).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "beams/beam_calculation.h"
#include "beams/beam_model.h"

namespace {

void BM_SolveBeam(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    beams::BeamLayout layout{n, std::vector<double>(n + 1, 250.0), 250.0 * (n + 1), 7.85};
    for (auto _ : state) benchmark::DoNotOptimize(beams::SolveBeam(layout));
}
BENCHMARK(BM_SolveBeam)->DenseRange(2, 9);

void BM_ColumnCalculationWithReport(benchmark::State& state) {
    const std::string report =
        (std::filesystem::temp_directory_path() / "bench_beam_report.doc").string();
    const beams::ColumnInput input{
        9,
        {"50", "300", "300", "300", "300", "300", "300", "300", "300", "50"},
        {"1", "2500", "600", "800"},
        2355.0};
    const auto goOn = [](const ui::Message&) { return true; };
    for (auto _ : state) benchmark::DoNotOptimize(beams::calculateColumn(input, report, goOn));
    std::filesystem::remove(report);
}
BENCHMARK(BM_ColumnCalculationWithReport);

}  // namespace

BENCHMARK_MAIN();
