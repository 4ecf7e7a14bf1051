#include "db/row_append.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "db/database_builder.h"
#include "db/sql_statement.h"

namespace db {
namespace {

TEST(RowAppendTest, NumbersAfterTheLastRowAndRefusesAKeyAlreadyThere) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("m.db")).toStdString();
    const NewTable table{
        "m",
        {{"ID", ColumnKind::kInteger}, {"名称", ColumnKind::kText}, {"容重", ColumnKind::kNumber}},
        {},
        {},
        ""};
    std::string error;
    ASSERT_TRUE(buildTableFile(path, table, {{"7", "Brick"}}, error)) << error;

    const auto row = [](const char* name, double density) {
        return std::vector<std::pair<std::string, CellValue>>{{"名称", std::string(name)},
                                                              {"容重", density}};
    };
    EXPECT_EQ(appendNumberedRow(path, "m", "ID", row("BRICK", 1)).outcome,
              AppendOutcome::kDuplicate);
    EXPECT_EQ(appendNumberedRow(path, "m", "ID", row("Wool", 300)).outcome, AppendOutcome::kAdded);
    EXPECT_EQ(appendNumberedRow(path, "m", "ID", row("Board", 0.5)).outcome, AppendOutcome::kAdded);
    EXPECT_EQ(appendNumberedRow(path, "absent", "ID", row("Wool", 1)).outcome,
              AppendOutcome::kNoTable);
    const AppendResult missing = appendNumberedRow(path + "x", "m", "ID", row("Wool", 1));
    EXPECT_EQ(missing.outcome, AppendOutcome::kCannotOpen);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_FALSE(std::filesystem::exists(path + "x"));

    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    std::string rows;
    {
        SqlStatement all(raw, "SELECT ID, 名称, typeof(容重), 容重 FROM m ORDER BY ID");
        while (all.step())
            rows += all.text(0) + " " + all.text(1) + " " + all.text(2) + " " + all.text(3) + ";";
    }
    sqlite3_close(raw);
    EXPECT_EQ(rows, "7 Brick null ;8 Wool integer 300;9 Board real 0.5;");
}

}  // namespace
}  // namespace db
