#include "batch/background_run.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <atomic>
#include <mutex>

#include "batch/plot_book.h"

namespace batch {

// What the thread shares with the run object: the stop, the count, and the way back,
// cut when the thread is left to itself.
struct BackgroundRun::Shared {
    std::atomic<bool> stop = false;
    std::atomic<size_t> taken = 0;
    std::mutex reporting;          // held while a report is made
    BackgroundRun* run = nullptr;  // nullptr once no report is wanted

    template <typename Report>
    void report(Report&& emitTo) {
        const std::lock_guard<std::mutex> lock(reporting);
        if (run) emitTo(*run);
    }
};

namespace {

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {
    // A run still going when the program ends finishes its step and stops.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &BackgroundRun::stopAndWait);
}

BackgroundRun::~BackgroundRun() { stopAndWait(); }

void BackgroundRun::requestStop() {
    if (shared_) shared_->stop = true;
}

void BackgroundRun::stopAndWait() {
    if (!thread_) return;
    shared_->stop = true;
    if (!thread_->wait(QDeadlineTimer(kStopWaitMs))) {
        {
            const std::lock_guard<std::mutex> lock(shared_->reporting);
            shared_->run = nullptr;
        }
        thread_->disconnect(this);
        QThread* left = thread_.release();
        connect(left, &QThread::finished, left, &QObject::deleteLater);
        return;
    }
    thread_.reset();
}

void BackgroundRun::start(std::vector<std::string> drawings, BatchSettings settings) {
    shared_ = std::make_shared<Shared>();
    shared_->run = this;
    WorkerOptions workers = workers_;
    workers.inHand = [shared = shared_](const std::vector<InHand>& hand) {
        QList<int> numbers;
        QStringList paths;
        for (const InHand& h : hand) {
            numbers.append(int(h.number));
            paths.append(fromStd(h.path));
        }
        shared->report([&](BackgroundRun& run) { Q_EMIT run.inHandChanged(numbers, paths); });
    };
    thread_.reset(QThread::create([shared = shared_, workers = std::move(workers),
                                   drawings = std::move(drawings), settings = std::move(settings)] {
        BatchObserver observer;
        observer.started = [&shared](size_t number, size_t count, const std::string& path) {
            shared->report([&](BackgroundRun& run) {
                Q_EMIT run.drawingStarted(int(number), int(count), fromStd(path));
            });
        };
        observer.status = [&shared](const std::string& text) {
            shared->report([&](BackgroundRun& run) { Q_EMIT run.status(fromStd(text)); });
        };
        observer.error = [&shared](const std::string& path, const std::string& reason) {
            shared->report([&](BackgroundRun& run) {
                Q_EMIT run.drawingFailed(fromStd(path), fromStd(reason));
            });
        };
        observer.done = [&shared](size_t number) {
            shared->report([&](BackgroundRun& run) { Q_EMIT run.drawingDone(int(number)); });
        };
        observer.logFailed = [&shared](const std::string& path) {
            shared->report([&](BackgroundRun& run) { Q_EMIT run.logFailed(fromStd(path)); });
        };
        observer.stopRequested = [&shared] { return shared->stop.load(); };
        // The book of the run's plots, written when the run has ended: a status says
        // where, a failure is the run's last error.
        const PlotBook book(settings, observer);
        BatchObserver bookReport;
        bookReport.saved = [&shared](const std::string& path) {
            shared->report([&](BackgroundRun& run) {
                Q_EMIT run.status(QStringLiteral("已合并为一个PDF：") + fromStd(path));
            });
        };
        bookReport.error = observer.error;
        drawing::AcadApplication application;
        bool ranInWorkers = false;
        if (!workers.program.empty()) {
            const PoolResult result =
                runBatchInWorkers(application, drawings, settings, observer, workers);
            // Nothing ran when no worker could be started: the run goes on in this thread.
            ranInWorkers = result.failure.empty() || result.taken > 0;
            shared->taken = result.taken;
        }
        if (!ranInWorkers) shared->taken = runBatch(application, drawings, settings, observer);
        if (!shared->stop) book.bind(bookReport);
    }));
    connect(thread_.get(), &QThread::finished, this, [this] {
        if (!thread_) return;  // already waited for
        thread_->wait();
        thread_.reset();
        Q_EMIT finished(int(shared_->taken), shared_->stop);
    });
    thread_->start();
}

}  // namespace batch
