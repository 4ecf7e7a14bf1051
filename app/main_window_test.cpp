// The main window driven by object name on the offscreen platform.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/program_icon.h"
#include "app/start_up.h"
#include "db/data_folder.h"
#include "ui/data_paths.h"
#include "ui/find_control.h"
#include "ui/message_recorder.h"
#include "ui/window_placement.h"

namespace {

template <typename T>
T* find(const QObject& w, const QString& name) {
    return ui::findControl<T>(&w, name);
}

// The visible rows as "caption,caption,…" with "-" for a hidden row.
QString rowCaptions(QWidget& w) {
    QStringList out;
    for (const char* name : {"Label2", "Label3", "Label4"}) {
        QLabel* l = find<QLabel>(w, QString::fromLatin1(name));
        out << (l->isVisible() ? l->text() : QStringLiteral("-"));
    }
    return out.join(u',');
}

QString visibleTypeList(QWidget& w) {
    QStringList shown;
    for (const char* name : {"钢板", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7"})
        if (find<QComboBox>(w, QString::fromUtf8(name))->isVisible()) shown << QString::fromUtf8(name);
    return shown.join(u',');
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    app::Tolvane* window_ = nullptr;
    QTemporaryDir config_;  // what the windows remember goes here, not to the user's folder
    QWidget& w() { return *window_; }
    void chooseType(int index) { find<QComboBox>(w(), QStringLiteral("Combo1"))->setCurrentIndex(index); }
    void press(const QString& caption) {
        for (QPushButton* b : w().findChildren<QPushButton*>())
            if (b->objectName().startsWith(QStringLiteral("Keypad(")) && b->text() == caption) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        QFAIL(qPrintable(QStringLiteral("no key ") + caption));
    }
    void focus(const QString& name) {
        QWidget* f = find<QWidget>(w(), name);
        f->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toUtf8()); }

    void init() {
        window_ = new app::Tolvane;
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        window_->activateWindow();
        QTest::qWait(0);
    }
    void cleanup() { delete window_; }

    // The menu's windows open over the main window, as the program sets them up at start.
    void menuWindowsOpenOverTheMainWindow() {
        ui::placeSecondaryWindows(*qApp);
        w().move(0, 100);
        find<QAction>(w(), QStringLiteral("water_cold_beam"))->trigger();
        QWidget* form1 = ui::topLevelWindow(QStringLiteral("Form1"));
        QVERIFY(form1 && form1->isVisible());
        QVERIFY((form1->frameGeometry().center() - w().frameGeometry().center()).manhattanLength() <=
                4);
        form1->hide();
    }

    void startState() {
        QCOMPARE(w().windowTitle(), QStringLiteral("Tolvane"));
        auto* types = find<QComboBox>(w(), QStringLiteral("Combo1"));
        QCOMPARE(types->count(), 14);
        QCOMPARE(types->currentIndex(), -1);
        QCOMPARE(types->placeholderText(), QStringLiteral("钢材类型"));
        QCOMPARE(find<QComboBox>(w(), QStringLiteral("Combo8"))->currentText(), QStringLiteral("Q235-A"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QStringLiteral("1"));
        QCOMPARE(rowCaptions(w()), QStringLiteral("-,-,-"));
        QCOMPARE(visibleTypeList(w()), QString());
        QVERIFY(!find<QLineEdit>(w(), QStringLiteral("Text5"))->isVisible());
        QVERIFY(!find<QLineEdit>(w(), QStringLiteral("Text8"))->isVisible());
        QVERIFY(!find<QLineEdit>(w(), QStringLiteral("Text6"))->isVisible());
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text11"))->text(), QStringLiteral("Text11"));
        for (const char* name : {"Label1", "Label9", "Label16", "Label6", "Label10"})
            QVERIFY(find<QWidget>(w(), QString::fromLatin1(name))->isVisible());
        QVERIFY(find<QPushButton>(w(), QStringLiteral("Command1"))->isVisible());
        QVERIFY(find<QPushButton>(w(), QStringLiteral("Command8"))->isVisible());
        QCOMPARE(w().findChildren<QPushButton*>(QRegularExpression(QStringLiteral("^Keypad\\("))).size(), 18);
        QCOMPARE(window_->currentField(), nullptr);
        QCOMPARE(find<QComboBox>(w(), QStringLiteral("Combo3"))->count(), 41);
        QCOMPARE(find<QComboBox>(w(), QStringLiteral("Combo5"))->count(), 84);
    }

    void geometryInTwips() {
        QCOMPARE(find<QWidget>(w(), QStringLiteral("Combo8"))->geometry(), QRect(200, 24, 153, 22));
        QCOMPARE(find<QWidget>(w(), QStringLiteral("Command8"))->geometry(), QRect(296, 160, 57, 39));
        QCOMPARE(find<QWidget>(w(), QStringLiteral("Keypad(17)"))->geometry(), QRect(256, 176, 33, 25));
    }

    void menuNamesAndShortcuts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("new") << "muufilenew" << "新建材料表" << "Ctrl+N";
        QTest::newRow("open") << "mnufileopen" << "打开材料表" << "Ctrl+O";
        QTest::newRow("save") << "mnufilesave" << "保存材料表" << "Ctrl+S";
        QTest::newRow("print") << "mnufileprint" << "打印材料表" << "Ctrl+P";
        QTest::newRow("quit system") << "mnufilequit" << "退出系统" << "Ctrl+Q";
        QTest::newRow("china") << "s_find_china" << "国内钢号成分查寻" << "";
        QTest::newRow("convert") << "s_change" << "各国钢号精确转换" << "";
        QTest::newRow("standard parts") << "s_standard" << "标准件类型" << "";
        QTest::newRow("heat") << "heat_cal" << "传热计算" << "";
        QTest::newRow("beams") << "water_cold_beam" << "水冷梁计算" << "";
        QTest::newRow("batch") << "BATCHPLOT" << "批量打印" << "";
        QTest::newRow("help") << "mnuhelphelp" << "帮助信息" << "Ctrl+H";
        QTest::newRow("version") << "mnuhelpinfo" << "版本信息" << "Ctrl+I";
        QTest::newRow("fill") << "fill" << "智能填充" << "";
        QTest::newRow("quit") << "quit" << "退出" << "";
    }
    void menuNamesAndShortcuts() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        auto* action = w().findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut().toString(), shortcut);
    }

