// Developer tool, not installed: fills the skid-beam windows with an example and saves
// Form1, the two-row window, the three-row window beside its moment diagram and the
// three-column window (showing the load P taken from the two-row window) as PNG files
// in the folder named by $TOLVANE_SCREENSHOT_DIR. The pictures in docs/ come from
//   cmake --build build --target beam_screenshots
//   TOLVANE_SCREENSHOT_DIR=docs QT_QPA_PLATFORM=offscreen build/beams/beam_screenshots
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>

#include "beams/skid_beam_windows.h"
#include "ui/find_control.h"
#include "ui/fonts.h"
#include "ui/screenshot_folder.h"

namespace {

QWidget* window(const QString& name) { return ui::topLevelWindow(name); }

void choose(const QString& chooser, const QString& item) {
    auto* combo = window(chooser)->findChild<QComboBox*>("Combo1");
    combo->setCurrentIndex(combo->findText(item));
    window(chooser)->findChild<QPushButton*>("Command1")->click();
}

void fill(const QString& form, const char* group, const QStringList& texts) {
    for (int k = 0; k < texts.size(); ++k)
        window(form)
            ->findChild<QLineEdit*>(QStringLiteral("%1(%2)").arg(group).arg(k))
            ->setText(texts[k]);
}

QPixmap grab(QWidget* w) {
    w->adjustSize();
    QApplication::processEvents();
    return w->grab();
}

bool save(const QString& form, const QString& file) {
    window(form)->adjustSize();
    return ui::saveScreenshot(window(form), file);
}

// The window and its diagram side by side, tops aligned.
bool saveWithDiagram(const QString& form, const QString& file) {
    window(form)->findChild<QPushButton*>("Command6")->click();
    const QPixmap left = grab(window(form));
    const QPixmap right = grab(window(form)->findChild<QWidget*>("MomentDiagram"));
    QPixmap both(left.width() + right.width(), std::max(left.height(), right.height()));
    both.fill(Qt::white);
    QPainter p(&both);
    p.drawPixmap(0, 0, left);
    p.drawPixmap(left.width(), 0, right);
    p.end();
    return both.save(file);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::applyChineseFont(app);
    const QString out = ui::screenshotFolder("beam_screenshots");
    if (out.isEmpty()) return 2;
    QTemporaryDir scratch;  // the column calculation appends to a report
    qputenv("TOLVANE_REPORT_FILE", scratch.filePath("Documents/水冷梁计算.doc").toUtf8());

    beams::showRowCountChooser();
    bool ok = save("Form1", QDir(out).filePath("form1.png"));

    choose("Form1", "2");
    fill("Form2", "Text1", {"100", "400", "100"});
    fill("Form2", "Text2", {"10", "600", "100"});
    window("Form2")->findChild<QPushButton*>("Command1")->click();
    ok = save("Form2", QDir(out).filePath("row-window.png")) && ok;

    window("Form2")->findChild<QPushButton*>("Command2")->click();
    choose("Form1", "3");
    fill("Form3", "Text1", {"100", "400", "300", "100"});
    fill("Form3", "Text2", {"10", "900", "100"});
    window("Form3")->findChild<QPushButton*>("Command1")->click();
    ok = saveWithDiagram("Form3", QDir(out).filePath("row-window-diagram.png")) && ok;
    window("Form3")->findChild<QWidget*>("MomentDiagram")->hide();
    window("Form3")->findChild<QPushButton*>("Command2")->click();
    choose("Form1", "2");

    window("Form2")->findChild<QPushButton*>("Command4")->click();
    choose("Form21", " 3");
    fill("Form23", "Text1", {"50", "250", "250", "50"});
    fill("Form23", "Text2", {"1", "600", "600", "500"});
    window("Form23")->findChild<QPushButton*>("Command1")->click();
    ok = save("Form23", QDir(out).filePath("column-window.png")) && ok;
    return ok ? 0 : 1;
}
