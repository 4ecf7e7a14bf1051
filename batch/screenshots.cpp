// Developer tool, not installed: the batch window set up for a run over a few sample
// drawings (plot to PDF, purge, audit, attribute edit and a copy named from the title
// block), and the progress window in the middle of that run, saved as batch-window.png
// and batch-progress.png in the folder named by $TOLVANE_SCREENSHOT_DIR. The pictures in
// docs/ come from
//   cmake --build build --target batch_screenshots
//   TOLVANE_SCREENSHOT_DIR=docs QT_QPA_PLATFORM=offscreen build/batch/batch_screenshots
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include "batch/background_run.h"
#include "batch/window.h"
#include "drawing/test_drawings.h"
#include "ui/data_paths.h"
#include "ui/find_control.h"
#include "ui/fonts.h"
#include "ui/message_recorder.h"
#include "ui/screenshot_folder.h"

namespace {

template <typename T>
T* control(const char* name) {
    return ui::findControl<T>(ui::topLevelWindow("Form10"), QString::fromUtf8(name));
}

void pick(const char* list, const QString& item) {
    auto* combo = control<QComboBox>(list);
    combo->setCurrentIndex(combo->findText(item));
    Q_EMIT combo->activated(combo->currentIndex());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::applyChineseFont(app);
    const QString out = ui::screenshotFolder("batch_screenshots");
    if (out.isEmpty()) return 2;
    ui::MessageRecorder boxes;  // the sample's first block has no attributes: a box says so
    QTemporaryDir scratch;  // the data folder, and the settings the window would restore
    ui::setDataDirOverride(scratch.filePath("data").toStdString());
    qputenv("XDG_CONFIG_HOME", scratch.filePath("config").toUtf8());
    const QString folder = scratch.filePath("泵站图纸");
    QDir().mkpath(folder);
    drawing::testing::SampleOptions o;
    for (int i = 1; i <= 6; ++i) {
        o.fillerEntities = i == 1 ? 0 : 20000;  // the sample small, the rest caught mid-run
        o.title = "泵体-0" + std::to_string(i);
        drawing::testing::writeFile(
            QStringLiteral("%1/pump-0%2.dwg").arg(folder).arg(i).toStdString(),
            drawing::testing::sampleDrawing(o));
    }

    batch::showBatchWindow();
    auto* form = static_cast<batch::Form10*>(ui::topLevelWindow("Form10"));
    form->addSingleFolder(folder + "/pump-01.dwg");
    for (const char* box : {"Check1", "Check2", "Check4", "Check7", "Check10"})
        control<QCheckBox>(box)->setChecked(true);
    pick("Combo2", "PDF");
    pick("Combo3", "monochrome.ctb");
    pick("Combo4", "A3");
    control<QLineEdit>("Text1")->setText(folder + "/pump-01.dwg");
    control<QPushButton>("Command7")->click();
    pick("Combo5", "TITLE");
    pick("Combo6", "REV");
    control<QLineEdit>("Text4")->setText("C");
    control<QPushButton>("Command8")->click();
    pick("Combo6", "NAME");
    control<QPushButton>("Command10")->click();
    control<QLineEdit>("Text3")->setText("-");
    control<QPushButton>("Command9")->click();
    pick("Combo6", "REV");
    control<QPushButton>("Command10")->click();
    form->adjustSize();
    bool ok = ui::saveScreenshot(form, QDir(out).filePath("batch-window.png"));

    // In the middle of the second drawing the run waits while the progress window is
    // painted and saved, then 终止 ends it.
    QWidget* progress = ui::topLevelWindow("cadmessage");
    auto* runner = form->findChild<batch::BackgroundRun*>("backgroundRun");
    int drawing = 0;
    QObject::connect(
        runner, &batch::BackgroundRun::drawingStarted, runner, [&](int n) { drawing = n; },
        Qt::DirectConnection);
    QObject::connect(
        runner, &batch::BackgroundRun::status, runner,
        [&](const QString& text) {
            if (drawing != 2 || !text.contains(QStringLiteral("第4遍"))) return;
            QMetaObject::invokeMethod(
                progress,
                [&] {
                    ok = ui::saveScreenshot(progress, QDir(out).filePath("batch-progress.png")) &&
                         ok;
                    progress->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
                },
                Qt::BlockingQueuedConnection);
        },
        Qt::DirectConnection);
    QPointer<QWidget> open = form;
    control<QPushButton>("Command2")->click();
    while (open) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return ok ? 0 : 1;
}
