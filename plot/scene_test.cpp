// The plot scene built from drawings read back from files: binary drawings give the
// scene of their ASCII twin, names find their layers, linetypes and blocks in any case,
// and numbers read as the general reader reads them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "drawing/document.h"
#include "drawing/test_drawings.h"
#include "plot/entity.h"
#include "plot/glyphs.h"
#include "plot/scene_builder.h"
#include "plot/scene_testing.h"

namespace drawing {
namespace {

using plot::testkit::describe;
using testing::Groups;
using PlotSceneTest = plot::testkit::SceneTest;

TEST_F(PlotSceneTest, BinaryDrawingsGiveTheSceneOfTheirAsciiTwin) {
    for (const char* version : {"AC1009", "AC1018"}) {
        testing::SampleOptions o;
        o.version = version;
        o.fillerEntities = 30;
        const plot::Scene ascii = sceneOf("ascii.dxf", testing::sampleDrawing(o));
        o.format = o.version == "AC1009" ? DxfFormat::Binary8 : DxfFormat::Binary16;
        const plot::Scene binary = sceneOf("binary.dxf", testing::sampleDrawing(o));
        ASSERT_EQ(binary.items.size(), ascii.items.size()) << version;
        EXPECT_GT(ascii.items.size(), 30u);
        for (size_t i = 0; i < ascii.items.size(); ++i)
            EXPECT_EQ(describe(binary, binary.items[i]), describe(ascii, ascii.items[i]))
                << version << " " << i;
        EXPECT_EQ(binary.extents, ascii.extents) << version;
    }
}

TEST_F(PlotSceneTest, NamesMatchInAnyCase) {
    // Block "Part" holds a line on layer 0; references to it on layer "red" draw it in
    // red with RED's dashes, on " frozen" not at all.
    const Groups g = {
        {0, "SECTION"}, {2, "HEADER"},  {9, "$ACADVER"}, {1, "AC1009"},   {0, "ENDSEC"},
        {0, "SECTION"}, {2, "TABLES"},  {0, "TABLE"},    {2, "LTYPE"},    {0, "LTYPE"},
        {2, "Dashed"},  {70, "0"},      {73, "2"},       {40, "3.0"},     {49, "2.0"},
        {49, "-1.0"},   {0, "ENDTAB"},  {0, "TABLE"},    {2, "LAYER"},    {0, "LAYER"},
        {2, "RED"},     {70, "0"},      {62, "1"},       {6, "DASHED"},   {0, "LAYER"},
        {2, "Frozen"},  {70, "1"},      {62, "7"},       {6, "dashed"},   {0, "ENDTAB"},
        {0, "ENDSEC"},  {0, "SECTION"}, {2, "BLOCKS"},   {0, "BLOCK"},    {8, "0"},
        {2, "Part"},    {70, "0"},      {10, "1.0"},     {20, "1.0"},     {0, "LINE"},
        {8, "0"},       {10, "1.0"},    {20, "1.0"},     {11, "5.0"},     {21, "1.0"},
        {0, "ENDBLK"},  {0, "ENDSEC"},  {0, "SECTION"},  {2, "ENTITIES"}, {0, "INSERT"},
        {8, "red"},     {2, "PART"},    {10, "10.0"},    {20, "20.0"},    {0, "INSERT"},
        {8, " frozen"}, {2, "part"},    {10, "0.0"},     {20, "0.0"},     {0, "ENDSEC"},
        {0, "EOF"}};
    const plot::Scene scene = sceneOf("names.dxf", testing::render(g, DxfFormat::Ascii));
    ASSERT_EQ(scene.items.size(), 1u);
    const plot::SceneItem& line = scene.items[0];
    EXPECT_EQ(line.pen.color, QColor(255, 0, 0));
    EXPECT_EQ(line.pen.dashes, (std::vector<double>{2, -1}));
    ASSERT_EQ(line.end - line.begin, 2u);
    EXPECT_EQ(scene.elements[line.begin].x, 10);
    EXPECT_EQ(scene.elements[line.begin + 1].x, 14);
    EXPECT_EQ(scene.elements[line.begin + 1].y, 20);
}

// A drawing large enough to be built in runs side by side comes out as one scene in
// drawing order: each line starts where it should and each text reads its own number.
TEST_F(PlotSceneTest, ALargeDrawingKeepsItsOrder) {
    testing::SampleOptions o;
    o.fillerEntities = 30000;
    const plot::Scene scene = sceneOf("large.dxf", testing::sampleDrawing(o));
    std::vector<double> lineStarts;
    std::vector<QString> texts;
    for (const plot::SceneItem& item : scene.items) {
        if (item.kind == plot::SceneItem::Kind::Stroke && item.end - item.begin == 2)
            lineStarts.push_back(scene.elements[item.begin].x);
        if (item.kind != plot::SceneItem::Kind::Text) continue;
        const plot::SceneText& text = scene.texts[item.begin];
        std::u32string chars;
        for (uint32_t g = text.glyphBegin; g < text.glyphEnd; ++g)
            chars += plot::Glyphs::instance().glyph(scene.glyphs[g]).character;
        texts.push_back(QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size())));
    }
    // The filler lines (every fifth entity from the first) between the sample's own two.
    ASSERT_EQ(lineStarts.size(), 6000u + 2);
    for (int k = 0; k < 6000; ++k) ASSERT_NEAR(lineStarts[k + 1], 12.5 + 5 * k * 0.731, 1e-6) << k;
    std::vector<QString> filler;
    for (const QString& t : texts)
        if (t.startsWith("零件明细 A-")) filler.push_back(t);
    ASSERT_EQ(filler.size(), 6000u);
    for (int k = 0; k < 6000; ++k)
        ASSERT_EQ(filler[k], QString("零件明细 A-%1").arg(5 * k + 2)) << k;
    EXPECT_GT(scene.extents.width(), 5 * 6000 * 0.731);
}

