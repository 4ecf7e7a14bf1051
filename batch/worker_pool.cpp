#include "batch/worker_pool.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "batch/file_claims.h"
#include "batch/worker_process.h"
#include "batch/worker_protocol.h"
#include "batch/worker_serve.h"
#include "ui/data_paths.h"

namespace batch {
namespace {

using Clock = std::chrono::steady_clock;
using protocol::Frame;

// How long the drawings in hand get to reach their next step after a stop.
constexpr auto kStopGrace = std::chrono::milliseconds(500);
// How often a stop is looked for while nothing else happens.
constexpr auto kStopPoll = std::chrono::milliseconds(100);
// Workers that end before they are ready, one after another and while no other is
// ready, before the run gives up.
constexpr int kStartAttempts = 3;

// Why the run ended a worker itself.
enum class Ending { None, Timeout, Garbled, Stop };

// A drawing of the run as the pool follows it.
struct DrawingState {
    bool assigned = false;
    bool finished = false;
    bool completed = false;   // taken to its end by its worker (not abandoned, not killed)
    bool reported = false;    // `started` has been told
    std::vector<Frame> held;  // what it said before its turn to be reported
};

struct Slot {
    std::unique_ptr<WorkerProcess> process;
    protocol::FrameReader reader;
    bool ready = false;        // said hello
    bool inputClosed = false;  // told there are no more jobs
    std::optional<size_t> job;
    Clock::duration used{};                  // the drawing's time before its current wait
    std::optional<Clock::time_point> since;  // its clock runs from here; none while it waits
    std::optional<std::pair<FileUse, std::string>> claim;  // waiting for its answer
    // Files being written (granted, not yet released) and since when.
    std::vector<std::pair<std::string, std::chrono::system_clock::time_point>> writing;
    Ending ending = Ending::None;
};

// What ended a worker, in the words of the error log.
std::string endingText(Ending ending, int status, const WorkerOptions& options,
                       size_t memoryMegabytes) {
    std::string what;
    if (ending == Ending::Timeout) {
        what = "处理时间超过限制（" + std::to_string(options.drawingTimeoutSeconds) + " 秒）";
    } else if (ending == Ending::Garbled) {
        what = "处理进程的应答无法识别";
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == kWorkerOutOfMemory) {
        what = "内存用量超过限制（" + std::to_string(memoryMegabytes) + " MB）";
    } else if (WIFSIGNALED(status)) {
        const char* name = sigabbrev_np(WTERMSIG(status));
        what = "处理进程崩溃（信号 " + std::to_string(WTERMSIG(status)) +
               (name ? std::string(" SIG") + name : std::string()) + "）";
    } else {
        what = "处理进程意外退出（退出码 " + std::to_string(WEXITSTATUS(status)) + "）";
    }
    return what;
}

class Pool {
public:
    Pool(const std::vector<std::string>& drawings, const BatchSettings& settings,
         const BatchObserver& observer, const WorkerOptions& options)
        : drawings_(drawings),
          settings_(settings),
          outer_(observer),
          observer_(loggingObserver(observer, settings.errorLog)),
          options_(options),
          memory_(options.drawingMemoryMegabytes ? options.drawingMemoryMegabytes
                                                 : defaultDrawingMemoryMegabytes()),
          fullPaths_(fullPaths(drawings)),
          claims_(fullPaths_,
                  settings.purge || settings.audit || settings.editAttributes ||
                      settings.renameCopy,
                  settings.renameCopy),
          state_(drawings.size()),
          slots_(std::clamp<size_t>(options.workers, 1, std::max<size_t>(drawings.size(), 1))) {}

