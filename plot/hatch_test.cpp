// HATCH in the plot scene: pattern lines cut to the boundary around islands, dashed as
// the pattern says; gradients filled; a pattern too dense to draw left as its boundary.
#include <gtest/gtest.h>

#include "plot/scene_testing.h"

namespace plot {
namespace {

using HatchTest = testkit::SceneTest;
using testkit::Groups;
using testkit::operator+;

Groups square(double x0, double y0, double x1, double y1) {
    return {{92, "2"},
            {72, "0"},
            {73, "1"},
            {93, "4"},
            {10, std::to_string(x0)},
            {20, std::to_string(y0)},
            {10, std::to_string(x1)},
            {20, std::to_string(y0)},
            {10, std::to_string(x1)},
            {20, std::to_string(y1)},
            {10, std::to_string(x0)},
            {20, std::to_string(y1)},
            {97, "0"}};
}

// A hatch of the square 0..100 with the island 40..60, its pattern one family of lines
// at `angle` through (0, 0), `spacing` apart, with `dashes`; `more` after the pattern.
Groups hatch(double angle, double spacing, const std::vector<double>& dashes,
             const Groups& more = {}) {
    const double a = angle * M_PI / 180;
    Groups g = Groups{{0, "HATCH"}, {8, "0"},    {100, "AcDbHatch"}, {10, "0"}, {20, "0"},
                      {30, "0"},    {2, "USER"}, {70, "0"},          {71, "0"}, {91, "2"}} +
               square(0, 0, 100, 100) + square(40, 40, 60, 60) +
               Groups{{75, "0"},
                      {76, "1"},
                      {52, "0"},
                      {41, "1"},
                      {77, "0"},
                      {78, "1"},
                      {53, std::to_string(angle)},
                      {43, "0"},
                      {44, "0"},
                      {45, std::to_string(-std::sin(a) * spacing)},
                      {46, std::to_string(std::cos(a) * spacing)},
                      {79, std::to_string(dashes.size())}};
    for (double d : dashes) g.push_back({49, std::to_string(d)});
    return g + Groups{{98, "0"}} + more;
}

// The pieces of the scene's one pattern stroke, as "x0,y0-x1,y1".
std::vector<std::string> pieces(const Scene& scene) {
    std::vector<std::string> out;
    EXPECT_EQ(scene.items.size(), 1u);
    if (scene.items.empty()) return out;
    const SceneItem& item = scene.items[0];
    auto at = [](const QPainterPath::Element& e) {
        return std::to_string(std::lround(e.x)) + "," + std::to_string(std::lround(e.y));
    };
    for (uint32_t k = item.begin; k + 1 < item.end; k += 2)
        out.push_back(at(scene.elements[k]) + "-" + at(scene.elements[k + 1]));
    return out;
}

TEST_F(HatchTest, PatternLinesStopAtTheBoundaryAndItsIslands) {
    const Scene scene =
        sceneOf("lines.dxf", testkit::drawingWith("AC1018", {}, {}, hatch(0, 10, {})));
    EXPECT_EQ(pieces(scene), (std::vector<std::string>{
                                 "0,0-100,0", "0,10-100,10", "0,20-100,20", "0,30-100,30",
                                 "0,40-40,40", "60,40-100,40", "0,50-40,50", "60,50-100,50",
                                 "0,60-100,60", "0,70-100,70", "0,80-100,80", "0,90-100,90"}));
}

TEST_F(HatchTest, DashesRepeatFromTheBasePointAlongTurnedLines) {
    // Vertical lines (90°) 25 apart, dashes of 30 with gaps of 20 from y = 0.
    const Scene scene =
        sceneOf("dashes.dxf", testkit::drawingWith("AC1018", {}, {}, hatch(90, 25, {30, -20})));
    std::vector<std::string> column50;
    for (const std::string& p : pieces(scene))
        if (p.rfind("50,", 0) == 0) column50.push_back(p);
    EXPECT_EQ(column50, (std::vector<std::string>{"50,0-50,30", "50,60-50,80"}));
}

TEST_F(HatchTest, GradientsFillAndDensePatternsFallBackToTheBoundary) {
    // A gradient from red to blue: filled in their mean.
    Groups solid = hatch(0, 10, {}, {{450, "1"}, {453, "2"}, {421, "16711680"}, {421, "255"}});
    for (auto& [code, value] : solid)
        if (code == 70) value = "1";
    const Scene filled = sceneOf("solid.dxf", testkit::drawingWith("AC1018", {}, {}, solid));
    ASSERT_EQ(filled.items.size(), 1u);
    EXPECT_EQ(filled.items[0].kind, SceneItem::Kind::Fill);
    EXPECT_EQ(filled.items[0].pen.color, QColor(127, 0, 127));

    const Scene dense =
        sceneOf("dense.dxf", testkit::drawingWith("AC1018", {}, {}, hatch(45, 0.001, {})));
    ASSERT_EQ(dense.items.size(), 1u);
    EXPECT_EQ(dense.items[0].kind, SceneItem::Kind::Stroke);
    EXPECT_EQ(dense.items[0].end - dense.items[0].begin, 10u);  // the two squares
    EXPECT_EQ(dense.simplifiedHatches, 1);

    // A boundary zigzagging 30000 times over all 100 rows: too many crossings.
    Groups zigzag = {{0, "HATCH"}, {8, "0"},  {100, "AcDbHatch"}, {2, "USER"},
                     {70, "0"},    {71, "0"}, {91, "1"},          {92, "2"},
                     {72, "0"},    {73, "1"}, {93, "30001"}};
    for (int i = 0; i <= 30000; ++i)
        zigzag.insert(zigzag.end(), {{10, std::to_string(i)}, {20, i % 2 ? "100" : "0"}});
    zigzag.insert(zigzag.end(), {{97, "0"},
                                 {75, "0"},
                                 {76, "1"},
                                 {52, "0"},
                                 {41, "1"},
                                 {77, "0"},
                                 {78, "1"},
                                 {53, "0"},
                                 {43, "0"},
                                 {44, "0"},
                                 {45, "0"},
                                 {46, "1"},
                                 {79, "0"},
                                 {98, "0"}});
    const Scene crossed = sceneOf("zigzag.dxf", testkit::drawingWith("AC1018", {}, {}, zigzag));
    EXPECT_EQ(crossed.simplifiedHatches, 1);
}

}  // namespace
}  // namespace plot
