// The standard-parts window driven by object name offscreen, on standard.db files
// written into a temporary folder named by zuvevid.ini, with the message recorder
// answering the boxes.
#include "standardparts/standard_window.h"

#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "ui/find_control.h"
#include "ui/message_recorder.h"

namespace {

QWidget* window() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("standard")) return w;
    return nullptr;
}

QString shownType() { return ui::findControl<QComboBox>(window(), "Combo1")->currentText(); }
QString shownName() { return ui::findControl<QLineEdit>(window(), "Text1")->text(); }

void execute(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    QVERIFY(sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

}  // namespace

class StandardWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_;
    QTemporaryDir folder_;
    ui::MessageRecorder boxes_;

    QString dbPath() const { return folder_.filePath(QStringLiteral("standard.db")); }

    void writeIni(const QByteArray& firstLine) {
        QDir().mkpath(config_.filePath(QStringLiteral("tolvane")));
        QFile ini(config_.filePath(QStringLiteral("tolvane/zuvevid.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(firstLine + "\r\nsecond line is not read\r\n");
    }

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        writeIni(folder_.path().toUtf8());
    }

    void init() {
        QFile::remove(dbPath());
        boxes_.clear();
    }

    void showsTheFirstRecordOnlyAndReadsAgainOnEachLoad() {
        execute(dbPath(),
                "CREATE TABLE bolt_type (ID INTEGER, gb TEXT, name TEXT, extra TEXT);"
                "INSERT INTO bolt_type VALUES (7, 'GB/T 5782-2000', '六角头螺栓', 'x');"
                "INSERT INTO bolt_type VALUES (1, 'GB/T 5783-2000', '六角头螺栓 全螺纹', 'y');");
        standardparts::showStandardWindow();
        QCOMPARE(window()->windowTitle(), QStringLiteral("Form10"));
        QCOMPARE(shownType(), QStringLiteral("GB/T 5782-2000"));
        QCOMPARE(shownName(), QStringLiteral("六角头螺栓"));
        QVERIFY(boxes_.boxes().isEmpty());

        // The database is closed after loading, so it can change before the next load.
        window()->close();
        execute(dbPath(), "DELETE FROM bolt_type WHERE ID = 7;");
        standardparts::showStandardWindow();
        QCOMPARE(shownType(), QStringLiteral("GB/T 5783-2000"));
        QCOMPARE(shownName(), QStringLiteral("六角头螺栓 全螺纹"));
    }

    void unusableDatabaseGivesOneMessageAndAnEmptyWindow_data() {
        QTest::addColumn<QByteArray>("sql");  // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QByteArray() << QString();
        QTest::newRow("missing table")
            << QByteArray("CREATE TABLE other (gb TEXT);") << QStringLiteral("bolt_type");
        QTest::newRow("missing field")
            << QByteArray("CREATE TABLE bolt_type (gb TEXT); INSERT INTO bolt_type VALUES ('x');")
            << QStringLiteral("name");
        QTest::newRow("empty table") << QByteArray("CREATE TABLE bolt_type (gb TEXT, name TEXT);")
                                     << QStringLiteral("没有记录");
        QTest::newRow("not a database") << QByteArray("garbage") << QString();
    }

    void unusableDatabaseGivesOneMessageAndAnEmptyWindow() {
        QFETCH(QByteArray, sql);
        QFETCH(QString, reason);
        if (sql == "garbage") {
            QFile f(dbPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (!sql.isEmpty()) {
            execute(dbPath(), sql.constData());
        }
        standardparts::showStandardWindow();
        QCOMPARE(boxes_.boxes().size(), 1);
        QVERIFY2(boxes_.boxes()[0].text.contains(dbPath()), qPrintable(boxes_.boxes()[0].text));
        QVERIFY2(boxes_.boxes()[0].text.contains(reason), qPrintable(boxes_.boxes()[0].text));
        QCOMPARE(shownType(), QString());
        QCOMPARE(shownName(), QString());
        QCOMPARE(QFile::exists(dbPath()), !sql.isEmpty());  // a missing file is not created
    }
};

QTEST_MAIN(StandardWindowTest)
#include "standard_window_test.moc"
