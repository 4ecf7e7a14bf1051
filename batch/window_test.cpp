// The batch window, its set-up panel and the progress window, driven by object name on
// real drawings in a temporary folder, with the message recorder answering the boxes.
// Every test opens the window from the menu's entry point; a run closes it.
#include "batch/window.h"

#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <functional>

#include "batch/background_run.h"
#include "batch/progress_window.h"
#include "drawing/document.h"
#include "drawing/test_drawings.h"
#include "dwg/dwg_format.h"
#include "ui/data_paths.h"
#include "ui/find_control.h"
#include "ui/message_recorder.h"
#include "ui/modal_answer.h"
#include "ui/settings.h"

namespace {

using drawing::testing::readFile;

template <typename T = QWidget>
T* child(const QString& form, const QString& name) {
    return ui::findControl<T>(ui::topLevelWindow(form), name);
}

void click(const QString& name) { child<QPushButton>("Form10", name)->click(); }
void tick(int n, bool on = true) {
    child<QCheckBox>("Form10", QStringLiteral("Check%1").arg(n))->setChecked(on);
}

// Picks `item` in `list` as the user does.
void choose(const char* list, const QString& item) {
    QComboBox* c = child<QComboBox>("Form10", list);
    c->setCurrentIndex(c->findText(item));
    Q_EMIT c->activated(c->currentIndex());
}

QStringList items(const QString& list) {
    QStringList all;
    QComboBox* c = child<QComboBox>("Form10", list);
    for (int i = 0; i < c->count(); ++i) all << c->itemText(i);
    return all;
}

// The attribute values of the title block in the drawing at `path`.
QStringList titleValues(const QString& path) {
    std::unique_ptr<drawing::AcadDocument> doc;
    if (!drawing::AcadDocument::open(path.toStdString(), doc).ok())
        return {QStringLiteral("unreadable")};
    QStringList values;
    for (const drawing::AcadEntity& e : doc->activeSpaceEntities()) {
        if (!e.isBlockReference() || drawing::AcadBlockReference(e).name() != "TITLE") continue;
        for (const auto& a : drawing::AcadBlockReference(e).getAttributes())
            values << QString::fromStdString(a.textString());
    }
    return values;
}

// The sample drawing with its title block inserted under another name.
std::string withoutTitleBlock() {
    drawing::testing::Groups groups = drawing::testing::sampleGroups({});
    bool insert = false;
    for (auto& [code, value] : groups) {
        if (code == 0) insert = value == "INSERT";
        if (insert && code == 2 && value == "TITLE") value = "TITLX";
    }
    return drawing::testing::render(groups, drawing::DxfFormat::Ascii);
}

// The sample drawing with its block USEDBLK made anonymous, as a drawing program names
// the blocks it makes for itself.
std::string withAnonymousBlock() {
    drawing::testing::Groups groups = drawing::testing::sampleGroups({});
    for (auto& [code, value] : groups)
        if ((code == 2 || code == 3) && value == "USEDBLK") value = "*U7";
    return drawing::testing::render(groups, drawing::DxfFormat::Ascii);
}

class BatchWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    ui::MessageRecorder boxes_;
    std::string sample_ = drawing::testing::sampleDrawing({});

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString documents() const { return dir_.filePath("Documents"); }
    // Writes sample drawings named `names` into `folder` (below the temporary folder).
    QStringList drawings(const QString& folder, const QStringList& names) {
        QStringList paths;
        QDir().mkpath(path(folder));
        for (const QString& n : names) {
            paths << path(folder + "/" + n);
            drawing::testing::writeFile(paths.last().toStdString(), sample_);
        }
        return paths;
    }
    QString lastBox() const {
        return boxes_.boxes().isEmpty() ? QString() : boxes_.boxes().last().text;
    }
    // Presses 终止 at the first status text `at` takes, while the run waits for it.
    void pressStopAt(std::function<bool(const QString&)> at) {
        QPushButton* stop = child<QPushButton>("cadmessage", "Command1");
        connect(
            ui::topLevelWindow("Form10")->findChild<batch::BackgroundRun*>("backgroundRun"),
            &batch::BackgroundRun::status, stop,
            [stop, at](const QString& t) {
                if (at(t))
                    QMetaObject::invokeMethod(stop, &QPushButton::click,
                                              Qt::BlockingQueuedConnection);
            },
            Qt::DirectConnection);
    }
    // Starts the run and waits until it has closed the window.
    void runToTheEnd() {
        QPointer<QWidget> form = ui::topLevelWindow("Form10");
        click("Command2");
        QTRY_VERIFY_WITH_TIMEOUT(form.isNull(), 60000);
    }

private Q_SLOTS:
    // The data folder, the settings file and the documents folder in the scratch folder.
    void initTestCase() {
        QVERIFY(dir_.isValid());
        ui::setDataDirOverride(dir_.filePath("data").toStdString());
        qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toUtf8());
        QDir().mkpath(dir_.filePath("config"));
        QDir().mkpath(documents());
        QFile dirs(dir_.filePath("config/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOCUMENTS_DIR=\"" + documents().toUtf8() + "\"\n");
        dwg::installDwgReader();  // as the program does at start
    }

