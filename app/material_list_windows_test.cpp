// The material-list functions in the real main window, driven by object name on the
// offscreen platform: smart fill from the clipboard, 计算, the material-list panel and
// its files.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "materiallist/main_window_link.h"
#include "materiallist/material_list_panel.h"
#include "ui/find_control.h"
#include "ui/message_recorder.h"

namespace {

template <typename T>
T* find(const QObject& w, const QString& name) {
    return ui::findControl<T>(&w, name);
}

}  // namespace

class MaterialListWindowsTest : public QObject {
    Q_OBJECT

private:
    app::Tolvane* window_ = nullptr;
    materiallist::MainWindowLink* link_ = nullptr;

    QLineEdit* field(const char* name) {
        return find<QLineEdit>(*window_, QString::fromUtf8(name));
    }
    QComboBox* list(const char* name) { return find<QComboBox>(*window_, QString::fromUtf8(name)); }
    QString caption(const char* name) {
        return find<QLabel>(*window_, QString::fromUtf8(name))->text();
    }
    QTableWidget* table() { return find<QTableWidget>(*window_, QStringLiteral("MaterialTable")); }
    void fill(const QString& clipboard) {
        QGuiApplication::clipboard()->setText(clipboard);
        find<QAction>(*window_, QStringLiteral("fill"))->trigger();
    }
    void calculate() {
        QTest::mouseClick(find<QPushButton>(*window_, QStringLiteral("Command1")), Qt::LeftButton);
    }
    void addItem() {
        QTest::mouseClick(find<QPushButton>(*window_, QStringLiteral("AddItem")), Qt::LeftButton);
    }
    // Fills, sets the quantity, calculates and adds the item to the list.
    void weigh(const QString& description, const QString& quantity) {
        fill(description);
        field("Text4")->setText(quantity);
        calculate();
        addItem();
    }

private slots:
    void init() {
        window_ = new app::Tolvane;
        link_ = materiallist::MainWindowLink::of(window_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void cleanup() { delete window_; }

    void smartFillThenCalculate() {
        ui::MessageRecorder recorder;
        fill(QStringLiteral("L63x40x5-6000"));
        QCOMPARE(list("Combo1")->currentIndex(), 6);
        QVERIFY(list("Combo7")->isVisible());
        QVERIFY(!list("Combo3")->isVisible());
        QCOMPARE(list("Combo7")->currentText(), QStringLiteral("6.3/4-----63x40x5"));
        QCOMPARE(caption("Label2"), QStringLiteral("长度"));
        QCOMPARE(field("Text1")->text(), QStringLiteral("6000"));
        QVERIFY(!field("Text2")->isVisible());
        QCOMPARE(field("Text4")->text(), QString());
        QCOMPARE(window_->currentField(), field("Text1"));

        field("Text4")->setText(QStringLiteral("4"));
        calculate();
        QCOMPARE(field("Text7")->text(), QStringLiteral(" 23.52"));
        QCOMPARE(field("Text9")->text(), QStringLiteral(" 94.08"));
        QVERIFY(recorder.boxes().isEmpty());
    }

    void washerRowsFollowTheDescription() {
        fill(QStringLiteral("washer 40x21x3"));
        QCOMPARE(list("Combo1")->currentIndex(), 12);
        QCOMPARE(caption("Label2") + caption("Label3") + caption("Label4"),
                 QStringLiteral("外径内径厚度"));
        QVERIFY(field("Text3")->isVisible());
        fill(QStringLiteral("washer 20"));
        QCOMPARE(caption("Label2"), QStringLiteral("规格"));
        QVERIFY(!field("Text2")->isVisible());
        QVERIFY(!field("Text3")->isVisible());
        field("Text4")->setText(QStringLiteral("10"));
        calculate();
        QCOMPARE(field("Text7")->text(), QStringLiteral(" .016"));
        QCOMPARE(field("Text9")->text(), QStringLiteral(" .16"));
    }

    // A washer picked after a plate shows the plate's width and thickness it would read
    // as inner diameter and thickness, and an inside-out washer weighs nothing.
    void washerShowsEveryRowItReadsAndRefusesAnInsideOutOne() {
        list("Combo1")->setCurrentIndex(0);
        field("Text1")->setText(QStringLiteral("1000"));
        field("Text2")->setText(QStringLiteral("500"));
        field("Text3")->setText(QStringLiteral("10"));
        calculate();
        QCOMPARE(field("Text7")->text(), QStringLiteral(" 39.25"));

        list("Combo1")->setCurrentIndex(12);
        for (const char* name : {"Text1", "Text2", "Text3"}) QVERIFY(field(name)->isVisible());
        QCOMPARE(caption("Label2") + caption("Label3") + caption("Label4"),
                 QStringLiteral("规格内径厚度"));
        ui::MessageRecorder recorder;
        field("Text1")->setText(QStringLiteral("20"));
        calculate();
        QCOMPARE(recorder.boxes().size(), 1);
        QCOMPARE(recorder.boxes()[0].title, QStringLiteral("提示信息"));
        QCOMPARE(recorder.boxes()[0].text,
                 QStringLiteral("非标垫片的内径不小于外径，请检查输入！"));
        QCOMPARE(field("Text7")->text(), QStringLiteral(" 39.25"));
        QCOMPARE(field("Text9")->text(), QStringLiteral(" 39.25"));

        list("Combo1")->setCurrentIndex(13);
        QCOMPARE(caption("Label2") + caption("Label3"), QStringLiteral("规格长度"));
        QVERIFY(field("Text2")->isVisible());
        QVERIFY(!field("Text3")->isVisible());
    }

    void failedFillClearsTheFourFieldsAndKeepsTheResults() {
        fill(QStringLiteral("U25a-6000"));
        calculate();  // quantity empty after the fill: total 0
        QCOMPARE(field("Text7")->text(), QStringLiteral(" 164.45"));
        QCOMPARE(field("Text9")->text(), QStringLiteral(" 0"));

        ui::MessageRecorder recorder;
        field("Text4")->setText(QStringLiteral("3"));
        fill(QString());
        QCOMPARE(recorder.boxes().size(), 1);
        QCOMPARE(recorder.boxes()[0].title, QStringLiteral("出错信息！"));
        QCOMPARE(recorder.boxes()[0].text,
                 QStringLiteral("规格描述可能有问题，如果你认为正确的话，请与软件开发者联系"));
        for (const char* name : {"Text1", "Text2", "Text3", "Text4"})
            QCOMPARE(field(name)->text(), QString());
        QCOMPARE(list("Combo1")->currentIndex(), 2);
        QCOMPARE(field("Text7")->text(), QStringLiteral(" 164.45"));
    }

    void fastenerMessageKeepsThePreviousUnitWeight() {
        ui::MessageRecorder recorder;
        fill(QStringLiteral("bolt M7---50"));
        field("Text4")->setText(QStringLiteral("1"));
        calculate();
        QCOMPARE(field("Text7")->text(), QStringLiteral(" .03"));
        fill(QStringLiteral("nut M7"));
        field("Text4")->setText(QStringLiteral("5"));
        calculate();
        QCOMPARE(recorder.boxes().size(), 1);
        QCOMPARE(recorder.boxes()[0].title, QStringLiteral("提示信息"));
        QCOMPARE(recorder.boxes()[0].text, QStringLiteral("你选择的不是标准螺母吧！"));
        QCOMPARE(field("Text7")->text(), QStringLiteral(" .03"));
        QCOMPARE(field("Text9")->text(), QStringLiteral(" .15"));
    }

    void refusedInputLeavesTheResults() {
        fill(QStringLiteral("plate 10x1000x500"));
        calculate();
        QCOMPARE(field("Text7")->text(), QStringLiteral(" 39.25"));
        ui::MessageRecorder recorder;
        field("Text4")->setText(QStringLiteral("40000"));
        calculate();
        QCOMPARE(recorder.boxes().size(), 1);
        QCOMPARE(recorder.boxes()[0].title, QStringLiteral("提示信息"));
        QVERIFY(recorder.boxes()[0].text.startsWith(QStringLiteral("数量")));
        QCOMPARE(field("Text7")->text(), QStringLiteral(" 39.25"));
        QCOMPARE(field("Text9")->text(), QStringLiteral(" 0"));
    }

    void itemsGoToTheList() {
        QVERIFY(find<QDockWidget>(*window_, QStringLiteral("MaterialListDock"))->isVisible());
        QCOMPARE(materiallist::MainWindowLink::of(window_), link_);
        QCOMPARE(window_->findChildren<QDockWidget*>().size(), 1);
        QVERIFY(!find<QPushButton>(*window_, QStringLiteral("AddItem"))->isEnabled());
        weigh(QStringLiteral("L63x40x5-6000"), QStringLiteral("4"));
        weigh(QStringLiteral("plate 10x1500x3000"), QStringLiteral("2"));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(table()->item(0, 0)->text(), QStringLiteral("不等边角铁"));
        QCOMPARE(table()->item(0, 1)->text(), QStringLiteral("6.3/4-----63x40x5 L=6000"));
        QCOMPARE(table()->item(0, 2)->text(), QStringLiteral("Q235-A"));
        QCOMPARE(table()->item(0, 5)->text(), QStringLiteral("94.08"));
        QCOMPARE(table()->item(1, 1)->text(), QStringLiteral("10x1500x3000"));
        QCOMPARE(find<QLabel>(*window_, QStringLiteral("MaterialTotal"))->text(),
                 QStringLiteral("合计：800.58 kg"));

        table()->selectRow(0);
        QTest::mouseClick(find<QPushButton>(*window_, QStringLiteral("RemoveItems")),
                          Qt::LeftButton);
        QCOMPARE(table()->rowCount(), 1);
        QCOMPARE(table()->item(0, 0)->text(), QStringLiteral("钢板"));
    }

    void newListAsksBeforeDroppingChanges() {
        ui::MessageRecorder recorder;
        weigh(QStringLiteral("U25a-6000"), QStringLiteral("1"));
        find<QAction>(*window_, QStringLiteral("muufilenew"))->trigger();
        QCOMPARE(recorder.boxes().size(), 1);
        QCOMPARE(recorder.boxes()[0].buttons, ui::Buttons::YesNo);
        QCOMPARE(table()->rowCount(), 1);  // answered No
        recorder.queueAnswer(ui::Answer::Yes);
        find<QAction>(*window_, QStringLiteral("muufilenew"))->trigger();
        QCOMPARE(table()->rowCount(), 0);
    }

    void saveOpenAndBadFiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("材料表.csv"));
        weigh(QStringLiteral("U25a-6000"), QStringLiteral("4"));
        weigh(QStringLiteral("pipe 89x4.5---3000"), QStringLiteral("2"));
        materiallist::MaterialListPanel* panel = link_->panel();
        QVERIFY(panel->saveFile(path));
        QVERIFY(!panel->isModified());

        ui::MessageRecorder recorder;
        QVERIFY(panel->newList());  // saved: no question
        QVERIFY(recorder.boxes().isEmpty());
        QVERIFY(panel->openFile(path));
        QCOMPARE(table()->rowCount(), 2);
        QCOMPARE(table()->item(1, 1)->text(), QStringLiteral("3000x89x4.5"));

        QFile bad(dir.filePath(QStringLiteral("bad.csv")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(
            "类型,规格/"
            "尺寸,材料,数量,单重(kg),总重(kg)\n槽钢,x,Q235-A,4,1.5,6\n木头,x,,1,1,1\n合计,,,,,7\n");
        bad.close();
        QVERIFY(!panel->openFile(bad.fileName()));
        QCOMPARE(recorder.boxes().size(), 1);
        QVERIFY(recorder.boxes()[0].text.contains(QStringLiteral("第3行")));
        QVERIFY(recorder.boxes()[0].text.contains(QStringLiteral("bad.csv")));
        QCOMPARE(table()->rowCount(), 2);  // nothing half-loaded

        QVERIFY(!panel->saveFile(dir.filePath(QStringLiteral("no-such-folder/list.csv"))));
        QCOMPARE(recorder.boxes().size(), 2);
    }

    void printsToPdf() {
        QTemporaryDir dir;
        weigh(QStringLiteral("HW250x250x9x14-6000"), QStringLiteral("2"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("list.pdf")));
        link_->panel()->print(printer);
        QFile pdf(printer.outputFileName());
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
    }
};

QTEST_MAIN(MaterialListWindowsTest)
#include "material_list_windows_test.moc"
