// Qt's standard dialogs and message-box buttons read Chinese once the translations
// are installed, as the program does at start.
#include "ui/translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void standardDialogsReadChinese() {
        QVERIFY(ui::installQtTranslations(*qApp));

        QMessageBox box(QMessageBox::Question, QStringLiteral("退出"),
                        QStringLiteral("真的想退出吗?!"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));

        QFileDialog dialog(nullptr, QStringLiteral("打开材料表"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("打开(&O)"));
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                 QStringLiteral("查找范围："));
    }
};

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
