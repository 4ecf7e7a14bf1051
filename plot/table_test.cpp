// ACAD_TABLE in the plot scene: its anonymous block placed at the table, or, with the
// block missing, the frames and texts of its cells.
#include <gtest/gtest.h>

#include "plot/scene_testing.h"

namespace plot {
namespace {

using TableTest = testkit::SceneTest;
using testkit::Groups;
using testkit::operator+;

// A table at (100, 50) of two rows 10 high and two columns 20 and 30 wide: "Title" over
// both columns, then "B" and "C"; drawn by block *T1 (a line along its top edge).
Groups table(const char* block) {
    return Groups{
        {0, "ACAD_TABLE"},   {8, "0"},     {100, "AcDbEntity"}, {100, "AcDbBlockReference"},
        {2, block},          {10, "100"},  {20, "50"},          {100, "AcDbTable"},
        {11, "1"},           {21, "0"},    {91, "2"},           {92, "2"},
        {141, "10"},         {141, "10"},  {142, "20"},         {142, "30"},
        {171, "1"},          {173, "0"},   {175, "2"},          {176, "1"},
        {301, "CELL_VALUE"}, {1, "Title"}, {302, "Title"},      {304, "ACVALUE_END"},
        {171, "1"},          {173, "1"},   {175, "1"},          {171, "1"},
        {173, "0"},          {140, "4"},   {302, "B"},          {171, "1"},
        {173, "0"},          {302, "C"}};
}

const Groups kBlock = {{0, "BLOCK"}, {8, "0"},    {2, "*T1"},    {70, "1"}, {10, "0"},
                       {20, "0"},    {0, "LINE"}, {8, "0"},      {10, "0"}, {20, "0"},
                       {11, "50"},   {21, "0"},   {0, "ENDBLK"}, {8, "0"}};

TEST_F(TableTest, DrawnByItsBlock) {
    const Scene scene =
        sceneOf("table.dxf", testkit::drawingWith("AC1018", {}, kBlock, table("*T1")));
    ASSERT_EQ(scene.items.size(), 1u);
    EXPECT_EQ(outlineBox(scene, scene.items[0]), QRectF(100, 50, 50, 0));
}

TEST_F(TableTest, DrawnFromItsCellsWithoutItsBlock) {
    const Scene scene =
        sceneOf("cells.dxf", testkit::drawingWith("AC1018", {}, kBlock, table("*T2")));
    std::vector<QRectF> frames;
    for (const SceneItem& item : scene.items)
        if (item.kind == SceneItem::Kind::Stroke) frames.push_back(outlineBox(scene, item));
    EXPECT_EQ(frames, (std::vector<QRectF>{QRectF(100, 40, 50, 10), QRectF(100, 30, 20, 10),
                                           QRectF(120, 30, 30, 10)}));
    std::vector<std::string> texts;
    for (const SceneText& t : scene.texts) texts.push_back(testkit::textOf(scene, t));
    EXPECT_EQ(texts, (std::vector<std::string>{"Title", "B", "C"}));
    // Texts in the middle of their cells, at their cell's height where it has one.
    ASSERT_EQ(scene.texts.size(), 3u);
    const QRectF b = scene.texts[1].place.mapRect(scene.texts[1].box);
    EXPECT_NEAR(b.center().x(), 110, 0.5);
    EXPECT_NEAR(scene.texts[1].place.m22() / scene.texts[0].place.m22(), 4 / 2.5, 1e-9);
}

}  // namespace
}  // namespace plot
