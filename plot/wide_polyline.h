// Polylines whose width changes along them: each straight segment a quadrilateral from
// its start width to its end width, the edges of neighbouring segments extended to meet
// at their joint (so an acute turn ends in the point it makes); a bulged segment a
// stroke of its mean width. Internal to the plot library.
#pragma once

#include <vector>

#include "plot/entity.h"

namespace plot {

struct PolylineVertex {
    QPointF at;
    double startWidth = 0, endWidth = 0, bulge = 0;  // of the segment that starts here
};

void drawWideSegments(const std::vector<PolylineVertex>& v, bool closed, const QTransform& t,
                      Out& out);

}  // namespace plot
