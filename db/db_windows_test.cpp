// Displays bound to a cursor, the grid model and the box for a failed read, on the seeded
// s_world.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "db/bound_display.h"
#include "db/damaged_page.h"
#include "db/read_failure_box.h"
#include "db/seed.h"
#include "db/table_cursor.h"
#include "db/table_model.h"
#include "ui/message_recorder.h"

class DbWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const std::string d = dir_.path().toStdString();
        QVERIFY(db::seedDatabases(d, d, TOLVANE_SEED_DIR).empty());
        QVERIFY(!db::Database::open(d + "/S_WORLD972.db", database_));
        QVERIFY(!cursor_.open(database_, "s_world"));
    }

    void displaysFollowEveryRowChange() {
        QLabel label;
        QLineEdit edit;
        db::bindDisplay(cursor_, QStringLiteral("中国GB"), &label);
        db::bindDisplay(cursor_, QStringLiteral("德国DIN"), &edit);
        QCOMPARE(label.text(), QStringLiteral("Q195"));
        cursor_.moveNext();
        QCOMPARE(label.text(), QStringLiteral("Q215A"));
        QCOMPARE(edit.text(), QStringLiteral("USt34-2"));
        cursor_.findFirst("美国ASTM", "A36");
        QCOMPARE(label.text(), QStringLiteral("Q235B"));
        for (int i = 0; i < 200; ++i) cursor_.moveNext();
        QVERIFY(cursor_.eof());
        QCOMPARE(label.text(), QString());
        cursor_.moveFirst();
    }

    void aDestroyedDisplayIsLetGo() {
        auto* label = new QLabel;
        db::bindDisplay(cursor_, QStringLiteral("中国GB"), label);
        delete label;
        cursor_.moveNext();
        cursor_.moveFirst();
    }

    void gridShowsEveryRowWithColumnHeaders() {
        db::TableModel model(cursor_);
        QCOMPARE(model.rowCount(), 112);
        QCOMPARE(model.columnCount(), 11);
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("中国GB"));
        QCOMPARE(model.data(model.index(0, 2)).toString(), QStringLiteral("Q195"));
        QCOMPARE(model.data(model.index(0, 9)).toString(), QString());
    }

    // A damaged page met while the grid reads: one box, once the read has returned.
    void aFailedReadIsShownInABoxOnce() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("S_WORLD972.db")).toStdString();
        QVERIFY(QFile::copy(dir_.filePath(QStringLiteral("S_WORLD972.db")),
                            QString::fromStdString(path)));
        QVERIFY(db::testtools::damage(path, "s_world", db::testtools::Page::kLastLeaf));
        db::Database database;
        QVERIFY(!db::Database::open(path, database));
        db::TableCursor cursor;
        QVERIFY(!cursor.open(database, "s_world"));
        QWidget window;
        db::showReadFailures(cursor, &window);
        ui::MessageRecorder boxes;
        db::TableModel model(cursor);
        QVERIFY(model.rowCount() < 112);
        QVERIFY(boxes.boxes().isEmpty());
        QCoreApplication::processEvents();
        cursor.readAll();
        QCoreApplication::processEvents();
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("数据库错误"));
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("无法使用数据库文件 “") +
                                            QString::fromStdString(path) +
                                            QStringLiteral("”：不是数据库文件或文件已损坏"));
    }

private:
    QTemporaryDir dir_;
    db::Database database_;
    db::TableCursor cursor_;
};

QTEST_MAIN(DbWindowsTest)
#include "db_windows_test.moc"