// Entities flagged invisible (a dynamic block's other visibility states) are left out;
// a leader whose path is a spline is drawn as one; an array of block references shows
// its attributes on every cell.
TEST_F(PlotSceneTest, InvisibleEntitiesSplineLeadersAndArrayAttributes) {
    using plot::testkit::drawingWith;
    const Groups block = {{0, "BLOCK"},  {8, "0"},  {2, "TAG"}, {70, "2"},     {10, "0"}, {20, "0"},
                          {0, "ATTDEF"}, {8, "0"},  {10, "0"},  {20, "0"},     {40, "2"}, {1, ""},
                          {3, "No"},     {2, "NO"}, {70, "0"},  {0, "ENDBLK"}, {8, "0"}};
    const Groups entities = {{0, "LINE"}, {8, "0"},    {60, "1"},     {10, "0"},     {20, "0"},
                             {11, "9"},   {21, "9"},   {0, "LEADER"}, {8, "0"},      {71, "0"},
                             {72, "1"},   {76, "3"},   {10, "0"},     {20, "0"},     {10, "10"},
                             {20, "10"},  {10, "20"},  {20, "0"},     {0, "INSERT"}, {8, "0"},
                             {66, "1"},   {2, "TAG"},  {10, "100"},   {20, "0"},     {70, "3"},
                             {71, "2"},   {44, "10"},  {45, "20"},    {50, "90"},    {0, "ATTRIB"},
                             {8, "0"},    {10, "100"}, {20, "0"},     {40, "2"},     {1, "7"},
                             {2, "NO"},   {70, "0"},   {0, "SEQEND"}, {8, "0"}};
    const plot::Scene scene = sceneOf("details.dxf", drawingWith("AC1015", {}, block, entities));
    ASSERT_GE(scene.items.size(), 1u);
    const plot::SceneItem& leader = scene.items[0];
    EXPECT_GT(leader.end - leader.begin, 20u);  // a curve, not two lines; the line is not there
    EXPECT_NEAR(outlineBox(scene, leader).top(), 0, 1e-9);
    bool bulges = false;  // above the straight path on its way up
    for (uint32_t k = leader.begin; k < leader.end; ++k)
        bulges =
            bulges || (scene.elements[k].x < 10 && scene.elements[k].y > scene.elements[k].x + 0.5);
    EXPECT_TRUE(bulges);
    // The insert is turned by 90°: its columns run up, its rows to the left.
    std::set<std::pair<long, long>> at;
    for (const plot::SceneText& t : scene.texts)
        at.insert({std::lround(t.place.dx()), std::lround(t.place.dy())});
    EXPECT_EQ(at, (std::set<std::pair<long, long>>{
                      {100, 0}, {100, 10}, {100, 20}, {80, 0}, {80, 10}, {80, 20}}));
}

// A polyline whose width changes turns sharply: its segments' edges meet in a point
// beyond the vertex, as they do on screen.
TEST_F(PlotSceneTest, TaperedPolylinesMeetAtTheirJoints) {
    const Groups entities = {{0, "POLYLINE"}, {8, "0"},   {66, "1"},     {70, "0"},
                             {40, "2"},       {41, "1"},  {0, "VERTEX"}, {8, "0"},
                             {10, "0"},       {20, "0"},  {0, "VERTEX"}, {8, "0"},
                             {10, "40"},      {20, "0"},  {0, "VERTEX"}, {8, "0"},
                             {10, "0"},       {20, "10"}, {0, "SEQEND"}, {8, "0"}};
    const plot::Scene scene =
        sceneOf("tapered.dxf", plot::testkit::drawingWith("AC1009", {}, {}, entities));
    ASSERT_EQ(scene.items.size(), 2u);
    const QRectF first = outlineBox(scene, scene.items[0]);
    const QRectF second = outlineBox(scene, scene.items[1]);
    EXPECT_GT(first.right(), 42);  // the point of the turn, past the vertex at x = 40
    EXPECT_NEAR(first.right(), second.right(), 1e-9);
}

