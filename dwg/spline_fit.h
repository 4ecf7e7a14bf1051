// The control points and knots of a cubic spline through fit points with given end
// derivatives, as the drawing program derives them for a spline it keeps by its fit
// points (2013 and later store only those): the C2 cubic interpolation with the fit
// points' parameters as interior knots, in [0, 1].
#pragma once

#include <vector>

#include "dwg/bit_reader.h"

namespace dwg {

struct SplineControl {
    std::vector<double> knots;
    std::vector<Point3> points;
};

// Parameters of the fit points: 0 chord length, 1 square root of chord length,
// 2 uniform. Returns false when the interpolation cannot be made (fewer than two
// points, coincident points).
bool interpolateCubic(const std::vector<Point3>& fit, const Point3& startDerivative,
                      const Point3& endDerivative, int parameterization, SplineControl& out);

}  // namespace dwg
