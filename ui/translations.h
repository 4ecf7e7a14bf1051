// Qt's own texts in Chinese: the standard dialogs (file, print, page setup), the
// buttons of message boxes and the context menus of text fields read like the rest
// of the program. The catalogue comes from the Qt installation (Debian:
// qt6-translations-l10n).
#pragma once

class QCoreApplication;

namespace ui {

// Loads Qt's Simplified-Chinese catalogue from QLibraryInfo's translations path and
// installs it on `app`; false, and English dialogs, when it is not installed.
bool installQtTranslations(QCoreApplication& app);

}  // namespace ui
