// The skid-beam windows driven by object name, offscreen, with the message recorder
// answering the boxes. The windows are single instances, so the tests run in one
// process against the same windows, each starting from the main menu's entry point.
#include "beams/skid_beam_windows.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "beams/beam_model.h"
#include "beams/diagram_plot.h"
#include "beams/moment_diagram_window.h"
#include "ui/find_control.h"
#include "ui/message_recorder.h"
#include "ui/modal_answer.h"

namespace {

QWidget* window(const QString& name) { return ui::topLevelWindow(name); }

template <typename T = QWidget>
T* child(const QString& form, const QString& name) {
    QWidget* w = window(form);
    return w ? w->findChild<T*>(name) : nullptr;
}

QString text(const QString& form, const QString& box) {
    return child<QLineEdit>(form, box)->text();
}

void setText(const QString& form, const QString& box, const QString& value) {
    child<QLineEdit>(form, box)->setText(value);
}

void click(const QString& form, const QString& button) {
    QPushButton* b = child<QPushButton>(form, button);
    QVERIFY2(b, qPrintable(form + "." + button));
    b->click();
}

// Picks `item` from a chooser's list as the user would and presses 下一窗口.
void choose(const QString& chooser, const QString& item) {
    QComboBox* combo = child<QComboBox>(chooser, "Combo1");
    combo->setCurrentIndex(combo->findText(item));
    click(chooser, "Command1");
}

QStringList items(const QString& chooser) {
    QComboBox* combo = child<QComboBox>(chooser, "Combo1");
    QStringList all;
    for (int i = 0; i < combo->count(); ++i) all << combo->itemText(i);
    return all;
}

// Types `typed` into a chooser's box and clicks 下一窗口 as a user would: the click
// takes the focus from the box, which ends its editing.
void typeAndGoOn(const QString& chooser, const QString& typed) {
    QWidget* form = window(chooser);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QComboBox* combo = child<QComboBox>(chooser, "Combo1");
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), typed);
    QTest::mouseClick(child<QPushButton>(chooser, "Command1"), Qt::LeftButton);
}

QString formOf(int n, bool column) { return QStringLiteral("Form%1").arg(column ? 20 + n : n); }

void openRow(int n) {
    beams::showRowCountChooser();
    choose("Form1", QString::number(n));
}

