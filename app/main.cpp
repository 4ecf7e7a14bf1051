// Tolvane: starts into the main window; the data folder is prepared first.
#include <QApplication>

#include "app/data_seed.h"
#include "app/main_window.h"
#include "ui/fonts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    ui::applyChineseFont(app);
    app::seedDataFolder();
    app::Tolvane window;
    window.show();
    return app.exec();
}