    void init() {
        boxes_.clear();
        ui::Settings().clear();
        batch::showBatchWindow();
        QVERIFY(ui::topLevelWindow("Form10"));
    }

    // Every test starts from a batch window that remembers nothing.
    void cleanup() {
        if (QPointer<QWidget> form = ui::topLevelWindow("Form10")) {
            form->close();
            QTRY_VERIFY(form.isNull());
        }
        QFile::remove(path("data/errlogoqrz.txt"));
        ui::Settings().clear();
    }

    void startsAsTheFormSays() {
        QCOMPARE(ui::topLevelWindow("Form10")->windowTitle(), QStringLiteral("批量操作"));
        const QList<bool> enabled = {true, true,  false, true, false, false,
                                     true, false, false, true, false, true};
        for (int n = 1; n <= 12; ++n)
            QCOMPARE(child<QCheckBox>("Form10", QStringLiteral("Check%1").arg(n))->isEnabled(),
                     enabled[n - 1]);
        for (const char* off :
             {"Command2", "Command5", "Command6", "Command7", "Command8", "Command9", "Command10",
              "Command11", "Text2", "Text3", "Combo8", "Frame2"})
            QVERIFY2(!child<QWidget>("Form10", off)->isEnabled(), off);
        tick(12);
        QVERIFY(!child<QWidget>("Form10", "Command2")->isEnabled());
        QVERIFY(child<QWidget>("Form10", "Command5")->isEnabled());
        tick(7);
        tick(10);
        QVERIFY(child<QWidget>("Form10", "Command2")->isEnabled());
        for (const char* on : {"Command6", "Command7", "Command8", "Command9", "Command10",
                               "Command11", "Text2", "Text3"})
            QVERIFY2(child<QWidget>("Form10", on)->isEnabled(), on);
        tick(7, false);
        QVERIFY(child<QWidget>("Form10", "Command2")->isEnabled());
        tick(10, false);
        QVERIFY(!child<QWidget>("Form10", "Command2")->isEnabled());
        QVERIFY(!child<QWidget>("Form10", "Command7")->isEnabled());
    }

    void progressWindowFormsFollowTheScreen() {
        batch::CadMessage progress;
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        progress.showLoading();
        QCOMPARE(progress.windowTitle(), QStringLiteral("程序加载中 请稍候。。。。。"));
        QCOMPARE(progress.geometry(),
                 QRect(int(0.3 * screen.width()), int(0.5 * screen.height()), 333, 0));
        progress.showProcessing();
        QCOMPARE(progress.windowTitle(), QStringLiteral("程序正在处理中。。。。。"));
        QCOMPARE(QRect(progress.pos(), progress.size()),
                 QRect(int(0.1 * screen.width()), int(0.1 * screen.height()),
                       int(0.8 * screen.width()), 115));
        QVERIFY(progress.findChild<QLabel*>("Label7")->isVisible());
        QCOMPARE(progress.findChild<QLabel*>("Label4")->text(), QStringLiteral("0"));
        QCOMPARE(progress.findChild<QPushButton*>("Command1")->text(), QStringLiteral("终止"));
    }

