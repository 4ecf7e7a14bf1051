// File dialogs that open where the user works: in the folder that a dialog of the same
// kind used last (remembered in Settings across sessions), else in the documents
// folder (the home folder when there is none), never in the program's working folder.
// `kind` names a family of dialogs that share that memory ("drawing", "gradeResult").
// Each returns the chosen path, "" when the user cancelled.
#pragma once

#include <QString>

class QWidget;

namespace ui {

// The folder the next dialog of `kind` opens in; a remembered folder that no longer
// exists counts as none.
QString startFolder(const QString& kind);

QString openFileName(QWidget* parent, const QString& kind, const QString& title,
                     const QString& filter);
// `fileName` is the name offered in the start folder.
QString saveFileName(QWidget* parent, const QString& kind, const QString& title,
                     const QString& fileName, const QString& filter);
QString existingFolder(QWidget* parent, const QString& kind, const QString& title);

}  // namespace ui
