#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

bool installQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    // "qt" is the meta catalogue: it pulls in qtbase and the other modules' catalogues.
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

}  // namespace ui
