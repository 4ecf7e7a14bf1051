// The attribute edit and the file-name building of a batch run.
#include "batch/attribute_edit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "batch/file_name_template.h"
#include "drawing/test_drawings.h"

namespace batch {
namespace {

namespace fs = std::filesystem;

TEST(NewAttributeValue, FollowsTheParallelLists) {
    struct Case {
        const char* name;
        std::vector<std::string> tags, values;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"plain value", {"DRAWNO"}, {"A101"}, "A101"},
        {"NULL clears", {"DRAWNO"}, {"NULL"}, ""},
        {"null clears", {"DRAWNO"}, {"null"}, ""},
        {"Null is text", {"DRAWNO"}, {"Null"}, "Null"},
        {"empty value keeps", {"DRAWNO"}, {""}, std::nullopt},
        {"second listing applies", {"DRAWNO", "REV", "DRAWNO"}, {"", "C", "A102"}, "A102"},
        {"first value wins", {"DRAWNO", "DRAWNO"}, {"A1", "A2"}, "A1"},
        {"tags compare exactly", {"drawno"}, {"A101"}, std::nullopt},
        {"missing tag keeps", {"REV"}, {"C"}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(newAttributeValue("DRAWNO", c.tags, c.values), c.expected) << c.name;
}

TEST(FileNameTemplate, AssemblesTagsAndConstants) {
    const std::vector<std::pair<std::string, std::string>> block = {
        {"DRAWNO", "A101"}, {"REV", "B"}, {"REV", "X"}};
    FileNameTemplate t;
    t.addTag("DRAWNO");
    t.addConstant("-");
    t.addTag("REV");
    EXPECT_EQ(assembleFileName(t.slots(), block), "A101-B");
    t.addTag("SHEET");  // a tag the block lacks adds nothing
    EXPECT_EQ(assembleFileName(t.slots(), block), "A101-B");
    t.addConstant("");
    t.addTag("constant");  // a slot starting with "const" is a constant
    EXPECT_EQ(assembleFileName(t.slots(), block), "A101-Bant");
    t.clear();
    for (int k = 0; k < 20; ++k) EXPECT_TRUE(t.addConstant("x"));
    EXPECT_FALSE(t.addTag("DRAWNO"));
    EXPECT_EQ(t.slots().size(), 20u);
}

TEST(SafeFileName, ReplacesWhatCouldLeaveTheFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"A101-B", "A101-B"},      {"../../etc/passwd", "____etc_passwd"},
        {"a\\b", "a_b"},           {"x<>:\"|?*y", "x_______y"},
        {"tab\there", "tab_here"}, {"...", "_."},
        {"图号A101", "图号A101"},  {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(safeFileName(in), out) << in;
}

class EditOnDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = (fs::temp_directory_path() / ("batch_edit_" + std::to_string(::getpid()) + ".dxf"))
                    .string();
    }
    void TearDown() override { fs::remove(path_); }
    std::unique_ptr<drawing::AcadDocument> open(const drawing::testing::SampleOptions& o) {
        drawing::testing::writeFile(path_, drawing::testing::sampleDrawing(o));
        std::unique_ptr<drawing::AcadDocument> doc;
        EXPECT_TRUE(drawing::AcadDocument::open(path_, doc).ok());
        return doc;
    }
    std::string path_;
};

TEST_F(EditOnDrawing, EditsEveryReferenceAndReportsTheStatusTexts) {
    auto doc = open({});
    std::vector<std::string> statuses;
    const bool found =
        editAttributes(*doc, "TITLE", {"DRAWNO", "REV", "NAME"}, {"A101", "null", "新标题"},
                       [&](const std::string& s) { statuses.push_back(s); });
    EXPECT_TRUE(found);
    ASSERT_EQ(statuses.size(), 5u);
    EXPECT_EQ(statuses[0], "正在进行属性修改： 查找目标块块 TITLE 当前 AcDbLine");
    EXPECT_EQ(statuses[4], "正在进行属性修改： 已找到  TITLE 当前正属性修改中。。。");
    ASSERT_TRUE(doc->close(true).ok());

    std::unique_ptr<drawing::AcadDocument> reread;
    ASSERT_TRUE(drawing::AcadDocument::open(path_, reread).ok());
    FileNameTemplate t;
    t.addTag("DRAWNO");
    t.addConstant("-");
    t.addTag("NAME");
    EXPECT_EQ(buildFileName(*reread, "TITLE", t, nullptr), std::optional<std::string>("A101"
                                                                                      "-新标题"));
    EXPECT_EQ(drawing::AcadBlockReference(reread->modelSpace()[3]).getAttributes()[1].textString(),
              "");
}

TEST_F(EditOnDrawing, MissingBlockIsReportedAndNothingChanges) {
    auto doc = open({});
    const uint64_t before = doc->drawing().changes();
    EXPECT_FALSE(
        editAttributes(*doc, "title", {"DRAWNO"}, {"A101"}, nullptr));  // names compare exactly
    EXPECT_EQ(doc->drawing().changes(), before);
    FileNameTemplate t;
    t.addTag("DRAWNO");
    EXPECT_EQ(buildFileName(*doc, "NOBLOCK", t, nullptr), std::nullopt);
}

TEST_F(EditOnDrawing, OnlyTheActiveSpaceCounts) {
    drawing::testing::SampleOptions paper;
    paper.paperSpace = true;
    auto doc = open(paper);
    EXPECT_TRUE(editAttributes(*doc, "TITLE", {"REV"}, {"C"}, nullptr));
    // Model space is active in this drawing; its title block is in paper space.
    std::string header = drawing::testing::readFile(path_);
    header.replace(header.find("$TILEMODE\n 70\n0"), 15, "$TILEMODE\n 70\n1");
    drawing::testing::writeFile(path_, header);
    std::unique_ptr<drawing::AcadDocument> model;
    ASSERT_TRUE(drawing::AcadDocument::open(path_, model).ok());
    EXPECT_FALSE(editAttributes(*model, "TITLE", {"REV"}, {"C"}, nullptr));
}

}  // namespace
}  // namespace batch
