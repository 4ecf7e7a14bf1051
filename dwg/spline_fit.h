// The control points and knots of a cubic spline through fit points with given end
// derivatives, as the drawing program derives them for a spline it keeps by its fit
// points: the C2 cubic interpolation with the fit points' parameters (their summed
// chord lengths, say) as interior knots. An end without a derivative (a zero vector)
// bends not at all there (its second derivative is zero). A spline the drawing
// program keeps with a fit tolerance is an approximation of its own; this one passes
// through the points.
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
