// Developer tool, not installed: fills the heat-transfer window with a three-layer wall,
// runs the three calculations, 标准计算 last so that its table shows all three side by
// side, and saves the window and its 温降图 as PNG files in the folder
// named by $TOLVANE_SCREENSHOT_DIR. The pictures in docs/ come from
//   cmake --build build --target heat_screenshots
//   TOLVANE_SCREENSHOT_DIR=docs QT_QPA_PLATFORM=offscreen build/heat/heat_screenshots
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "heat/heat_transfer_window.h"
#include "ui/data_paths.h"
#include "ui/fonts.h"
#include "ui/message_recorder.h"
#include "ui/screenshot_folder.h"

namespace {

QWidget* heatWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HeatTransferWindow")) return w;
    return nullptr;
}

template <typename T>
T* control(const QString& name) {
    return heatWindow()->findChild<T*>(name);
}

void layer(int k, const QString& material, const QString& mm) {
    auto* list = control<QComboBox>(QStringLiteral("Combo3(%1)").arg(k));
    list->setCurrentIndex(list->findText(material));
    emit list->textActivated(material);
    control<QLineEdit>(QStringLiteral("Text3(%1)").arg(k))->setText(mm);
}

bool save(QWidget* w, const QString& file) {
    w->adjustSize();
    return ui::saveScreenshot(w, file);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::applyChineseFont(app);
    const QString out = ui::screenshotFolder("heat_screenshots");
    if (out.isEmpty()) return 2;
    QTemporaryDir data;  // insulation.db is seeded here
    ui::setDataDirOverride(data.path().toStdString());
    ui::MessageRecorder boxes;  // the load message would wait for OK

    heat::showHeatTransferWindow();
    control<QPushButton>(QStringLiteral("Command3"))->click();
    control<QComboBox>(QStringLiteral("Combo1"))->setCurrentIndex(0);
    control<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("1100"));
    layer(0, QStringLiteral("高铝砖LZ-48"), QStringLiteral("230"));
    layer(1, QStringLiteral("轻质粘土砖NG-1.0"), QStringLiteral("116"));
    layer(2, QStringLiteral("硅酸钙板(170)"), QStringLiteral("60"));
    control<QPushButton>(QStringLiteral("Command1"))->click();
    control<QPushButton>(QStringLiteral("Command2"))->click();
    control<QPushButton>(QStringLiteral("Command8"))->click();
    bool ok = save(heatWindow(), QDir(out).filePath("heat-window.png"));

    control<QPushButton>(QStringLiteral("Command5"))->click();
    auto* chart = heatWindow()->findChild<QWidget*>(QStringLiteral("TemperatureDropChart"));
    chart->resize(760, 480);
    QApplication::processEvents();
    ok = chart->grab().save(QDir(out).filePath("temperature-drop.png")) && ok;
    return ok ? 0 : 1;
}
