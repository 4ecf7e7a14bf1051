// The mapping from libmdb's tables to the new database, on tables laid out as libmdb
// hands them over: no Access file can be made here, so the reader itself is only tried
// on files that are not Access databases.
#include "db/mdb_import.h"

#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <gtest/gtest.h>
#include <mdbtools.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "db/table_cursor.h"

namespace db {
namespace {

ImportedTable worldTable() {
    ImportedTable t;
    t.name = "s_world";
    t.columns = {{"ID", MDB_LONGINT},  {"类别", MDB_TEXT},    {"中国GB", MDB_TEXT},
                 {"picture", MDB_OLE}, {"德国DIN", MDB_MEMO}, {"note", MDB_DOUBLE}};
    t.rows = {{"2", "碳素结构钢", "Q235A", "blob", "St37-2", "1.5"},
              {"1", "碳素结构钢", "Q195", std::nullopt, std::nullopt, std::nullopt}};
    return t;
}

TEST(MdbImport, AccessTypesMapToStorage) {
    EXPECT_EQ(columnKindOf(MDB_LONGINT), ColumnKind::kInteger);
    EXPECT_EQ(columnKindOf(MDB_BOOL), ColumnKind::kInteger);
    EXPECT_EQ(columnKindOf(MDB_DOUBLE), ColumnKind::kNumber);
    EXPECT_EQ(columnKindOf(MDB_NUMERIC), ColumnKind::kNumber);
    EXPECT_EQ(columnKindOf(MDB_MEMO), ColumnKind::kText);
    EXPECT_EQ(columnKindOf(MDB_DATETIME), ColumnKind::kText);
    EXPECT_EQ(columnKindOf(MDB_OLE), std::nullopt);
    EXPECT_EQ(columnKindOf(MDB_BINARY), std::nullopt);
}

TEST(MdbImport, AReferenceTableGetsItsIndexesAndSearchTable) {
    std::vector<int> positions;
    const NewTable t = importLayout(worldTable(), positions);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, -1, 3, 4}));
    EXPECT_EQ(t.rowidColumn, "ID");
    EXPECT_EQ(t.indexes, (std::vector<std::pair<std::string, std::string>>{
                             {"ID", "ID"}, {"中国GB", "中国GB"}, {"德国DIN", "德国DIN"}}));
    EXPECT_EQ(t.searchColumns, (std::vector<std::string>{"中国GB", "德国DIN"}));

    QTemporaryDir dir;
    const std::string path = dir.filePath("w.db").toStdString();
    ImportedTable notes{"notes", {{"text", MDB_TEXT}}, {{"a"}, {std::nullopt}}};
    std::string error;
    ASSERT_TRUE(writeImport({worldTable(), notes}, path, error)) << error;
    EXPECT_FALSE(writeImport({notes}, path, error));  // never over an existing file

    Database database;
    ASSERT_FALSE(Database::open(path, database));
    TableCursor cursor;
    ASSERT_FALSE(cursor.open(database, "s_world"));
    EXPECT_EQ(cursor.columns(),
              (std::vector<std::string>{"ID", "类别", "中国GB", "德国DIN", "note"}));
    EXPECT_EQ(cursor.field("中国GB"), "Q195");  // table order is ID order
    cursor.findFirst("德国DIN", "st37");
    EXPECT_EQ(cursor.field("ID"), "2");
    EXPECT_EQ(cursor.number("note"), 1.5);
    ASSERT_TRUE(cursor.setIndex("中国GB"));
    cursor.seek(Comparison::kLessOrEqual, "Q2");
    EXPECT_EQ(cursor.field("中国GB"), "Q195");
    ASSERT_FALSE(cursor.open(database, "notes"));
    EXPECT_EQ(cursor.recordCount(), 2);
    EXPECT_FALSE(cursor.setIndex("text"));
}

TEST(MdbImport, AFailingRowLeavesNoFile) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("w.db").toStdString();
    ImportedTable t = worldTable();
    t.rows.push_back(t.rows.front());  // ID 2 twice
    std::string error;
    EXPECT_FALSE(writeImport({t}, path, error));
    EXPECT_NE(error.find("表 “s_world” 第 3 行"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path().toStdString()));
}

TEST(MdbImport, FilesThatAreNoAccessDatabaseAreRefused) {
    QTemporaryDir dir;
    const std::string text = dir.filePath("text.mdb").toStdString();
    std::ofstream(text) << std::string(5000, 'x');
    std::vector<ImportedTable> tables;
    std::string error;
    EXPECT_FALSE(readAccessFile(text, tables, error));
    EXPECT_EQ(error, "“" + text + "” 不是可读的 Access 数据库");
    EXPECT_FALSE(readAccessFile(dir.filePath("none.mdb").toStdString(), tables, error));
    EXPECT_NE(error.find("不存在"), std::string::npos);
}

}  // namespace
}  // namespace db
