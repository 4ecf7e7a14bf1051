// The plot scene built from drawings read back from files: binary drawings give the
// scene of their ASCII twin, names find their layers, linetypes and blocks in any case,
// and numbers read as the general reader reads them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "drawing/document.h"
#include "drawing/test_drawings.h"
#include "plot/entity.h"
#include "plot/glyphs.h"
#include "plot/plotter.h"
#include "plot/scene_builder.h"

namespace drawing {
namespace {

using testing::Groups;

class PlotSceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new testing::ScratchFolder("plot_scene");
        plot::installPlotService(folder_->path().string());  // texts need Qt Gui
    }
    static void TearDownTestSuite() { delete folder_; }

    static plot::Scene sceneOf(const std::string& name, const std::string& bytes) {
        const std::string path = (folder_->path() / name).string();
        testing::writeFile(path, bytes);
        std::unique_ptr<AcadDocument> doc;
        EXPECT_TRUE(AcadDocument::open(path, doc).ok()) << path;
        return doc ? plot::buildScene(*doc) : plot::Scene();
    }

    static testing::ScratchFolder* folder_;
};

testing::ScratchFolder* PlotSceneTest::folder_ = nullptr;

// What an item of `scene` draws, as text to compare.
std::string describe(const plot::Scene& scene, const plot::SceneItem& item) {
    std::string s = std::to_string(static_cast<int>(item.kind)) + " " +
                    std::to_string(item.pen.color.rgba()) + " " +
                    std::to_string(item.pen.lineweight);
    for (double d : item.pen.dashes) s += " " + std::to_string(d);
    if (item.kind == plot::SceneItem::Kind::Text) {
        const plot::SceneText& text = scene.texts[item.begin];
        for (uint32_t g = text.glyphBegin; g < text.glyphEnd; ++g)
            s += " #" + std::to_string(scene.glyphs[g]);
        const QTransform& p = text.place;
        for (double v : {p.m11(), p.m12(), p.m21(), p.m22(), p.dx(), p.dy()})
            s += " " + std::to_string(v);
        return s;
    }
    for (uint32_t k = item.begin; k < item.end; ++k)
        s += " " + std::to_string(scene.elements[k].x) + "," + std::to_string(scene.elements[k].y);
    return s;
}

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

// MTEXT lines break at blanks, or between characters when a word (or Chinese, which
// has no blanks) is wider than the text's width; paragraph breaks always.
TEST_F(PlotSceneTest, MTextWrapsAtBlanksOrBetweenCharacters) {
    auto lines = [](const std::string& text, double width) {
        const TextCodec gbk = TextCodec::forDrawing("AC1009", "ANSI_936");
        const Groups g = {{0, "SECTION"},
                          {2, "HEADER"},
                          {9, "$ACADVER"},
                          {1, "AC1009"},
                          {9, "$DWGCODEPAGE"},
                          {3, "ANSI_936"},
                          {0, "ENDSEC"},
                          {0, "SECTION"},
                          {2, "ENTITIES"},
                          {0, "MTEXT"},
                          {8, "0"},
                          {10, "0"},
                          {20, "0"},
                          {40, "10"},
                          {41, std::to_string(width)},
                          {1, gbk.fromUtf8(text)},
                          {0, "ENDSEC"},
                          {0, "EOF"}};
        const plot::Scene scene = sceneOf("mtext.dxf", testing::render(g, DxfFormat::Ascii));
        std::vector<std::string> out;
        for (const plot::SceneText& t : scene.texts) {
            std::u32string chars;
            for (uint32_t k = t.glyphBegin; k < t.glyphEnd; ++k)
                chars += plot::Glyphs::instance().glyph(scene.glyphs[k]).character;
            out.push_back(QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size()))
                              .toStdString());
        }
        return out;
    };
    using L = std::vector<std::string>;
    EXPECT_EQ(lines("AAA BBB CCC", 0), L{"AAA BBB CCC"});
    EXPECT_EQ(lines("AAA BBB CCC", 50), (L{"AAA", "BBB", "CCC"}));
    // Capitals 10 high: an A is about 9.4 wide, a Chinese character about 13.7.
    EXPECT_EQ(lines("AAAAAAAAAA", 40), (L{"AAAA", "AAAA", "AA"}));
    EXPECT_EQ(lines("甲乙丙丁戊己\\P庚", 30), (L{"甲乙", "丙丁", "戊己", "庚"}));
}

// A DXF of 2018 repeats an MTEXT's data after group 101 with other meanings (there 11
// is the insertion point): the text keeps the direction of its own groups.
TEST_F(PlotSceneTest, MTextIgnoresItsEmbeddedCopy) {
    const Groups g = {{0, "SECTION"},   {2, "HEADER"},   {9, "$ACADVER"},
                      {1, "AC1032"},    {0, "ENDSEC"},   {0, "SECTION"},
                      {2, "ENTITIES"},  {0, "MTEXT"},    {5, "2A"},
                      {100, "AcDbEntity"}, {8, "0"},     {100, "AcDbMText"},
                      {10, "100"},      {20, "50"},      {30, "0"},
                      {40, "10"},       {41, "0"},       {71, "1"},
                      {1, "ABC"},       {101, "Embedded Object"},
                      {70, "1"},        {10, "1"},       {20, "0"},
                      {30, "0"},        {11, "100"},     {21, "50"},
                      {31, "0"},        {0, "ENDSEC"},   {0, "EOF"}};
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
