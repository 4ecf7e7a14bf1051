// Secondary windows shown by a plain show() open centred over the active window the
// first time and where the user left them afterwards; the first window and dialogs
// are left alone.
#include "ui/window_placement.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void centredOverTheOpenerThenWhereLeft() {
        ui::placeSecondaryWindows(*qApp);
        QWidget opener;
        opener.setGeometry(150, 120, 500, 360);
        opener.show();
        QCOMPARE(opener.geometry().topLeft(),
                 QPoint(150, 120));  // the first window keeps its place
        opener.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&opener));

        QWidget secondary;
        secondary.resize(200, 100);
        secondary.show();
        // Within the frame, which is not known before the window is first shown.
        QVERIFY((secondary.frameGeometry().center() - opener.frameGeometry().center())
                    .manhattanLength() <= 4);

        secondary.move(20, 30);
        secondary.hide();
        opener.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&opener));
        secondary.show();
        QCOMPARE(secondary.pos(), QPoint(20, 30));

        // Too wide for the room right of the opener's centre: kept on the screen.
        QWidget wide;
        wide.resize(780, 100);
        ui::showWindow(&wide, &opener);
        QVERIFY(opener.screen()->availableGeometry().contains(wide.frameGeometry()));

        QDialog dialog(&opener);
        dialog.resize(100, 50);
        dialog.move(5, 5);
        dialog.show();
        QCOMPARE(dialog.pos(), QPoint(5, 5));
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