    PoolResult run() {
        if (drawings_.empty()) return result_;
        for (Slot& slot : slots_) startWorker(slot);
        for (;;) {
            if (!stopping_ && outer_.stopRequested && outer_.stopRequested()) beginStop();
            if (stopping_ && !killedAll_ && Clock::now() >= stopDeadline_) killAll();
            assignWork();
            std::vector<pollfd> fds;
            std::vector<Slot*> polled;
            for (Slot& slot : slots_) {
                if (!slot.process) continue;
                fds.push_back({slot.process->fd(), POLLIN, 0});
                polled.push_back(&slot);
            }
            if (fds.empty()) break;
            if (::poll(fds.data(), fds.size(), pollTimeout()) > 0) {
                for (size_t i = 0; i < fds.size(); ++i)
                    if (fds[i].revents) readFrom(*polled[i]);
            }
            checkClocks();
        }
        report();
        result_.taken = next_;
        if (next_ < drawings_.size() && !stopping_)
            result_.failure = "无法启动处理进程：" + options_.program + "（" + startError_ + "）";
        return result_;
    }

private:
    static std::vector<std::string> fullPaths(const std::vector<std::string>& drawings) {
        std::vector<std::string> full;
        for (const std::string& d : drawings) full.push_back(drawing::fullPathOf(d));
        return full;
    }

    void startWorker(Slot& slot) {
        slot = Slot{};
        std::vector<std::string> argv = {options_.program};
        if (!options_.dataDir.empty()) argv.insert(argv.end(), {"--data-dir", options_.dataDir});
        argv.insert(argv.end(), {"batch-worker", "--memory", std::to_string(memory_), "--parent",
                                 std::to_string(::getpid())});
        auto process = std::make_unique<WorkerProcess>();
        std::string error;
        if (!process->start(argv, error)) {
            startError_ = error;
            ++failedStarts_;
            return;
        }
        slot.process = std::move(process);
        // A worker that cannot take the settings ends, and that shows as its end.
        protocol::writeFrame(slot.process->fd(),
                             protocol::settingsFrame(settings_, bool(outer_.status)));
    }

    bool mayStartWorkers() const {
        const bool anyReady = std::any_of(slots_.begin(), slots_.end(), [](const Slot& s) {
            return s.process && s.ready;
        });
        return !stopping_ && next_ < drawings_.size() &&
               (failedStarts_ < kStartAttempts || anyReady);
    }

    void assignWork() {
        bool changed = false;
        for (Slot& slot : slots_) {
            if (!slot.process) {
                if (mayStartWorkers()) startWorker(slot);
                continue;
            }
            if (!slot.ready || slot.job) continue;
            if (stopping_ || next_ >= drawings_.size()) {
                if (!slot.inputClosed) slot.process->closeInput();
                slot.inputClosed = true;
                continue;
            }
            // A drawing an earlier one may still write waits for it, in order.
            if (!claims_.mayOpen(next_, ::access(fullPaths_[next_].c_str(), F_OK) == 0)) break;
            const size_t j = next_++;
            protocol::writeFrame(slot.process->fd(),
                                 {protocol::kJob,
                                  {std::to_string(j + 1), std::to_string(drawings_.size()),
                                   drawings_[j]}});
            slot.job = j;
            slot.used = {};
            slot.since = Clock::now();
            state_[j].assigned = true;
            changed = true;
        }
        if (changed) {
            tellInHand();
            report();
        }
    }

    void readFrom(Slot& slot) {
        char buffer[1 << 16];
        const ssize_t n = ::read(slot.process->fd(), buffer, sizeof buffer);
        if (n <= 0) {
            workerEnded(slot);
            return;
        }
        slot.reader.feed(buffer, static_cast<size_t>(n));
        while (auto frame = slot.reader.next()) handle(slot, *frame);
        if (slot.reader.broken() && slot.ending == Ending::None) {
            slot.ending = Ending::Garbled;
            slot.process->signal(SIGKILL);
        }
    }

