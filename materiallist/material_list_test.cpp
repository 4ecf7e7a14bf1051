#include "materiallist/material_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace materiallist {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("tolvane-mat-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

MaterialList sample() {
    MaterialList list;
    list.items.push_back({"槽钢", "25a---250x78x7.0x12.0 L=6000", "Q235-A", 4, 164.46, 657.84});
    list.items.push_back({"钢板", "10x1500x3000", "", 1, 353.25, 353.25});
    list.items.push_back({"螺丝", "a \"quoted\", text", "OCr18Ni11Ti", -2, 0.231, -0.462});
    return list;
}

TEST(MaterialListTest, SaveAndLoadRoundTrip) {
    TempDir dir;
    const fs::path file = dir.path() / "材料表.csv";
    ASSERT_EQ(saveCsv(sample(), file), "");
    EXPECT_FALSE(fs::exists(dir.path() / "材料表.csv.part"));

    const std::string text = readFile(file);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(text.find("类型,规格/尺寸,材料,数量,单重(kg),总重(kg)\r\n"), std::string::npos);
    EXPECT_NE(text.find("槽钢,25a---250x78x7.0x12.0 L=6000,Q235-A,4,164.46,657.84\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("螺丝,\"a \"\"quoted\"\", text\",OCr18Ni11Ti,-2,0.231,-0.462\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("合计,,,,,1010.628"), std::string::npos);

    const CsvResult loaded = loadCsv(file);
    ASSERT_EQ(loaded.error, "");
    ASSERT_EQ(loaded.list.items.size(), 3u);
    const MaterialList original = sample();
    for (std::size_t i = 0; i < 3; ++i) {
        const MaterialItem& a = original.items[i];
        const MaterialItem& b = loaded.list.items[i];
        EXPECT_EQ(a.type, b.type);
        EXPECT_EQ(a.designation, b.designation);
        EXPECT_EQ(a.material, b.material);
        EXPECT_EQ(a.quantity, b.quantity);
        EXPECT_EQ(a.unitWeight, b.unitWeight);
        EXPECT_EQ(a.totalWeight, b.totalWeight);
    }
}

TEST(MaterialListTest, EmptyListRoundTrip) {
    TempDir dir;
    const fs::path file = dir.path() / "empty.csv";
    ASSERT_EQ(saveCsv(MaterialList{}, file), "");
    const CsvResult loaded = loadCsv(file);
    EXPECT_EQ(loaded.error, "");
    EXPECT_TRUE(loaded.list.items.empty());
}

TEST(MaterialListTest, SaveReplacesAnExistingFileAndFailsCleanly) {
    TempDir dir;
    const fs::path file = dir.path() / "list.csv";
    writeFile(file, "old");
    ASSERT_EQ(saveCsv(sample(), file), "");
    EXPECT_EQ(loadCsv(file).list.items.size(), 3u);

    const fs::path missing = dir.path() / "no-such-folder" / "list.csv";
    const std::string error = saveCsv(sample(), missing);
    EXPECT_NE(error.find(missing.string()), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(missing));
}

TEST(MaterialListTest, BadRowsNameTheirLine) {
    const std::string header = "\xEF\xBB\xBF类型,规格/尺寸,材料,数量,单重(kg),总重(kg)\r\n";
    const std::string good = "槽钢,x,Q235-A,4,1.5,6\r\n";
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "第1行：不是材料表的表头（文件为空）"},
        {"名称,数量\r\n", "第1行：不是材料表的表头（类型,规格/尺寸,材料,数量,单重(kg),总重(kg)）"},
        {header + good + "槽钢,x,Q235-A,4,1.5\r\n合计,,,,,7.5\r\n", "第3行：应有 6 列，实有 5 列"},
        {header + "木头,x,Q235-A,4,1.5,6\r\n", "第2行：类型“木头”不是钢材类型"},
        {header + "槽钢,x,Q345,4,1.5,6\r\n", "第2行：材料“Q345”不在材料表中"},
        {header + "槽钢,x,Q235-A,4.5,1.5,6\r\n", "第2行：数量“4.5”不是 -32768 到 32767 之间的整数"},
        {header + "槽钢,x,Q235-A,40000,1.5,6\r\n",
         "第2行：数量“40000”不是 -32768 到 32767 之间的整数"},
        {header + "槽钢,x,Q235-A,4, 1.5,6\r\n", "第2行：单重“ 1.5”不是数值"},
        {header + "槽钢,x,Q235-A,4,1.5,abc\r\n", "第2行：总重“abc”不是数值"},
        {header + "槽钢,\"x,Q235-A,4,1.5,6\r\n", "第2行：引号不配对"},
        {header + good, "第3行：缺少合计行，文件可能不完整"},
        {header + good + "合计,,,,,7\r\n", "第3行：合计 7 与各行总重之和 6 不符"},
        {header + good + "合计,,,,,6\r\n" + good, "第4行：合计行之后不应再有内容"},
        {header + "槽钢,x,,1,1e308,1e308\r\n槽钢,x,,1,1e308,1e308\r\n合计,,,,,1e308\r\n",
         "第4行：各行总重之和超出范围"},
    };
    for (const auto& c : cases) {
        const CsvResult r = fromCsv(c.text);
        EXPECT_EQ(r.error, c.error);
        EXPECT_TRUE(r.list.items.empty()) << c.error;
    }
    // Blank lines and a missing byte-order mark are fine.
    const CsvResult ok =
        fromCsv("类型,规格/尺寸,材料,数量,单重(kg),总重(kg)\n\n" + good + "\n合计,,,,,6\n\n");
    EXPECT_EQ(ok.error, "");
    EXPECT_EQ(ok.list.items.size(), 1u);
}

TEST(MaterialListTest, LoadNamesAMissingFile) {
    TempDir dir;
    const CsvResult r = loadCsv(dir.path() / "none.csv");
    EXPECT_NE(r.error.find("none.csv"), std::string::npos);
    EXPECT_TRUE(r.list.items.empty());
}

TEST(MaterialListTest, ItemOfTheWindowEntries) {
    WindowEntries e;
    applyFill(e, smartFill("U25a-6000"));
    e.quantity = std::string("4");
    calculate(e);
    const MaterialItem channel = itemOf(e);
    EXPECT_EQ(channel.type, "槽钢");
    EXPECT_EQ(channel.designation, "25a---250x78x7.0x12.0 L=6000");
    EXPECT_EQ(channel.material, "Q235-A");
    EXPECT_EQ(channel.quantity, 4);
    EXPECT_EQ(channel.unitWeight, 164.45);  // 27.41 kg/m in single precision, truncated
    EXPECT_DOUBLE_EQ(channel.totalWeight, 657.8);

    WindowEntries f;
    selectSteelType(f, 9);
    f.rows[0].text = std::string("20");
    f.rows[1].text = std::string("200");
    f.rows[2].text = std::string("100");
    f.holeDiameter = std::string("18");
    f.holeCount = std::string("4");
    f.quantity = std::string("2.5");
    calculate(f);
    const MaterialItem flange = itemOf(f);
    EXPECT_EQ(flange.type, "法兰");
    EXPECT_EQ(flange.designation, "20x200x100 孔18x4");
    EXPECT_EQ(flange.quantity, 2);
    EXPECT_EQ(flange.unitWeight, 3.5375);
}

}  // namespace
}  // namespace materiallist
