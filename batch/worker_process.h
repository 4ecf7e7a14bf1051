// One worker process as the run sees it: started with one end of a stream socket as
// its standard input and output and a temporary folder of its own (its $TMPDIR, also
// given as the last arguments `--temp DIR`), signalled, and reaped with its wait status
// and peak memory; the folder goes with it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace batch {

class WorkerProcess {
public:
    struct Exit {
        int status = 0;           // as waitpid gives it
        long peakKilobytes = 0;   // the process's peak resident memory
    };

    WorkerProcess() = default;
    // Ends a process still running (SIGKILL) and reaps it.
    ~WorkerProcess();
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    // Starts argv[0] with `argv`; false with `error` said when it cannot be started.
    bool start(const std::vector<std::string>& argv, std::string& error);
    bool running() const { return pid_ > 0; }
    int fd() const { return fd_; }
    pid_t pid() const { return pid_; }

    void signal(int number);
    // The worker reads the end of its input: no more jobs.
    void closeInput();
    // Waits for the process's end (a process that lingers two seconds after closing its
    // socket is killed) and removes its temporary folder.
    Exit reap();

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    std::string tempDir_;
};

// Removes what an interrupted safe save of `path` can leave beside it (".NAME.XXXXXX",
// "NAME.XXXXXX") when it was changed at `since` or later.
void removeSaveTemporaries(const std::string& path,
                           std::chrono::system_clock::time_point since);

}  // namespace batch
