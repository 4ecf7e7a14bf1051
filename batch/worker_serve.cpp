#include "batch/worker_serve.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <new>

#include "batch/worker_protocol.h"

namespace batch {
namespace {

volatile sig_atomic_t stopSignalled = 0;
char tempDirToRemove[4096];  // the worker's temporary folder, for the end by SIGALRM

void onTerminate(int) {
    stopSignalled = 1;
    // A step that never ends must not keep an orphaned worker alive.
    ::alarm(3);
}

void onAlarm(int) {
    ::rmdir(tempDirToRemove);
    ::_exit(128 + SIGALRM);
}

[[noreturn]] void outOfMemory() { ::_exit(kWorkerOutOfMemory); }

void installSignals(const std::string& tempDir) {
    if (tempDir.size() < sizeof tempDirToRemove)
        std::memcpy(tempDirToRemove, tempDir.c_str(), tempDir.size() + 1);
    struct sigaction action{};
    sigemptyset(&action.sa_mask);
    action.sa_handler = onTerminate;
    ::sigaction(SIGTERM, &action, nullptr);
    action.sa_handler = onAlarm;
    ::sigaction(SIGALRM, &action, nullptr);
    ::signal(SIGINT, SIG_IGN);
    ::signal(SIGPIPE, SIG_IGN);
}

void limitData(size_t megabytes) {
    if (megabytes == 0) return;
    rlimit limit{};
    ::getrlimit(RLIMIT_DATA, &limit);
    const rlim_t bytes = static_cast<rlim_t>(megabytes) << 20;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? bytes : std::min(bytes, limit.rlim_max);
    ::setrlimit(RLIMIT_DATA, &limit);
}

// The socket to the run becomes a descriptor of its own; standard input reads nothing
// and standard output goes to standard error, so that no stray print enters a frame.
int takeSocket() {
    const int fd = ::fcntl(0, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, 0);
        ::close(null);
    }
    ::dup2(2, 1);
    return fd;
}

class Worker {
public:
    explicit Worker(int fd) : fd_(fd) {}

    int serve(const WorkerSetup& setup) {
        protocol::Frame frame;
        bool statuses = false;
        if (!protocol::readFrame(fd_, reader_, frame) ||
            !protocol::settingsFromFrame(frame, settings_, statuses))
            return kWorkerProtocolError;
        if (setup.prepare) setup.prepare(settings_);
        const BatchObserver observer = makeObserver(statuses);
        if (!send({protocol::kHello, {}})) return 0;
        drawing::AcadApplication application;
        while (protocol::readFrame(fd_, reader_, frame)) {
            if (frame.kind != protocol::kJob || frame.fields.size() != 3) return kWorkerProtocolError;
            const auto n = protocol::numberField(frame.fields[0]);
            const auto count = protocol::numberField(frame.fields[1]);
            if (!n || !count) return kWorkerProtocolError;
            const std::string& path = frame.fields[2];
            if (setup.beforeDrawing) setup.beforeDrawing(path);
            bool finished = false;
            try {
                finished = runDrawing(application, *n, *count, path, settings_, observer);
            } catch (const std::bad_alloc&) {
                outOfMemory();
            }
            application.documents().close();
            if (!linked_ || !send({protocol::kDone, {finished ? "1" : "0"}})) return 0;
        }
        return reader_.broken() ? kWorkerProtocolError : 0;
    }

private:
    bool send(const protocol::Frame& frame) {
        linked_ = linked_ && protocol::writeFrame(fd_, frame);
        return linked_;
    }

    BatchObserver makeObserver(bool statuses) {
        BatchObserver o;
        if (statuses) o.status = [this](const std::string& t) { send({protocol::kStatus, {t}}); };
        o.saved = [this](const std::string& p) { send({protocol::kSaved, {p}}); };
        o.plotted = [this](const std::string& p, const std::string& out) {
            send({protocol::kPlotted, {p, out}});
        };
        o.note = [this](const std::string& t) { send({protocol::kNote, {t}}); };
        o.drawingNote = [this](const std::string& p, const std::string& t) {
            send({protocol::kDrawingNote, {p, t}});
        };
        o.error = [this](const std::string& p, const std::string& r) {
            send({protocol::kError, {p, r}});
        };
        // A run that is gone or stopping abandons the drawing.
        o.stopRequested = [this] { return stopSignalled != 0 || !linked_; };
        o.claim = [this](FileUse use, const std::string& path) {
            const char digit = static_cast<char>('0' + static_cast<int>(use));
            if (!send({protocol::kClaim, {std::string(1, digit), path}})) return false;
            // The run hands out a drawing only when its own file is free to write.
            if (use == FileUse::Save) return true;
            protocol::Frame answer;
            if (!protocol::readFrame(fd_, reader_, answer) || answer.kind != protocol::kAnswer) {
                linked_ = false;
                return false;
            }
            return answer.fields.size() == 1 && answer.fields[0] == "1";
        };
        o.released = [this] { send({protocol::kReleased, {}}); };
        return o;
    }

    int fd_;
    protocol::FrameReader reader_;
    BatchSettings settings_;
    bool linked_ = true;  // the socket to the run still works
};

}  // namespace

int serveBatchWorker(const WorkerSetup& setup) {
    installSignals(setup.tempDir);
    if (setup.parent > 0) ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    limitData(setup.memoryMegabytes);
    std::set_new_handler(outOfMemory);
    const int fd = takeSocket();
    int status = kWorkerProtocolError;
    // A run that ended before the watch began has no jobs to give.
    if (setup.parent > 0 && ::getppid() != setup.parent)
        status = 0;
    else if (fd >= 0)
        status = Worker(fd).serve(setup);
    std::error_code ec;
    if (!setup.tempDir.empty()) std::filesystem::remove_all(setup.tempDir, ec);
    return status;
}

}  // namespace batch
