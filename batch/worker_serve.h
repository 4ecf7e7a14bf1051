// The worker's side of a batch run in worker processes (worker_pool.h): the process
// takes its standard input and output as the socket to the run, reads the settings and
// then one job at a time, runs each drawing with runDrawing, and reports what it hears
// as frames (worker_protocol.h); each plot and copy waits for the run's answer.
//
// The worker limits its own data to the memory limit and exits with
// kWorkerOutOfMemory when an allocation fails; it ignores SIGINT (the run decides for
// the terminal's Ctrl-C); SIGTERM abandons the drawing in hand before its next step and
// ends the worker within three seconds; the worker gets SIGTERM when the run's process
// dies, and ends when the socket closes.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

#include "batch/run.h"

namespace batch {

// The exit status of a worker past its memory limit.
constexpr int kWorkerOutOfMemory = 3;
// The exit status of a worker that got a frame it cannot read.
constexpr int kWorkerProtocolError = 4;

struct WorkerSetup {
    pid_t parent = 0;            // the run's process id; 0: not watched
    size_t memoryMegabytes = 0;  // the limit of the worker's data; 0: none
    std::string tempDir;         // the worker's own temporary folder, removed at its end
    // Called once the settings have arrived, before the first job.
    std::function<void(const BatchSettings&)> prepare;
    // Called before each drawing with its path.
    std::function<void(const std::string&)> beforeDrawing;
};

// Serves jobs until the run closes the socket; returns the process's exit status.
int serveBatchWorker(const WorkerSetup& setup);

}  // namespace batch