// A complex linetype's text repeats with its pattern along the line, from the end of the
// element it belongs to, shifted as it says.
TEST_F(PlotSceneTest, ComplexLinetypesCarryTheirTexts) {
    const Groups tables = {{0, "TABLE"},
                           {2, "STYLE"},
                           {0, "STYLE"},
                           {5, "30"},
                           {2, "STANDARD"},
                           {70, "0"},
                           {40, "0"},
                           {41, "1"},
                           {3, "txt"},
                           {0, "ENDTAB"},
                           {0, "TABLE"},
                           {2, "LTYPE"},
                           {0, "LTYPE"},
                           {5, "31"},
                           {2, "GAS"},
                           {70, "0"},
                           {3, "Gas ---- GAS ----"},
                           {72, "65"},
                           {73, "3"},
                           {40, "0.95"},
                           {49, "0.5"},
                           {74, "0"},
                           {49, "-0.2"},
                           {74, "2"},
                           {75, "0"},
                           {340, "30"},
                           {46, "0.1"},
                           {50, "0"},
                           {44, "-0.1"},
                           {45, "-0.05"},
                           {9, "GAS"},
                           {49, "-0.25"},
                           {74, "0"},
                           {0, "ENDTAB"}};
    Groups entities = {{0, "LINE"}, {8, "0"},   {6, "GAS"}, {10, "0"},
                       {20, "0"},   {11, "20"}, {21, "0"}};
    std::string dxf = plot::testkit::drawingWith("AC1018", tables, {}, entities);
    dxf.replace(dxf.find("$ACADVER"), 8, "$LTSCALE\n 40\n10.0\n  9\n$ACADVER");
    const plot::Scene scene = sceneOf("gas.dxf", dxf);
    std::vector<std::pair<double, double>> at;
    for (const plot::SceneText& t : scene.texts) {
        EXPECT_EQ(plot::testkit::textOf(scene, t), "GAS");
        at.emplace_back(t.place.dx(), t.place.dy());
    }
    ASSERT_EQ(at.size(), 2u);  // at 0.7 - 0.1 of each 9.5 long repeat, 0.5 below
    EXPECT_NEAR(at[0].first, 6, 1e-9);
    EXPECT_NEAR(at[1].first, 15.5, 1e-9);
    EXPECT_NEAR(at[0].second, -0.5, 1e-9);
}

// A DXF of 2018 repeats an MTEXT's data after group 101 with other meanings (there 11
// is the insertion point): the text keeps the direction of its own groups.
TEST_F(PlotSceneTest, MTextIgnoresItsEmbeddedCopy) {
    const Groups g = {
        {0, "SECTION"}, {2, "HEADER"},       {9, "$ACADVER"}, {1, "AC1032"},
        {0, "ENDSEC"},  {0, "SECTION"},      {2, "ENTITIES"}, {0, "MTEXT"},
        {5, "2A"},      {100, "AcDbEntity"}, {8, "0"},        {100, "AcDbMText"},
        {10, "100"},    {20, "50"},          {30, "0"},       {40, "10"},
        {41, "0"},      {71, "1"},           {1, "ABC"},      {101, "Embedded Object"},
        {70, "1"},      {10, "1"},           {20, "0"},       {30, "0"},
        {11, "100"},    {21, "50"},          {31, "0"},       {0, "ENDSEC"},
        {0, "EOF"}};
    const plot::Scene scene = sceneOf("embedded.dxf", testing::render(g, DxfFormat::Ascii));
    ASSERT_FALSE(scene.texts.empty());
    for (const plot::SceneText& t : scene.texts) {
        EXPECT_NEAR(t.place.m12(), 0.0, 1e-12);
        EXPECT_NEAR(t.place.dx(), 100.0, 1.0);
    }
}

TEST(PlotNumbers, ReadAsTheGeneralReaderReadsThem) {
    const std::pair<const char*, double> cases[] = {
        {"12.500000", 12.5},
        {" -0.1", -0.1},
        {"+3.25", 3.25},
        {"1.", 1},
        {"-.5", -0.5},
        {"12abc", 12},
        {"1.5E-2", 0.015},
        {"0.30000000000000004", 0.30000000000000004},
        {"9007199254740993", 9007199254740993.0},
        {"0.12345678901234567890123", 0.12345678901234567890123},
        {"", -7},
        {"-", -7},
        {".", -7},
        {"inf", -7},
        {"1e999", -7},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(plot::toNumber(text, -7), value) << text;
    EXPECT_TRUE(std::signbit(plot::toNumber("-0.0")));
}

}  // namespace
}  // namespace drawing
