// Developer tool, not installed: builds the seed databases in a scratch data folder and
// saves the grade query window, the first page of its printed grade list (A4 landscape
// at 100 dpi), the grade conversion window and the standard-parts window as PNG files
// in the folder named by $TOLVANE_SCREENSHOT_DIR. The pictures in
// docs/ come from
//   cmake --build build --target grade_screenshots
//   TOLVANE_SCREENSHOT_DIR=docs QT_QPA_PLATFORM=offscreen build/grades/grade_screenshots
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "db/seed.h"
#include "grades/grade_conversion_window.h"
#include "grades/grade_query_window.h"
#include "grades/grade_windows.h"
#include "standardparts/standard_window.h"
#include "ui/fonts.h"
#include "ui/screenshot_folder.h"

namespace {

QWidget* window(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

bool save(QWidget* w, const QString& file) {
    QTest::qWait(2 * grades::GradeConversionWindow::kFlashMilliseconds);
    return ui::saveScreenshot(w, file);
}

// The first page of 打印列表 as A4 landscape at 100 dpi with 10 mm margins.
bool savePrintedList(const grades::GradeQueryWindow& w, const QString& file) {
    constexpr int kMargin = 39;  // 10 mm
    QImage sheet(1169, 827, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(qRound(100 / 0.0254));
    sheet.setDotsPerMeterY(qRound(100 / 0.0254));
    sheet.fill(Qt::white);
    const grades::PrintedTable table = w.listPrintout();
    const grades::TableLayout layout =
        grades::layoutTable(table, w.printStyle(), &sheet,
                            QSizeF(sheet.width() - 2 * kMargin, sheet.height() - 2 * kMargin));
    QPainter painter(&sheet);
    painter.translate(kMargin, kMargin);
    grades::paintTablePage(painter, table, w.printStyle(), layout, 0);
    painter.end();
    if (sheet.save(file)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::applyChineseFont(app);
    const QString out = ui::screenshotFolder("grade_screenshots");
    if (out.isEmpty()) return 2;
    QTemporaryDir data;
    qputenv("TOLVANE_DATA_DIR", data.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", data.filePath(QStringLiteral("config")).toUtf8());
    const std::string dir = data.path().toStdString();
    if (!db::seedDatabases(dir, dir, TOLVANE_SEED_DIR).empty()) return 1;

    grades::GradeQueryWindow* query = grades::showGradeQueryWindow();
    query->resize(760, query->height());
    query->findChild<QComboBox*>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("40Cr"));
    query->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    query->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    bool ok = save(query, QDir(out).filePath(QStringLiteral("grade-query.png")));
    ok = savePrintedList(*query, QDir(out).filePath(QStringLiteral("grade-list-printout.png"))) &&
         ok;

    QWidget* conversion = grades::showGradeConversionWindow();
    conversion->findChild<QRadioButton*>(QStringLiteral("Option1(0)"))->click();
    auto* grade = conversion->findChild<QComboBox*>(QStringLiteral("Combo1"));
    grade->setEditText(QStringLiteral("304"));
    conversion->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    ok = save(conversion, QDir(out).filePath(QStringLiteral("grade-conversion.png"))) && ok;

    standardparts::showStandardWindow();
    ok = save(window(QStringLiteral("standard")),
              QDir(out).filePath(QStringLiteral("standard.png"))) &&
         ok;
    return ok ? 0 : 1;
}
