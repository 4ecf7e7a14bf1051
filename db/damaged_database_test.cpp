// A database whose table pages are damaged: every read that meets the damage is an error
// naming the file ("数据库错误"), never an empty field or a short list passed off as the
// table's content; the command line ends with status 1.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "db/child_program.h"
#include "db/damaged_page.h"
#include "db/seed.h"
#include "db/table_cursor.h"

namespace db {
namespace {

using testtools::damage;
using testtools::Page;

class DamagedDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = dir_.path().toStdString();
        ASSERT_TRUE(seedDatabases(folder_, folder_, TOLVANE_SEED_DIR).empty());
    }

    std::string path(std::string_view file) const { return folder_ + "/" + std::string(file); }

    QTemporaryDir dir_;
    std::string folder_;
};

TEST_F(DamagedDatabase, ACursorTellsAFailedReadFromTheEndOfTheRows) {
    ASSERT_TRUE(damage(path(kWorldFile), "s_world", Page::kLastLeaf));
    Database database;
    ASSERT_FALSE(Database::open(path(kWorldFile), database));
    TableCursor cursor;
    int announced = 0;
    QObject::connect(&cursor, &TableCursor::readFailed, [&] { ++announced; });
    ASSERT_FALSE(cursor.open(database, "s_world"));  // the first page is sound
    EXPECT_FALSE(cursor.readFailure());
    const std::size_t sound = cursor.readAll().size();
    ASSERT_TRUE(cursor.readFailure());
    EXPECT_EQ(cursor.readFailure()->title, "数据库错误");
    EXPECT_EQ(cursor.readFailure()->text,
              "无法使用数据库文件 “" + path(kWorldFile) + "”：不是数据库文件或文件已损坏");
    EXPECT_GT(sound, 0u);
    while (!cursor.eof()) cursor.moveNext();
    EXPECT_EQ(announced, 1);  // once, at the first failure
}

TEST_F(DamagedDatabase, ADamagedFirstPageFailsTheOpen) {
    ASSERT_TRUE(damage(path(kMaterialFile), "CNA_STEEL", Page::kRoot));
    Database database;
    ASSERT_FALSE(Database::open(path(kMaterialFile), database));
    TableCursor cursor;
    const ui::OptionalMessage failure = cursor.open(database, "CNA_STEEL");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text,
              "无法使用数据库文件 “" + path(kMaterialFile) + "”：不是数据库文件或文件已损坏");
    EXPECT_TRUE(cursor.eof());
    EXPECT_EQ(cursor.field("钢号"), "");
}

TEST_F(DamagedDatabase, TheCommandLineSaysSoAndEndsWithStatusOne) {
    ASSERT_TRUE(damage(path(kMaterialFile), "CNA_STEEL", Page::kRoot));
    ASSERT_TRUE(damage(path(kWorldFile), "s_world", Page::kLastLeaf));
    const struct {
        std::vector<std::string> args;
        std::string file;
    } cases[] = {
        {{"grade", "query", "45"}, path(kMaterialFile)},
        {{"grade", "list", "1"}, path(kWorldFile)},
        {{"grade", "search", "QT800"}, path(kWorldFile)},  // the last row
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{TOLVANE_CLI, "--data-dir", folder_};
        args.insert(args.end(), c.args.begin(), c.args.end());
        testtools::ChildProgram cli(args, folder_, "cli");
        EXPECT_EQ(cli.wait(), 1) << c.args[1];
        const std::string text = "无法使用数据库文件 “" + c.file + "”：不是数据库文件或文件已损坏";
        EXPECT_EQ(cli.out(), "message=数据库错误|" + text + "\n");
        EXPECT_EQ(cli.err(), "tolvane-cli grade: " + text + "\n");
    }
}

}  // namespace
}  // namespace db