    void collectsDrawings() {
        const QStringList lower = drawings("one", {"b.dwg", "c.dxf"});
        drawings("one", {"A.DWG"});
        drawings("one/sub", {"d.dwg"});
        auto* form = static_cast<batch::Form10*>(ui::topLevelWindow("Form10"));
        form->addSingleFolder(lower[0]);
        form->addSingleFolder(lower[1]);
        QCOMPARE(items("Combo1"), (QStringList{lower[0], lower[0], lower[1], lower[1]}));
        QCOMPARE(child<QComboBox>("Form10", "Combo1")->currentIndex(), 0);

        form->addfilefolder(path("one"));
        QCOMPARE(items("Combo1"),
                 (QStringList{path("one/A.DWG"), lower[0], lower[1], path("one/sub/d.dwg")}));

        tick(12);
        click("Command5");
        QCOMPARE(drawing::testing::readFile(path("data/tempqrz.txt").toStdString()),
                 "\"A\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n");
        QCOMPARE(lastBox(), "提取文件完毕！，保存在 " + path("data/tempqrz.txt") + " 文件中");

        drawings("empty", {});
        form->addfilefolder(path("empty"));
        QVERIFY(items("Combo1").isEmpty());
        QCOMPARE(lastBox(), QStringLiteral("没有发现阿dwg图形文件！"));
        QCOMPARE(boxes_.boxes().last().title, QStringLiteral("Pellam提示"));
    }

    void refusesToRunWithNothingToDo() {
        const QStringList files = drawings("refuse", {"a.dwg"});
        tick(1);
        tick(1, false);
        tick(4);  // the print set-up enables the start command, whatever is ticked
        tick(4, false);
        click("Command2");
        QCOMPARE(lastBox(), QStringLiteral("阁下想做什么呢？"));
        QCOMPARE(boxes_.boxes().last().title, QStringLiteral("友情提示"));
        tick(1);
        click("Command2");
        QCOMPARE(lastBox(), QStringLiteral("忘记添加dwg图形文件了吧？"));
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(4);
        click("Command2");
        QCOMPARE(lastBox(), QStringLiteral("想打印不选打印机怎么能行呢？"));
        QVERIFY(ui::topLevelWindow("Form10")->isVisible());
        QCOMPARE(drawing::testing::readFile(files[0].toStdString()), sample_);
    }

    void aPrintSetUpAloneSavesNothing() {
        const QStringList files = drawings("printonly", {"a.dwg", "b.dwg", "c.dwg"});
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(4);
        tick(4, false);
        tick(12);
        runToTheEnd();
        for (const QString& f : files)
            QCOMPARE(drawing::testing::readFile(f.toStdString()), sample_);
        QVERIFY(!QFile::exists(path("data/errlogoqrz.txt")));
        QCOMPARE(boxes_.boxes().last().title, QStringLiteral("科技是第一生产力"));
        QVERIFY(
            lastBox().startsWith(QStringLiteral("总共3个文件全部处理完毕！\n\r               ")));
        QVERIFY(lastBox().endsWith(QStringLiteral("\n没有文件出错。")));
        QCOMPARE(boxes_.boxes().last().buttons, ui::Buttons::Ok);
        QVERIFY(!ui::topLevelWindow("cadmessage"));
    }

