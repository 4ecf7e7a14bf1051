// The batch run in worker processes against the run in this process, in one run:
// 30 drawings of about 0.6 MB and 500 of about 0.1 MB, each run as the batch window
// starts it (ten purge and ten audit passes, an attribute edit, a copy named from the
// title block), in this process (`--jobs 1`), in one worker and in two (the 30 the
// quickest of three runs each, so that a busy machine weighs less). Prints the
// wall time, the speed-up of two workers, the cost per drawing of handing it to a
// worker, the growth of this process's memory over the run and each worker's peak.
// Then a run of 200 drawings of which 20 crash, hang or outgrow their memory (the
// workers' test hook): the correct results, the error-log entries, stray files, time.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "batch/worker_pool.h"
#include "bench/batch_bench_run.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// CPU seconds of this process and of its children that have ended.
double cpuSeconds() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage u{};
        ::getrusage(who, &u);
        total += static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
                 static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}

struct Timing {
    double seconds = 0;
    double cpu = 0;  // seconds of CPU, workers included
    size_t errors = 0;
    double parentGrowthMegabytes = 0;
    long workerPeakKilobytes = 0;
};

// One run over fresh drawings; `workers` 0 runs in this process.
Timing timeRun(const fs::path& root, int count, int filler, size_t workers) {
    const fs::path folder = root / ("run-" + std::to_string(count) + "-" + std::to_string(workers));
    const std::vector<std::string> drawings =
        bench::writeTitledDrawings(folder, count, filler, "drawing-");
    const batch::BatchSettings settings =
        bench::windowRunSettings((folder / "errlogoqrz.txt").string());
    Timing t;
    batch::BatchObserver observer;
    observer.error = [&](const std::string&, const std::string&) { ++t.errors; };
    drawing::AcadApplication application;
    ::sync();
    const double before = residentMegabytes();
    const double cpuBefore = cpuSeconds();
    const Clock::time_point start = Clock::now();
    if (workers == 0) {
        batch::runBatch(application, drawings, settings, observer);
    } else {
        batch::WorkerOptions options;
        options.program = TOLVANE_CLI;
        options.workers = workers;
        const batch::PoolResult result =
            batch::runBatchInWorkers(application, drawings, settings, observer, options);
        for (long peak : result.workerPeakKilobytes)
            t.workerPeakKilobytes = std::max(t.workerPeakKilobytes, peak);
    }
    t.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    t.cpu = cpuSeconds() - cpuBefore;
    t.parentGrowthMegabytes = residentMegabytes() - before;
    fs::remove_all(folder);
    return t;
}

// The quickest of `rounds` runs, taken in turns with the others so that a busy moment
// of the machine weighs on all alike.
void compare(const fs::path& root, int count, int filler, int rounds, const char* what) {
    Timing serial, one, two;
    for (int round = 0; round < rounds; ++round) {
        Timing* best[] = {&serial, &one, &two};
        for (size_t workers = 0; workers < 3; ++workers) {
            const Timing t = timeRun(root, count, filler, workers);
            if (round == 0 || t.seconds < best[workers]->seconds) *best[workers] = t;
        }
    }
    std::printf("%s\n", what);
    std::printf("  --jobs 1 (this process)  %7.2f s   %6.1f ms/drawing   CPU %6.1f ms/drawing\n",
                serial.seconds, 1000 * serial.seconds / count, 1000 * serial.cpu / count);
    for (const auto& [name, t] : {std::pair{"one worker ", one}, std::pair{"two workers", two}})
        std::printf("  %s              %7.2f s   %6.1f ms/drawing   CPU %6.1f ms/drawing   "
                    "parent +%.1f MB   worker peak %.1f MB\n",
                    name, t.seconds, 1000 * t.seconds / count, 1000 * t.cpu / count,
                    t.parentGrowthMegabytes, static_cast<double>(t.workerPeakKilobytes) / 1024);
    std::printf("  two workers: %.2fx the speed of --jobs 1; a worker costs %+.2f ms a drawing "
                "(%+.2f ms of CPU, its start included)\n",
                serial.seconds / two.seconds, 1000 * (one.seconds - serial.seconds) / count,
                1000 * (one.cpu - serial.cpu) / count);
    if (serial.errors + one.errors + two.errors > 0) std::printf("  ERRORS in the runs\n");
}

// 200 drawings, every tenth one faulty in turn: a crash, a hang, a memory blow-up.
void hostileRun(const fs::path& root) {
    const fs::path folder = root / "hostile";
    const fs::path temp = root / "tmp";
    fs::create_directories(temp);
    ::setenv("TMPDIR", temp.c_str(), 1);
    ::setenv("TOLVANE_WORKER_TEST_FAULTS", "1", 1);
    const char* kinds[] = {"fault-crash-", "fault-hang-", "fault-memory-"};
    std::vector<std::string> drawings;
    for (int i = 0; i < 200; ++i) {
        const bool faulty = i % 10 == 9;
        const auto one = bench::writeTitledDrawings(folder / std::to_string(i), 1, 100,
                                                    faulty ? kinds[(i / 10) % 3] : "drawing-");
        drawings.push_back(one[0]);
    }
    batch::BatchSettings settings = bench::windowRunSettings((root / "hostile-log.txt").string());
    settings.renameCopy = false;
    size_t saved = 0, interrupted = 0;
    batch::BatchObserver observer;
    observer.saved = [&](const std::string&) { ++saved; };
    observer.error = [&](const std::string&, const std::string& reason) {
        if (reason.rfind("处理中断：", 0) == 0) ++interrupted;
    };
    batch::WorkerOptions options;
    options.program = TOLVANE_CLI;
    options.workers = 2;
    options.drawingTimeoutSeconds = 2;
    options.drawingMemoryMegabytes = 256;
    drawing::AcadApplication application;
    const Clock::time_point start = Clock::now();
    batch::runBatchInWorkers(application, drawings, settings, observer, options);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::ifstream log(settings.errorLog);
    size_t entries = 0;
    for (std::string line; std::getline(log, line);)
        if (line.rfind("处理中断：", 0) == 0) ++entries;
    size_t stray = 0;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file() && e.path().extension() != ".dwg") ++stray;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(temp)) ++stray;
    std::printf("200 drawings, 20 of them crash, hang (limit 2 s) or blow up memory (256 MB), "
                "two workers\n  %zu saved, %zu interrupted, %zu error-log entries, %zu stray "
                "files, %.1f s\n",
                saved, interrupted, entries, stray, seconds);
}

}  // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / ("bench_batch_workers_" + std::to_string(::getpid()));
    fs::remove_all(root);
    compare(root, 30, 4500, 3, "30 drawings of 0.6 MB, the quickest of three runs each");
    compare(root, 500, 800, 1, "500 drawings of 0.1 MB");
    hostileRun(root);
    fs::remove_all(root);
}
