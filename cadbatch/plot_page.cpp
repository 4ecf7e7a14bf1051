#include "cadbatch/plot_page.h"

#include <cmath>

namespace cadplot {
namespace {

constexpr double kThinnest = 0.05;  // mm: lineweight 0 is the device's thinnest line

// The part of the infinite line through a, b (b - a its direction) inside `box`.
bool clipLine(QPointF a, QPointF b, bool ray, const QRectF& box, QLineF& out) {
    const QPointF d = b - a;
    double t0 = ray ? 0 : -INFINITY, t1 = INFINITY;
    auto bound = [&](double p, double q) {  // p t <= q
        if (std::abs(p) < 1e-15) return q >= 0;
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        return t0 <= t1;
    };
    if (!bound(-d.x(), a.x() - box.left()) || !bound(d.x(), box.right() - a.x()) ||
        !bound(-d.y(), a.y() - box.top()) || !bound(d.y(), box.bottom() - a.y()))
        return false;
    if (!std::isfinite(t0) || !std::isfinite(t1)) return false;
    out = QLineF(a + d * t0, a + d * t1);
    return true;
}

// The linetype as Qt's dash pattern (in pen widths, starting with a dash).
QVector<qreal> dashPattern(const std::vector<double>& dashes, double unitsToPixels,
                           double penPixels) {
    QVector<qreal> pattern;
    for (double d : dashes) {
        const bool gap = d < 0;
        const double len = std::max(std::abs(d) * unitsToPixels / penPixels, gap ? 0.0 : 0.01);
        const bool sameKind = !pattern.isEmpty() && (pattern.size() % 2 == 0) == gap;
        if (sameKind)
            pattern.back() += len;
        else if (pattern.isEmpty() && gap)
            pattern << 0.01 << len;
        else
            pattern << len;
    }
    if (pattern.size() % 2) pattern << 0.01;
    return pattern;
}

}  // namespace

QTransform pageTransform(const QRectF& extents, const cadbatch::PlotSettings& settings, QSizeF area,
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

void paintScene(QPainter& painter, const Scene& scene, const cadbatch::PlotSettings& settings,
                const PlotStyleTable& table, QSizeF area, double dotsPerMm) {
    if (scene.items.empty()) return;
    QRectF extents = scene.extents;
    if (extents.width() <= 0 && extents.height() <= 0) {  // one point, or infinite lines only
        const SceneItem& first = scene.items.front();
        const QPointF at = extents != QRectF()    ? extents.center()
                           : first.path.isEmpty() ? first.place.map(QPointF())
                                                  : QPointF(first.path.elementAt(0));
        extents = QRectF(at - QPointF(1, 1), at + QPointF(1, 1));
    }
    const QTransform t = pageTransform(extents, settings, area, dotsPerMm);
    const double unitsToPixels = std::sqrt(std::abs(t.determinant()));
    painter.setRenderHint(QPainter::Antialiasing);
    for (const SceneItem& item : scene.items) {
        const QColor color = table.penColor(item.pen.aci, item.pen.color);
        if (item.kind == SceneItem::Kind::Text) {
            painter.save();
            painter.setTransform(item.place * t);
            painter.setFont(item.font);
            painter.setPen(color);
            painter.drawText(QPointF(0, 0), item.text);
            painter.restore();
            continue;
        }
        if (item.kind == SceneItem::Kind::Fill) {
            painter.fillPath(t.map(item.path), color);
            continue;
        }
        const bool wide = item.width > 0;
        const double pixels =
            wide ? item.width * unitsToPixels
                 : std::max(item.pen.lineweight, kThinnest) * dotsPerMm *
                       (settings.scaleLineweights ? unitsToPixels / dotsPerMm : 1.0);
        QPen pen(color, pixels, Qt::SolidLine, wide ? Qt::FlatCap : Qt::RoundCap,
                 wide ? Qt::MiterJoin : Qt::RoundJoin);
        if (!item.pen.dashes.empty() && !wide) {
            const QVector<qreal> pattern = dashPattern(item.pen.dashes, unitsToPixels, pixels);
            if (pattern.size() >= 2) pen.setDashPattern(pattern);
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (item.kind == SceneItem::Kind::Infinite) {
            QLineF line;
            if (clipLine(item.path.elementAt(0), item.path.elementAt(1), item.ray, extents, line))
                painter.drawLine(t.map(line));
            continue;
        }
        const QPainterPath path = t.map(item.path);
        if (path.boundingRect().isNull())
            painter.drawPoint(path.elementAt(0));
        else
            painter.drawPath(path);
    }
}

}  // namespace cadplot
