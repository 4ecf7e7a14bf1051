// A read-only window that shows a text file (UTF-8) as it reads when the window is
// asked for, such as the batch run's error log. There is one window per file: asking
// again reloads and raises it. The window is top-level, owned by nobody, deleted when
// closed; Esc closes it.
#pragma once

#include <QString>

class QWidget;

namespace ui {

// The window (objectName "TextViewer") showing `path` under `title`. A file that cannot
// be read shows why instead of its text.
QWidget* showTextFile(const QString& path, const QString& title);

}  // namespace ui
