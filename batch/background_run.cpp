#include "batch/background_run.h"

#include <QCoreApplication>

namespace batch {

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {
    // A run still going when the program ends finishes its step and stops.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &BackgroundRun::stopAndWait);
}

BackgroundRun::~BackgroundRun() { stopAndWait(); }

void BackgroundRun::stopAndWait() {
    if (!thread_) return;
    stop_ = true;
    thread_->wait();
    thread_.reset();
}

bool BackgroundRun::runInWorkers(drawing::AcadApplication& application,
                                 const std::vector<std::string>& drawings,
                                 const BatchSettings& settings, const BatchObserver& observer) {
    WorkerOptions options = workers_;
    options.inHand = [this](const std::vector<InHand>& hand) {
        QList<int> numbers;
        QStringList paths;
        for (const InHand& h : hand) {
            numbers.append(int(h.number));
            paths.append(QString::fromStdString(h.path));
        }
        Q_EMIT inHandChanged(numbers, paths);
    };
    const PoolResult result = runBatchInWorkers(application, drawings, settings, observer, options);
    taken_ = result.taken;
    return result.failure.empty() || result.taken > 0;
}

void BackgroundRun::start(drawing::AcadApplication& application, std::vector<std::string> drawings,
                          BatchSettings settings) {
    stop_ = false;
    thread_.reset(QThread::create(
        [this, &application, drawings = std::move(drawings), settings = std::move(settings)] {
            BatchObserver observer;
            observer.started = [this](size_t number, size_t count, const std::string& path) {
                Q_EMIT drawingStarted(int(number), int(count), QString::fromStdString(path));
            };
            observer.status = [this](const std::string& text) {
                Q_EMIT status(QString::fromStdString(text));
            };
            observer.error = [this](const std::string& path, const std::string& reason) {
                Q_EMIT drawingFailed(QString::fromStdString(path), QString::fromStdString(reason));
            };
            observer.done = [this](size_t number) { Q_EMIT drawingDone(int(number)); };
            observer.logFailed = [this](const std::string& path) {
                Q_EMIT logFailed(QString::fromStdString(path));
            };
            observer.stopRequested = [this] { return stop_.load(); };
            if (!workers_.program.empty() && runInWorkers(application, drawings, settings, observer))
                return;
            taken_ = runBatch(application, drawings, settings, observer);
        }));
    connect(thread_.get(), &QThread::finished, this, [this] {
        if (!thread_) return;  // already waited for
        thread_->wait();
        thread_.reset();
        Q_EMIT finished(int(taken_), stop_);
    });
    thread_->start();
}

}  // namespace batch
