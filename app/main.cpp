// Tolvane: starts into the main window; the data folder is prepared first.
#include <QApplication>
#include <cstring>
#include <iostream>

#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/start_up.h"
#include "db/data_folder.h"
#include "dwg/dwg_format.h"
#include "ui/fonts.h"
#include "ui/message_box.h"
#include "ui/translations.h"
#include "ui/window_placement.h"

namespace {

// --version and --help are answered before a display is needed; other options are
// Qt's own (-platform, -style, ...).
bool answeredOnTheCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "tolvane " TOLVANE_VERSION "\n";
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << "usage: tolvane [QT-OPTIONS]\n"
                         "Starts the Tolvane toolbox window. Calculations without a display: "
                         "tolvane-cli --help.\n";
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answeredOnTheCommandLine(argc, argv)) return 0;
    dwg::installDwgReader();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tolvane"));
    QApplication::setWindowIcon(app::programIcon());
    ui::applyChineseFont(app);
    ui::installQtTranslations(app);
    ui::placeSecondaryWindows(app);
    if (!app::dataFolderReady()) return 1;
    app::Tolvane window;
    window.show();
    if (const ui::OptionalMessage m = db::missingSeedDirMessage())
        ui::showMessage(&window, QString::fromStdString(m->title), QString::fromStdString(m->text),
                        ui::Icon::Warning);
    return app.exec();
}
