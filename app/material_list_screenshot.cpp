// Developer tool, not installed: the main window after a few smart fills and
// calculations, with their items in the material-list panel, saved as
// material-list.png, and then weighing a non-standard washer, saved as
// main-window-washer.png, in the folder named by $TOLVANE_SCREENSHOT_DIR. The pictures
// in docs/ come from
//   cmake --build build --target material_list_screenshot
//   TOLVANE_SCREENSHOT_DIR=docs QT_QPA_PLATFORM=offscreen
//   build/materiallist/material_list_screenshot
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "ui/fonts.h"
#include "ui/screenshot_folder.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::applyChineseFont(app);
    const QString dir = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR", QStringLiteral("."));

    app::Tolvane window;
    window.show();
    const struct {
        const char* description;
        const char* quantity;
    } items[] = {{"L63x40x5-6000", "4"}, {"plate 10x1500x3000", "2"}, {"HW250x250x9x14-6000", "6"}};
    for (const auto& item : items) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(item.description));
        window.findChild<QAction*>(QStringLiteral("fill"))->trigger();
        window.findChild<QLineEdit*>(QStringLiteral("Text4"))
            ->setText(QString::fromUtf8(item.quantity));
        window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        window.findChild<QPushButton*>(QStringLiteral("AddItem"))->click();
    }
    if (!ui::saveScreenshot(&window, QDir(dir).filePath(QStringLiteral("material-list.png"))))
        return 1;

    // A non-standard washer picked from the steel type list: all three rows it reads.
    window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(12);
    const char* washer[][2] = {{"Text1", "40"}, {"Text2", "21"}, {"Text3", "3"}, {"Text4", "10"}};
    for (const auto& [name, text] : washer)
        window.findChild<QLineEdit*>(QString::fromUtf8(name))->setText(QString::fromUtf8(text));
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    return ui::saveScreenshot(&window, QDir(dir).filePath(QStringLiteral("main-window-washer.png")))
               ? 0
               : 1;
}