    void printListsGrowWithEachSetUpAndAPrintRunSavesNothing() {
        const QStringList files = drawings("print", {"a.dwg"});
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(4);
        const QStringList devices = items("Combo2"), styles = items("Combo3");
        QVERIFY(devices.contains("PDF"));
        QVERIFY(styles.contains("monochrome.ctb"));
        QCOMPARE(child<QComboBox>("Form10", "Combo2")->currentIndex(), -1);
        tick(4, false);
        tick(4);
        QCOMPARE(items("Combo2"), devices + devices);
        QCOMPARE(items("Combo3"), styles + styles);

        choose("Combo2", "PDF");
        QVERIFY(!items("Combo4").isEmpty());
        choose("Combo3", "monochrome.ctb");
        click("Command2");
        QCOMPARE(lastBox(), QStringLiteral("真没记性！打印纸张还没选！"));
        choose("Combo4", items("Combo4").first());
        runToTheEnd();
        QCOMPARE(drawing::testing::readFile(files[0].toStdString()), sample_);
        QCOMPARE(QDir(path("print")).entryList({"*.pdf"}).size(), 1);
        QVERIFY(!QFile::exists(path("data/errlogoqrz.txt")));
        QVERIFY(lastBox().startsWith(QStringLiteral("总共1个文件全部处理完毕！")));
    }

    // 合并为一个PDF, offered for the PDF printer only, binds the run's plots into
    // 批量打印.pdf beside the first drawing, a page each, besides each drawing's own PDF.
    void aPdfRunCanBindItsPlotsIntoOne() {
        const QStringList files = drawings("book", {"a.dwg", "b.dwg"});
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(4);
        QCheckBox* book = child<QCheckBox>("Form10", "CheckBook");
        QVERIFY(!book->isEnabled());
        choose("Combo2", "PDF");
        QVERIFY(book->isEnabled());
        book->setChecked(true);
        choose("Combo3", "monochrome.ctb");
        choose("Combo4", items("Combo4").first());
        runToTheEnd();
        QCOMPARE(QDir(path("book")).entryList({"*.pdf"}),
                 (QStringList{"a.pdf", "b.pdf", QStringLiteral("批量打印.pdf")}));
        QProcess info;
        info.start("pdfinfo", {path(QStringLiteral("book/批量打印.pdf"))});
        QVERIFY(info.waitForFinished());
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Pages: +2\\n")));
        QVERIFY(!QFile::exists(path("data/errlogoqrz.txt")));
    }

    void purgeThenAuditThenSave() {
        const QStringList files = drawings("purge", {"a.dwg"});
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(1);
        tick(2);
        QStringList texts;
        connect(ui::topLevelWindow("Form10")->findChild<batch::BackgroundRun*>("backgroundRun"),
                &batch::BackgroundRun::status, this, [&](const QString& t) { texts << t; });
        QLabel* file = child<QLabel>("cadmessage", "Label2");
        runToTheEnd();
        QStringList expected{QStringLiteral("正在打开文件。。。。。。")};
        for (int k = 1; k <= 10; ++k)
            expected << QStringLiteral("正在清除文件垃圾，第%1遍 共 10 遍").arg(k);
        for (int k = 1; k <= 10; ++k)
            expected << QStringLiteral("正在纠正文件错误，第%1遍 共 10 遍").arg(k);
        expected << QStringLiteral("正在保存图形。。。。。。")
                 << QStringLiteral("正在退出 AUTOCAD2004。。。。。。 ");
        QCOMPARE(texts, expected);
        Q_UNUSED(file);
        QVERIFY(drawing::testing::readFile(files[0].toStdString()) != sample_);
        QVERIFY(drawing::testing::readFile(files[0].toStdString()).find("UNUSEDLT") ==
                std::string::npos);
    }

