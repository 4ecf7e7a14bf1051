// The heat-transfer window driven by object name, offscreen, on a real insulation.db
// seeded into a temporary data folder, with the message recorder answering the boxes.
#include "heat/heat_transfer_window.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "heat/convection_method.h"
#include "heat/heat_texts.h"
#include "ui/data_paths.h"
#include "ui/message_recorder.h"

namespace {

QWidget* window(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

QWidget* heatWindow() { return window(QStringLiteral("HeatTransferWindow")); }

template <typename T = QLineEdit>
T* control(const QString& name, QWidget* in = nullptr) {
    T* found = (in ? in : heatWindow())->findChild<T*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
}

QString text(const QString& name) { return control(name)->text(); }
void setText(const QString& name, const QString& value) { control(name)->setText(value); }
void click(const QString& name, QWidget* in = nullptr) { control<QPushButton>(name, in)->click(); }

void chooseMaterial(int k, const QString& name) {
    auto* list = control<QComboBox>(QStringLiteral("Combo3(%1)").arg(k));
    list->setEditText(name);
    emit list->textActivated(name);
}

QString layer(const char* field, int k) { return QStringLiteral("%1(%2)").arg(field).arg(k); }

}  // namespace

class HeatTransferWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir data_;

private slots:
    void initTestCase() {
        qputenv("TOLVANE_SEED_DIR", TOLVANE_SEED_DIR);
        ui::setDataDirOverride(data_.path().toStdString());
        heat::showHeatTransferWindow();
        QVERIFY(heatWindow() && heatWindow()->isVisible());
    }

    void opensWithItsListsAndTheFirstRows() {
        QCOMPARE(heatWindow()->windowTitle(), QStringLiteral("传热计算"));
        auto* location = control<QComboBox>(QStringLiteral("Combo1"));
        QCOMPARE(location->count(), 3);
        QCOMPARE(location->itemText(2), QStringLiteral("炉底"));
        QCOMPARE(location->currentIndex(), -1);
        auto* ambient = control<QComboBox>(QStringLiteral("Combo2"));
        QCOMPARE(ambient->count(), 201);
        QCOMPARE(ambient->itemText(200), QStringLiteral("200"));
        QCOMPARE(ambient->currentText(), QStringLiteral("20"));
        for (int k = 0; k < heat::kLayerCount; ++k) {
            QCOMPARE(control<QComboBox>(layer("Combo3", k))->count(), 0);
            QCOMPARE(text(layer("Text2", k)), QStringLiteral("粘土砖(N-1)"));
            QCOMPARE(text(layer("Text6", k)), QStringLiteral("0.72+0.50*t"));
            QCOMPARE(text(layer("Text4", k)), QStringLiteral("2150"));
        }
        QCOMPARE(text("Text11"), QStringLiteral("0.02098"));
    }

    // The location list shows its entries whole from the start, and a taller window
    // leaves the inputs where they were: the room goes below them.
    void theWindowResizesSensibly() {
        QWidget* w = heatWindow();
        QApplication::processEvents();
        // Never narrower than an entry beside the list's arrow, however small the window.
        auto* location = control<QComboBox>(QStringLiteral("Combo1"));
        const QFontMetrics metrics(location->font());
        for (int i = 0; i < location->count(); ++i)
            QVERIFY(location->minimumSizeHint().width() >=
                    metrics.horizontalAdvance(location->itemText(i)) + 2 * metrics.height());
        QList<QWidget*> inputs = {location, control(QStringLiteral("Text1")),
                                  control(layer("Text3", 5)), control<QPushButton>("Command1")};
        QList<int> tops;
        for (QWidget* input : inputs) tops << input->mapTo(w, QPoint()).y();
        const QSize before = w->size();
        w->resize(before.width(), before.height() + 300);
        QApplication::processEvents();
        for (int i = 0; i < inputs.size(); ++i)
            QVERIFY2(inputs[i]->mapTo(w, QPoint()).y() == tops[i],
                     qPrintable(inputs[i]->objectName()));
        w->resize(before);
    }

