// WIPEOUT and MESH in the plot scene: a wipeout paints its polygon in the paper's colour
// in drawing order (framed only when the drawing asks), and plots white whatever the
// plot style; a mesh shows its faces' edges.
#include <gtest/gtest.h>

#include "plot/scene_testing.h"
#include "plot/styles.h"

namespace plot {
namespace {

using WipeoutTest = testkit::SceneTest;
using testkit::Groups;
using testkit::operator+;

// A line under a wipeout of the square (10, 10) to (30, 30): an image of 1 x 1 pixels
// 20 wide, its clipping path from -0.5 to 0.5.
const Groups kMasked = {{0, "LINE"},  {8, "0"},       {10, "0"},  {20, "20"}, {11, "40"},
                        {21, "20"},   {0, "WIPEOUT"}, {8, "0"},   {10, "10"}, {20, "10"},
                        {11, "20"},   {21, "0"},      {12, "0"},  {22, "20"}, {13, "1"},
                        {23, "1"},    {70, "7"},      {71, "1"},  {91, "2"},  {14, "-0.5"},
                        {24, "-0.5"}, {14, "0.5"},    {24, "0.5"}};

TEST_F(WipeoutTest, PaintsThePaperColourInDrawingOrder) {
    for (const char* frame : {"0", "1"}) {
        const std::string dxf =
            drawing::testing::render(Groups{{0, "SECTION"},
                                            {2, "HEADER"},
                                            {9, "$ACADVER"},
                                            {1, "AC1018"},
                                            {9, "$WIPEOUTFRAME"},
                                            {70, frame},
                                            {0, "ENDSEC"},
                                            {0, "SECTION"},
                                            {2, "ENTITIES"}} +
                                         kMasked + Groups{{0, "ENDSEC"}, {0, "EOF"}},
                                     drawing::DxfFormat::Ascii);
        const Scene scene = sceneOf("wipeout.dxf", dxf);
        ASSERT_EQ(scene.items.size(), frame[0] == '1' ? 3u : 2u) << frame;
        const SceneItem& mask = scene.items[1];
        EXPECT_EQ(mask.kind, SceneItem::Kind::Fill);
        EXPECT_EQ(outlineBox(scene, mask), QRectF(10, 10, 20, 20));
        bool readable = false;
        const PlotStyleTable monochrome = PlotStyleTable::load("monochrome.ctb", "", readable);
        EXPECT_EQ(monochrome.penColor(mask.pen.aci, mask.pen.color), QColor(Qt::white));
        if (frame[0] == '1') {
            EXPECT_EQ(scene.items[2].kind, SceneItem::Kind::Stroke);
        }
    }
}

TEST_F(WipeoutTest, MeshShowsItsFacesEdges) {
    // Two triangles on four vertices; a face naming a vertex that is not there is left out.
    const Groups mesh = {{0, "MESH"}, {8, "0"},   {100, "AcDbSubDMesh"},
                         {71, "2"},   {72, "0"},  {91, "0"},
                         {92, "4"},   {10, "0"},  {20, "0"},
                         {30, "0"},   {10, "10"}, {20, "0"},
                         {30, "0"},   {10, "10"}, {20, "10"},
                         {30, "0"},   {10, "0"},  {20, "10"},
                         {30, "0"},   {93, "12"}, {90, "3"},
                         {90, "0"},   {90, "1"},  {90, "2"},
                         {90, "3"},   {90, "0"},  {90, "2"},
                         {90, "3"},   {90, "3"},  {90, "9"},
                         {90, "9"},   {90, "9"},  {94, "0"},
                         {95, "0"}};
    const Scene scene = sceneOf("mesh.dxf", testkit::drawingWith("AC1027", {}, {}, mesh));
    ASSERT_EQ(scene.items.size(), 1u);
    EXPECT_EQ(scene.items[0].end - scene.items[0].begin, 8u);  // two closed triangles
    EXPECT_EQ(outlineBox(scene, scene.items[0]), QRectF(0, 0, 10, 10));
}

}  // namespace
}  // namespace plot
