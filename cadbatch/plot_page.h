// Putting a scene on paper: the layout settings (fit or 1:1, centred or from the lower
// left corner, rotation, millimetres or inches) give the mapping from drawing units to
// the device, and the plot style table the pen colours.
#pragma once

#include <QPainter>
#include <QSizeF>
#include <QTransform>

#include "cadbatch/plot_scene.h"
#include "cadbatch/plot_service.h"
#include "cadbatch/plot_styles.h"

namespace cadplot {

// Drawing units to device pixels for a printable area of `area` pixels at `dotsPerMm`.
// REQUIRES: !extents.isNull()
QTransform pageTransform(const QRectF& extents, const cadbatch::PlotSettings& settings, QSizeF area,
                         double dotsPerMm);

// Paints the scene into the printable area that starts at the painter's origin.
void paintScene(QPainter& painter, const Scene& scene, const cadbatch::PlotSettings& settings,
                const PlotStyleTable& table, QSizeF area, double dotsPerMm);

}  // namespace cadplot
