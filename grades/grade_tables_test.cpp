#include "grades/grade_tables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

TEST(ResultCsv, CaptionsLoseTheirColonAndTextsAreQuotedWhenNeeded) {
    EXPECT_EQ(grades::resultCsv({{"类别：", "碳素结构钢"},
                                 {"C:", "0.06~0.12"},
                                 {"脱氧方法：", "沸腾钢,镇静钢"},
                                 {"钢号：", "say \"hi\""},
                                 {"Ni:", ""}}),
              "\xEF\xBB\xBF项目,内容\r\n类别,碳素结构钢\r\nC,0.06~0.12\r\n"
              "脱氧方法,\"沸腾钢,镇静钢\"\r\n钢号,\"say \"\"hi\"\"\"\r\nNi,\r\n");
}

TEST(OpenTable, MissingOrDamagedFileGivesAMessageNamingItAndAnEmptyCursor) {
    const auto dir = std::filesystem::temp_directory_path() / "grade_tables_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    setenv("TOLVANE_DATA_DIR", dir.c_str(), 1);
    const std::string path = (dir / "S_WORLD972.db").string();

    db::TableCursor cursor;
    ui::OptionalMessage missing = grades::openTable(cursor, "S_WORLD972.db", "s_world");
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->text.find(path), std::string::npos) << missing->text;
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(cursor.eof());

    std::ofstream(path) << std::string(4096, 'x');
    ui::OptionalMessage damaged = grades::openTable(cursor, "S_WORLD972.db", "s_world");
    ASSERT_TRUE(damaged);
    EXPECT_NE(damaged->text.find(path), std::string::npos) << damaged->text;
    EXPECT_EQ(cursor.recordCount(), 0);
    EXPECT_EQ(cursor.field("中国GB"), "");
    std::filesystem::remove_all(dir);
}

}  // namespace
