// The two grade windows driven by object name offscreen, on the seed databases built
// in a temporary data folder, with the message recorder answering the boxes. The
// windows are single instances, so each test reaches them through the menu's entry
// points and the tests share them in order.
#include "grades/grade_windows.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "db/seed.h"
#include "grades/grade_conversion_window.h"
#include "grades/grade_query_window.h"
#include "ui/find_control.h"
#include "ui/fonts.h"
#include "ui/message_recorder.h"
#include "ui/modal_answer.h"

namespace {

template <typename T = QWidget>
T* find(QWidget* w, const QString& name) {
    return ui::findControl<T>(w, name);
}

QString display(QWidget* w, const QString& prefix, int i) {
    return find<QLineEdit>(w, QStringLiteral("%1(%2)").arg(prefix).arg(i))->text();
}

QStringList items(QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i) all << box->itemText(i);
    return all;
}

void enter(QWidget* w) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w, &in);
}

void type(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
}

// Typing offers completions in a popup; the user goes on without picking one.
void closeCompletions(QComboBox* box) {
    if (QAbstractItemView* popup = box->completer()->popup()) popup->hide();
}

void activate(QWidget* w) {
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// The page sizes of a PDF file as written by Qt, in points.
QList<QSize> pdfPages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString pdf = QString::fromLatin1(f.readAll());
    QList<QSize> pages;
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    for (const QRegularExpressionMatch& m : box.globalMatch(pdf))
        pages << QSize(qRound(m.captured(1).toDouble()), qRound(m.captured(2).toDouble()));
    return pages;
}

void pick(QComboBox* box, const QString& item) {
    const int i = box->findText(item);
    QVERIFY2(i >= 0, qPrintable(item));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

}  // namespace

class GradeWindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir data_;
    ui::MessageRecorder boxes_;

    QString documents() const { return data_.filePath(QStringLiteral("Documents")); }

