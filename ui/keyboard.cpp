#include "ui/keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace ui {

void pressOnEnter(QWidget* window, QAbstractButton* button) {
    const QPointer<QAbstractButton> main(button);
    const auto press = [window, main] {
        // A focused button is the one the user means, as Enter in a dialog presses it.
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        QAbstractButton* target = focused && focused->window() == window ? focused : main.data();
        if (target && target->isEnabled() && target->isVisible()) target->click();
    };
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
        QObject::connect(new QShortcut(QKeySequence(key), window), &QShortcut::activated, window,
                         press);
}

void closeOnEscape(QWidget* window) {
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), window), &QShortcut::activated,
                     window, &QWidget::close);
}

}  // namespace ui
