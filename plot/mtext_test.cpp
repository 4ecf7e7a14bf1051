// MTEXT in the plot scene: where lines break, what the inline codes do to the texts
// they format, and how paragraphs fill columns.
#include <gtest/gtest.h>

#include "plot/colors.h"
#include "plot/scene_testing.h"

namespace plot {
namespace {

using MTextTest = testkit::SceneTest;
using testkit::Groups;
using testkit::linesOf;
using testkit::operator+;
using L = std::vector<std::string>;

// A UTF-8 drawing (AutoCAD 2007) holding `entities` in model space and `blocks`.
std::string textDrawing(const Groups& entities, const Groups& blocks = {}) {
    return testkit::drawingWith("AC1021", {}, blocks, entities);
}

// An MTEXT at the origin, capitals 10 high, `width` wide.
Groups mtext(const std::string& text, double width, const Groups& more = {}) {
    return Groups{{0, "MTEXT"}, {8, "0"},   {10, "0"},
                  {20, "0"},    {40, "10"}, {41, std::to_string(width)},
                  {1, text}} +
           more;
}

// Capitals 10 high: an A is about 9.4 wide, a Chinese character about 13.7.
TEST_F(MTextTest, LinesBreakOnlyAtBlanksAndBetweenChineseCharacters) {
    const struct {
        const char* text;
        double width;
        L lines;
    } cases[] = {
        {"AAA BBB CCC", 0, {"AAA BBB CCC"}},
        {"AAA BBB CCC", 50, {"AAA", "BBB", "CCC"}},
        {"AAAAAAAAAA", 40, {"AAAAAAAAAA"}},  // a word wider than the text stays whole
        {"11,45 45° TestLayer1", 1, {"11,45", "45°", "TestLayer1"}},
        {"甲乙丙丁戊己\\P庚", 30, {"甲乙", "丙丁", "戊己", "庚"}},
        {"房间，厨房。", 50, {"房间，", "厨房。"}},
        {"房间，厨房。", 30, {"房", "间，", "厨", "房。"}},  // never before closing punctuation
        {"Φ20（孔）深10", 30, {"Φ20（孔）", "深10"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linesOf(sceneOf("wrap.dxf", textDrawing(mtext(c.text, c.width)))), c.lines)
            << c.text << " in " << c.width;
}

// Every kind of dimension shows the block it names, where its text never wraps.
TEST_F(MTextTest, DimensionTextsNeverWrap) {
    const Groups block = {{0, "BLOCK"}, {8, "0"},  {2, "*D1"}, {70, "1"},
                          {10, "0"},    {20, "0"}, {3, "*D1"}};
    for (const char* kind : {"DIMENSION", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION"}) {
        const std::string dxf =
            textDrawing({{0, kind}, {8, "0"}, {2, "*D1"}, {10, "0"}, {20, "0"}, {70, "0"}},
                        block + mtext("11,45 mm", 5) + Groups{{0, "ENDBLK"}, {8, "0"}});
        EXPECT_EQ(linesOf(sceneOf("dimension.dxf", dxf)), L{"11,45 mm"}) << kind;
    }
}

// Codes whose ";" is missing end where their value ends; caret codes are a tab and a
// line break; paragraphs keep their colour until it changes.
TEST_F(MTextTest, CodesWithoutTheirSemicolonCutNothingOff) {
    const Scene scene = sceneOf(
        "codes.dxf", textDrawing(mtext("\\C1First\\PSecond\\P\\H20Third\\PFourth^JF^Ix", 0)));
    EXPECT_EQ(linesOf(scene), (L{"First", "Second", "Third", "Fourth", "Fx"}));
    ASSERT_EQ(scene.texts.size(), 6u);
    for (const SceneItem& item : scene.items) EXPECT_EQ(item.pen.color, aciColor(1));
    // "Third" is twice as high: its glyphs are scaled twice as much.
    EXPECT_NEAR(scene.texts[2].place.m22() / scene.texts[1].place.m22(), 2, 1e-9);
    // The tab stops at 4 text heights.
    EXPECT_NEAR(scene.texts[5].place.dx(), 40, 1e-9);
}

TEST_F(MTextTest, InlineFormattingIsApplied) {
    const Scene scene =
        sceneOf("format.dxf",
                textDrawing(mtext("{\\W2;Wide}{\\Q20;Slant}{\\C3;Green}{\\c255;Red}\\LUnder\\l"
                                  "\\S1/2;{\\T2;ab}{\\fDejaVu Serif|b0|i0;Serif}",
                                  0)));
    std::map<std::string, const SceneItem*> byText;
    std::vector<const SceneItem*> strokes;
    for (const SceneItem& item : scene.items) {
        if (item.kind == SceneItem::Kind::Text)
            byText[testkit::textOf(scene, scene.texts[item.begin])] = &item;
        else
            strokes.push_back(&item);
    }
    const QTransform& plain = scene.texts[byText.at("Under")->begin].place;
    const QTransform& wide = scene.texts[byText.at("Wide")->begin].place;
    EXPECT_NEAR(wide.m11() / plain.m11(), 2, 1e-9);
    EXPECT_NEAR(wide.m22(), plain.m22(), 1e-9);
    EXPECT_NEAR(scene.texts[byText.at("Slant")->begin].place.m21(),
                std::tan(20 * M_PI / 180) * plain.m22(), 1e-9);  // tops lean right
    EXPECT_EQ(byText.at("Green")->pen.color, aciColor(3));
    EXPECT_EQ(byText.at("Red")->pen.color, QColor(255, 0, 0));
    // Tracked characters are set one by one, further apart than their advance.
    ASSERT_TRUE(byText.count("a") && byText.count("b"));
    EXPECT_GT(scene.texts[byText.at("b")->begin].place.dx() -
                  scene.texts[byText.at("a")->begin].place.dx(),
              1.5 *
                  Glyphs::instance()
                      .glyph(scene.glyphs[scene.texts[byText.at("a")->begin].glyphBegin])
                      .advance *
                  plain.m11());
    // The fraction's parts are smaller, one above the other, with a line between.
    const QTransform& one = scene.texts[byText.at("1")->begin].place;
    const QTransform& two = scene.texts[byText.at("2")->begin].place;
    EXPECT_NEAR(one.m22() / plain.m22(), 0.7, 1e-9);
    EXPECT_GT(one.dy(), two.dy() + 5);
    EXPECT_EQ(strokes.size(), 2u);  // the underline and the fraction's line
    EXPECT_NE(scene.glyphs[scene.texts[byText.at("Serif")->begin].glyphBegin],
              scene.glyphs[scene.texts[byText.at("Slant")->begin].glyphBegin + 1]);
}

TEST_F(MTextTest, ParagraphsAreAlignedAndIndented) {
    const Scene scene = sceneOf(
        "paragraphs.dxf",
        textDrawing(mtext("\\pxqr;Right\\P\\pxqc;Mid\\P\\pxi-1,l3,qj;First line of it", 100)));
    ASSERT_EQ(linesOf(scene), (L{"Right", "Mid", "First line of", "it"}));
    auto right = [&](size_t i) {
        return scene.texts[i].place.map(QPointF(scene.texts[i].box.right(), 0)).x();
    };
    auto left = [&](size_t i) { return scene.texts[i].place.dx(); };
    EXPECT_NEAR(right(0), 100, 1e-6);
    EXPECT_NEAR(left(1) + right(1), 100, 1e-6);
    EXPECT_NEAR(left(2), 20, 1e-6);  // the first line: 3 - 1 text heights in
    EXPECT_NEAR(left(3), 30, 1e-6);  // the lines after it: 3
}

// A paragraph key after the tab stops still counts; "^ " separates a tolerance's parts.
TEST_F(MTextTest, TabStopsBeforeKeysAndCaretSeparators) {
    const Scene scene =
        sceneOf("keys.dxf", textDrawing(mtext("\\pxt3,qc;X\\P\\S+0.1^ -0.2;", 100)));
    ASSERT_EQ(scene.texts.size(), 3u);
    const QRectF x = scene.texts[0].place.mapRect(scene.texts[0].box);
    EXPECT_NEAR(x.center().x(), 50, 0.5);
    EXPECT_EQ(testkit::textOf(scene, scene.texts[1]), "+0.1");
    EXPECT_EQ(testkit::textOf(scene, scene.texts[2]), "-0.2");
}

// Static columns 30 wide, 10 apart, 35 high (R2018): two lines fill a column; \N
// starts the next one.
TEST_F(MTextTest, ParagraphsFlowIntoColumns) {
    const Groups columns = {
        {46, "35"}, {101, "Embedded Object"}, {70, "1"}, {71, "1"}, {72, "3"}, {44, "30"},
        {45, "10"}};
    const Scene scene =
        sceneOf("columns.dxf", textDrawing(mtext("A\\PB\\PC\\PD\\NE", 30, columns)));
    std::vector<std::pair<double, double>> at;
    for (const SceneText& t : scene.texts) at.emplace_back(t.place.dx(), t.place.dy());
    const double pitch = 10 * 5.0 / 3.0;
    const std::vector<std::pair<double, double>> expected = {
        {0, -10}, {0, -10 - pitch}, {40, -10}, {40, -10 - pitch}, {80, -10}};
    ASSERT_EQ(at.size(), expected.size());
    for (size_t i = 0; i < at.size(); ++i) {
        EXPECT_NEAR(at[i].first, expected[i].first, 1e-6) << i;
        EXPECT_NEAR(at[i].second, expected[i].second, 1e-6) << i;
    }
}

}  // namespace
}  // namespace plot
