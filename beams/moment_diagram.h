// The bending-moment diagram of a solved continuous beam: the moment at every point
// along the beam, sampled for drawing, with the support moments and each span's
// extreme. Between two supports the uniform load q gives a parabola through the two
// support moments; on an overhang the moment is that of the load beyond the point.
// Positions are in cm from the beam's left end, moments in kg·cm (hogging negative).
#pragma once

#include <vector>

#include "beams/beam_model.h"

namespace beams {

struct DiagramPoint {
    double x = 0;       // cm from the left end
    double moment = 0;  // kg·cm
};

struct MomentDiagram {
    double length = 0;                       // L[0] + … + L[n], the beam as drawn
    std::vector<double> parts;               // L[0] … L[n]: overhangs and spans, cm
    double q = 0;                            // the uniform load, kg/cm
    std::vector<double> supports;            // x of support 1 … n
    std::vector<double> M;                   // moment over support 1 … n (from the solution)
    std::vector<double> R;                   // force on support 1 … n
    std::vector<DiagramPoint> spanExtremes;  // the extreme inside each span that has one
    std::vector<DiagramPoint> curve;         // in increasing x, supports and extremes included
};

// The moment at `x` (0 ≤ x ≤ length) of the beam `layout` solved as `result`.
double momentAt(const BeamLayout& layout, const BeamResult& result, double x);

// The diagram of `layout` solved as `result`, sampled `samplesPerPart` times over every
// overhang and every span. REQUIRES: result holds n moments and n forces.
MomentDiagram momentDiagram(const BeamLayout& layout, const BeamResult& result,
                            int samplesPerPart = 48);

}  // namespace beams