    void handle(Slot& slot, const Frame& frame) {
        if (frame.kind == protocol::kHello) {
            slot.ready = true;
            failedStarts_ = 0;
            return;
        }
        if (!slot.job) return;
        const size_t j = *slot.job;
        switch (frame.kind) {
            case protocol::kClaim: {
                const int use = frame.fields.size() == 2 && frame.fields[0].size() == 1
                                    ? frame.fields[0][0] - '0'
                                    : -1;
                if (use < 0 || use > static_cast<int>(FileUse::Save)) {
                    slot.ending = Ending::Garbled;
                    slot.process->signal(SIGKILL);
                    return;
                }
                const std::string path = drawing::fullPathOf(frame.fields[1]);
                claims_.claim(j, static_cast<FileUse>(use), path);
                // Saving its own file is told, not asked: noted for the temporary files.
                if (static_cast<FileUse>(use) == FileUse::Save) {
                    slot.writing.emplace_back(path, std::chrono::system_clock::now());
                    return;
                }
                slot.claim.emplace(static_cast<FileUse>(use), path);
                if (slot.since) slot.used += Clock::now() - *slot.since;
                slot.since.reset();
                reviewClaims();
                return;
            }
            case protocol::kReleased:
                claims_.released(j);
                slot.writing.clear();
                reviewClaims();
                return;
            case protocol::kDone:
                state_[j].completed = frame.fields.size() == 1 && frame.fields[0] == "1";
                slot.job.reset();
                slot.writing.clear();
                finishDrawing(j);
                tellInHand();
                return;
            default:
                deliver(j, frame);
        }
    }

    void answer(Slot& slot, bool granted) {
        const auto [use, path] = *slot.claim;
        slot.claim.reset();
        if (granted && use == FileUse::Copy)
            slot.writing.emplace_back(path, std::chrono::system_clock::now());
        slot.since = Clock::now();
        protocol::writeFrame(slot.process->fd(), {protocol::kAnswer, {granted ? "1" : "0"}});
    }

    void reviewClaims() {
        for (Slot& slot : slots_) {
            if (!slot.process || !slot.claim || !slot.job) continue;
            const auto& [use, path] = *slot.claim;
            if (stopping_) {
                answer(slot, false);
            } else if (claims_.mayUse(*slot.job, use, path,
                                      use == FileUse::Plot || ::access(path.c_str(), F_OK) == 0)) {
                answer(slot, true);
            }
        }
    }

    void workerEnded(Slot& slot) {
        const WorkerProcess::Exit exit = slot.process->reap();
        slot.process.reset();
        result_.workerPeakKilobytes.push_back(exit.peakKilobytes);
        if (slot.job) {
            const size_t j = *slot.job;
            for (const auto& [path, since] : slot.writing) removeSaveTemporaries(path, since);
            if (slot.ending != Ending::Stop)
                deliver(j, {protocol::kError,
                            {drawings_[j], "处理中断：" + endingText(slot.ending, exit.status,
                                                                    options_, memory_)}});
            slot.job.reset();
            finishDrawing(j);
            tellInHand();
        } else if (!slot.ready) {
            startError_ = endingText(Ending::None, exit.status, options_, memory_);
            ++failedStarts_;
        }
    }

    void finishDrawing(size_t j) {
        state_[j].finished = true;
        claims_.finished(j);
        report();
        reviewClaims();
    }

    void deliver(size_t j, const Frame& frame) {
        if (j == head_ && state_[j].reported)
            apply(frame);
        else
            state_[j].held.push_back(frame);
    }

    void apply(const Frame& frame) {
        const std::vector<std::string>& f = frame.fields;
        const BatchObserver& o = observer_;
        if (frame.kind == protocol::kStatus && f.size() == 1 && o.status) o.status(f[0]);
        if (frame.kind == protocol::kSaved && f.size() == 1 && o.saved) o.saved(f[0]);
        if (frame.kind == protocol::kPlotted && f.size() == 2 && o.plotted) o.plotted(f[0], f[1]);
        if (frame.kind == protocol::kNote && f.size() == 1 && o.note) o.note(f[0]);
        if (frame.kind == protocol::kDrawingNote && f.size() == 2 && o.drawingNote)
            o.drawingNote(f[0], f[1]);
        if (frame.kind == protocol::kError && f.size() == 2 && o.error) o.error(f[0], f[1]);
    }

