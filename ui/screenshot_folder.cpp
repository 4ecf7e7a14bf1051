#include "ui/screenshot_folder.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace ui {

QString screenshotFolder(const char* program) {
    const QString folder = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (folder.isEmpty()) std::fprintf(stderr, "%s: set TOLVANE_SCREENSHOT_DIR\n", program);
    return folder;
}

bool saveScreenshot(QWidget* window, const QString& file) {
    QApplication::processEvents();
    if (window->grab().save(file)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

}  // namespace ui
