#include "dwg/spline_fit.h"

#include <gtest/gtest.h>

namespace dwg {
namespace {

// A straight line met at equal steps with its own derivative: the interpolating cubic
// is the line, whose control points sit at the Greville abscissae of the knots.
TEST(SplineFit, StraightLineGivesItsGrevillePoints) {
    const std::vector<Point3> fit = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    SplineControl c;
    ASSERT_TRUE(interpolateCubic(fit, Point3{3, 0, 0}, Point3{3, 0, 0}, 0, c));
    const std::vector<double> knots = {0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 1};
    ASSERT_EQ(c.knots.size(), knots.size());
    for (size_t i = 0; i < knots.size(); ++i) EXPECT_NEAR(c.knots[i], knots[i], 1e-12);
    const double greville[] = {0, 1.0 / 3, 1, 2, 8.0 / 3, 3};
    ASSERT_EQ(c.points.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(c.points[i].x, greville[i], 1e-12) << i;
        EXPECT_NEAR(c.points[i].y, 0.0, 1e-12);
    }
}

// Two fit points: the Bezier segment with a third of each derivative.
TEST(SplineFit, TwoPointsMakeOneBezierSegment) {
    SplineControl c;
    ASSERT_TRUE(interpolateCubic({{1, 2, 0}, {4, 6, 0}}, Point3{3, 0, 0}, Point3{0, 6, 0}, 0, c));
    ASSERT_EQ(c.points.size(), 4u);
    EXPECT_DOUBLE_EQ(c.points[1].x, 2.0);
    EXPECT_DOUBLE_EQ(c.points[1].y, 2.0);
    EXPECT_DOUBLE_EQ(c.points[2].x, 4.0);
    EXPECT_DOUBLE_EQ(c.points[2].y, 4.0);
}

TEST(SplineFit, RefusesWhatCannotBeInterpolated) {
    SplineControl c;
    EXPECT_FALSE(interpolateCubic({{1, 1, 1}}, {}, {}, 0, c));
    EXPECT_FALSE(interpolateCubic({{1, 1, 1}, {1, 1, 1}, {2, 2, 2}}, {}, {}, 0, c));
}

}  // namespace
}  // namespace dwg