    void rowsFollowTheSteelType_data() {
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("boltHoles");
        QTest::newRow("channel then plate") << QList<int>{2, 0} << "长度,宽度,厚度" << "钢板" << false;
        QTest::newRow("pipe") << QList<int>{1} << "长度,外径,厚度" << "Combo2" << false;
        QTest::newRow("channel") << QList<int>{2} << "长度,-,-" << "Combo3" << false;
        QTest::newRow("unequal angle") << QList<int>{6} << "长度,-,-" << "Combo7" << false;
        QTest::newRow("flange") << QList<int>{9} << "厚度,外径,内径" << "" << true;
        QTest::newRow("flange then round bar") << QList<int>{9, 7} << "长度,外径,-" << "" << false;
        QTest::newRow("square bar") << QList<int>{8} << "长度,边长,-" << "" << false;
        QTest::newRow("bolt") << QList<int>{10} << "直径,长度,-" << "" << false;
        QTest::newRow("channel then nut") << QList<int>{2, 11} << "规格,-,-" << "" << false;
        QTest::newRow("flange then washer") << QList<int>{9, 12} << "规格,内径,厚度" << "" << false;
        QTest::newRow("cotter pin") << QList<int>{13} << "规格,长度,-" << "" << false;
    }
    void rowsFollowTheSteelType() {
        QFETCH(QList<int>, choices);
        QFETCH(QString, rows);
        QFETCH(QString, list);
        QFETCH(bool, boltHoles);
        for (int c : choices) chooseType(c);
        QCOMPARE(rowCaptions(w()), rows);
        QCOMPARE(visibleTypeList(w()), list);
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text5"))->isVisible(), boltHoles);
        QCOMPARE(find<QLabel>(w(), QStringLiteral("Label7"))->isVisible(), boltHoles);
    }

