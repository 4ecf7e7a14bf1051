// The batch run in worker processes: the drawings are handed in list order to a small
// pool of workers (the command-line program's hidden `batch-worker` command, started
// once and reused), one drawing per worker at a time. The observer hears exactly what
// runBatch would tell it, in drawing order, and the error log is written here, so the
// output, the log and every file written are those of a run one drawing after another;
// file uses that could collide go in drawing order (file_claims.h).
//
// A worker that crashes, runs past the time limit or past the memory limit is ended
// and replaced; its drawing gets the error "处理中断：…" naming what happened, its file
// stays as it was, its temporary files are removed, and the run goes on. A stop starts
// no new drawing, abandons the drawings in hand (their workers are ended after half a
// second at most) and reports the finished ones completely.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/run.h"

namespace batch {

// The drawing a worker has in hand: its number in the run (1-based; 0 while the worker
// waits) and its path.
struct InHand {
    size_t number = 0;
    std::string path;
};

struct WorkerOptions {
    std::string program;    // started as `program --data-dir DIR batch-worker ...`
    std::string dataDir;    // the data folder the workers use (plot style tables)
    size_t workers = 2;     // at most this many at a time, and no more than drawings
    unsigned drawingTimeoutSeconds = 600;  // per drawing, waits for earlier ones not counted
    size_t drawingMemoryMegabytes = 0;     // per worker; 0: defaultDrawingMemoryMegabytes()
    // Told whenever the drawings in hand change, one entry per worker.
    std::function<void(const std::vector<InHand>&)> inHand;
};

struct PoolResult {
    size_t taken = 0;     // drawings started, as runBatch returns
    std::string failure;  // set when the workers could not be started: the run stopped
    std::vector<long> workerPeakKilobytes;  // each worker process's peak resident memory
};

// The program that serves as worker: this program when it is tolvane-cli, else
// tolvane-cli beside it, else the build tree's cli/tolvane-cli; empty when none is found.
std::string findWorkerProgram();

// The options of a run by default: findWorkerProgram(), the data folder, a worker per
// core, the default limits.
WorkerOptions defaultWorkerOptions();

// Half of the machine's memory, in megabytes.
size_t defaultDrawingMemoryMegabytes();
// The number of cores.
size_t defaultWorkerCount();

// Runs the batch as runBatch does, the drawings worked on in worker processes.
// `application` is only closed at the start and ended at the end, as runBatch does.
PoolResult runBatchInWorkers(drawing::AcadApplication& application,
                             const std::vector<std::string>& drawings,
                             const BatchSettings& settings, const BatchObserver& observer,
                             const WorkerOptions& options);

}  // namespace batch
