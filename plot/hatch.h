// The inside of a HATCH: its solid or gradient fill, or its pattern's lines cut to its
// boundary. Internal to the plot library.
#pragma once

#include "plot/entity.h"

namespace plot {

// `boundary`: the hatch's loops in object coordinates, even-odd; `t` maps them to
// drawing units.
void drawHatchInside(const EntityGroups& g, const QPainterPath& boundary, const QTransform& t,
                     Out& out);

}  // namespace plot
