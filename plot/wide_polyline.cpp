#include "plot/wide_polyline.h"

#include <cmath>

namespace plot {
namespace {

constexpr double kLongestMiter = 1000;  // in widths: beyond, a joint stays cut off

struct Outline {
    QPointF la, lb, ra, rb;  // its left and right edges, from start to end
    bool straight = false;
    double width = 0;
};

// Moves the end of edge a0-a1 and the start of edge b0-b1 to where the two lines meet.
void meet(QPointF a0, QPointF& a1, QPointF& b0, QPointF b1, double width) {
    const QPointF da = a1 - a0, db = b1 - b0;
    const double cross = da.x() * db.y() - da.y() * db.x();
    if (std::abs(cross) < 1e-12 * std::hypot(da.x(), da.y()) * std::hypot(db.x(), db.y())) return;
    const QPointF w = b0 - a0;
    const double s = (w.x() * db.y() - w.y() * db.x()) / cross;
    const QPointF p = a0 + da * s;
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()) ||
        std::hypot(p.x() - a1.x(), p.y() - a1.y()) > kLongestMiter * width)
        return;
    a1 = b0 = p;
}

}  // namespace

void drawWideSegments(const std::vector<PolylineVertex>& v, bool closed, const QTransform& t,
                      Out& out) {
    if (v.size() < 2) return;
    const size_t segments = closed ? v.size() : v.size() - 1;
    std::vector<Outline> o(segments);
    for (size_t i = 0; i < segments; ++i) {
        const PolylineVertex& a = v[i];
        const QPointF b = v[(i + 1) % v.size()].at;
        const QPointF d = b - a.at;
        const double length = std::hypot(d.x(), d.y());
        o[i].width = std::max(a.startWidth, a.endWidth);
        o[i].straight = std::abs(a.bulge) < 1e-9 && length > 0 && o[i].width > 0;
        if (!o[i].straight) continue;
        const QPointF n(-d.y() / length, d.x() / length);
        o[i].la = a.at + n * a.startWidth / 2, o[i].lb = b + n * a.endWidth / 2;
        o[i].ra = a.at - n * a.startWidth / 2, o[i].rb = b - n * a.endWidth / 2;
    }
    for (size_t i = 0; i < segments; ++i) {
        const size_t next = i + 1 < segments ? i + 1 : 0;
        if ((next == 0 && !closed) || !o[i].straight || !o[next].straight) continue;
        const double width = std::max(o[i].width, o[next].width);
        meet(o[i].la, o[i].lb, o[next].la, o[next].lb, width);
        meet(o[i].ra, o[i].rb, o[next].ra, o[next].rb, width);
    }
    const double scale = std::sqrt(std::abs(t.determinant()));
    for (size_t i = 0; i < segments; ++i) {
        if (o[i].straight) {
            QPainterPath quad(o[i].la);
            quad.lineTo(o[i].lb);
            quad.lineTo(o[i].rb);
            quad.lineTo(o[i].ra);
            quad.closeSubpath();
            out.fill(quad, t);
            continue;
        }
        const PolylineVertex& a = v[i];
        QPainterPath path(a.at);
        addBulge(path, a.at, v[(i + 1) % v.size()].at, a.bulge);
        out.stroke(path, t, (a.startWidth + a.endWidth) / 2 * scale);
    }
}

}  // namespace plot
