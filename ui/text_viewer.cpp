#include "ui/text_viewer.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/keyboard.h"

namespace ui {
namespace {

constexpr char kPathProperty[] = "tolvaneTextFile";

QWidget* openViewer(const QString& path) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("TextViewer") &&
            w->property(kPathProperty).toString() == path)
            return w;
    return nullptr;
}

}  // namespace

QWidget* showTextFile(const QString& path, const QString& title) {
    QWidget* viewer = openViewer(path);
    if (!viewer) {
        viewer = new QWidget(nullptr, Qt::Window);
        viewer->setObjectName(QStringLiteral("TextViewer"));
        viewer->setProperty(kPathProperty, path);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->resize(720, 480);
        auto* text = new QPlainTextEdit(viewer);
        text->setObjectName(QStringLiteral("Text"));
        text->setReadOnly(true);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        auto* layout = new QVBoxLayout(viewer);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(text);
        closeOnEscape(viewer);
    }
    viewer->setWindowTitle(title + QStringLiteral(" - ") + path);
    QFile file(path);
    auto* text = viewer->findChild<QPlainTextEdit*>(QStringLiteral("Text"));
    if (file.open(QIODevice::ReadOnly))
        text->setPlainText(QString::fromUtf8(file.readAll()));
    else
        text->setPlainText(QStringLiteral("无法读取 %1：%2").arg(path, file.errorString()));
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

}  // namespace ui