private slots:
    // The settings file and the documents folder in the scratch folder; the working
    // folder elsewhere, where no dialog may open.
    void initTestCase() {
        qputenv("TOLVANE_DATA_DIR", data_.path().toUtf8());
        const QString config = data_.filePath(QStringLiteral("config"));
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        QDir().mkpath(config);
        QDir().mkpath(documents());
        QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOCUMENTS_DIR=\"" + documents().toUtf8() + "\"\n");
        dirs.close();
        QDir().mkpath(data_.filePath(QStringLiteral("cwd")));
        QVERIFY(QDir::setCurrent(data_.filePath(QStringLiteral("cwd"))));
        const std::string dir = data_.path().toStdString();
        QVERIFY(db::seedDatabases(dir, dir, TOLVANE_SEED_DIR).empty());
    }

    void init() { boxes_.clear(); }

    void queryShowsTheGradeOrTheFirstRow() {
        QWidget* w = grades::showGradeQueryWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("世界钢号查询系统"));
        QCOMPARE(w->height(), ui::twips(5400));
        QVERIFY(!find(w, "MSFlexGrid1")->isVisible());
        QCOMPARE(display(w, "Text1", 1), QStringLiteral("Q195"));

        auto* grade = find<QComboBox>(w, "Combo1");
        type(grade, QStringLiteral("45"));
        find<QPushButton>(w, "Command1")->click();
        QCOMPARE(display(w, "Text1", 0), QStringLiteral("优质碳素结构钢"));
        QCOMPARE(display(w, "Text1", 1), QStringLiteral("45"));
        QCOMPARE(find<QLabel>(w, "Label3(13)")->text(), QStringLiteral("短标断后伸长率δ5（%）:"));

        type(grade, QStringLiteral("no such grade"));  // a miss shows the table's first row
        find<QPushButton>(w, "Command1")->click();
        QCOMPARE(display(w, "Text1", 1), QStringLiteral("Q195"));
        QVERIFY(boxes_.boxes().isEmpty());
    }

    void enteringTheGradeBoxRebuildsItsListWithoutDuplicates() {
        QWidget* w = grades::showGradeQueryWindow();
        auto* grade = find<QComboBox>(w, "Combo1");
        type(grade, QStringLiteral("q235"));
        for (int pass = 0; pass < 2; ++pass) {
            enter(grade);
            QCOMPARE(grade->count(), 79);
            const QStringList all = items(grade);
            QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), 79);
            QCOMPARE(grade->itemText(0), QStringLiteral("Q195"));
            QCOMPARE(grade->currentText(), QStringLiteral("q235"));  // the typed text stays
            auto* progress = find<QProgressBar>(w, "ProgressBar1");
            QVERIFY(!progress->isVisible());
            QCOMPARE(progress->maximum(), 79);
            QCOMPARE(progress->value(), 79);
        }
        pick(grade, QStringLiteral("40Cr"));  // a list choice queries at once
        QCOMPARE(display(w, "Text1", 1), QStringLiteral("40Cr"));
    }

    void theGridFillsTheGradeBoxOnly() {
        QWidget* w = grades::showGradeQueryWindow();
        find<QPushButton>(w, "Command2")->click();
        auto* grid = find<QTableView>(w, "MSFlexGrid1");
        QVERIFY(grid->isVisible());
        QCOMPARE(w->height(), ui::twips(6500));
        QCOMPARE(grid->model()->rowCount(), 79);

        const QString shown = display(w, "Text1", 1);
        const int gradeColumn = 1;  // ID, 钢号, 类别, …
        QCOMPARE(grid->model()->headerData(gradeColumn, Qt::Horizontal).toString(),
                 QStringLiteral("钢号"));
        grid->setCurrentIndex(grid->model()->index(4, gradeColumn));
        QCOMPARE(find<QComboBox>(w, "Combo1")->currentText(),
                 grid->model()->index(4, gradeColumn).data().toString());
        QCOMPARE(display(w, "Text1", 1), shown);

        find<QPushButton>(w, "Command3")->click();
        QVERIFY(!grid->isVisible());
        QCOMPARE(w->height(), ui::twips(5400));
    }

    void closingHidesAndReopeningShowsTheSameState() {
        QWidget* w = grades::showGradeQueryWindow();
        auto* grade = find<QComboBox>(w, "Combo1");
        type(grade, QStringLiteral("GCr15"));
        find<QPushButton>(w, "Command1")->click();
        find<QPushButton>(w, "Command7")->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(grades::showGradeQueryWindow(), w);
        QVERIFY(w->isVisible());
        QCOMPARE(grade->currentText(), QStringLiteral("GCr15"));
        QCOMPARE(display(w, "Text1", 1), QStringLiteral("GCr15"));
    }

    void resultIsSavedAsCsvAndPrinted() {
        grades::GradeQueryWindow* w = grades::showGradeQueryWindow();
        type(find<QComboBox>(w, "Combo1"), QStringLiteral("Q195"));
        find<QPushButton>(w, "Command1")->click();
        const QString csv = data_.filePath(QStringLiteral("result.csv"));
        QVERIFY(w->saveResult(csv));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));  // a byte-order mark for spreadsheet programs
        const QString text = QString::fromUtf8(bytes.mid(3));
        QVERIFY(text.startsWith(QStringLiteral("项目,内容\r\n类别,碳素结构钢\r\n钢号,Q195\r\n")));
        QVERIFY(text.contains(QStringLiteral("脱氧方法,\"沸腾钢,半镇静钢,镇静钢\"\r\n")));

        QVERIFY(!w->saveResult(data_.filePath(QStringLiteral("no/such/folder/r.csv"))));
        QCOMPARE(boxes_.boxes().size(), 1);
        QVERIFY(boxes_.boxes()[0].text.contains(QStringLiteral("no/such/folder/r.csv")));

        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(data_.filePath("result.pdf"));
        QCOMPARE(w->printResult(printer), 1);
        const QList<QSize> result = pdfPages(data_.filePath("result.pdf"));
        QCOMPARE(result.size(), 1);
        QVERIFY(result[0].height() > result[0].width());
        QCOMPARE(w->resultPrintout().title, QStringLiteral("世界钢号查询系统 — 查询结果"));
    }

    // The 21 columns of the table in landscape on A4, the font no smaller than legible,
    // headed by the window's caption, the grade repeated if the columns must split.
    void theListPrintsLegiblyInLandscape() {
        grades::GradeQueryWindow* w = grades::showGradeQueryWindow();
        const grades::PrintedTable list = w->listPrintout();
        QCOMPARE(list.title, QStringLiteral("世界钢号查询系统"));
        QCOMPARE(list.headers.size(), 21);
        QCOMPARE(list.headers[list.keyColumn], QStringLiteral("钢号"));
        QCOMPARE(list.rows.size(), 79);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(data_.filePath("list.pdf"));
        const int printed = w->printList(printer);
        const QList<QSize> pages = pdfPages(data_.filePath("list.pdf"));
        QCOMPARE(pages.size(), printed);
        for (const QSize& page : pages) QCOMPARE(page, QSize(842, 595));

        // On that page all 21 columns go across in a legible size, and no designation
        // breaks ("00Cr17Ni14Mo2" on one line, not "0/0Cr/17…").
        const grades::TableLayout layout = grades::layoutTable(
            list, w->printStyle(), &printer, QSizeF(printer.width(), printer.height()));
        QCOMPARE(layout.pages.size(), printed);
        QCOMPARE(layout.columnGroups, 1);
        QVERIFY(layout.pointSize >= w->printStyle().minimumPointSize);
        QFont font(w->printStyle().family);
        font.setPointSizeF(layout.pointSize);
        const QFontMetricsF metrics(font, &printer);
        const grades::TablePage& page = layout.pages[0];
        QVERIFY(page.widths[list.keyColumn] >
                metrics.horizontalAdvance(QStringLiteral("00Cr17Ni14Mo2")));
    }

    void choosingAStandardListsItAndFlashesOnlyForChina() {
        QWidget* w = grades::showGradeConversionWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("各国钢号转换系统"));
        auto* grade = find<QComboBox>(w, "Combo1");
        QCOMPARE(find<QLabel>(w, "Label1")->text(), QStringLiteral("请输入需转换的钢号："));
        QVERIFY(find(w, "Frame2")->isVisible() && !find(w, "Frame3")->isVisible());
        QVERIFY(find(w, "Command1")->isEnabled() && !find(w, "Command2")->isEnabled());

        const QColor normal = grade->palette().color(QPalette::Base);
        find<QRadioButton>(w, "Option1(0)")->click();
        QCOMPARE(find<QLabel>(w, "Label1")->text(), QStringLiteral("请选择需转换的钢号："));
        QCOMPARE(grade->count(), 112);  // every row has a 中国GB designation
        QCOMPARE(grade->itemText(0), QStringLiteral("Q195"));
        // The flash runs on the event loop: the click returns at once, the box turns red
        // while events are processed, and its colour comes back within the flash time.
        const auto red = [grade] {
            const QColor c = grade->palette().color(QPalette::Base);
            return c.red() > 0 && c.green() == 0 && c.blue() == 0;
        };
        QTRY_VERIFY(red());
        QTRY_COMPARE_WITH_TIMEOUT(grade->palette().color(QPalette::Base), normal,
                                  4 * grades::GradeConversionWindow::kFlashMilliseconds);

        find<QRadioButton>(w, "Option1(3)")->click();  // 日本JIS: no flash
        QCOMPARE(grade->palette().color(QPalette::Base), normal);
        pick(grade, QStringLiteral("SUS304"));
        QVERIFY(find(w, "Frame2")->isVisible() && !find(w, "Frame3")->isVisible());
        QCOMPARE(display(w, "Text1", 1), QStringLiteral("0Cr18Ni9/06Cr19Ni10"));
        QCOMPARE(display(w, "Text1", 4), QStringLiteral("SUS304"));
    }

    void searchGoesThroughTheStandardsInOrder() {
        auto* w = grades::showGradeConversionWindow();
        auto* grade = find<QComboBox>(w, "Combo1");
        auto* search = find<QPushButton>(w, "Command1");
        auto* next = find<QPushButton>(w, "Command2");
        const auto shown = [&] {
            return QStringLiteral("%1 %2").arg(w->searchPosition()).arg(display(w, "Text2", 1));
        };

        type(grade, QStringLiteral("Q235"));
        search->click();
        QVERIFY(find(w, "Frame3")->isVisible() && !find(w, "Frame2")->isVisible());
        QCOMPARE(shown(), QStringLiteral("1 Q235A"));
        QVERIFY(!search->isEnabled() && next->isEnabled());
        next->click();
        QCOMPARE(shown(), QStringLiteral("1 Q235B"));

        // C45 first matches in 德国DIN; 下一个 then goes on through 法国NF, 日本JIS and ISO.
        type(grade, QStringLiteral("C45"));
        QCOMPARE(w->searchPosition(), 1);
        QVERIFY(search->isEnabled() && !next->isEnabled());
        search->click();
        QCOMPARE(shown(), QStringLiteral("2 45"));
        QStringList found;
        for (int i = 0; i < 3; ++i) {
            next->click();
            found << QStringLiteral("%1 %2")
                         .arg(w->searchPosition())
                         .arg(display(w, "Text2", w->searchPosition()));
        }
        QCOMPARE(found, (QStringList{"3 XC45", "4 SC450", "9 C45E4"}));
        next->click();  // nothing further: the last match stays, only 搜索 is enabled
        QCOMPARE(display(w, "Text2", 9), QStringLiteral("C45E4"));
        QCOMPARE(w->searchPosition(), 1);
        QVERIFY(search->isEnabled() && !next->isEnabled());
        search->click();
        QCOMPARE(shown(), QStringLiteral("2 45"));
        QVERIFY(boxes_.boxes().isEmpty());

        type(grade, QStringLiteral("no such steel"));
        search->click();
        QCOMPARE(boxes_.boxes().size(), 1);
        QCOMPARE(boxes_.boxes()[0].text, QStringLiteral("数据未找到"));
        QCOMPARE(grades::showGradeConversionWindow(), w);
        QCOMPARE(grade->currentText(), QStringLiteral("no such steel"));
    }

    // The grade lists complete what is typed in a popup, and the search and the query
    // look for the text as typed: Q235 finds Q235A and then Q235B, not Q235A alone.
    void theTypedTextIsSearchedNotItsCompletion() {
        auto* w = grades::showGradeConversionWindow();
        activate(w);
        auto* grade = find<QComboBox>(w, "Combo1");
        auto* next = find<QPushButton>(w, "Command2");
        const QList<std::tuple<int, QString, QStringList>> cases = {
            {0, QStringLiteral("Q235"), {"Q235A", "Q235B", "Q235C"}},
            {3, QStringLiteral("SUS"), {"SUS301", "SUS302", "SUS303"}}};
        for (const auto& [standard, typed, found] : cases) {
            find<QRadioButton>(w, QStringLiteral("Option1(%1)").arg(standard))->click();
            grade->setFocus();
            type(grade, typed);
            QCOMPARE(grade->currentText(), typed);
            QAbstractItemView* completions = grade->completer()->popup();  // none inline
            QVERIFY(completions && completions->isVisible());
            closeCompletions(grade);
            find<QPushButton>(w, "Command1")->click();
            QStringList shown{display(w, "Text2", w->searchPosition())};
            while (shown.size() < found.size() && next->isEnabled()) {
                next->click();
                shown << display(w, "Text2", w->searchPosition());
            }
            QCOMPARE(shown, found);
        }

        QWidget* query = grades::showGradeQueryWindow();
        activate(query);
        auto* box = find<QComboBox>(query, "Combo1");
        box->setFocus();
        type(box, QStringLiteral("GCr1"));
        QCOMPARE(box->currentText(), QStringLiteral("GCr1"));
        closeCompletions(box);
        find<QPushButton>(query, "Command1")->click();
        QCOMPARE(display(query, "Text1", 1), QStringLiteral("Q195"));  // no such grade
        QVERIFY(boxes_.boxes().isEmpty());
    }

    void enterPressesTheMainButtonAndEscCloses() {
        // Types `text` into the grade box of the active window `w` and presses `key`.
        const auto press = [](QWidget* w, const QString& text, Qt::Key key) {
            activate(w);
            auto* box = find<QComboBox>(w, "Combo1");
            box->setFocus();
            box->setEditText(text);
            QTest::keyClick(box->lineEdit(), key);
        };
        QWidget* query = grades::showGradeQueryWindow();
        press(query, QStringLiteral("45"), Qt::Key_Return);
        QCOMPARE(display(query, "Text1", 1), QStringLiteral("45"));
        press(query, QStringLiteral("45"), Qt::Key_Escape);
        QVERIFY(!query->isVisible());

        auto* conversion = grades::showGradeConversionWindow();
        press(conversion, QStringLiteral("C45"), Qt::Key_Enter);  // the keypad's Enter
        QVERIFY(find(conversion, "Frame3")->isVisible());
        QCOMPARE(conversion->searchPosition(), 2);
        press(conversion, QStringLiteral("C45"), Qt::Key_Escape);
        QVERIFY(!conversion->isVisible());
        QVERIFY(boxes_.boxes().isEmpty());
    }

    // 保存查询结果 opens in the documents folder, never the working folder, and next
    // time in the folder the result was saved in.
    void theSaveDialogStartsWhereTheUserWorks() {
        QWidget* w = grades::showGradeQueryWindow();
        const QString elsewhere = data_.filePath(QStringLiteral("results"));
        QDir().mkpath(elsewhere);
        QStringList openedIn;
        const auto saveAs = [&](const QString& file) {
            ui::answerModal<QFileDialog>([&openedIn, file](QFileDialog* dialog) {
                openedIn << dialog->directory().absolutePath();
                ui::chooseInFileDialog(dialog, file);
            });
            find<QPushButton>(w, "Command6")->click();
        };
        saveAs(elsewhere + QStringLiteral("/r1.csv"));
        saveAs(elsewhere + QStringLiteral("/r2.csv"));
        QCOMPARE(openedIn, (QStringList{documents(), elsewhere}));
        QVERIFY(QFile::exists(elsewhere + QStringLiteral("/r2.csv")));
        QVERIFY(boxes_.boxes().isEmpty());
    }

    void theGridGrowsWithTheWindow() {
        QWidget* w = grades::showGradeQueryWindow();
        find<QPushButton>(w, "Command2")->click();
        auto* grid = find<QTableView>(w, "MSFlexGrid1");
        QApplication::processEvents();
        const int listed = grid->height();
        w->resize(w->width(), w->height() + 300);
        QApplication::processEvents();
        QCOMPARE(grid->height(), listed + 300);
        find<QPushButton>(w, "Command3")->click();
        QCOMPARE(w->height(), ui::twips(5400));
    }

    // The box sizes itself for the title the window manager draws over it, not only for
    // its text.
    void aMessageBoxIsWideEnoughForItsTitle() {
        auto* w = grades::showGradeConversionWindow();
        type(find<QComboBox>(w, "Combo1"), QStringLiteral("no such steel"));
        closeCompletions(find<QComboBox>(w, "Combo1"));
        ui::setMessageBoxes(nullptr);  // the real QMessageBox
        QString title;
        int width = 0;
        ui::answerModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            width = box->width();
            box->accept();
        });
        find<QPushButton>(w, "Command1")->click();
        ui::setMessageBoxes(&boxes_);
        QCOMPARE(title, QStringLiteral("各国钢号转换系统"));
        const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(title);
        QVERIFY2(width >= 1.2 * titleWidth + 120, qPrintable(QString::number(width)));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::applyChineseFont(app);
    GradeWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "grade_windows_test.moc"
