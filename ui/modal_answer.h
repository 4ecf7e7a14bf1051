// For window tests: answers the next modal dialog of type T (a QFileDialog, a real
// QMessageBox) from the event loop that shows it, as a user would, so that a test never
// blocks on a dialog that the window opens itself.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <functional>

namespace ui {

template <typename T>
void answerModal(std::function<void(T*)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        answer(dialog);
    });
    poll->start();
}

// Types `path` into a Qt file dialog's name field and presses its Open or Save button,
// as a user does; a full path works whatever folder the dialog shows.
inline void chooseInFileDialog(QFileDialog* dialog, const QString& path) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
    static_cast<QDialog*>(dialog)->accept();
}

}  // namespace ui
