// The program's own settings file, $XDG_CONFIG_HOME/tolvane/tolvane.conf
// (~/.config/tolvane/tolvane.conf): what windows remember between sessions, such as the
// batch window's set-up and the folders the file dialogs used last.
#pragma once

#include <QSettings>

namespace ui {

class Settings : public QSettings {
public:
    Settings() : QSettings(QStringLiteral("tolvane"), QStringLiteral("tolvane")) {}
};

}  // namespace ui