    void setsUpAttributesAndNamesFromASample() {
        const QStringList files = drawings("attr", {"a.dwg", "b.dwg"});
        drawing::testing::writeFile(path("attr/c.dwg").toStdString(), withoutTitleBlock());
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(7);
        tick(10);
        child<QLineEdit>("Form10", "Text1")->setText(files[0]);
        click("Command7");
        QCOMPARE(items("Combo5"), (QStringList{"USEDBLK", "TITLE"}));
        QCOMPARE(child<QLabel>("Form10", "Label2")->text(), QStringLiteral("共2"));
        QCOMPARE(lastBox(), QStringLiteral("你选择的不是带属性的图块，请从新选择"));
        QVERIFY(items("Combo6").isEmpty());

        child<QComboBox>("Form10", "Combo5")->setCurrentIndex(1);
        QCOMPARE(items("Combo6"), (QStringList{"DRAWNO", "REV", "NAME"}));
        QCOMPARE(items("Combo7"), (QStringList{"A100", "B", "标题栏"}));
        child<QComboBox>("Form10", "Combo6")->setCurrentIndex(1);  // the lists keep in step
        QCOMPARE(child<QComboBox>("Form10", "Combo7")->currentText(), QStringLiteral("B"));
        child<QLineEdit>("Form10", "Text4")->setText("C");
        click("Command8");
        child<QComboBox>("Form10", "Combo7")->setCurrentIndex(2);
        child<QLineEdit>("Form10", "Text4")->setText("null");
        click("Command8");
        QCOMPARE(items("Combo8"), (QStringList{"", "C", "null"}));

        child<QComboBox>("Form10", "Combo6")->setCurrentIndex(0);
        click("Command10");
        child<QLineEdit>("Form10", "Text3")->setText("-");
        click("Command9");
        child<QComboBox>("Form10", "Combo6")->setCurrentIndex(1);
        click("Command10");
        QCOMPARE(child<QLineEdit>("Form10", "Text2")->text(), QStringLiteral("A100-B"));
        click("Command11");
        QVERIFY(child<QLineEdit>("Form10", "Text2")->text().isEmpty());
        for (int k = 0; k < 20; ++k) click(k == 19 ? "Command10" : "Command9");
        click("Command10");  // the 21st addition is ignored
        click("Command9");   // but a constant still extends the preview
        QCOMPARE(child<QLineEdit>("Form10", "Text2")->text(), QString(19, '-') + "B-");
        click("Command11");
        child<QComboBox>("Form10", "Combo6")->setCurrentIndex(0);
        click("Command10");
        click("Command9");
        child<QComboBox>("Form10", "Combo6")->setCurrentIndex(1);
        click("Command10");

        runToTheEnd();
        // The edits go to the copy named from the edited values; the drawing's own file
        // stays as it was, and the second drawing's copy would replace the first: refused.
        QCOMPARE(drawing::testing::readFile(files[0].toStdString()), sample_);
        QCOMPARE(drawing::testing::readFile(files[1].toStdString()), sample_);
        QCOMPARE(titleValues(path("attr/A100-C.dwg")), (QStringList{"A100", "C", ""}));
        QCOMPARE(titleValues(path("attr/c.dwg")), (QStringList{}));
        const QString log = QString::fromStdString(
            drawing::testing::readFile(path("data/errlogoqrz.txt").toStdString()));
        const QString missing = QStringLiteral("属性修改未完成！未发现目标块 <TITLE>");
        QCOMPARE(log.count(QStringLiteral("打开文件出错:") + path("attr/c.dwg") + "\r\n" + missing +
                           "\r\n"),
                 2);
        QVERIFY(lastBox().startsWith(QStringLiteral("总共")));
    }

