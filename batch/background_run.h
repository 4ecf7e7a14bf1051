// The batch run of the batch window on a worker thread, so that the windows stay
// responsive and 终止 is noticed at once. The run reports through signals, which
// reach receivers on the window thread queued, in order. With worker processes set,
// the thread hands the drawings to them (worker_pool.h), so that a drawing that
// crashes or hangs ends its worker, not the program.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "batch/run.h"
#include "batch/worker_pool.h"

namespace batch {

class BackgroundRun : public QObject {
    Q_OBJECT

public:
    explicit BackgroundRun(QObject* parent = nullptr);
    // Stops a run still going and waits for its end.
    ~BackgroundRun() override;

    // Starts runBatch over `drawings` on the worker thread. REQUIRES: !running().
    // `application` is used by the run alone until finished() is emitted.
    void start(drawing::AcadApplication& application, std::vector<std::string> drawings,
               BatchSettings settings);
    bool running() const { return thread_ != nullptr; }
    // The worker processes of the runs to come; an empty program runs them on the thread
    // itself, as does a program that cannot be started.
    void setWorkers(WorkerOptions options) { workers_ = std::move(options); }
    // The run ends before its next step; the drawing in hand is closed unsaved.
    void requestStop() { stop_ = true; }

Q_SIGNALS:
    void drawingStarted(int number, int count, const QString& path);
    void status(const QString& text);
    // A drawing's error went to the error log.
    void drawingFailed(const QString& path, const QString& reason);
    // Drawing `number` was taken to its end (not the one a stop abandoned).
    void drawingDone(int number);
    // The drawings in hand changed: for each worker process the number of its drawing
    // (0 while it waits) and the drawing's path.
    void inHandChanged(const QList<int>& numbers, const QStringList& paths);
    // The error log could not be written.
    void logFailed(const QString& logPath);
    // The run has ended; `taken` drawings were started.
    void finished(int taken, bool stopped);

private:
    void stopAndWait();
    // The run in worker processes; false when none could be started and nothing ran.
    bool runInWorkers(drawing::AcadApplication& application,
                      const std::vector<std::string>& drawings, const BatchSettings& settings,
                      const BatchObserver& observer);

    WorkerOptions workers_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> stop_ = false;
    std::atomic<size_t> taken_ = 0;
};

}  // namespace batch
