// The import of Access files: the mapping from libmdb's tables to the new database, real
// Access files with binary, OLE, date and attachment columns read through tolvane-cli, a
// damaged file, and an OUT.db that is there or appears meanwhile.
#include "db/mdb_import.h"

#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <gtest/gtest.h>
#include <mdbtools.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "db/child_program.h"
#include "db/sql_statement.h"
#include "db/table_cursor.h"

namespace db {
namespace {

namespace fs = std::filesystem;
using testtools::ChildProgram;

ImportedTable worldTable() {
    ImportedTable t;
    t.name = "s_world";
    t.columns = {{"ID", MDB_LONGINT},  {"类别", MDB_TEXT},    {"中国GB", MDB_TEXT},
                 {"picture", MDB_OLE}, {"德国DIN", MDB_MEMO}, {"note", MDB_DOUBLE}};
    t.rows = {{"2", "碳素结构钢", "Q235A", std::string("\0\1blob", 6), "St37-2", "1.5"},
              {"1", "碳素结构钢", "Q195", std::nullopt, std::nullopt, std::nullopt}};
    return t;
}

// The rows `sql` gives on the file at `path`: fields joined by "|", each row ending in "\n".
std::string query(const std::string& path, const std::string& sql) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return "?";
    std::string rows;
    {
        SqlStatement s(raw, sql);
        while (s.ok() && s.step()) {
            for (int i = 0; i < sqlite3_column_count(s.get()); ++i)
                rows += (i ? "|" : "") + s.text(i);
            rows += "\n";
        }
    }
    sqlite3_close(raw);
    return rows;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string sample(const char* name) { return std::string(TOLVANE_ACCESS_SAMPLES) + "/" + name; }

TEST(MdbImport, AccessTypesMapToStorage) {
    EXPECT_EQ(columnKindOf(MDB_LONGINT), ColumnKind::kInteger);
    EXPECT_EQ(columnKindOf(MDB_BOOL), ColumnKind::kInteger);
    EXPECT_EQ(columnKindOf(MDB_DOUBLE), ColumnKind::kNumber);
    EXPECT_EQ(columnKindOf(MDB_NUMERIC), ColumnKind::kNumber);
    EXPECT_EQ(columnKindOf(MDB_MEMO), ColumnKind::kText);
    EXPECT_EQ(columnKindOf(MDB_DATETIME), ColumnKind::kText);
    EXPECT_EQ(columnKindOf(kAccessExtendedDateTime), ColumnKind::kText);
    EXPECT_EQ(columnKindOf(MDB_OLE), ColumnKind::kBlob);
    EXPECT_EQ(columnKindOf(MDB_BINARY), ColumnKind::kBlob);
    EXPECT_EQ(columnKindOf(MDB_COMPLEX), std::nullopt);
}

TEST(MdbImport, AReferenceTableGetsItsIndexesAndSearchTable) {
    std::vector<int> positions;
    const NewTable t = importLayout(worldTable(), positions);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 3, 4, 5}));
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
              (std::vector<std::string>{"ID", "类别", "中国GB", "picture", "德国DIN", "note"}));
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
    EXPECT_EQ(query(path, "SELECT typeof(picture), hex(picture) FROM s_world WHERE ID = 2"),
              "blob|0001626C6F62\n");
}

// A table of binary columns alone is a table; one whose columns cannot be kept at all is
// left out, and the notes say so, as they name every column left out.
TEST(MdbImport, WhatIsNotImportedIsNamed) {
    const ImportedTable pictures{"pictures", {{"photo", MDB_OLE}}, {{std::string("\xFF\0", 2)}}};
    const ImportedTable attachments{"files", {{"attached", MDB_COMPLEX}}, {{"1"}}};
    const ImportedTable mixed{"mixed", {{"id", MDB_LONGINT}, {"history", MDB_COMPLEX}}, {}};
    EXPECT_TRUE(importNotes(pictures).empty());
    EXPECT_EQ(importNotes(attachments),
              std::vector<std::string>{"表 “files” 未导入：没有可以导入的列"});
    EXPECT_EQ(importNotes(mixed),
              std::vector<std::string>{"表 “mixed” 的列 “history” 未导入：Access 类型 18 "
                                       "无法导入（附件、多值字段或未知类型）"});
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.db").toStdString();
    std::string error;
    ASSERT_TRUE(writeImport({pictures, attachments, mixed}, path, error)) << error;
    EXPECT_EQ(query(path, "SELECT name FROM sqlite_master ORDER BY name"), "mixed\npictures\n");
    EXPECT_EQ(query(path, "SELECT hex(photo) FROM pictures"), "FF00\n");
}

TEST(MdbImport, ExtendedDatesAreISOText) {
    EXPECT_EQ(extendedDateText(std::string("0000000000000737954:0000000819123456789:7\0", 42)),
              "2021-06-14 22:45:12.3456789");
    EXPECT_EQ(extendedDateText("0000000000000000000:0000000000000000000:7"), "0001-01-01 00:00:00");
    EXPECT_EQ(extendedDateText("0000000000003652058:0000000863999999999:7"),
              "9999-12-31 23:59:59.9999999");
    EXPECT_EQ(extendedDateText("0000000000003652059:0000000000000000000:7"), std::nullopt);
    EXPECT_EQ(extendedDateText("0000000000000000000:0000000864000000000:7"), std::nullopt);
    EXPECT_EQ(extendedDateText("00000000000007379x4:0000000000000000000:7"), std::nullopt);
    EXPECT_EQ(extendedDateText("short"), std::nullopt);
    EXPECT_EQ(dateText(0), "1899-12-30 00:00:00");
    EXPECT_EQ(dateText(-1.25), "1899-12-29 06:00:00");  // before the epoch the time runs on
    EXPECT_EQ(dateText(44361.53125), "2021-06-14 12:45:00");
    EXPECT_EQ(dateText(1e300), "1e+300");
}

