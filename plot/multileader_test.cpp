// MULTILEADER in the plot scene, drawn from its context data: the text where the context
// puts it, the leader from its arrowhead through its vertices to the landing, the arrow
// block the entity names or a filled arrow, the underline of text attached below.
#include <gtest/gtest.h>

#include "plot/scene_testing.h"

namespace plot {
namespace {

using MultiLeaderTest = testkit::SceneTest;
using testkit::Groups;
using testkit::operator+;

// An AutoCAD 2010 drawing with block "DOT" (record handle A0: a circle of radius 0.5 at
// the origin) and `entities` in model space.
std::string leaderDrawing(const Groups& entities) {
    return testkit::drawingWith("AC1024",
                                {{0, "TABLE"},
                                 {2, "BLOCK_RECORD"},
                                 {5, "9F"},
                                 {0, "BLOCK_RECORD"},
                                 {5, "A0"},
                                 {2, "DOT"},
                                 {0, "ENDTAB"}},
                                {{0, "BLOCK"},
                                 {5, "A1"},
                                 {8, "0"},
                                 {2, "DOT"},
                                 {70, "0"},
                                 {10, "0"},
                                 {20, "0"},
                                 {0, "CIRCLE"},
                                 {5, "A2"},
                                 {8, "0"},
                                 {10, "0"},
                                 {20, "0"},
                                 {40, "0.5"},
                                 {0, "ENDBLK"},
                                 {5, "A3"},
                                 {8, "0"}},
                                entities);
}

// A multileader with text "Weld" at (60, 40), a leader line from (10, 10) over
// (30, 30) to the landing at (50, 40) and 5 along it; arrows 4 long; `attachment` the
// left attachment of the text; `arrow` the arrow block's record handle, or none.
Groups multileader(int leaderType, int attachment, const char* arrow = nullptr) {
    Groups g = {{0, "MULTILEADER"},
                {5, "B0"},
                {8, "0"},
                {100, "AcDbMLeader"},
                {300, "CONTEXT_DATA{"},
                {40, "1"},
                {10, "60"},
                {20, "40"},
                {41, "5"},
                {140, "4"},
                {145, "1"},
                {290, "1"},
                {304, "Weld"},
                {11, "0"},
                {21, "0"},
                {31, "1"},
                {12, "60"},
                {22, "40"},
                {13, "1"},
                {23, "0"},
                {43, "0"},
                {45, "1"},
                {170, "1"},
                {90, "-1056964608"},
                {171, "1"},
                {296, "0"},
                {302, "LEADER{"},
                {290, "1"},
                {291, "1"},
                {10, "50"},
                {20, "40"},
                {11, "1"},
                {21, "0"},
                {40, "5"},
                {304, "LEADER_LINE{"},
                {10, "10"},
                {20, "10"},
                {10, "30"},
                {20, "30"},
                {91, "0"},
                {305, "}"},
                {303, "}"},
                {301, "}"},
                {170, std::to_string(leaderType)},
                {91, "-1056964608"},
                {171, "-2"},
                {291, "1"},
                {41, "5"},
                {42, "4"},
                {173, std::to_string(attachment)},
                {95, std::to_string(attachment)}};
    if (arrow) g.push_back({342, arrow});
    return g;
}

TEST_F(MultiLeaderTest, TextLeaderLineAndFilledArrow) {
    const Scene scene = sceneOf("straight.dxf", leaderDrawing(multileader(1, 1)));
    EXPECT_EQ(testkit::linesOf(scene), std::vector<std::string>{"Weld"});
    EXPECT_NEAR(scene.texts[0].place.dx(), 60, 1e-9);
    EXPECT_NEAR(scene.texts[0].place.dy(), 40 - 5, 1e-9);  // hung from the top left
    std::vector<std::string> strokes, fills;
    for (const SceneItem& item : scene.items) {
        std::string points;
        for (uint32_t k = item.begin; k < item.end; ++k)
            points += " " + std::to_string(std::lround(scene.elements[k].x * 100)) + "," +
                      std::to_string(std::lround(scene.elements[k].y * 100));
        if (item.kind == SceneItem::Kind::Stroke) strokes.push_back(points);
        if (item.kind == SceneItem::Kind::Fill) fills.push_back(points);
    }
    // The arrow's tip at the first vertex, its body 4 long towards the next.
    const double h = 4 * std::sqrt(0.5), w = 4.0 / 6 * std::sqrt(0.5);
    auto at = [](double x, double y) {
        return " " + std::to_string(std::lround(x * 100)) + "," +
               std::to_string(std::lround(y * 100));
    };
    EXPECT_EQ(fills, std::vector<std::string>{at(10, 10) + at(10 + h + w, 10 + h - w) +
                                              at(10 + h - w, 10 + h + w) + at(10, 10)});
    EXPECT_EQ(strokes, std::vector<std::string>{at(10, 10) + at(30, 30) + at(50, 40) + at(55, 40)});
}

TEST_F(MultiLeaderTest, ArrowBlockSplineAndUnderline) {
    const Scene scene = sceneOf("spline.dxf", leaderDrawing(multileader(2, 6, "A0")));
    size_t circles = 0, strokes = 0, longest = 0;
    double underlineLength = 0;
    for (const SceneItem& item : scene.items) {
        if (item.kind == SceneItem::Kind::Circle) {
            ++circles;
            const QPainterPath::Element* e = &scene.elements[item.begin];
            EXPECT_NEAR(e[0].x, 10, 1e-9);  // the block at the tip, 4 times its size
            EXPECT_NEAR(std::hypot(e[1].x - e[0].x, e[1].y - e[0].y), 2, 1e-9);
        }
        if (item.kind != SceneItem::Kind::Stroke) continue;
        ++strokes;
        longest = std::max<size_t>(longest, item.end - item.begin);
        if (item.end - item.begin == 2)
            underlineLength = scene.elements[item.begin + 1].x - scene.elements[item.begin].x;
    }
    EXPECT_EQ(circles, 1u);
    EXPECT_EQ(strokes, 2u);
    EXPECT_GT(longest, 10u);  // the spline, through its points (no dog-leg)
    // The underline runs from the landing's end under the text, the gap and the text long.
    EXPECT_GT(underlineLength, 1 + 5 * 3);
    EXPECT_LT(underlineLength, 1 + 5 * 5);
}

}  // namespace
}  // namespace plot