    // Tells the observer what it may hear now: the drawings in list order, each from its
    // start, up to the first one still in hand.
    void report() {
        while (head_ < drawings_.size() && state_[head_].assigned) {
            DrawingState& d = state_[head_];
            if (!d.reported) {
                d.reported = true;
                if (observer_.started) observer_.started(head_ + 1, drawings_.size(), drawings_[head_]);
            }
            for (const Frame& frame : d.held) apply(frame);
            std::vector<Frame>().swap(d.held);
            if (!d.finished) break;
            if (d.completed && observer_.done) observer_.done(head_ + 1);
            ++head_;
        }
    }

    void beginStop() {
        stopping_ = true;
        stopDeadline_ = Clock::now() + kStopGrace;
        for (Slot& slot : slots_)
            if (slot.process && slot.job) slot.process->signal(SIGTERM);
        reviewClaims();
    }

    void killAll() {
        killedAll_ = true;
        for (Slot& slot : slots_) {
            if (!slot.process) continue;
            if (slot.job) slot.ending = Ending::Stop;
            slot.process->signal(SIGKILL);
        }
    }

    Clock::duration limit() const { return std::chrono::seconds(options_.drawingTimeoutSeconds); }

    void checkClocks() {
        const Clock::time_point now = Clock::now();
        for (Slot& slot : slots_) {
            if (!slot.process || !slot.job || !slot.since || slot.ending != Ending::None) continue;
            if (slot.used + (now - *slot.since) < limit()) continue;
            slot.ending = Ending::Timeout;
            slot.process->signal(SIGKILL);
        }
    }

    int pollTimeout() const {
        const Clock::time_point now = Clock::now();
        Clock::duration wait = kStopPoll;
        if (stopping_ && !killedAll_) wait = std::min(wait, stopDeadline_ - now);
        for (const Slot& slot : slots_)
            if (slot.process && slot.job && slot.since && slot.ending == Ending::None)
                wait = std::min(wait, limit() - slot.used - (now - *slot.since));
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
        return static_cast<int>(std::max<decltype(ms)>(ms, 0));
    }

    void tellInHand() {
        if (!options_.inHand) return;
        std::vector<InHand> hand(slots_.size());
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].job) hand[i] = {*slots_[i].job + 1, drawings_[*slots_[i].job]};
        options_.inHand(hand);
    }

    const std::vector<std::string>& drawings_;
    const BatchSettings& settings_;
    const BatchObserver& outer_;
    const BatchObserver observer_;  // `outer_` writing the error log
    const WorkerOptions& options_;
    const size_t memory_;
    const std::vector<std::string> fullPaths_;
    FileClaims claims_;
    std::vector<DrawingState> state_;
    std::vector<Slot> slots_;
    size_t next_ = 0;  // the next drawing to hand out
    size_t head_ = 0;  // the next drawing to report
    bool stopping_ = false;
    bool killedAll_ = false;
    Clock::time_point stopDeadline_;
    int failedStarts_ = 0;
    std::string startError_;
    PoolResult result_;
};

}  // namespace

std::string findWorkerProgram() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    if (self.filename() == "tolvane-cli") return self.string();
    // The windows' program is installed beside tolvane-cli; in the build tree the two
    // are built in sibling folders.
    for (const fs::path& candidate : {self.parent_path() / "tolvane-cli",
                                      self.parent_path().parent_path() / "cli" / "tolvane-cli"})
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.lexically_normal().string();
    return {};
}

WorkerOptions defaultWorkerOptions() {
    WorkerOptions options;
    options.program = findWorkerProgram();
    options.dataDir = ui::dataDir();
    options.workers = defaultWorkerCount();
    return options;
}

size_t defaultDrawingMemoryMegabytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return 2048;
    return static_cast<size_t>(pages) / 2 * static_cast<size_t>(pageSize) >> 20;
}

size_t defaultWorkerCount() { return std::max(1u, std::thread::hardware_concurrency()); }

PoolResult runBatchInWorkers(drawing::AcadApplication& application,
                             const std::vector<std::string>& drawings,
                             const BatchSettings& settings, const BatchObserver& observer,
                             const WorkerOptions& options) {
    application.documents().close();
    PoolResult result = Pool(drawings, settings, observer, options).run();
    finishBatch(application, observer);
    return result;
}

}  // namespace batch
