// The DWG container read of each test drawing, from bytes in memory: the file's bytes
// per second, the bytes the container holds afterwards and the process's peak resident
// memory. The drawings are those of dwg/testdata, or every .dwg in the folder named by
// $TOLVANE_DWG_BENCH_DIR.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "dwg/container.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double peakResidentMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void readContainer(benchmark::State& state, const fs::path& path) {
    const std::vector<uint8_t> file = fileBytes(path);
    size_t held = 0;
    for (auto _ : state) {
        dwg::Container c;
        if (!dwg::readContainer(file, c).empty()) state.SkipWithError("read failed");
        held = c.header.size() + c.classes.size() + c.objects.size() +
               c.objectMap.size() * sizeof(dwg::ObjectLocation);
        benchmark::DoNotOptimize(c);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
    state.counters["held_MB"] = static_cast<double>(held) / 1e6;
    state.counters["peak_rss_MB"] = peakResidentMB();
}

}  // namespace

int main(int argc, char** argv) {
    const char* folder = std::getenv("TOLVANE_DWG_BENCH_DIR");
    std::vector<fs::path> drawings;
    for (const auto& entry : fs::directory_iterator(folder ? folder : DWG_TESTDATA))
        if (entry.path().extension() == ".dwg") drawings.push_back(entry.path());
    std::sort(drawings.begin(), drawings.end());
    for (const fs::path& path : drawings) {
        benchmark::RegisterBenchmark(("readContainer/" + path.filename().string()).c_str(),
                                     readContainer, path)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
