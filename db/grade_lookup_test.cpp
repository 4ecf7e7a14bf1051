#include "db/grade_lookup.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "db/database_builder.h"
#include "db/seed.h"

namespace db {
namespace {

// The seeded databases in a temporary folder, or a table of the seed's layout built
// from given rows.
class GradeLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string d = dir_.path().toStdString();
        ASSERT_TRUE(seedDatabases(d, d, TOLVANE_SEED_DIR).empty());
    }

    void openSeeded(std::string_view file, const std::string& table) {
        ASSERT_FALSE(Database::open(dir_.path().toStdString() + "/" + std::string(file), db_));
        ASSERT_FALSE(cursor_.open(db_, table));
    }

    // A table laid out as `table` of the seed, in a file of its own, holding `rows`.
    void openBuilt(const std::string& table,
                   const std::vector<std::vector<std::optional<std::string>>>& rows) {
        const std::string path = dir_.filePath("built.db").toStdString();
        std::string error;
        ASSERT_TRUE(buildTableFile(path, NewTable::fromSchema(*findTableSchema(table)), rows, error))
            << error;
        ASSERT_FALSE(Database::open(path, db_));
        ASSERT_FALSE(cursor_.open(db_, table));
    }

    QTemporaryDir dir_;
    Database db_;
    TableCursor cursor_;
};

TEST_F(GradeLookupTest, GradeListHoldsEachIdOnceAndStopsAtAGap) {
    openSeeded(kMaterialFile, "CNA_STEEL");
    int steps = 0;
    const auto list = gradeList(cursor_, [&](int i) { steps = i; });
    EXPECT_EQ(list.size(), 79u);
    EXPECT_EQ(steps, 79);
    EXPECT_EQ(list.front(), "Q195");
    EXPECT_EQ(gradeList(cursor_), list);  // a rebuild replaces, never appends
    EXPECT_EQ(cursor_.index(), "ID");

    openBuilt("CNA_STEEL", {{"1", "A"}, {"2", "B"}, {"4", "D"}, {"5", "E"}});
    EXPECT_EQ(gradeList(cursor_), (std::vector<std::string>{"A", "B"}));
}

TEST_F(GradeLookupTest, QueryShowsTheGradeOrTheFirstRow) {
    openSeeded(kMaterialFile, "CNA_STEEL");
    cursor_.moveNext();
    EXPECT_TRUE(queryGrade(cursor_, "45"));
    EXPECT_EQ(cursor_.field("类别"), "优质碳素结构钢");
    EXPECT_TRUE(queryGrade(cursor_, "q235a"));
    EXPECT_EQ(cursor_.field("钢号"), "Q235A");
    EXPECT_FALSE(queryGrade(cursor_, "no such grade"));
    EXPECT_EQ(cursor_.field("钢号"), "Q195");
    EXPECT_EQ(cursor_.index(), "ID");
}

TEST_F(GradeLookupTest, StandardListsStopAtAThousandRowsAndSkipEmptyCells) {
    openSeeded(kWorldFile, "s_world");
    EXPECT_EQ(standardList(cursor_, 1).size(), 112u);
    EXPECT_EQ(standardList(cursor_, 9).size(), 112u - 15u);
    EXPECT_EQ(standardList(cursor_, 1).front(), "Q195");
    EXPECT_TRUE(standardList(cursor_, 10).empty());

    std::vector<std::vector<std::optional<std::string>>> rows;
    for (int i = 1; i <= 1200; ++i)
        rows.push_back({std::to_string(i), "", "G" + std::to_string(i)});
    openBuilt("s_world", rows);
    const auto list = standardList(cursor_, 1);
    ASSERT_EQ(list.size(), 1000u);
    EXPECT_EQ(list.back(), "G1000");
    EXPECT_EQ(cursor_.field("ID"), "1");
}

TEST_F(GradeLookupTest, ChosenGradePositionsOnTheLastKeyNotGreater) {
    openSeeded(kWorldFile, "s_world");
    EXPECT_TRUE(chooseGrade(cursor_, 7, "a36"));
    EXPECT_EQ(cursor_.field("中国GB"), "Q235D");  // the last of the rows whose ASTM is A36
    EXPECT_TRUE(chooseGrade(cursor_, 1, "Q235AA"));
    EXPECT_EQ(cursor_.field("中国GB"), "Q235A");
    EXPECT_FALSE(chooseGrade(cursor_, 1, "0"));  // sorts before every designation
    EXPECT_EQ(cursor_.field("ID"), "1");
    EXPECT_EQ(cursor_.index(), "ID");
}

TEST_F(GradeLookupTest, SearchTriesTheStandardsInOrderAndNextGoesOnThroughThem) {
    openBuilt("s_world", {{"1", "", "X1"},
                          {"2", "", "", "x1"},
                          {"3", "", "Y"},
                          {"4", "", "X10"},
                          {"5", "", "", "", "", "", "", "", "", "", "ax1"}});
    GradeSearch s(cursor_);
    ASSERT_TRUE(s.search("x1"));
    EXPECT_EQ(cursor_.field("ID"), "1");
    EXPECT_EQ(s.position(), 1);
    EXPECT_FALSE(s.searchEnabled());
    EXPECT_TRUE(s.nextEnabled());
    ASSERT_TRUE(s.next("x1"));
    EXPECT_EQ(cursor_.field("ID"), "4");
    ASSERT_TRUE(s.next("x1"));  // 中国GB has no more: on to 德国DIN from the top
    EXPECT_EQ(cursor_.field("ID"), "2");
    EXPECT_EQ(s.position(), 2);
    ASSERT_TRUE(s.next("x1"));
    EXPECT_EQ(cursor_.field("ID"), "5");
    EXPECT_EQ(s.position(), 9);
    EXPECT_FALSE(s.next("x1"));
    EXPECT_EQ(cursor_.field("ID"), "5");  // the row found last stays
    EXPECT_EQ(s.position(), 1);
    EXPECT_TRUE(s.searchEnabled());
    EXPECT_FALSE(s.nextEnabled());

    ASSERT_TRUE(s.search("AX1"));  // found only in the ninth standard
    EXPECT_EQ(s.position(), 9);
    s.textEdited();
    EXPECT_EQ(s.position(), 1);
    EXPECT_FALSE(s.search("none'such"));
    EXPECT_EQ(cursor_.field("ID"), "5");
    EXPECT_EQ(notFoundMessage().text, "数据未找到");
}

}  // namespace
}  // namespace db