    void fieldTextsSurviveATypeChange() {
        chooseType(0);
        find<QLineEdit>(w(), QStringLiteral("Text3"))->setText(QStringLiteral("12"));
        chooseType(2);
        chooseType(0);
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text3"))->text(), QStringLiteral("12"));
    }

    void keypadEditsTheQuantity() {
        focus(QStringLiteral("Text4"));
        press(QStringLiteral("5"));
        press(QStringLiteral("."));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QStringLiteral("15."));
        press(QStringLiteral("后退"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QStringLiteral("15"));
        for (const char* inert : {"+", "-", "TAB", "/", "'"}) press(QString::fromLatin1(inert));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QStringLiteral("15"));
        press(QStringLiteral("全消"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QString());
        press(QStringLiteral("后退"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QString());
    }

    void keypadInertOnListsAndBeforeAnyFocus() {
        press(QStringLiteral("7"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QStringLiteral("1"));
        focus(QStringLiteral("Text4"));
        focus(QStringLiteral("Combo1"));
        press(QStringLiteral("7"));
        press(QStringLiteral("全消"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QStringLiteral("1"));
        QCOMPARE(find<QComboBox>(w(), QStringLiteral("Combo1"))->currentIndex(), -1);
    }

    void untrackedControlsKeepTheCurrentField() {
        chooseType(9);
        focus(QStringLiteral("Text4"));
        focus(QStringLiteral("Text5"));  // bolt-hole rows never become the current field
        focus(QStringLiteral("Combo8"));
        press(QStringLiteral("3"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text4"))->text(), QStringLiteral("13"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text5"))->text(), QString());
    }

    void typingIntoText1MakesItCurrent() {
        chooseType(0);
        focus(QStringLiteral("Text4"));
        find<QLineEdit>(w(), QStringLiteral("Text1"))->setText(QStringLiteral("60"));
        press(QStringLiteral("0"));
        QCOMPARE(find<QLineEdit>(w(), QStringLiteral("Text1"))->text(), QStringLiteral("600"));
    }

    void programIconComesInEveryThemeSize() {
        const QList<QSize> sizes = app::programIcon().availableSizes();
        for (int s : {16, 24, 32, 48, 64, 128, 256})
            QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
    }

    void helpShowsTheSeededHelpText() {
        QTemporaryDir dir;
        ui::setDataDirOverride(dir.filePath(QStringLiteral("data")).toStdString());
        QVERIFY(!db::seedDataFolder());
        QFile help(dir.filePath(QStringLiteral("data/help.txt")));
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString seeded = QString::fromUtf8(help.readAll());
        QVERIFY(seeded.contains(QStringLiteral("智能填充")));

        w().findChild<QAction*>(QStringLiteral("mnuhelphelp"))->trigger();
        auto* text = w().findChild<QPlainTextEdit*>(QStringLiteral("helpText"));
        QVERIFY(text && text->isVisible() && text->isReadOnly());
        QCOMPARE(text->toPlainText(), seeded);
        ui::setDataDirOverride(std::string());
    }

    void seedingKeepsTheUsersHelpText() {
        QTemporaryDir dir;
        ui::setDataDirOverride(dir.path().toStdString());
        QFile own(dir.filePath(QStringLiteral("help.txt")));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("mine");
        own.close();
        QVERIFY(!db::seedDataFolder());
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(own.readAll(), QByteArray("mine"));
        ui::setDataDirOverride(std::string());
    }

    // A data folder that cannot be checked (here a link to itself): the program says so
    // in a box and does not start.
    void anUnusableDataFolderEndsTheStart() {
        QTemporaryDir dir;
        const QString loop = dir.filePath(QStringLiteral("loop"));
        QVERIFY(QFile::link(QStringLiteral("loop"), loop));
        ui::setDataDirOverride(loop.toStdString());
        ui::MessageRecorder boxes;
        QVERIFY(!app::dataFolderReady());
        ui::setDataDirOverride(std::string());
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].icon, ui::Icon::Critical);
        QVERIFY2(boxes.boxes()[0].text.startsWith(QStringLiteral("无法使用数据文件夹 “") + loop),
                 qPrintable(boxes.boxes()[0].text));
    }

