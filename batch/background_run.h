// The batch run of the batch window on a worker thread, so that the windows stay
// responsive and 终止 is noticed at once. The run reports through signals, which
// reach receivers on the window thread queued, in order. With worker processes set,
// the thread hands the drawings to them (worker_pool.h), so that a drawing that
// crashes or hangs ends its worker, not the program. The thread keeps what it works
// with (its own session, the list and the settings), so a step that does not stop in
// time can be left to finish on its own: every file it writes appears whole or not at
// all.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <memory>
#include <string>
#include <vector>

#include "batch/run.h"
#include "batch/worker_pool.h"

namespace batch {

class BackgroundRun : public QObject {
    Q_OBJECT

public:
    // How long stopping waits for the step in hand before leaving it to itself.
    static constexpr int kStopWaitMs = 1000;

    explicit BackgroundRun(QObject* parent = nullptr);
    // Stops a run still going, as when the program ends.
    ~BackgroundRun() override;

    // Starts runBatch over `drawings` on the worker thread, in a session of its own.
    // REQUIRES: !running()
    void start(std::vector<std::string> drawings, BatchSettings settings);
    bool running() const { return thread_ != nullptr; }
    // The worker processes of the runs to come; an empty program runs them on the thread
    // itself, as does a program that cannot be started.
    void setWorkers(WorkerOptions options) { workers_ = std::move(options); }
    // The run ends before its next step, a plot at once; the drawing in hand is closed
    // unsaved.
    void requestStop();

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
    struct Shared;

    // Asks the run to stop and waits for it at most kStopWaitMs; a thread still busy
    // then is left to finish on its own, reporting nothing more.
    void stopAndWait();

    WorkerOptions workers_;
    std::unique_ptr<QThread> thread_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace batch
