// Putting a scene on paper: the layout settings (fit or 1:1, centred or from the lower
// left corner, rotation, millimetres or inches) give the mapping from drawing units to
// the device.
#pragma once

#include <QSizeF>
#include <QTransform>

#include "drawing/plot_service.h"
#include "plot/scene.h"

namespace plot {

// Drawing units to device pixels for a printable area of `area` pixels at `dotsPerMm`.
// REQUIRES: !extents.isNull()
QTransform pageTransform(const QRectF& extents, const drawing::PlotSettings& settings, QSizeF area,
                         double dotsPerMm);

// The area the plot fits to: the scene's extents, or a small square around a lone
// point or the base of an infinite line.
// REQUIRES: !scene.items.empty()
QRectF plotExtents(const Scene& scene);

}  // namespace plot
