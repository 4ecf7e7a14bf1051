#include "plot/page.h"

#include <cmath>

namespace plot {

QTransform pageTransform(const QRectF& extents, const drawing::PlotSettings& settings, QSizeF area,
                         double dotsPerMm) {
    const int quarter = ((settings.plotRotation % 4) + 4) % 4;
    double w = std::max(extents.width(), 1e-9), h = std::max(extents.height(), 1e-9);
    if (quarter % 2) std::swap(w, h);
    double scale;  // pixels per drawing unit
    if (settings.standardScale == 0)
        scale = std::min(area.width() / w, area.height() / h);
    else
        scale = dotsPerMm * (settings.paperUnits == 0 ? 25.4 : 1.0);
    QTransform t = QTransform::fromTranslate(-extents.center().x(), -extents.center().y());
    t *= QTransform::fromScale(scale, -scale);  // y up on the drawing, down on the device
    t *= QTransform().rotate(-90.0 * quarter);  // counter-clockwise as seen on paper
    if (settings.centerPlot)
        t *= QTransform::fromTranslate(area.width() / 2, area.height() / 2);
    else
        t *= QTransform::fromTranslate(w * scale / 2, area.height() - h * scale / 2);
    return t;
}

QRectF plotExtents(const Scene& scene) {
    const QRectF& extents = scene.extents;
    if (extents.width() > 0 || extents.height() > 0) return extents;
    const SceneItem& first = scene.items.front();
    const QPointF at = extents != QRectF() ? extents.center()
                       : first.kind == SceneItem::Kind::Text
                           ? scene.texts[first.begin].place.map(QPointF())
                       : first.begin < first.end ? QPointF(scene.elements[first.begin])
                                                 : QPointF();
    return {at - QPointF(1, 1), at + QPointF(1, 1)};
}

}  // namespace plot
