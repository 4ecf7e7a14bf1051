#include "app/external_programs.h"

#include <QDialog>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "ui/data_paths.h"

namespace app {

void startCalculator() {
    for (const char* name :
         {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            QProcess::startDetached(path, {});
            return;
        }
    }
}

void showHelpText(QWidget* parent) {
    QFile file(QString::fromStdString(ui::dataDir()) + QStringLiteral("/help.txt"));
    if (!file.open(QIODevice::ReadOnly)) return;
    const QString text = QString::fromUtf8(file.readAll());

    // One viewer per parent, re-shown on later use.
    auto* viewer = parent->findChild<QDialog*>(QStringLiteral("helpViewer"));
    if (!viewer) {
        viewer = new QDialog(parent);
        viewer->setObjectName(QStringLiteral("helpViewer"));
        viewer->setWindowTitle(QStringLiteral("help.txt - 帮助信息"));
        viewer->resize(640, 480);
        auto* edit = new QPlainTextEdit(viewer);
        edit->setObjectName(QStringLiteral("helpText"));
        edit->setReadOnly(true);
        auto* layout = new QVBoxLayout(viewer);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(edit);
    }
    viewer->findChild<QPlainTextEdit*>(QStringLiteral("helpText"))->setPlainText(text);
    viewer->show();
    viewer->raise();
}

}  // namespace app
