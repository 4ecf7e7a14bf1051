#include "db/row_append.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
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

// Two programs adding the same 200 names at once, one of them in capitals: every name is
// stored once, with its own number, and each program was told which ones it added.
TEST(RowAppendTest, TwoProcessesAddingTheSameNamesStoreEachOnce) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("m.db")).toStdString();
    const NewTable table{
        "m", {{"ID", ColumnKind::kInteger}, {"名称", ColumnKind::kText}}, {}, {}, ""};
    std::string error;
    ASSERT_TRUE(buildTableFile(path, table, {}, error)) << error;
    constexpr int kNames = 200;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        if (children[c] == 0) {
            ::close(start[1]);
            char go;
            while (::read(start[0], &go, 1) < 0 && errno == EINTR) {
            }
            int added = 0;
            for (int i = 0; i < kNames; ++i) {
                const std::string name = (c == 0 ? "wool " : "WOOL ") + std::to_string(i);
                const AppendResult r = appendNumberedRow(path, "m", "ID", {{"名称", name}});
                if (r.outcome == AppendOutcome::kAdded)
                    ++added;
                else if (r.outcome != AppendOutcome::kDuplicate)
                    ::_exit(255);
            }
            ::_exit(added);
        }
    }
    ::close(start[0]);
    ::close(start[1]);  // both start now
    int added = 0;
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 255);
        added += WEXITSTATUS(status);
    }
    EXPECT_EQ(added, kNames);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    {
        SqlStatement counts(raw,
                            "SELECT count(*), count(DISTINCT lower(名称)), count(DISTINCT ID), "
                            "max(ID) FROM m");
        ASSERT_TRUE(counts.step());
        EXPECT_EQ(
            counts.text(0) + " " + counts.text(1) + " " + counts.text(2) + " " + counts.text(3),
            "200 200 200 200");
    }
    sqlite3_close(raw);
}

}  // namespace
}  // namespace db
