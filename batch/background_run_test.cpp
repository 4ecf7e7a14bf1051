// The batch window's run in worker processes: it says which drawings are in hand, and
// a stop ends it even while every worker hangs, leaving those drawings unchanged and
// starting no other. The hanging drawings use the workers' test hook
// (TOLVANE_WORKER_TEST_FAULTS, cli/cmd_batch_worker.cpp).
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "batch/background_run.h"
#include "drawing/test_drawings.h"

namespace {

namespace fs = std::filesystem;

class BackgroundRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stopEndsARunWhoseWorkersHang() {
        qputenv("TOLVANE_WORKER_TEST_FAULTS", "1");
        drawing::testing::ScratchFolder scratch("background-run-");
        const std::string original = drawing::testing::sampleDrawing({});
        std::vector<std::string> drawings;
        for (const char* name : {"fault-hang-1.dxf", "fault-hang-2.dxf", "a.dxf"}) {
            drawings.push_back((scratch.path() / name).string());
            drawing::testing::writeFile(drawings.back(), original);
        }
        batch::BackgroundRun run;
        batch::WorkerOptions workers;
        workers.program = TOLVANE_CLI;
        workers.dataDir = (scratch.path() / "data").string();
        workers.workers = 2;
        run.setWorkers(workers);
        QList<int> inHand;
        connect(&run, &batch::BackgroundRun::inHandChanged, this,
                [&](const QList<int>& numbers, const QStringList& paths) {
                    QCOMPARE(numbers.size(), 2);
                    QCOMPARE(paths.size(), 2);
                    inHand = numbers;
                    if (numbers.contains(1) && numbers.contains(2)) run.requestStop();
                });
        QSignalSpy finished(&run, &batch::BackgroundRun::finished);
        batch::BatchSettings settings;
        settings.purge = true;
        settings.errorLog = (scratch.path() / "log.txt").string();
        run.start(drawings, settings);
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished[0][0].toInt(), 2);     // taken
        QCOMPARE(finished[0][1].toBool(), true);  // stopped
        QCOMPARE(inHand, QList<int>({0, 0}));
        for (const std::string& d : drawings) QCOMPARE(drawing::testing::readFile(d), original);
        QVERIFY(!fs::exists(settings.errorLog));
    }
};

}  // namespace

QTEST_MAIN(BackgroundRunTest)
#include "background_run_test.moc"
