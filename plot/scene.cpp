#include "plot/scene.h"

#include <algorithm>
#include <cmath>

namespace plot {
namespace {

// Widens [lo, hi] to the cubic Bezier p0 .. p3 where its derivative vanishes; a curve
// whose control points lie between its ends stays between them.
void curveExtremes(double p0, double p1, double p2, double p3, double& lo, double& hi) {
    const double low = std::min(p0, p3), high = std::max(p0, p3);
    if (p1 >= low && p1 <= high && p2 >= low && p2 <= high) return;
    // B'(t)/3 = a t^2 + b t + c
    const double a = -p0 + 3 * p1 - 3 * p2 + p3, b = 2 * (p0 - 2 * p1 + p2), c = p1 - p0;
    auto take = [&](double t) {
        if (t <= 0 || t >= 1) return;
        const double u = 1 - t;
        const double v = u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
        lo = std::min(lo, v), hi = std::max(hi, v);
    };
    if (std::abs(a) < 1e-12) {
        if (std::abs(b) > 1e-12) take(-c / b);
        return;
    }
    const double d = b * b - 4 * a * c;
    if (d < 0) return;
    const double r = std::sqrt(d);
    take((-b + r) / (2 * a));
    take((-b - r) / (2 * a));
}

}  // namespace

QRectF outlineBox(const Scene& scene, const SceneItem& item) {
    const QPainterPath::Element* e = scene.elements.data() + item.begin;
    if (item.kind == SceneItem::Kind::Circle) {
        const double r = std::hypot(e[1].x - e[0].x, e[1].y - e[0].y);
        return {e[0].x - r, e[0].y - r, 2 * r, 2 * r};
    }
    const int n = static_cast<int>(item.end - item.begin);
    double x0 = e[0].x, x1 = e[0].x, y0 = e[0].y, y1 = e[0].y;
    for (int i = 1; i < n; ++i) {
        if (e[i].isCurveTo() && i + 2 < n) {
            curveExtremes(e[i - 1].x, e[i].x, e[i + 1].x, e[i + 2].x, x0, x1);
            curveExtremes(e[i - 1].y, e[i].y, e[i + 1].y, e[i + 2].y, y0, y1);
            i += 2;
        }
        x0 = std::min(x0, e[i].x), x1 = std::max(x1, e[i].x);
        y0 = std::min(y0, e[i].y), y1 = std::max(y1, e[i].y);
    }
    return {QPointF(x0, y0), QPointF(x1, y1)};
}

}  // namespace plot