    void renameWithoutTheBlockLogsOneEntryAndStillSaves() {
        const QStringList files = drawings("rename", {"c.dwg"});
        drawing::testing::writeFile(files[0].toStdString(), withoutTitleBlock());
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(10);
        child<QComboBox>("Form10", "Combo5")->setEditText("TITLE");
        runToTheEnd();
        const QStringList lines =
            QString::fromStdString(
                drawing::testing::readFile(path("data/errlogoqrz.txt").toStdString()))
                .split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);  // five lines, each ended by CR LF
        QCOMPARE(lines[0], QString(81, '*'));
        QCOMPARE(lines[1], QStringLiteral("打开文件出错:") + files[0]);
        QCOMPARE(lines[2], QStringLiteral("属性修改未完成！未发现目标块 <TITLE>"));
        QCOMPARE(lines[4], QString(81, '*'));
        QCOMPARE(QDir(path("rename")).entryList(QDir::Files).size(), 1);
        QVERIFY(lastBox().startsWith(QStringLiteral("总共1个文件全部处理完毕！")));
    }

    // 终止 while a drawing that expands without end is plotted ends the plot at once: the
    // windows close, no PDF is written and the stop is no fault of the drawing.
    void stopEndsARunawayPlot() {
        QDir().mkpath(path("runaway"));
        const QString file = path("runaway/self.dwg");
        drawing::testing::writeFile(file.toStdString(), drawing::testing::selfInsertingDrawing());
        QPointer<QWidget> form = ui::topLevelWindow("Form10");
        static_cast<batch::Form10*>(form.data())->addSingleFolder(file);
        tick(4);
        choose("Combo2", "PDF");
        choose("Combo3", "monochrome.ctb");
        choose("Combo4", items("Combo4").first());
        pressStopAt([](const QString& t) { return t == QStringLiteral("正在打印。。。。。。"); });
        runToTheEnd();
        QVERIFY(!ui::topLevelWindow("cadmessage"));
        QVERIFY(QDir(path("runaway")).entryList({"*.pdf"}).isEmpty());
        QVERIFY(!QFile::exists(path("data/errlogoqrz.txt")));
    }

    // Stopping waits a second at most for a step that cannot stop (here an error-log
    // entry written to a FIFO nobody reads yet); the worker, left to itself, finishes
    // that step once it can.
    void stoppingLeavesAStuckStepToItself() {
        const QString log = path("stuck.fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
        batch::BatchSettings settings;
        settings.purge = true;
        settings.errorLog = log.toStdString();
        auto* runner = new batch::BackgroundRun;
        std::atomic<bool> opening = false;  // past the last look at the stop before the entry
        connect(
            runner, &batch::BackgroundRun::drawingStarted, runner, [&] { opening = true; },
            Qt::DirectConnection);
        runner->start({path("no such drawing.dwg").toStdString()}, settings);
        QTRY_VERIFY(opening);
        delete runner;
        QFile fifo(log);
        QVERIFY(fifo.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(fifo.readAll()).contains(QStringLiteral("打开文件出错:")));
        QFile::remove(log);
    }

    // A folder of DWG drawings: each one purged is saved as the DXF beside it, the DWG
    // stays byte for byte as it was, and what it held that was not translated goes to
    // the error log.
    void runsOnAFolderOfDwgs() {
        QDir().mkpath(path("dwgs"));
        QStringList files;
        for (const char* version : {"AC1015", "AC1032"}) {
            files << path(QStringLiteral("dwgs/%1.dwg").arg(version));
            QVERIFY(
                QFile::copy(QStringLiteral(DWG_TESTDATA "/ACadSharp_sample_%1.dwg").arg(version),
                            files.last()));
        }
        const std::string original = readFile(files[0].toStdString());
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        QCOMPARE(items("Combo1"), files);
        tick(1);
        runToTheEnd();
        QCOMPARE(readFile(files[0].toStdString()), original);
        for (const QString& file : files) {
            const QString dxf = file.left(file.size() - 3) + "dxf";
            std::unique_ptr<drawing::AcadDocument> doc;
            QVERIFY(drawing::AcadDocument::open(dxf.toStdString(), doc).ok());
            QVERIFY(!doc->isForeign());
            QVERIFY(doc->modelSpace().size() > 100);
        }
        const QString log =
            QString::fromStdString(readFile(path("data/errlogoqrz.txt").toStdString()));
        QVERIFY(log.contains(QStringLiteral("未转换的图元 3DSOLID：2 个")));
        QVERIFY(lastBox().startsWith(QStringLiteral("总共2个文件全部处理完毕！")));
    }

    void stopLeavesEveryFileUntouchedOrComplete() {
        QStringList names;
        for (int i = 0; i < 6; ++i) names << QStringLiteral("s%1.dwg").arg(i);
        const QStringList files = drawings("stop", names);
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(1);
        tick(2);
        QPointer<QWidget> form = ui::topLevelWindow("Form10");
        auto* runner = form->findChild<batch::BackgroundRun*>("backgroundRun");
        // Pressed in the middle of the third drawing's purge.
        int drawing = 0;
        connect(
            runner, &batch::BackgroundRun::drawingStarted, runner, [&](int n) { drawing = n; },
            Qt::DirectConnection);
        pressStopAt(
            [&](const QString& t) { return drawing == 3 && t.contains(QStringLiteral("第5遍")); });
        runToTheEnd();
        QVERIFY(!ui::topLevelWindow("cadmessage"));
        int done = 0;
        for (int i = 0; i < files.size(); ++i) {
            const bool changed = drawing::testing::readFile(files[i].toStdString()) != sample_;
            // Worker processes may have finished later drawings before the stop came.
            if (i < 2) QVERIFY(changed);
            done += changed;
            QCOMPARE(titleValues(files[i]).size(), 3);
        }
        QCOMPARE(QDir(path("stop")).entryList(QDir::Files | QDir::Hidden).size(), files.size());
        // The end counts every drawing taken to its end.
        QCOMPARE(boxes_.boxes().last().title, QStringLiteral("批量操作已终止"));
        QCOMPARE(lastBox(),
                 QStringLiteral("操作已终止：共6个文件，已处理完%1个。\n没有文件出错。").arg(done));
    }

    // The end of a run names the drawings with errors and the log, and opens the log.
    void aRunSaysHowManyDrawingsHadErrorsAndOpensTheLog() {
        const QStringList files = drawings("summary", {"a.dwg", "b.dwg"});
        drawing::testing::writeFile(path("summary/c.dwg").toStdString(), withoutTitleBlock());
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        tick(7);
        child<QComboBox>("Form10", "Combo5")->setEditText("TITLE");
        boxes_.queueAnswer(ui::Answer::OpenLog);
        runToTheEnd();
        const QString log = path("data/errlogoqrz.txt");
        QCOMPARE(boxes_.boxes().last().title, QStringLiteral("科技是第一生产力"));
        QVERIFY(lastBox().startsWith(QStringLiteral("总共3个文件全部处理完毕！\n\r")));
        QVERIFY(lastBox().endsWith(QStringLiteral("\n其中1个文件出错，错误日志：") + log));
        QCOMPARE(boxes_.boxes().last().buttons, ui::Buttons::OkOpenLog);

        QPointer<QWidget> viewer = ui::topLevelWindow("TextViewer");
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(viewer->windowTitle().endsWith(log));
        QVERIFY(viewer->findChild<QPlainTextEdit*>()->toPlainText().contains(
            QStringLiteral("打开文件出错:") + path("summary/c.dwg")));
        viewer->close();
        QTRY_VERIFY(viewer.isNull());
    }

    // 添加单目录图纸 and 指定范例图纸 pick DXF as well as DWG drawings and share the
    // folder last used; 添加多目录图纸 keeps its own, and none opens in the working folder.
    void drawingDialogsOfferDxfAndStartWhereTheUserWorks() {
        const QStringList files = drawings("picked", {"a.dxf", "b.dxf"});
        QDir().mkpath(path("cwd"));
        QVERIFY(QDir::setCurrent(path("cwd")));
        QStringList openedIn, filters;
        const auto pick = [&](const char* button, const QString& chosen) {
            ui::answerModal<QFileDialog>([&, chosen](QFileDialog* dialog) {
                openedIn << dialog->directory().absolutePath();
                filters << dialog->nameFilters().join(";;");
                ui::chooseInFileDialog(dialog, chosen);
            });
            click(button);
        };
        pick("Command1", files[0]);
        QCOMPARE(items("Combo1"), files);
        tick(7);
        pick("Command6", files[1]);
        QCOMPARE(child<QLineEdit>("Form10", "Text1")->text(), files[1]);
        pick("Command4", path("picked"));
        QCOMPARE(items("Combo1"), files);
        QCOMPARE(openedIn, (QStringList{documents(), path("picked"), documents()}));
        QCOMPARE(filters[0], QStringLiteral("图纸 (*.dwg *.dxf)"));
        QCOMPARE(filters[1], QStringLiteral("图纸 (*.dwg *.dxf)"));
    }

    // Closed (here by Esc) and opened again, the window shows the set-up it had; the
    // anonymous block of the sample is not offered as a title block.
    void theWindowKeepsItsSetUpAndLeavesOutAnonymousBlocks() {
        const QStringList files = drawings("keep", {"a.dwg", "b.dwg"});
        QDir().mkpath(path("keepsample"));
        drawing::testing::writeFile(path("keepsample/sample.dxf").toStdString(),
                                    withAnonymousBlock());
        static_cast<batch::Form10*>(ui::topLevelWindow("Form10"))->addSingleFolder(files[0]);
        for (int n : {1, 4, 7, 10}) tick(n);
        choose("Combo2", "PDF");
        choose("Combo3", "monochrome.ctb");
        const QString paper = items("Combo4").value(1);
        choose("Combo4", paper);
        child<QLineEdit>("Form10", "Text1")->setText(path("keepsample/sample.dxf"));
        click("Command7");
        QCOMPARE(items("Combo5"), QStringList{"TITLE"});
        child<QComboBox>("Form10", "Combo6")->setCurrentIndex(1);
        child<QLineEdit>("Form10", "Text4")->setText("C");
        click("Command8");
        child<QComboBox>("Form10", "Combo6")->setCurrentIndex(0);
        click("Command10");
        child<QLineEdit>("Form10", "Text3")->setText("-");
        click("Command9");

        QPointer<QWidget> form = ui::topLevelWindow("Form10");
        form->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), form.data());
        QTest::keyClick(form, Qt::Key_Escape);
        QTRY_VERIFY(form.isNull());
        QFile conf(dir_.filePath("config/tolvane/tolvane.conf"));  // for the next session
        QVERIFY(conf.open(QIODevice::ReadOnly) && conf.readAll().contains("monochrome.ctb"));

        for (int pass = 0; pass < 2; ++pass) {  // reopened, and again after a run
            batch::showBatchWindow();
            QCOMPARE(items("Combo1"), files);
            for (int n = 1; n <= 12; ++n)
                QCOMPARE(child<QCheckBox>("Form10", QStringLiteral("Check%1").arg(n))->isChecked(),
                         n == 1 || n == 4 || n == 7 || n == 10);
            QCOMPARE(child<QComboBox>("Form10", "Combo2")->currentText(), QStringLiteral("PDF"));
            QCOMPARE(child<QComboBox>("Form10", "Combo3")->currentText(),
                     QStringLiteral("monochrome.ctb"));
            QCOMPARE(child<QComboBox>("Form10", "Combo4")->currentText(), paper);
            QCOMPARE(child<QLineEdit>("Form10", "Text1")->text(), path("keepsample/sample.dxf"));
            QCOMPARE(items("Combo5"), QStringList{"TITLE"});
            QCOMPARE(child<QComboBox>("Form10", "Combo5")->currentText(), QStringLiteral("TITLE"));
            QCOMPARE(items("Combo6"), (QStringList{"DRAWNO", "REV", "NAME"}));
            QCOMPARE(items("Combo8"), (QStringList{"", "C", ""}));
            QCOMPARE(child<QLineEdit>("Form10", "Text2")->text(), QStringLiteral("A100-"));
            QVERIFY(child<QWidget>("Form10", "Command2")->isEnabled());
            if (pass == 0) runToTheEnd();
        }
        // The run used the kept template and values: the copy is named A100-, REV is C.
        QCOMPARE(titleValues(path("keep/A100-.dwg")), (QStringList{"A100", "C", "标题栏"}));
    }
};

}  // namespace

QTEST_MAIN(BatchWindowTest)
#include "window_test.moc"
