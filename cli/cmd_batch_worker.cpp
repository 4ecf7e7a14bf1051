// tolvane-cli batch-worker: one worker process of a batch run (batch/worker_serve.h),
// started by the run itself and not listed by --help.
//
// Test hook: with TOLVANE_WORKER_TEST_FAULTS=1 in its environment, a worker given a
// drawing whose file name starts with "fault-crash" dies of SIGSEGV, "fault-hang" never
// ends, and "fault-memory" allocates until its memory limit stops it; the tests and the
// benchmarks of the worker pool use it. Without the variable nothing changes.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "batch/worker_serve.h"
#include "cli/command.h"
#include "cli/options.h"
#include "plot/plotter.h"
#include "ui/data_paths.h"

namespace {

[[noreturn]] void allocateWithoutEnd() {
    std::vector<std::unique_ptr<char[]>> blocks;
    for (;;) {
        blocks.emplace_back(new char[16 << 20]);
        std::memset(blocks.back().get(), 1, 16 << 20);
    }
}

void testFault(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.rfind("fault-crash", 0) == 0) ::raise(SIGSEGV);
    if (name.rfind("fault-hang", 0) == 0)
        for (;;) ::pause();
    if (name.rfind("fault-memory", 0) == 0) allocateWithoutEnd();
}

int runBatchWorker(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opts;
    std::string error;
    if (!opts.parse(args, {"memory", "parent", "temp"}, {}, error) || !opts.positional().empty()) {
        io.err << "tolvane-cli batch-worker: "
               << (error.empty() ? "started by tolvane-cli batch, not by hand" : error) << "\n";
        return cli::kUsage;
    }
    batch::WorkerSetup setup;
    setup.memoryMegabytes = std::strtoull(opts.value("memory").value_or("0").c_str(), nullptr, 10);
    setup.parent = static_cast<pid_t>(std::strtol(opts.value("parent").value_or("0").c_str(), nullptr, 10));
    setup.tempDir = opts.value("temp").value_or("");
    setup.prepare = [](const batch::BatchSettings& settings) {
        if (settings.plot) plot::installPlotService(ui::dataDir());
    };
    const char* faults = std::getenv("TOLVANE_WORKER_TEST_FAULTS");
    if (faults && std::strcmp(faults, "1") == 0) setup.beforeDrawing = testFault;
    return batch::serveBatchWorker(setup);
}

// An empty usage keeps the command out of the listing: only a batch run starts it.
const cli::CommandRegistration reg("batch-worker", "", &runBatchWorker);

}  // namespace
