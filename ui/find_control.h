// Finding a window's control by its design name (objectName). A missing control is a
// programming error: it stops the program with the name, rather than crashing later.
#pragma once

#include <QObject>
#include <QApplication>
#include <QString>
#include <QWidget>

namespace ui {

template <typename T>
T* findControl(const QObject* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (!found) qFatal("%s has no control %s", qPrintable(parent->objectName()), qPrintable(name));
    return found;
}

// The top-level window named `name`, or nullptr when none is open.
inline QWidget* topLevelWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

}  // namespace ui
