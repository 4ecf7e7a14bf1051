// MLINE in the plot scene: its style's elements in their colours and linetypes at the
// offsets the entity stores, broken where their parameters say, with caps and joints.
#include <gtest/gtest.h>

#include "plot/colors.h"
#include "plot/scene_testing.h"

namespace plot {
namespace {

using MLineTest = testkit::SceneTest;
using testkit::Groups;
using testkit::operator+;

// Style "WALL": element 0 at offset 1 in red, element 1 at -1 in blue and DASHED; a
// square start, a round end and joints.
const Groups kStyle = {{0, "MLINESTYLE"}, {5, "50"},  {2, "WALL"}, {70, "1042"},
                       {62, "256"},       {71, "2"},  {49, "1"},   {62, "1"},
                       {6, "BYLAYER"},    {49, "-1"}, {62, "5"},   {6, "DASHED"}};
const Groups kLinetype = {{0, "TABLE"},  {2, "LTYPE"}, {0, "LTYPE"}, {5, "20"},
                          {2, "DASHED"}, {70, "0"},    {72, "65"},   {73, "2"},
                          {40, "3"},     {49, "2"},    {49, "-1"},   {0, "ENDTAB"}};

// Vertex at (x, y) with its segment's direction and its miter; the element parameters
// `params` (offset first).
Groups vertex(double x, double y, QPointF direction, QPointF miter,
              const std::vector<std::vector<double>>& params) {
    Groups g = {{11, std::to_string(x)},
                {21, std::to_string(y)},
                {12, std::to_string(direction.x())},
                {22, std::to_string(direction.y())},
                {13, std::to_string(miter.x())},
                {23, std::to_string(miter.y())}};
    for (const auto& p : params) {
        g.push_back({74, std::to_string(p.size())});
        for (double v : p) g.push_back({41, std::to_string(v)});
        g.push_back({75, "0"});
    }
    return g;
}

TEST_F(MLineTest, ElementsCapsAndJoints) {
    const double r = std::sqrt(0.5);
    // (0, 0) to (10, 0) to (10, 10); the upper element of the first segment is broken
    // between 3 and 5.
    const Groups mline =
        Groups{{0, "MLINE"}, {8, "0"},  {100, "AcDbMline"}, {2, "WALL"}, {340, "50"},
               {40, "1"},    {70, "1"}, {71, "1"},          {72, "3"},   {73, "2"}} +
        vertex(0, 0, {1, 0}, {0, 1}, {{1, 0, 3, 5}, {-1, 0}}) +
        vertex(10, 0, {0, 1}, {-r, r}, {{std::sqrt(2.0), 0}, {-std::sqrt(2.0), 0}}) +
        vertex(10, 10, {0, 1}, {-1, 0}, {{1, 0}, {-1, 0}});
    const Scene scene =
        sceneOf("mline.dxf", testkit::drawingWith("AC1018", kLinetype, {}, mline, kStyle));
    std::vector<std::string> red, blue;
    for (const SceneItem& item : scene.items) {
        ASSERT_EQ(item.kind, SceneItem::Kind::Stroke);
        std::string points;
        for (uint32_t k = item.begin; k < item.end; ++k)
            if (!scene.elements[k].isCurveTo())
                points += " " + std::to_string(std::lround(scene.elements[k].x)) + "," +
                          std::to_string(std::lround(scene.elements[k].y));
        if (item.pen.color == aciColor(1)) red.push_back(points);
        if (item.pen.color == aciColor(5)) {
            blue.push_back(points);
            EXPECT_EQ(item.pen.dashes, (std::vector<double>{2, -1}));
        }
    }
    EXPECT_EQ(red, (std::vector<std::string>{
                       " 0,1 3,1 5,1 9,1",  // broken: 0..3 and 5..9
                       " 9,1 9,10",         // the second segment
                       " 9,1 10,0",         // the joint's upper half
                       " 0,1 0,0",          // the square start's upper half
                   }));
    EXPECT_EQ(blue[0], " 0,-1 11,-1");
    EXPECT_EQ(blue.back().substr(0, 7), " 11,10 ");  // the round end, from the lower element
    EXPECT_EQ(blue.size(), 5u);  // two segments, half the joint, half the start, the end
}

}  // namespace
}  // namespace plot
