#include "batch/background_run.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <atomic>
#include <mutex>

namespace batch {

// What the worker shares with the run object: the stop, the count, and the way back,
// cut when the worker is left to itself.
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
    thread_.reset(QThread::create([shared = shared_, drawings = std::move(drawings),
                                   settings = std::move(settings)] {
        BatchObserver observer;
        observer.started = [&shared](size_t number, size_t count, const std::string& path) {
            shared->report([&](BackgroundRun& run) {
                Q_EMIT run.drawingStarted(int(number), int(count), QString::fromStdString(path));
            });
        };
        observer.status = [&shared](const std::string& text) {
            shared->report(
                [&](BackgroundRun& run) { Q_EMIT run.status(QString::fromStdString(text)); });
        };
        observer.logFailed = [&shared](const std::string& path) {
            shared->report(
                [&](BackgroundRun& run) { Q_EMIT run.logFailed(QString::fromStdString(path)); });
        };
        observer.stopRequested = [&shared] { return shared->stop.load(); };
        drawing::AcadApplication application;
        shared->taken = runBatch(application, drawings, settings, observer);
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