// Real Access files through tolvane-cli: what each table holds in the new database.
TEST(MdbImport, RealAccessFilesKeepBinaryColumnsAndDates) {
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    const struct {
        const char* file;
        std::string lines;  // printed before saved=
        std::string sql, rows;
    } cases[] = {
        {"test2V1997.mdb", "table=MSP_PROJECTS|1\n",
         "SELECT typeof(RESERVED_BINARY_DATA), length(RESERVED_BINARY_DATA), "
         "hex(substr(RESERVED_BINARY_DATA, 1, 4)), PROJ_CREATION_DATE FROM MSP_PROJECTS",
         "blob|22970|151C2D00|2006-02-03 22:11:00\n"},
        {"binIdxTestV2010.accdb", "table=Test|105\n",
         "SELECT ID, typeof(BinAsc), BinAsc, BinDsc FROM Test WHERE ID IN (0, 3) ORDER BY ID",
         "0|blob|a|a\n3|blob|abcd|abcd\n"},
        {"extDateTestV2019.accdb", "table=Table1|9\n",
         "SELECT ID, DateExt, DateNormal, DateExtStr FROM Table1 WHERE ID IN (5, 6, 8, 9) ORDER BY "
         "ID",
         "5|||\n"
         "6|2021-06-14 22:45:12.3456789|2021-06-14 22:45:12|6/14/2021 10:45:12.3456789 PM\n"
         "8|0100-06-14 12:45:00.1234567|0100-06-14 12:45:00|6/14/100 12:45:00.1234567 PM\n"
         "9|1265-06-14 12:45:00|1265-06-14 12:45:00|6/14/1265 12:45:00.0000000 PM\n"},
        {"complexDataTestV2007.accdb",
         "table=Table1|4\n"
         "note=Table1|表 “Table1” 的列 “VersionHistory_F5F8918F-0A3F-4DA9-AE71-184EE5012880” "
         "未导入：Access 类型 18 无法导入（附件、多值字段或未知类型）\n"
         "note=Table1|表 “Table1” 的列 “multi-value-data” 未导入：Access 类型 18 "
         "无法导入（附件、多值字段或未知类型）\n"
         "note=Table1|表 “Table1” 的列 “attach-data” 未导入：Access 类型 18 "
         "无法导入（附件、多值字段或未知类型）\n",
         "SELECT group_concat(name, ',') FROM pragma_table_info('Table1')",
         "id,memo-data,append-memo-data\n"},
    };
    for (const auto& c : cases) {
        const std::string out = work + "/" + c.file + ".db";
        ChildProgram cli({TOLVANE_CLI, "import-mdb", sample(c.file), out}, work, "cli");
        EXPECT_EQ(cli.wait(), 0) << c.file << "\n" << cli.err();
        EXPECT_EQ(cli.out(), c.lines + "saved=" + out + "\n");
        EXPECT_EQ(cli.err(), "") << c.file;  // libmdb's warnings stay in the reading process
        EXPECT_EQ(query(out, c.sql), c.rows) << c.file;
    }
}

// One byte of the catalogue changed sends libmdb round a loop that fills memory: the child
// reading the file ends, the import says why, and no file is written.
TEST(MdbImport, ADamagedFileIsAnErrorAndLeavesNoFile) {
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    std::string bytes = slurp(sample("test2V1997.mdb"));
    ASSERT_EQ(bytes[116756], '\x53');
    bytes[116756] = '\xFD';
    const std::string damaged = work + "/damaged.mdb";
    std::ofstream(damaged, std::ios::binary) << bytes;

    ChildProgram cli({TOLVANE_CLI, "import-mdb", damaged}, work, "cli");
    EXPECT_EQ(cli.wait(), 1);
    EXPECT_EQ(cli.out(), "");
    EXPECT_EQ(
        cli.err().rfind("tolvane-cli import-mdb: 读取 “" + damaged + "” 时 libmdb 异常终止（", 0),
        0u)
        << cli.err();
    std::vector<std::string> left;
    for (const fs::directory_entry& e : fs::directory_iterator(work))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"cli.err", "cli.out", "damaged.mdb"}));
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

// The user's OUT.db, there from the start or written while the import runs (the import
// is held just before its rename), is never replaced.
TEST(MdbImport, AnOutputFileThatIsThereIsNeverReplaced) {
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    const std::string out = work + "/out.db", gate = work + "/gate";
    fs::create_directory(gate);
    ChildProgram held({TOLVANE_CLI, "import-mdb", sample("binIdxTestV2010.accdb"), out}, work,
                      "held",
                      {"LD_PRELOAD=" TOLVANE_RENAME_GATE, "TOLVANE_GATE_DIR=" + gate,
                       "TOLVANE_GATE_NAME=out.db"});
    ASSERT_TRUE(testtools::appears(gate + "/waiting"));
    std::ofstream(out) << "the user's own file";
    std::ofstream(gate + "/open").close();
    EXPECT_EQ(held.wait(), 1);
    EXPECT_EQ(held.err(), "tolvane-cli import-mdb: 文件 “" + out + "” 已存在\n");

    ChildProgram again({TOLVANE_CLI, "import-mdb", sample("binIdxTestV2010.accdb"), out}, work,
                       "again");
    EXPECT_EQ(again.wait(), 1);
    EXPECT_EQ(again.err(), held.err());
    EXPECT_EQ(slurp(out), "the user's own file");
    for (const fs::directory_entry& e : fs::directory_iterator(work))
        EXPECT_EQ(e.path().filename().string().find("out.db.new"), std::string::npos);
}

}  // namespace
}  // namespace db