void fillAndCalculate(const QString& form, const QStringList& distances,
                      const QStringList& inputs) {
    for (int k = 0; k < distances.size(); ++k)
        setText(form, QStringLiteral("Text1(%1)").arg(k), distances[k]);
    for (int i = 0; i < inputs.size(); ++i)
        setText(form, QStringLiteral("Text2(%1)").arg(i), inputs[i]);
    click(form, "Command1");
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class SkidBeamWindowsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString report_;

private slots:
    // The report, the settings file and the documents folder in the scratch folder.
    void initTestCase() {
        report_ = dir_.filePath("Documents/水冷梁计算.doc");
        qputenv("TOLVANE_REPORT_FILE", report_.toUtf8());
        qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toUtf8());
        QDir().mkpath(dir_.filePath("config"));
        QDir().mkpath(dir_.filePath("Documents"));
        QFile dirs(dir_.filePath("config/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOCUMENTS_DIR=\"" + dir_.filePath("Documents").toUtf8() + "\"\n");
    }

    // Runs first: each window is placed only the first time it is shown.
    void windowsOpenOverTheirOpenerThenWhereLeft() {
        QWidget mainWindow;
        mainWindow.setGeometry(100, 100, 600, 400);
        mainWindow.show();
        beams::showRowCountChooser(&mainWindow);
        QWidget* form1 = window("Form1");
        const auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 4; };
        QVERIFY(near(form1->frameGeometry().center(), mainWindow.frameGeometry().center()));

        form1->move(200, 250);
        choose("Form1", "2");
        QVERIFY(near(window("Form2")->frameGeometry().center(), form1->frameGeometry().center()));
        click("Form2", "Command2");  // 返回
        QCOMPARE(form1->pos(), QPoint(200, 250));
        child<QComboBox>("Form1", "Combo1")->setCurrentIndex(-1);  // nothing picked
        form1->hide();
    }

    void rowChooserRules() {
        ui::MessageRecorder boxes;
        beams::showRowCountChooser();
        QWidget* form1 = window("Form1");
        QVERIFY(form1 && form1->isVisible());
        QCOMPARE(form1->windowTitle(), "固定梁与活动梁的计算");
        QCOMPARE(items("Form1"), QStringList({"10", "2", "3", "4", "5", "6", "7", "8", "9"}));

        click("Form1", "Command1");  // nothing picked
        QVERIFY(form1->isVisible());
        typeAndGoOn("Form1", "5");  // typed, not picked
        QVERIFY(form1->isVisible());
        QVERIFY(!window("Form5"));
        choose("Form1", "10");
        QVERIFY(form1->isVisible());

        choose("Form1", "2");
        QVERIFY(!form1->isVisible());
        QVERIFY(window("Form2")->isVisible());
        QVERIFY(boxes.boxes().isEmpty());
    }

    void rowWindowMembers_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("compare");
        QTest::addColumn<QString>("back");
        QTest::addColumn<int>("odd");  // index of the distance label worded its own way
        QTest::addColumn<QString>("oddLabel");
        for (int n = 2; n <= 9; ++n) {
            const QString compare = n == 5 || n == 9 ? "Command5" : "Command4";
            const QString back = n == 9 ? "Command4" : "Command2";
            int odd = -1;
            QString oddLabel;
            if (n == 4) odd = 4, oddLabel = "4端水冷梁外悬的距离L4(cm)";
            if (n == 8) odd = 7, oddLabel = "7.8水冷梁之间距的离L7(cm)";
            QTest::addRow("Form%d", n) << n << compare << back << odd << oddLabel;
        }
    }

    void rowWindowMembers() {
        QFETCH(int, n);
        QFETCH(QString, compare);
        QFETCH(QString, back);
        QFETCH(int, odd);
        QFETCH(QString, oddLabel);
        openRow(n);
        const QString form = formOf(n, false);
        QWidget* w = window(form);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("水冷梁为%1排时的计算").arg(n));
        QCOMPARE(child<QLabel>(form, "Label3")->text(), w->windowTitle());
        QCOMPARE(child<QLabel>(form, "Label1(0)")->text(), "1端水冷梁外悬距离L0(cm)");
        for (int k = 1; k < n; ++k) {
            const QString expected =
                k == odd ? oddLabel
                         : QStringLiteral("%1.%2水冷梁之间的距离L%1(cm)").arg(k).arg(k + 1);
            QCOMPARE(child<QLabel>(form, QStringLiteral("Label1(%1)").arg(k))->text(), expected);
        }
        QCOMPARE(child<QLabel>(form, QStringLiteral("Label1(%1)").arg(n))->text(),
                 n == odd ? oddLabel : QStringLiteral("%1端水冷梁外悬距离L%1(cm)").arg(n));
        QVERIFY(child<QLineEdit>(form, QStringLiteral("Text1(%1)").arg(n)));
        QVERIFY(!child<QLineEdit>(form, QStringLiteral("Text1(%1)").arg(n + 1)));
        QCOMPARE(child<QLabel>(form, QStringLiteral("Label5(%1)").arg(n - 1))->text(),
                 QStringLiteral("第%1个支点处的弯矩(kg.cm)").arg(n));
        QCOMPARE(child<QLabel>(form, QStringLiteral("Label6(%1)").arg(n - 1))->text(),
                 QStringLiteral("第%1个支点处支反力(kg)").arg(n));
        QVERIFY(!child<QLineEdit>(form, QStringLiteral("Text4(%1)").arg(n)));
        QCOMPARE(child<QLabel>(form, "Label2(0)")->text(), "板坯厚度(cm)");
        QCOMPARE(child<QPushButton>(form, compare)->text(), "结果比较");
        QCOMPARE(child<QPushButton>(form, back)->text(), "返回");
        click(form, back);
        QVERIFY(!w->isVisible());
        QVERIFY(window("Form1")->isVisible());
    }

    void rowCalculationAndLengthQuestion() {
        ui::MessageRecorder boxes;
        openRow(2);
        fillAndCalculate("Form2", {"100", "400", "100"}, {"10", "600", "100"});
        QVERIFY(boxes.boxes().isEmpty());
        QCOMPARE(text("Form2", "Text3(0)"), "-39250.0");
        QCOMPARE(text("Form2", "Text3(1)"), "-39250.0");
        QCOMPARE(text("Form2", "Text4(0)"), "2355.0");
        QCOMPARE(text("Form2", "Text4(1)"), "2355.0");

        // OK abandons the calculation, Cancel goes on with the slab length as typed.
        boxes.queueAnswer(ui::Answer::Ok);
        fillAndCalculate("Form2", {"100", "400", "100"}, {"10", "700", "100"});
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].title, "提示");
        QCOMPARE(boxes.boxes()[0].text, "请从新输入梁的长度!");
        QCOMPARE(boxes.boxes()[0].buttons, ui::Buttons::OkCancel);
        QCOMPARE(text("Form2", "Text4(0)"), "2355.0");
        boxes.queueAnswer(ui::Answer::Cancel);
        click("Form2", "Command1");
        QCOMPARE(boxes.boxes().size(), 2);
        QVERIFY(text("Form2", "Text4(0)") != "2355.0");
        const double sum =
            text("Form2", "Text4(0)").toDouble() + text("Form2", "Text4(1)").toDouble();
        QVERIFY(qAbs(sum - 10 * 0.00785 * 100 * 700) < 0.11);
    }

    // A result wider than its box shows its sign and leading digits, the whole as tooltip.
    void longResultKeepsItsSignInSight() {
        ui::MessageRecorder boxes;
        openRow(2);
        fillAndCalculate("Form2", {"100000000", "1", "100000000"}, {"10", "200000001", "100"});
        QLineEdit* moment = child<QLineEdit>("Form2", "Text3(0)");
        QCOMPARE(moment->text(), "-39250000000000000.0");
        QVERIFY(moment->fontMetrics().horizontalAdvance(moment->text()) > moment->width());
        QCOMPARE(moment->cursorPosition(), 0);
        QCOMPARE(moment->toolTip(), moment->text());
        QVERIFY(boxes.boxes().isEmpty());
    }

    // The diagram of a row window against statics: the moment at x is the moment of the
    // support forces left of x less that of the load left of x.
    void momentDiagramFollowsStaticsAndRedraws() {
        ui::MessageRecorder boxes;
        openRow(3);
        QPushButton* diagramButton = child<QPushButton>("Form3", "Command6");
        QCOMPARE(diagramButton->text(), "弯矩图");
        fillAndCalculate("Form3", {"100", "400", "300", "100"}, {"10", "900", "100"});
        diagramButton->click();
        auto* diagramWindow =
            window("Form3")->findChild<beams::MomentDiagramWindow*>("MomentDiagram");
        QVERIFY(diagramWindow && diagramWindow->isVisible());

        const auto checkAgainstStatics = [&](const std::vector<double>& L, double q) {
            double Ltot = 0;
            for (double l : L) Ltot += l;
            const beams::BeamResult solved = beams::SolveBeam({3, L, Ltot, q});
            const std::vector<double> at = {L[0], L[0] + L[1], L[0] + L[1] + L[2]};
            const auto statics = [&](double x) {
                double m = -q * x * x / 2;
                for (std::size_t k = 0; k < at.size(); ++k)
                    if (at[k] < x) m += solved.R[k] * (x - at[k]);
                return m;
            };
            const beams::MomentDiagram& drawn = diagramWindow->diagram();
            const double scale = q * Ltot * Ltot;
            double drawnMin = 0, drawnMax = 0, trueMin = 0, trueMax = 0;
            for (const beams::DiagramPoint& p : drawn.curve) {
                drawnMin = std::min(drawnMin, p.moment);
                drawnMax = std::max(drawnMax, p.moment);
                QVERIFY(std::abs(p.moment - statics(p.x)) < 1e-9 * scale);
            }
            for (int i = 0; i <= 90000; ++i) {
                const double m = statics(Ltot * i / 90000);
                trueMin = std::min(trueMin, m);
                trueMax = std::max(trueMax, m);
            }
            QVERIFY(std::abs(drawnMin - trueMin) < 1e-6 * scale);
            QVERIFY(std::abs(drawnMax - trueMax) < 1e-6 * scale);
            for (std::size_t k = 0; k < at.size(); ++k)
                QVERIFY(std::abs(statics(at[k]) - drawn.M[k]) < 1e-9 * scale);
            QCOMPARE(drawn.spanExtremes.size(), std::size_t(2));
            for (const beams::DiagramPoint& e : drawn.spanExtremes)
                QVERIFY(std::abs(statics(e.x) - e.moment) < 1e-9 * scale);
        };
        checkAgainstStatics({100, 400, 300, 100}, 7.85);

        // A new calculation redraws the open diagram.
        fillAndCalculate("Form3", {"50", "300", "500", "50"}, {"20", "900", "100"});
        checkAgainstStatics({50, 300, 500, 50}, 20 * 0.00785 * 100);

        // The saved picture has ink on the beam and on the curve, and none in the margin.
        QTemporaryDir dir;
        const QString png = dir.filePath("弯矩图.png");
        QVERIFY(!diagramWindow->saveTo(png));
        const QImage image(png);
        QVERIFY(!image.isNull());
        const beams::MomentDiagram& d = diagramWindow->diagram();
        const beams::DiagramPlot plot(d, QRectF(image.rect()));
        const auto inkNear = [&](QPointF at) {
            for (int dx = -3; dx <= 3; ++dx)
                for (int dy = -3; dy <= 3; ++dy)
                    if (qGray(image.pixel(at.toPoint() + QPoint(dx, dy))) < 160) return true;
            return false;
        };
        for (double x : {0.0, d.length / 3, d.length / 2, d.length})
            QVERIFY(inkNear(plot.beamPoint(x)));
        for (const beams::DiagramPoint& p : d.curve)
            QVERIFY(inkNear(plot.curvePoint(p.x, p.moment)));
        QVERIFY(!inkNear(QPointF(image.width() - 10, image.height() / 2)));

        const QString pdf = dir.filePath("弯矩图.pdf");
        QVERIFY(!diagramWindow->saveTo(pdf));
        QVERIFY(readAll(pdf).startsWith("%PDF"));
        QVERIFY(diagramWindow->saveTo(dir.filePath("no/such/folder/a.png")));
        QVERIFY(boxes.boxes().isEmpty());
        diagramWindow->hide();
    }

    // The sketch carries the beam's data: the load q over the beam, and each overhang
    // and span dimensioned between its ends; an overhang of 0 has no dimension.
    void momentDiagramDimensionsTheBeamAndNamesTheLoad() {
        ui::MessageRecorder boxes;
        openRow(3);
        const QList<std::tuple<QStringList, QStringList, QString>> cases = {
            {{"100", "400", "300", "100"}, {"100", "400", "300", "100"}, "q=7.85 kg/cm"},
            {{"0", "450", "450", "0"}, {"450", "450"}, "q=15.7 kg/cm"}};
        for (const auto& [distances, dimensions, load] : cases) {
            fillAndCalculate("Form3", distances,
                             {load == "q=7.85 kg/cm" ? "10" : "20", "900", "100"});
            click("Form3", "Command6");
            auto* diagramWindow =
                window("Form3")->findChild<beams::MomentDiagramWindow*>("MomentDiagram");
            const beams::MomentDiagram& d = diagramWindow->diagram();
            const beams::DiagramPlot plot(d, QRectF(0, 0, 1600, 1000));
            QCOMPARE(plot.loadLabel().text, load);
            QStringList texts;
            double from = 0;
            std::size_t part = 0;
            for (const beams::PlotLabel& label : plot.dimensionLabels()) {
                texts << label.text;
                while (d.parts[part] == 0) ++part;
                QVERIFY(label.at.x() > plot.beamPoint(from).x());
                from += d.parts[part++];
                QVERIFY(label.at.x() < plot.beamPoint(from).x());
                QVERIFY(label.at.y() > plot.beamPoint(0).y());  // under the beam
            }
            QCOMPARE(texts, dimensions);
            diagramWindow->hide();
        }
        QVERIFY(boxes.boxes().isEmpty());
    }

    // 保存 in the diagram opens in the documents folder, then where the last one went.
    void momentDiagramSaveStartsWhereTheUserWorks() {
        openRow(3);
        click("Form3", "Command6");
        QWidget* diagramWindow = window("Form3")->findChild<QWidget*>("MomentDiagram");
        const QString elsewhere = dir_.filePath("sketches");
        QDir().mkpath(elsewhere);
        QStringList openedIn;
        for (const char* name : {"a.png", "b.pdf"}) {
            ui::answerModal<QFileDialog>([&](QFileDialog* dialog) {
                openedIn << dialog->directory().absolutePath();
                ui::chooseInFileDialog(dialog, elsewhere + "/" + name);
            });
            diagramWindow->findChild<QPushButton*>("Save")->click();
        }
        QCOMPARE(openedIn, (QStringList{dir_.filePath("Documents"), elsewhere}));
        QVERIFY(readAll(elsewhere + "/b.pdf").startsWith("%PDF"));
        diagramWindow->hide();
    }

    void enterCalculatesAndEscCloses() {
        ui::MessageRecorder boxes;
        openRow(2);
        QWidget* form2 = window("Form2");
        form2->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form2));
        const QStringList distances{"100", "400", "100"}, slab{"10", "600", "100"};
        for (int k = 0; k < 3; ++k) {
            setText("Form2", QStringLiteral("Text1(%1)").arg(k), distances[k]);
            setText("Form2", QStringLiteral("Text2(%1)").arg(k), slab[k]);
        }
        setText("Form2", "Text3(0)", " ");
        QLineEdit* span = child<QLineEdit>("Form2", "Text2(2)");
        span->setFocus();
        QTest::keyClick(span, Qt::Key_Return);
        QCOMPARE(text("Form2", "Text3(0)"), "-39250.0");
        QTest::keyClick(span, Qt::Key_Escape);
        QVERIFY(!form2->isVisible());
        QVERIFY(boxes.boxes().isEmpty());
    }

    void reassignBlanksAndZeroDivisorIsRefused() {
        ui::MessageRecorder boxes;
        openRow(3);
        fillAndCalculate("Form3", {"0", "300", "300", "0"}, {"10", "600", "100"});
        click("Form3", "Command3");
        for (const char* box :
             {"Text1(0)", "Text1(3)", "Text2(0)", "Text2(2)", "Text3(0)", "Text4(2)"})
            QCOMPARE(text("Form3", box), " ");
        click("Form3", "Command1");
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].title, "提示");
        QCOMPARE(boxes.boxes()[0].text, "1.2水冷梁之间的距离L1(cm)为0,无法计算!");
        QCOMPARE(text("Form3", "Text3(0)"), " ");
    }

    void backAndReturnKeepInputs() {
        openRow(4);
        fillAndCalculate("Form4", {"10", "100", "100", "100", "10"}, {"5", "320", "80"});
        const QString force = text("Form4", "Text4(1)");
        click("Form4", "Command2");
        openRow(4);
        QCOMPARE(text("Form4", "Text1(3)"), "100");
        QCOMPARE(text("Form4", "Text2(1)"), "320");
        QCOMPARE(text("Form4", "Text4(1)"), force);
    }

    void columnChooserRulesAndReturn() {
        openRow(2);
        click("Form2", "Command4");  // 结果比较
        QWidget* form21 = window("Form21");
        QVERIFY(form21 && form21->isVisible());
        QVERIFY(!window("Form2")->isVisible());
        QCOMPARE(items("Form21"),
                 QStringList({" 2", " 3", "10", "11", "12", "4", "5", "6", "7", "8", "9"}));
        choose("Form21", "11");
        QVERIFY(form21->isVisible());
        typeAndGoOn("Form21", "5");
        QVERIFY(form21->isVisible());
        QVERIFY(!window("Form25"));
        choose("Form21", "4");
        QVERIFY(!form21->isVisible());
        QCOMPARE(window("Form24")->windowTitle(), "水冷梁立柱为4根时的计算");
        QCOMPARE(child<QLabel>("Form24", "Label3")->text(),
                 "每排水冷梁立柱为4根时的强度及受力计算");
        QCOMPARE(child<QLabel>("Form24", "Label1(4)")->text(), "4端水冷梁外悬的距离L4(cm)");
        QCOMPARE(child<QLabel>("Form24", "Label2(3)")->text(), "附加自重(kg)");
        QCOMPARE(child<QPushButton>("Form24", "Command2")->text(), "上一窗口");
        click("Form24", "Command2");
        QVERIFY(form21->isVisible());
        click("Form21", "Command2");  // 返回 to the row window that opened it
        QVERIFY(!form21->isVisible());
        QVERIFY(window("Form2")->isVisible());
    }

    void columnCalculationTakesTheRowLoadAndWritesTheReport() {
        ui::MessageRecorder boxes;
        openRow(2);
        fillAndCalculate("Form2", {"100", "400", "100"}, {"10", "600", "100"});  // forces 2355.0
        click("Form2", "Command4");
        choose("Form21", " 2");
        QVERIFY(window("Form22")->isVisible());

        // Row key "1": P = 2355, q = (45 + 2355) / 600 = 4 kg/cm.
        fillAndCalculate("Form22", {"100", "400", "100"}, {"1", "600", "600", "45"});
        QCOMPARE(text("Form22", "Text3(0)"), "-20000.0");
        QCOMPARE(text("Form22", "Text4(1)"), "1200.0");
        QCOMPARE(child<QLabel>("Form22", "Label7")->text(), "计算负荷(kg)");
        QLineEdit* load = child<QLineEdit>("Form22", "Text5");
        QCOMPARE(load->text(), "2355");
        QVERIFY(load->isReadOnly() && load->isVisible());
        // A key that names no row of the two-row window leaves P empty: q = 600 / 600.
        fillAndCalculate("Form22", {"100", "400", "100"}, {"3", "600", "600", "600"});
        QCOMPARE(text("Form22", "Text4(0)"), "300.0");
        QCOMPARE(load->text(), "");
        QVERIFY(boxes.boxes().isEmpty());

        const QByteArray report = readAll(report_);
        QCOMPARE(report.count("\r\n\r\n"), 1);  // the second block's leading empty line
        QVERIFY(report.startsWith("\r\n\""));
        QCOMPARE(report.count("\r\n"), 30);
        QVERIFY(report.contains("\",\"=\",2355\r\n"));
        QVERIFY2(
            child<QLabel>("Form22", "StatusLine")->text().endsWith("计算报告已追加到 " + report_),
            qPrintable(child<QLabel>("Form22", "StatusLine")->text()));

        // Enter calculates here too; the report grows by one more block.
        window("Form22")->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window("Form22")));
        child<QLineEdit>("Form22", "Text2(3)")->setFocus();
        QTest::keyClick(child<QLineEdit>("Form22", "Text2(3)"), Qt::Key_Enter);
        QCOMPARE(readAll(report_).count("\r\n"), 45);
    }

    void reassignKeepsTheDeadWeight() {
        ui::MessageRecorder boxes;
        openRow(2);
        click("Form2", "Command4");
        choose("Form21", " 3");
        fillAndCalculate("Form23", {"0", "250", "250", "0"}, {"x", "500", "500", "1000"});
        QCOMPARE(text("Form23", "Text3(1)"), "-15625.0");  // q = 2: −q·l²/8
        click("Form23", "Command3");
        QCOMPARE(text("Form23", "Text2(3)"), "1000");
        for (const char* box :
             {"Text1(0)", "Text2(0)", "Text2(1)", "Text2(2)", "Text3(1)", "Text4(2)"})
            QCOMPARE(text("Form23", box), " ");
        fillAndCalculate("Form23", {"0", "250", "250", "0"}, {"x", "500", "500"});
        QCOMPARE(text("Form23", "Text3(1)"), "-15625.0");
        QVERIFY(boxes.boxes().isEmpty());
    }

    void reportThatCannotBeWrittenIsNamed() {
        ui::MessageRecorder boxes;
        qputenv("TOLVANE_REPORT_FILE", dir_.path().toUtf8());  // a folder
        openRow(2);
        click("Form2", "Command4");
        choose("Form21", " 2");
        fillAndCalculate("Form22", {"100", "400", "100"}, {"x", "600", "600", "1200"});
        qputenv("TOLVANE_REPORT_FILE", report_.toUtf8());
        QCOMPARE(text("Form22", "Text4(0)"), "600.0");
        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY(boxes.boxes()[0].text.contains(dir_.path()));
        QVERIFY(child<QLabel>("Form22", "StatusLine")
                    ->text()
                    .endsWith("计算报告未能写入 " + dir_.path()));
    }

    void quitQuestion() {
        ui::MessageRecorder boxes;
        beams::showRowCountChooser();
        click("Form1", "Command2");  // answered No
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].title, "退出");
        QCOMPARE(boxes.boxes()[0].text, "真的想退出吗?!");
        QCOMPARE(boxes.boxes()[0].icon, ui::Icon::Warning);
        QCOMPARE(boxes.boxes()[0].buttons, ui::Buttons::YesNo);
        QVERIFY(window("Form1")->isVisible());

        // Yes ends the event loop of the application.
        boxes.queueAnswer(ui::Answer::Yes);
        QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
        QTimer::singleShot(0, [] { click("Form1", "Command2"); });
        qApp->exec();
        QCOMPARE(quitting.count(), 1);
    }
};

QTEST_MAIN(SkidBeamWindowsTest)
#include "skid_beam_windows_test.moc"
