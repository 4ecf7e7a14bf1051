#include "db/table_cursor.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTemporaryDir>

#include "db/database_builder.h"

namespace db {
namespace {

using Rows = std::vector<std::vector<std::optional<std::string>>>;

// A database file in a temporary folder holding table "t" (ID, name, code), indexed
// "ID" and "name", with or without the trigram table on name and code.
class TableCursorTest : public ::testing::Test {
protected:
    void build(const Rows& rows, bool searchTable = true) {
        NewTable t;
        t.name = "t";
        t.columns = {
            {"ID", ColumnKind::kInteger}, {"name", ColumnKind::kText}, {"code", ColumnKind::kText}};
        t.rowidColumn = "ID";
        t.indexes = {{"ID", "ID"}, {"name", "name"}};
        if (searchTable) t.searchColumns = {"name", "code"};
        path_ = dir_.filePath(searchTable ? "fts.db" : "plain.db").toStdString();
        std::string error;
        ASSERT_TRUE(buildTableFile(path_, t, rows, error)) << error;
        ASSERT_FALSE(Database::open(path_, database_));
        ASSERT_FALSE(cursor_.open(database_, "t"));
    }

    std::string name() const { return cursor_.field("name"); }

    QTemporaryDir dir_;
    std::string path_;
    Database database_;
    TableCursor cursor_;
};

const Rows kGrades = {{"1", "Q235", "a"},
                      {"2", "q195", "b"},
                      {"3", "45", "c"},
                      {"4", "Q235", "d"},
                      {"5", "20Cr", "e"}};

TEST_F(TableCursorTest, MovesInTableOrderAndCountsRows) {
    build(kGrades);
    EXPECT_EQ(cursor_.recordCount(), 5);
    std::vector<std::string> seen;
    int changes = 0;
    QObject::connect(&cursor_, &TableCursor::rowChanged, [&] { ++changes; });
    for (cursor_.moveFirst(); !cursor_.eof(); cursor_.moveNext()) seen.push_back(name());
    EXPECT_EQ(seen, (std::vector<std::string>{"Q235", "q195", "45", "Q235", "20Cr"}));
    EXPECT_EQ(changes, 6);  // five rows, then EOF
    EXPECT_EQ(name(), "");
}

TEST_F(TableCursorTest, IndexOrderIsCaseInsensitiveWithDuplicatesInRowOrder) {
    build(kGrades);
    ASSERT_TRUE(cursor_.setIndex("name"));
    EXPECT_FALSE(cursor_.setIndex("no such index"));
    EXPECT_EQ(cursor_.index(), "name");
    std::vector<std::string> seen;
    for (cursor_.moveFirst(); !cursor_.eof(); cursor_.moveNext())
        seen.push_back(cursor_.field("code"));
    EXPECT_EQ(seen, (std::vector<std::string>{"e", "c", "b", "a", "d"}));
}

TEST_F(TableCursorTest, SeekEqualAndLessOrEqualAtEveryBoundary) {
    build(kGrades);
    cursor_.setIndex("name");
    cursor_.seek(Comparison::kEqual, "q235");
    EXPECT_FALSE(cursor_.noMatch());
    EXPECT_EQ(cursor_.field("code"), "a");  // the first of two equal keys
    cursor_.seek(Comparison::kEqual, "Q999");
    EXPECT_TRUE(cursor_.noMatch());
    EXPECT_EQ(cursor_.field("code"), "a");  // a miss leaves the row
    cursor_.seek(Comparison::kLessOrEqual, "Q235");
    EXPECT_EQ(cursor_.field("code"), "d");  // the last of two equal keys
    cursor_.seek(Comparison::kLessOrEqual, "Q2");
    EXPECT_EQ(name(), "q195");
    cursor_.seek(Comparison::kLessOrEqual, "zzz");  // after the last key
    EXPECT_EQ(cursor_.field("code"), "d");
    cursor_.seek(Comparison::kLessOrEqual, "10");  // before the first key
    EXPECT_TRUE(cursor_.noMatch());
    cursor_.moveNext();  // moving on from a found row follows the index
    cursor_.seek(Comparison::kEqual, "45");
    cursor_.moveNext();
    EXPECT_EQ(name(), "q195");

    cursor_.setIndex("ID");
    cursor_.seek(Comparison::kEqual, std::int64_t{3});
    EXPECT_EQ(name(), "45");
    cursor_.seek(Comparison::kEqual, "4");  // a text key on an integer index
    EXPECT_EQ(cursor_.field("code"), "d");
    cursor_.seek(Comparison::kEqual, std::int64_t{6});
    EXPECT_TRUE(cursor_.noMatch());
    cursor_.setIndex("");
    cursor_.seek(Comparison::kEqual, "45");  // no index: nothing to seek on
    EXPECT_TRUE(cursor_.noMatch());
}

TEST_F(TableCursorTest, BookmarkReturnsToTheRow) {
    build(kGrades);
    cursor_.moveNext();
    cursor_.moveNext();
    const Bookmark mark = cursor_.bookmark();
    cursor_.moveFirst();
    ASSERT_TRUE(cursor_.moveTo(mark));
    EXPECT_EQ(name(), "45");
    cursor_.moveNext();
    EXPECT_EQ(cursor_.field("code"), "d");
    EXPECT_FALSE(cursor_.moveTo(Bookmark{99}));
    EXPECT_EQ(cursor_.field("code"), "d");
}

// Every criterion is tried on the trigram table and on a plain scan.
class FindTest : public TableCursorTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FindTest, FindFirstAndNextMatchTextLiterallyExceptStar) {
    build({{"1", "O'Neil 50%", "x"},
           {"2", "A_B-100", "x"},
           {"3", "AxB-100", "x"},
           {"4", "a'b", "x"},
           {"5", "DIN 50% Cr", "x"},
           {"6", "Back\\slash", "x"},
           {"7", std::nullopt, "x"}},
          GetParam());
    const auto first = [&](std::string_view text) {
        cursor_.findFirst("name", text);
        return cursor_.noMatch() ? std::string("-") : cursor_.field("ID");
    };
    const auto next = [&](std::string_view text) {
        cursor_.findNext("name", text);
        return cursor_.noMatch() ? std::string("-") : cursor_.field("ID");
    };
    EXPECT_EQ(first("'"), "1");
    EXPECT_EQ(next("'"), "4");
    EXPECT_EQ(next("'"), "-");
    EXPECT_EQ(cursor_.field("ID"), "4");  // a miss leaves the row found last
    EXPECT_EQ(first("50%"), "1");
    EXPECT_EQ(next("50%"), "5");
    EXPECT_EQ(first("A_B"), "2");
    EXPECT_EQ(next("A_B"), "-");
    EXPECT_EQ(first("o'neil"), "1");
    EXPECT_EQ(first("din*cr"), "5");
    EXPECT_EQ(first("b-1*"), "2");
    EXPECT_EQ(next("b-1"), "3");
    EXPECT_EQ(first("k\\s"), "6");
    EXPECT_EQ(first("?"), "-");
    EXPECT_EQ(first(""), "1");  // '**' matches every row that has a value
    cursor_.findFirst("no such column", "a");
    EXPECT_TRUE(cursor_.noMatch());
    cursor_.moveFirst();
    for (int i = 0; i < 7; ++i) cursor_.moveNext();
    EXPECT_TRUE(cursor_.eof());
    EXPECT_EQ(next("100"), "2");  // from EOF, FindNext starts again at the top
}

TEST_P(FindTest, FindFollowsTheCurrentIndex) {
    build(kGrades, GetParam());
    cursor_.setIndex("name");
    cursor_.findFirst("name", "Q");
    EXPECT_EQ(cursor_.field("code"), "b");
    cursor_.findNext("name", "Q");
    EXPECT_EQ(cursor_.field("code"), "a");
    cursor_.findNext("name", "Q");
    EXPECT_EQ(cursor_.field("code"), "d");
    cursor_.findNext("name", "Q");
    EXPECT_TRUE(cursor_.noMatch());
    cursor_.findFirst("name", "235");
    cursor_.findNext("name", "235");
    EXPECT_EQ(cursor_.field("code"), "d");
}

INSTANTIATE_TEST_SUITE_P(TrigramAndPlain, FindTest, ::testing::Bool());

TEST_F(TableCursorTest, FieldsAndNumbers) {
    build({{"1", " 2150", "13.28e-6"}, {"2", std::nullopt, "1.5x"}});
    EXPECT_EQ(cursor_.number("ID"), 1.0);
    EXPECT_EQ(cursor_.number("code"), 13.28e-6);
    EXPECT_EQ(cursor_.number("name"), std::nullopt);  // a leading blank is not a number
    EXPECT_EQ(cursor_.field("nonesuch"), "");
    cursor_.moveNext();
    EXPECT_EQ(cursor_.field("name"), "");
    EXPECT_EQ(cursor_.number("code"), std::nullopt);
    EXPECT_EQ(cursor_.readColumn("name", 5), (std::vector<std::string>{" 2150", ""}));
    EXPECT_EQ(cursor_.readAll().size(), 2u);
    EXPECT_TRUE(cursor_.read({"name", "nonesuch"}, -1).empty());
    EXPECT_EQ(cursor_.field("ID"), "2");  // bulk reads leave the row
}

TEST_P(FindTest, ACursorOnARowLetsAnotherConnectionWrite) {
    build(kGrades, GetParam());
    cursor_.setIndex("name");
    cursor_.findFirst("name", "235");
    cursor_.seek(Comparison::kLessOrEqual, "Q9");
    EXPECT_EQ(cursor_.recordCount(), 5);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "INSERT INTO t(ID, name, code) VALUES (6, 'X', 'f')", nullptr,
                           nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(other);
    sqlite3_close(other);
}

TEST_P(FindTest, FindNextSeesRowsAnotherConnectionWroteMeanwhile) {
    build({{"10", "Q1"}, {"20", "Q2"}, {"30", "Q3"}, {"40", "Q4"}}, GetParam());
    cursor_.findFirst("name", "q*");
    ASSERT_EQ(cursor_.field("ID"), "10");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "INSERT INTO t(ID, name) VALUES (15, 'Q15')", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    cursor_.findNext("name", "q*");
    EXPECT_EQ(cursor_.field("ID"), "15");
    ASSERT_EQ(sqlite3_exec(other, "DELETE FROM t WHERE ID = 20", nullptr, nullptr, nullptr),
              SQLITE_OK);
    cursor_.findNext("name", "q*");
    EXPECT_EQ(cursor_.field("ID"), "30");
    ASSERT_EQ(sqlite3_exec(other, "DELETE FROM t WHERE ID = 40", nullptr, nullptr, nullptr),
              SQLITE_OK);
    cursor_.findNext("name", "q*");
    EXPECT_TRUE(cursor_.noMatch());
    EXPECT_EQ(cursor_.field("ID"), "30");
    sqlite3_close(other);
}

TEST(TableCursorClosed, AClosedOrMissingDatabaseGivesAnEmptyCursor) {
    QTemporaryDir dir;
    Database database;
    const std::string missing = dir.filePath("none.db").toStdString();
    const ui::OptionalMessage m = Database::open(missing, database);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->title, "数据库错误");
    EXPECT_EQ(m->text, "无法使用数据库文件 “" + missing + "”：文件不存在");
    TableCursor cursor;
    EXPECT_TRUE(cursor.open(database, "t"));
    EXPECT_TRUE(cursor.eof());
    EXPECT_EQ(cursor.recordCount(), 0);
    cursor.moveFirst();
    cursor.moveNext();
    cursor.findFirst("name", "a");
    EXPECT_TRUE(cursor.noMatch());
    EXPECT_EQ(cursor.field("name"), "");
    EXPECT_TRUE(cursor.readAll().empty());
}

}  // namespace
}  // namespace db
