#include "ui/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui/settings.h"

namespace ui {
namespace {

QString key(const QString& kind) { return QStringLiteral("lastFolder/") + kind; }

// Remembers the folder of `chosen` (a file, or a folder itself) unless it was cancelled.
QString remember(const QString& kind, const QString& chosen, bool isFolder) {
    if (!chosen.isEmpty())
        Settings().setValue(
            key(kind), isFolder ? QDir(chosen).absolutePath() : QFileInfo(chosen).absolutePath());
    return chosen;
}

}  // namespace

QString startFolder(const QString& kind) {
    const QString last = Settings().value(key(kind)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

QString openFileName(QWidget* parent, const QString& kind, const QString& title,
                     const QString& filter) {
    return remember(kind, QFileDialog::getOpenFileName(parent, title, startFolder(kind), filter),
                    false);
}

QString saveFileName(QWidget* parent, const QString& kind, const QString& title,
                     const QString& fileName, const QString& filter) {
    const QString offered = QDir(startFolder(kind)).filePath(fileName);
    return remember(kind, QFileDialog::getSaveFileName(parent, title, offered, filter), false);
}

QString existingFolder(QWidget* parent, const QString& kind, const QString& title) {
    return remember(kind, QFileDialog::getExistingDirectory(parent, title, startFolder(kind)),
                    true);
}

}  // namespace ui
