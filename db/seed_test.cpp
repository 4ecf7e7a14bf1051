#include "db/seed.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "db/schema.h"
#include "db/table_cursor.h"

namespace db {
namespace {

class SeedTest : public ::testing::Test {
protected:
    std::string path(std::string_view file) const {
        return dir_.filePath(QString::fromUtf8(file.data(), static_cast<int>(file.size())))
            .toStdString();
    }

    // Opens `table` of `file` in the cursor; the message when that fails.
    ui::OptionalMessage open(std::string_view file, const std::string& table) {
        if (auto m = Database::open(path(file), database_)) return m;
        return cursor_.open(database_, table);
    }

    QTemporaryDir dir_;
    Database database_;
    TableCursor cursor_;
};

TEST_F(SeedTest, CreatesEveryMissingFileFromTheSeedAndKeepsExistingOnes) {
    std::ofstream(path(kWorldFile)) << "the user's own file";
    const std::string d = dir_.path().toStdString();
    EXPECT_TRUE(seedDatabases(d, d, TOLVANE_SEED_DIR).empty());
    EXPECT_TRUE(seedDatabases(d, d, TOLVANE_SEED_DIR).empty());  // a second start adds nothing

    ASSERT_FALSE(open(kInsulationFile, "heat"));
    EXPECT_EQ(cursor_.recordCount(), 54);
    ASSERT_FALSE(cursor_.open(database_, "air_date"));
    EXPECT_EQ(cursor_.recordCount(), 21);
    ASSERT_TRUE(cursor_.setIndex("temperture"));
    cursor_.seek(Comparison::kEqual, std::int64_t{20});
    EXPECT_EQ(cursor_.field("热导率"), "0.02227");
    EXPECT_EQ(cursor_.number("运动粘度"), 15.06e-6);
    EXPECT_EQ(cursor_.number("普朗特准数"), 0.703);

    ASSERT_FALSE(open(kMaterialFile, "CNA_STEEL"));
    EXPECT_EQ(cursor_.recordCount(), 79);
    EXPECT_EQ(cursor_.field("钢号"), "Q195");
    EXPECT_EQ(cursor_.field("脱氧方法"), "沸腾钢,半镇静钢,镇静钢");  // a quoted CSV field
    EXPECT_EQ(cursor_.field("硬度HB（退火钢）"), "");

    ASSERT_FALSE(open(kStandardFile, "bolt_type"));
    EXPECT_EQ(cursor_.field("gb"), "GB/T 5782-2000");
    EXPECT_EQ(cursor_.field("name"), "六角头螺栓");

    std::ifstream kept(path(kWorldFile));
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "the user's own file");
    const ui::OptionalMessage damaged = open(kWorldFile, "s_world");
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->text,
              "无法使用数据库文件 “" + path(kWorldFile) + "”：不是数据库文件或文件已损坏");
    const ui::OptionalMessage noTable = open(kMaterialFile, "s_world");
    ASSERT_TRUE(noTable);
    EXPECT_EQ(noTable->text, "无法使用数据库文件 “" + path(kMaterialFile) + "”：缺少表 “s_world”");
    EXPECT_TRUE(cursor_.eof());
    const ui::OptionalMessage noColumn = cursor_.open(database_, "CNA_STEEL", {"钢号", "硬度"});
    ASSERT_TRUE(noColumn);
    EXPECT_EQ(noColumn->text,
              "无法使用数据库文件 “" + path(kMaterialFile) + "”：表 “CNA_STEEL” 缺少列 “硬度”");
}

TEST_F(SeedTest, ABadSeedFileLeavesNoDatabaseFileBehind) {
    QTemporaryDir seed;
    for (const char* f : {"insulation_heat.csv", "insulation_air_date.csv", "s_world.csv"})
        QFile::copy(QString(TOLVANE_SEED_DIR "/") + f, seed.filePath(f));
    std::ofstream(seed.filePath("s_material_CNA_STEEL.csv").toStdString()) << "ID,钢号\n1,\"Q195\n";
    std::ofstream(seed.filePath("standard_bolt_type.csv").toStdString()) << "ID,gb,name\nx,a,b\n";
    const std::string d = dir_.path().toStdString();
    const std::vector<ui::Message> problems = seedDatabases(d, d, seed.path().toStdString());
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].text.find("引号未闭合"), std::string::npos) << problems[0].text;
    EXPECT_NE(problems[1].text.find("第 2 行"), std::string::npos) << problems[1].text;
    namespace fs = std::filesystem;
    EXPECT_TRUE(fs::exists(path(kInsulationFile)));
    EXPECT_TRUE(fs::exists(path(kWorldFile)));
    EXPECT_FALSE(fs::exists(path(kMaterialFile)));
    EXPECT_FALSE(fs::exists(path(kStandardFile)));
    for (const auto& e : fs::directory_iterator(d))
        EXPECT_EQ(e.path().extension(), ".db") << e.path();
}

}  // namespace
}  // namespace db
