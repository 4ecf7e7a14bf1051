// The folder-tree search of the batch window on a generated tree of 100 000 files
// (1 000 folders of 100 files, half of them drawings in mixed case), beside
// `find DIR -iname '*.dwg' -o -iname '*.dxf'` over the same tree. Both read a warm
// file-system cache and report files per second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "batch/collection.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;

// The tree, made once and removed when the program ends.
const fs::path& tree() {
    struct Tree {
        fs::path root = fs::temp_directory_path() / ("bench_collect_" + std::to_string(::getpid()));
        Tree() {
            const char* suffixes[] = {".dwg", ".DXF", ".txt", ".bak"};
            for (int f = 0; f < kFolders; ++f) {
                const fs::path folder =
                    root / ("area" + std::to_string(f / 100)) / ("part" + std::to_string(f % 100));
                fs::create_directories(folder);
                for (int k = 0; k < kFilesPerFolder; ++k)
                    std::ofstream(folder / ("sheet-" + std::to_string(k) + suffixes[k % 4]));
            }
        }
        ~Tree() { fs::remove_all(root); }
    };
    static Tree made;
    return made.root;
}

void BM_FindFilesAPI(benchmark::State& state) {
    const std::string root = tree().string();
    size_t found = 0;
    for (auto _ : state) {
        found = batch::FindFilesAPI(root).drawings.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["drawings"] = static_cast<double>(found);
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}
BENCHMARK(BM_FindFilesAPI)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindCommand(benchmark::State& state) {
    const std::string command = "find '" + tree().string() + "' -iname '*.dwg' -o -iname '*.dxf'";
    size_t found = 0;
    for (auto _ : state) {
        std::FILE* pipe = ::popen(command.c_str(), "r");
        found = 0;
        char line[4096];
        while (std::fgets(line, sizeof line, pipe)) ++found;
        ::pclose(pipe);
    }
    state.counters["drawings"] = static_cast<double>(found);
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
}
BENCHMARK(BM_FindCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