    void skidBeamMenuOpensTheRowCountChooser() {
        w().findChild<QAction*>(QStringLiteral("water_cold_beam"))->trigger();
        QWidget* chooser = ui::topLevelWindow(QStringLiteral("Form1"));
        QVERIFY(chooser && chooser->isVisible());
        chooser->hide();
    }

    void batchPlotOpensTheBatchWindowOnce() {
        const auto batchWindows = [] {
            QList<QWidget*> found;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == QStringLiteral("Form10")) found << top;
            return found;
        };
        w().findChild<QAction*>(QStringLiteral("BATCHPLOT"))->trigger();
        w().findChild<QAction*>(QStringLiteral("BATCHPLOT"))->trigger();
        QCOMPARE(batchWindows().size(), 1);
        QVERIFY(batchWindows().first()->isVisible());
        QCOMPARE(batchWindows().first()->windowTitle(), QStringLiteral("批量操作"));
        batchWindows().first()->close();
    }

    // Each grade menu item opens its window once and shows the same window again; with
    // no databases in the data folder each says so once and the program goes on.
    void gradeMenusOpenSingleWindows() {
        QTemporaryDir empty;
        ui::setDataDirOverride(empty.path().toStdString());
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", empty.path().toUtf8());  // no zuvevid.ini
        ui::MessageRecorder recorder;
        const QList<QPair<QString, QString>> items = {{"s_find_china", "GradeQueryWindow"},
                                                      {"s_change", "GradeConversionWindow"},
                                                      {"s_standard", "standard"}};
        for (const auto& [action, form] : items) {
            for (int pass = 0; pass < 2; ++pass) {
                w().findChild<QAction*>(action)->trigger();
                QList<QWidget*> shown;
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->objectName() == form) shown << top;
                QCOMPARE(shown.size(), 1);
                QVERIFY(shown[0]->isVisible());
                shown[0]->close();
            }
        }
        // The two grade windows read their database once; the standard-parts window on
        // every opening.
        QCOMPARE(recorder.boxes().size(), 4);
        ui::setDataDirOverride(std::string());
        qputenv("XDG_CONFIG_HOME", config);
    }

    void heatMenuOpensTheHeatTransferWindow() {
        QTemporaryDir data;
        ui::setDataDirOverride(data.path().toStdString());
        w().findChild<QAction*>(QStringLiteral("heat_cal"))->trigger();
        QWidget* heat = ui::topLevelWindow(QStringLiteral("HeatTransferWindow"));
        QVERIFY(heat && heat->isVisible());
        QCOMPARE(heat->windowTitle(), QStringLiteral("传热计算"));
        heat->hide();
        ui::setDataDirOverride(std::string());
    }

    void versionBoxNamesTheProgram() {
        ui::MessageRecorder recorder;
        w().findChild<QAction*>(QStringLiteral("mnuhelpinfo"))->trigger();
        QCOMPARE(recorder.boxes().size(), 1);
        QCOMPARE(recorder.boxes()[0].title, QStringLiteral("版本信息"));
        QVERIFY(recorder.boxes()[0].text.contains(QStringLiteral("Tolvane")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