    void rangeNoteFollowsTheLocation() {
        auto* location = control<QComboBox>(QStringLiteral("Combo1"));
        auto* note = control<QLabel>(QStringLiteral("Label3"));
        location->setCurrentIndex(1);
        QCOMPARE(note->text(), QStringLiteral("炉内温度取值范围300-1500"));
        location->setCurrentIndex(0);
        QCOMPARE(note->text(), QStringLiteral("炉内温度取值范围200-1400"));
        location->setCurrentIndex(-1);
        QCOMPARE(note->text(), QStringLiteral("炉内温度取值范围200-1400"));
    }

    void loadingTwiceListsEveryMaterialOnce() {
        ui::MessageRecorder boxes;
        click("Command3");
        click("Command3");
        QCOMPARE(boxes.boxes().size(), 2);
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("数据库加载成功！,Marrowin！"));
        for (int k = 0; k < heat::kLayerCount; ++k) {
            auto* list = control<QComboBox>(layer("Combo3", k));
            QCOMPARE(list->count(), 54);
            QCOMPARE(list->itemText(0), QStringLiteral("粘土砖(N-1)"));
            QCOMPARE(list->itemText(53), QStringLiteral("红砖"));
        }
    }

    void choosingAMaterialSeeksByName() {
        chooseMaterial(2, QStringLiteral("硅砖"));
        QCOMPARE(text(layer("Text2", 2)), QStringLiteral("硅砖"));
        QCOMPARE(text(layer("Text6", 2)), QStringLiteral("0.9+0.8*t"));
        chooseMaterial(2, QStringLiteral("硅砖X"));  // not in the table: the one before it
        QCOMPARE(text(layer("Text2", 2)), QStringLiteral("硅砖"));
        chooseMaterial(2, QStringLiteral("!"));  // before every name: the first by name
        QCOMPARE(text(layer("Text2", 2)), QStringLiteral("低水泥高铝浇注料"));
        QCOMPARE(text(layer("Text2", 3)), QStringLiteral("粘土砖(N-1)"));  // own cursor
    }

    void bothCalculationsShowTheirResults() {
        ui::MessageRecorder boxes;
        control<QComboBox>(QStringLiteral("Combo1"))->setCurrentIndex(0);
        setText("Text1", "1000");
        chooseMaterial(0, QStringLiteral("粘土砖(N-1)"));
        chooseMaterial(1, QStringLiteral("轻质粘土砖NG-1.0"));
        setText(layer("Text3", 0), "230");
        setText(layer("Text3", 1), "113");
        click("Command1");
        QVERIFY(boxes.boxes().isEmpty());
        QCOMPARE(text("Text9"), QStringLiteral(" 2232"));  // ΣR = 0.188 + 0.240
        QCOMPARE(text("Text8"), QStringLiteral(" 155"));
        QCOMPARE(text("Text7(0)"), QStringLiteral(" 580.384"));
        QCOMPARE(text("Text10"), QString());

        click("Command2");
        QVERIFY(boxes.boxes().isEmpty());
        QVERIFY(!text("Text10").isEmpty());
        QVERIFY(text("Text14").toInt() > 1);
        const int tOut = text("Text8").toInt();
        QVERIFY(tOut > 20 && tOut < text("Text7(0)").toInt());
        QVERIFY(!text("Text8").contains('.'));
        QCOMPARE(text("Text11"), QStringLiteral("0.03065"));  // the 150 °C row
    }

    // The wall of the previous test: the standard method's own fields, and the table with
    // the three methods for the same lining.
    void standardCalculationShowsTheThreeMethodsSideBySide() {
        ui::MessageRecorder boxes;
        QCOMPARE(text("Text15"), QStringLiteral("0.8"));
        QCOMPARE(text("Text16"), QStringLiteral("3"));
        QCOMPARE(text("Text17"), QStringLiteral("2"));
        QCOMPARE(control<QPushButton>("Command8")->text(), QStringLiteral("标准计算"));
        click("Command8");
        QVERIFY(boxes.boxes().isEmpty());
        QCOMPARE(text("Text8"), QStringLiteral("147.8"));
        QCOMPARE(text("Text9"), QStringLiteral("1597.6"));
        QCOMPARE(text("Text18"), QStringLiteral("1858.0"));
        QCOMPARE(text("Text19"), QStringLiteral("6.02"));
        QCOMPARE(text("Text20"), QStringLiteral("8.52"));
        QCOMPARE(text("Text21"), QStringLiteral("58.6%"));
        QCOMPARE(text("Text10"), QString());

        auto* grid = control<QTableWidget>("Grid1");
        QCOMPARE(grid->columnCount(), 3);
        QCOMPARE(grid->horizontalHeaderItem(2)->text(), QStringLiteral("标准计算"));
        QCOMPARE(grid->rowCount(), 7);  // t_out, q twice, t12, h_c, h_r, share
        const QStringList outer = {"155.0", "284.9", "147.8"};
        for (int c = 0; c < 3; ++c) QCOMPARE(grid->item(0, c)->text(), outer[c]);
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("2232.0"));
        QCOMPARE(grid->item(2, 2)->text(), text("Text18"));
        QCOMPARE(grid->item(4, 0)->text(), QString());  // the chart has no h_c

        click("Command1");  // another method's result has no W/m², h_c, h_r
        QCOMPARE(text("Text18"), QString());
        QCOMPARE(text("Text9"), QStringLiteral(" 2232"));
    }

    void standardRefusesWhatItCannotSign() {
        ui::MessageRecorder boxes;
        setText("Text15", "1.5");
        click("Command8");
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("出错信息提示："));
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("发射率应为 0 到 1 之间的数值"));
        QCOMPARE(text("Text8"), QString());
        QCOMPARE(text("Text9"), QString());
        QCOMPARE(control<QTableWidget>("Grid1")->rowCount(), 0);
        setText("Text15", "0.8");
    }

    // A negative thickness or an inner temperature no lining can have: each method says
    // so, and no result stays in sight; the kept values are those of the last calculation.
    void everyMethodRefusesWhatCannotBeALining() {
        ui::MessageRecorder boxes;
        click("Command1");
        setText(layer("Text3", 1), "-113");
        for (const char* method : {"Command1", "Command2", "Command8"}) {
            boxes.clear();
            click(method);
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes()[0].text,
                     QStringLiteral("二层保温厚度应为不小于 0 的数值（毫米）：“-113”"));
            for (const char* field : {"Text7(0)", "Text8", "Text9", "Text10"})
                QCOMPARE(text(field), QString());
        }
        setText(layer("Text3", 1), "113");
        setText("Text1", "1e308");
        boxes.clear();
        click("Command1");
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].text,
                 QStringLiteral("炉内表面温度应在 -273.15 到 5000 ℃ 之间：“1e308”"));
        QCOMPARE(text("Text9"), QString());
        setText("Text1", "1000");
        click("Command1");
        QCOMPARE(text("Text9"), QStringLiteral(" 2232"));
    }

    // 硅藻土砖(A级) serves up to 900 °C: inside a 1000 °C wall it is marked, the layer
    // behind it, cooler than its limit, is not; the chart method clears the marks.
    void standardMarksLayersAboveTheirServiceLimit() {
        ui::MessageRecorder boxes;
        chooseMaterial(0, QStringLiteral("硅藻土砖(A级)"));
        click("Command8");
        QVERIFY(boxes.boxes().isEmpty());
        for (const char* field : {"Text2", "Text5"}) {
            auto* edit = control(layer(field, 0));
            QCOMPARE(edit->toolTip(), QStringLiteral("热面温度 1000.0 ℃ 高于最高使用温度 900 ℃"));
            QVERIFY(edit->styleSheet().contains(QStringLiteral("red")));
        }
        QCOMPARE(control(layer("Text2", 1))->toolTip(), QString());
        QCOMPARE(control(layer("Text2", 1))->styleSheet(), QString());
        chooseMaterial(0, QStringLiteral("粘土砖(N-1)"));  // serves up to 1350 °C
        click("Command8");
        QCOMPARE(control(layer("Text2", 0))->toolTip(), QString());
        QCOMPARE(control(layer("Text2", 0))->styleSheet(), QString());
    }

    // The chart and the convection method mark the same layer from their own interface
    // temperatures; T beyond the chart's range is said beside their results.
    void everyMethodMarksLayersAboveTheirLimit() {
        ui::MessageRecorder boxes;
        chooseMaterial(1, QStringLiteral("超细玻璃棉毡"));  // 400 °C, behind the first layer
        auto* warning = control<QLabel>(QStringLiteral("RangeWarning"));
        for (const char* method : {"Command1", "Command2"}) {
            click(method);
            const QString hot = text("Text7(0)").trimmed();  // t12, the hot face of layer 2
            QVERIFY(hot.toDouble() > 400);
            auto* name = control(layer("Text2", 1));
            QVERIFY2(name->toolTip().startsWith(QStringLiteral("热面温度 ")), method);
            QVERIFY(name->toolTip().endsWith(QStringLiteral(" ℃ 高于最高使用温度 400 ℃")));
            QVERIFY(name->styleSheet().contains(QStringLiteral("red")));
            QCOMPARE(control(layer("Text2", 0))->toolTip(), QString());
            QCOMPARE(warning->text(), QString());
        }
        setText("Text1", "1600");
        for (const char* method : {"Command1", "Command2"}) {
            click(method);
            QCOMPARE(warning->text(),
                     QStringLiteral("炉内温度 1600 ℃ 超出图表范围 200-1400 ℃，结果为外推值"));
            QVERIFY(warning->isVisible());
        }
        click("Command8");  // the standard method does not read the charts
        QCOMPARE(warning->text(), QString());
        QVERIFY(boxes.boxes().isEmpty());
        setText("Text1", "1000");
        chooseMaterial(1, QStringLiteral("轻质粘土砖NG-1.0"));
        click("Command1");  // the values the next tests keep
    }

    void warningsAndKeptValues() {
        ui::MessageRecorder boxes;
        control<QComboBox>(QStringLiteral("Combo1"))->setCurrentIndex(-1);
        setText("Text1", "");
        setText(layer("Text3", 0), "");
        click("Command1");
        QCOMPARE(boxes.boxes().size(), 2);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("出错信息提示："));
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("请选择传热计算的部位"));
        QCOMPARE(boxes.boxes()[1].text, QStringLiteral("请输入炉内温度"));
        QCOMPARE(text("Text8"), QString());                   // no location: no chart, q = 0
        QCOMPARE(text("Text7(0)"), QStringLiteral(" 1000"));  // T kept

        boxes.clear();
        control<QComboBox>(QStringLiteral("Combo1"))->setCurrentIndex(0);
        click("Command1");
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(text("Text9"), QStringLiteral(" 2232"));
        setText("Text1", "1000");
        setText(layer("Text3", 0), "230");
    }

    void temperatureDropChartShowsOneLinePerLayer() {
        ui::MessageRecorder boxes;
        click("Command1");
        QVERIFY(boxes.boxes().isEmpty());
        click("Command5");
        QWidget* chart = heatWindow()->findChild<QWidget*>(QStringLiteral("TemperatureDropChart"));
        QVERIFY(chart && chart->isVisible());
        QChart* c = chart->findChild<QChartView*>()->chart();
        QCOMPARE(c->title(), QStringLiteral("保温温降曲线"));
        QCOMPARE(c->series().size(), 2);
        QCOMPARE(c->series()[1]->name(), QStringLiteral("2 轻质粘土砖NG-1.0"));
        setText(layer("Text3", 2), "100");
        click("Command1");  // the open chart follows the calculation
        QCOMPARE(c->series().size(), 3);
        setText(layer("Text3", 2), "0");
        chart->hide();
    }

    void addingAMaterialRefusesBadInputAndDuplicates() {
        ui::MessageRecorder boxes;
        click("Command4");
        QWidget* form = heatWindow()->findChild<QWidget*>(QStringLiteral("AddMaterialDialog"));
        QVERIFY(form && form->isVisible());
        auto fill = [form](const QString& name, const QString& lambda) {
            control(QStringLiteral("Text1"), form)->setText(name);
            control(QStringLiteral("Text2"), form)->setText(lambda);
            control(QStringLiteral("Text3"), form)->setText(QStringLiteral("300"));
            control(QStringLiteral("Text4"), form)->setText(QStringLiteral("1000"));
            click(QStringLiteral("Command1"), form);
        };
        fill(QStringLiteral("新材料"), QStringLiteral("0.1+x*t"));
        fill(QStringLiteral("硅砖"), QStringLiteral("0.1"));
        fill(QStringLiteral("  "), QStringLiteral("0.1"));
        QCOMPARE(boxes.boxes().size(), 3);
        QVERIFY(boxes.boxes()[0].text.contains(QStringLiteral("0.1+x*t")));
        QVERIFY(boxes.boxes()[1].text.contains(QStringLiteral("已在数据库中")));
        QCOMPARE(control<QComboBox>(layer("Combo3", 0))->count(), 54);

        fill(QStringLiteral("新材料"), QStringLiteral("0.03+0.1*t"));
        QCOMPARE(boxes.boxes().size(), 4);
        QCOMPARE(boxes.boxes()[3].text, QStringLiteral("材料“新材料”已添加到数据库"));
        QCOMPARE(control<QComboBox>(layer("Combo3", 5))->count(), 55);
        chooseMaterial(5, QStringLiteral("新材料"));
        QCOMPARE(text(layer("Text6", 5)), QStringLiteral("0.03+0.1*t"));
        QCOMPARE(text(layer("Text4", 5)), QStringLiteral("300"));
        form->hide();
    }

    // A material added while three layers are chosen: the lists gain it, and every layer
    // keeps its material, its box's text and its thickness.
    void addingAMaterialKeepsEveryLayer() {
        ui::MessageRecorder boxes;
        const QStringList chosen = {QStringLiteral("高铝砖LZ-48"),
                                    QStringLiteral("轻质粘土砖NG-1.0"),
                                    QStringLiteral("硅藻土砖(A级)")};
        for (int k = 0; k < 3; ++k) {
            auto* list = control<QComboBox>(layer("Combo3", k));
            list->setCurrentIndex(list->findText(chosen[k]));
            emit list->textActivated(chosen[k]);
        }
        click("Command4");
        QWidget* form = heatWindow()->findChild<QWidget*>(QStringLiteral("AddMaterialDialog"));
        const QStringList fields = {"硅酸铝纤维毡", "0.035+0.2*t", "128", "1000"};
        for (int i = 0; i < fields.size(); ++i)
            control(QStringLiteral("Text%1").arg(i + 1), form)->setText(fields[i]);
        click(QStringLiteral("Command1"), form);
        QCOMPARE(boxes.boxes().size(), 1);
        for (int k = 0; k < 3; ++k) {
            auto* list = control<QComboBox>(layer("Combo3", k));
            QCOMPARE(list->count(), 56);
            QCOMPARE(list->currentText(), chosen[k]);
            QCOMPARE(list->currentIndex(), list->findText(chosen[k]));
            QCOMPARE(text(layer("Text2", k)), chosen[k]);
        }
        QCOMPARE(text(layer("Text2", 3)), QStringLiteral("粘土砖(N-1)"));
        form->hide();
    }

    void enterAddsAndEscCloses() {
        ui::MessageRecorder boxes;
        click("Command4");
        QWidget* form = heatWindow()->findChild<QWidget*>(QStringLiteral("AddMaterialDialog"));
        form->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), form);
        const QStringList fields = {"玻璃棉管壳", "0.04", "48", "300"};
        for (int i = 0; i < fields.size(); ++i)
            control(QStringLiteral("Text%1").arg(i + 1), form)->setText(fields[i]);
        QLineEdit* last = control(QStringLiteral("Text4"), form);
        last->setFocus();
        QTest::keyClick(last, Qt::Key_Return);
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("材料“玻璃棉管壳”已添加到数据库"));
        QTest::keyClick(last, Qt::Key_Escape);
        QVERIFY(!form->isVisible());

        heatWindow()->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), heatWindow());
        QTest::keyClick(control(QStringLiteral("Text1")), Qt::Key_Escape);
        QVERIFY(!heatWindow()->isVisible());
        heat::showHeatTransferWindow();
    }

    void helpExplainsTheMethods() {
        click("Command6");
        QWidget* help = heatWindow()->findChild<QWidget*>(QStringLiteral("HeatHelp"));
        QVERIFY(help && help->isVisible());
        help->hide();
    }

    void exitEndsTheProgram() {
        QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
        QTimer::singleShot(0, [] { click("Command7"); });
        qApp->exec();
        QCOMPARE(quitting.count(), 1);
        ui::setDataDirOverride(std::string());
    }
};

QTEST_MAIN(HeatTransferWindowTest)
#include "heat_transfer_window_test.moc"
