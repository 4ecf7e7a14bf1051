#include "dwg/spline_fit.h"

#include <gtest/gtest.h>

namespace dwg {
namespace {

// A straight line met at equal steps with its own derivative (a unit vector, as the
// parameter is the length along it), or with none at its ends (it bends nowhere): the
// interpolating cubic is the line, whose control points sit at the Greville abscissae.
TEST(SplineFit, StraightLineGivesItsGrevillePoints) {
    const std::vector<Point3> fit = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    for (const Point3& derivative : {Point3{1, 0, 0}, Point3{}}) {
        SplineControl c;
        ASSERT_TRUE(interpolateCubic(fit, derivative, derivative, 0, c));
        const std::vector<double> knots = {0, 0, 0, 0, 1, 2, 3, 3, 3, 3};
        ASSERT_EQ(c.knots.size(), knots.size());
        for (size_t i = 0; i < knots.size(); ++i) EXPECT_NEAR(c.knots[i], knots[i], 1e-12);
        const double greville[] = {0, 1.0 / 3, 1, 2, 8.0 / 3, 3};
        ASSERT_EQ(c.points.size(), 6u);
        for (size_t i = 0; i < 6; ++i) {
            EXPECT_NEAR(c.points[i].x, greville[i], 1e-12) << i << " " << derivative.x;
            EXPECT_NEAR(c.points[i].y, 0.0, 1e-12);
        }
    }
}

// Two fit points 5 apart: the Bezier segment with a third of each derivative times 5.
TEST(SplineFit, TwoPointsMakeOneBezierSegment) {
    SplineControl c;
    ASSERT_TRUE(
        interpolateCubic({{1, 2, 0}, {4, 6, 0}}, Point3{0.6, 0, 0}, Point3{0, 1.2, 0}, 0, c));
    ASSERT_EQ(c.points.size(), 4u);
    EXPECT_DOUBLE_EQ(c.points[1].x, 2.0);
    EXPECT_DOUBLE_EQ(c.points[1].y, 2.0);
    EXPECT_DOUBLE_EQ(c.points[2].x, 4.0);
    EXPECT_DOUBLE_EQ(c.points[2].y, 4.0);
}

// A spline of 2000 kept by six fit points and its end tangents, with the knots and
// control points the drawing program wrote of it in DXF (example_2000.dxf of LibreDWG's
// test data, handle 16E): knots are the summed chord lengths, not scaled to [0, 1].
TEST(SplineFit, AsTheDrawingProgramDerivesIt) {
    const std::vector<Point3> fit = {
        {-1160.70828949499, 1466.29959801825, 0},   {-803.2584206390579, 1216.773557430618, 0},
        {-1263.536333621469, 1021.066859620477, 0}, {-1297.812348330295, 1896.854333640411, 0},
        {-1493.675290112675, 1867.498328089189, 0}, {-1449.606128933269, 1436.943592467027, 0}};
    SplineControl c;
    ASSERT_TRUE(interpolateCubic(fit, Point3{-0.8122360233169471, -0.5833289315868635, 0},
                                 Point3{-0.0360413721468526, -0.9993502986909906, 0}, 0, c));
    const std::vector<double> knots = {0,
                                       0,
                                       0,
                                       0,
                                       435.9284960592313,
                                       936.0853402063389,
                                       1812.54329403786,
                                       2010.593961861958,
                                       2443.398157005357,
                                       2443.398157005357,
                                       2443.398157005357,
                                       2443.398157005357};
    const std::vector<Point3> points = {
        {-1160.70828949499, 1466.29959801825, 0},   {-1278.733898858219, 1381.536363400083, 0},
        {-393.9544459252916, 1231.131526494542, 0}, {-1793.156271927829, 719.5692228288901, 0},
        {-936.5505143705686, 1967.430418368798, 0}, {-1656.363244849998, 1879.620298503901, 0},
        {-1444.406509911975, 1581.117926364117, 0}, {-1449.606128933269, 1436.943592467027, 0}};
    ASSERT_EQ(c.knots.size(), knots.size());
    for (size_t i = 0; i < knots.size(); ++i) EXPECT_NEAR(c.knots[i], knots[i], 1e-9) << i;
    ASSERT_EQ(c.points.size(), points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_NEAR(c.points[i].x, points[i].x, 1e-9) << i;
        EXPECT_NEAR(c.points[i].y, points[i].y, 1e-9) << i;
    }
}

TEST(SplineFit, RefusesWhatCannotBeInterpolated) {
    SplineControl c;
    EXPECT_FALSE(interpolateCubic({{1, 1, 1}}, {}, {}, 0, c));
    EXPECT_FALSE(interpolateCubic({{1, 1, 1}, {1, 1, 1}, {2, 2, 2}}, {}, {}, 0, c));
}

}  // namespace
}  // namespace dwg
