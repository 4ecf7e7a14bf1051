// The batch run of the batch window on a worker thread, so that the windows stay
// responsive and 终止 is noticed at once. The run reports through signals, which
// reach receivers on the window thread queued, in order. The worker keeps what it
// works with (its own session, the list and the settings), so a step that does not
// stop in time can be left to finish on its own: every file it writes appears whole
// or not at all.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <memory>
#include <string>
#include <vector>

#include "batch/run.h"

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
    // The run ends before its next step, a plot at once; the drawing in hand is closed
    // unsaved.
    void requestStop();

Q_SIGNALS:
    void drawingStarted(int number, int count, const QString& path);
    void status(const QString& text);
    // The error log could not be written.
    void logFailed(const QString& logPath);
    // The run has ended; `taken` drawings were started.
    void finished(int taken, bool stopped);

private:
    struct Shared;

    // Asks the run to stop and waits for it at most kStopWaitMs; a worker still busy
    // then is left to finish on its own, reporting nothing more.
    void stopAndWait();

    std::unique_ptr<QThread> thread_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace batch
