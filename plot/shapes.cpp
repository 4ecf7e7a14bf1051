// Drawing the geometric entities.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "plot/entity.h"
#include "plot/hatch.h"
#include "plot/wide_polyline.h"

namespace plot {
namespace {

constexpr double kDeg = 180 / M_PI;

using Vertex = PolylineVertex;

// Whether `t` turns circles into circles: it turns, mirrors and scales alike in x and y.
bool keepsCircles(const QTransform& t) {
    const double tolerance = 1e-9 * (std::abs(t.m11()) + std::abs(t.m12()));
    const bool turned =
        std::abs(t.m11() - t.m22()) <= tolerance && std::abs(t.m12() + t.m21()) <= tolerance;
    const bool mirrored =
        std::abs(t.m11() + t.m22()) <= tolerance && std::abs(t.m12() - t.m21()) <= tolerance;
    return t.isAffine() && (turned || mirrored);
}

QPainterPath polygon(const std::vector<QPointF>& points, bool closed) {
    QPainterPath path;
    if (points.empty()) return path;
    path.moveTo(points[0]);
    for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
    if (closed) path.closeSubpath();
    return path;
}

// A polyline with bulges; widths make it a stroke of that width (one width for all
// segments) or a segment-by-segment drawing (wide_polyline.h).
void drawVertices(const std::vector<Vertex>& v, bool closed, const QTransform& t, Out& out) {
    if (v.empty()) return;
    const size_t segments = closed ? v.size() : v.size() - 1;
    bool uniform = true;
    for (size_t i = 0; i < segments; ++i)
        uniform = uniform && v[i].startWidth == v[0].startWidth && v[i].endWidth == v[0].startWidth;
    if (uniform) {
        QPainterPath path;
        path.moveTo(v[0].at);
        for (size_t i = 0; i < segments; ++i)
            addBulge(path, v[i].at, v[(i + 1) % v.size()].at, v[i].bulge);
        if (closed) path.closeSubpath();
        if (v.size() == 1) path.lineTo(v[0].at);
        const double scale = std::sqrt(std::abs(t.determinant()));
        out.stroke(path, t, v[0].startWidth * scale);
        return;
    }
    drawWideSegments(v, closed, t, out);
}

void drawLwPolyline(const EntityGroups& g, const QTransform& t, Out& out) {
    std::vector<Vertex> v;
    const double width = g.number(43, 0);
    for (const auto& [code, value] : g.list()) {
        if (code == 10) v.push_back({{toNumber(value), 0}, width, width, 0});
        if (v.empty()) continue;
        if (code == 20) v.back().at.setY(toNumber(value));
        if (code == 40) v.back().startWidth = toNumber(value);
        if (code == 41) v.back().endWidth = toNumber(value);
        if (code == 42) v.back().bulge = toNumber(value);
    }
    drawVertices(v, g.integer(70) & 1, g.ocs() * t, out);
}

QPointF ellipsePoint(QPointF c, QPointF major, QPointF minor, double a) {
    return c + major * std::cos(a) + minor * std::sin(a);
}

void drawEllipse(const EntityGroups& g, const QTransform& t, Out& out) {
    const QPointF c = g.point(10), major = g.point(11);
    const double side = g.number(230, 1) < 0 ? -1 : 1;
    const QPointF minor = QPointF(-major.y(), major.x()) * g.number(40, 1) * side;
    const double a0 = std::fmod(g.number(41, 0), 2 * M_PI);
    const double sweep = ccwSweep(a0, g.number(42, 2 * M_PI), 2 * M_PI);
    const int n = std::max(8, static_cast<int>(std::ceil(sweep / (2 * M_PI) * 144)));
    std::vector<QPointF> points;
    for (int i = 0; i <= n; ++i)
        points.push_back(ellipsePoint(c, major, minor, a0 + sweep * i / n));
    out.stroke(polygon(points, false), t);
}

// The control points, knots and weights (or fit points) of a SPLINE or a spline edge.
struct SplineData {
    int degree = 3;
    std::vector<double> knots, weights;
    std::vector<QPointF> control, fit;
    std::vector<QPointF> points() const {
        return splinePoints(degree, knots, control, weights, fit);
    }
};

void drawSpline(const EntityGroups& g, const QTransform& t, Out& out) {
    SplineData s;
    s.degree = g.integer(71, 3);
    for (const auto& [code, value] : g.list()) {
        if (code == 40) s.knots.push_back(toNumber(value));
        if (code == 41) s.weights.push_back(toNumber(value));
        if (code == 10) s.control.emplace_back(toNumber(value), 0);
        if (code == 20 && !s.control.empty()) s.control.back().setY(toNumber(value));
        if (code == 11) s.fit.emplace_back(toNumber(value), 0);
        if (code == 21 && !s.fit.empty()) s.fit.back().setY(toNumber(value));
    }
    out.stroke(polygon(s.points(), false), t);
}

// The boundary loops of a HATCH, read in the order its groups come. The counts it holds
// are believed only as far as the groups that follow bear them out.
class HatchReader {
public:
    explicit HatchReader(const EntityGroups& g) : l_(g.list()) {}

    QPainterPath boundary() {
        QPainterPath path;
        while (seek(91)) {
            const size_t loops = count();
            for (size_t i = 0; i < loops && seek(92); ++i) {
                const int type = integer();
                path.addPath(type & 2 ? polylineLoop() : edgeLoop());
            }
            break;
        }
        path.setFillRule(Qt::OddEvenFill);
        return path;
    }

private:
    bool seek(int code) {
        while (pos_ < l_.size() && l_[pos_].first != code) ++pos_;
        return pos_ < l_.size();
    }
    // The value of the group at the cursor, stepping past it.
    double num() { return pos_ < l_.size() ? toNumber(l_[pos_++].second) : 0; }
    int integer() { return static_cast<int>(std::clamp(num(), -1e9, 1e9)); }
    // A count, at most the groups after it: each thing counted takes one at least.
    size_t count() {
        const double n = num();
        return n >= 1 ? static_cast<size_t>(std::min(n, static_cast<double>(l_.size() - pos_))) : 0;
    }
    double take(int code) { return seek(code) ? num() : 0; }
    size_t takeCount(int code) { return seek(code) ? count() : 0; }
    QPointF takePoint(int code) {
        const double x = take(code);
        return {x, take(code + 10)};
    }

    QPainterPath polylineLoop() {
        const bool bulged = take(72) != 0;
        const bool closed = take(73) != 0;
        const size_t count = takeCount(93);
        std::vector<std::pair<QPointF, double>> v;
        for (size_t i = 0; i < count && seek(10); ++i) {
            const QPointF p = takePoint(10);
            v.emplace_back(p, bulged ? take(42) : 0);
        }
        QPainterPath path;
        if (v.empty()) return path;
        path.moveTo(v[0].first);
        for (size_t i = 0; i + 1 < v.size(); ++i)
            addBulge(path, v[i].first, v[i + 1].first, v[i].second);
        if (closed || v.size() > 2) addBulge(path, v.back().first, v[0].first, v.back().second);
        path.closeSubpath();
        return path;
    }

    QPainterPath edgeLoop() {
        const size_t edges = takeCount(93);
        QPainterPath path;
        for (size_t e = 0; e < edges && seek(72); ++e) {
            const int type = integer();
            std::vector<QPointF> pts;
            if (type == 1) {
                pts = {takePoint(10), takePoint(11)};
            } else if (type == 2 || type == 3) {
                const QPointF c = takePoint(10);
                const QPointF major = type == 3 ? takePoint(11) : QPointF(take(40), 0);
                const double ratio = type == 3 ? take(40) : 1;
                double a0 = std::fmod(take(50), 360), a1 = take(51);
                const bool ccw = take(73) != 0;
                if (!ccw) a0 = -a0, a1 = -a1;  // clockwise edges keep mirrored angles
                const double sweep = ccw ? ccwSweep(a0, a1, 360) : -ccwSweep(a1, a0, 360);
                // Ellipse edges give their parameters in degrees.
                const QPointF minor(-major.y() * ratio, major.x() * ratio);
                const int n = std::max(8, static_cast<int>(std::abs(sweep) / 2.5));
                for (int i = 0; i <= n; ++i)
                    pts.push_back(ellipsePoint(c, major, minor, (a0 + sweep * i / n) / kDeg));
            } else if (type == 4) {
                SplineData s;
                s.degree = seek(94) ? integer() : 0;
                take(73);
                take(74);
                const size_t knots = takeCount(95);
                const size_t control = takeCount(96);
                for (size_t i = 0; i < knots && seek(40); ++i) s.knots.push_back(num());
                for (size_t i = 0; i < control && seek(10); ++i) {
                    s.control.push_back(takePoint(10));
                    if (pos_ < l_.size() && l_[pos_].first == 42) s.weights.push_back(num());
                }
                pts = s.points();
            }
            for (size_t i = 0; i < pts.size(); ++i) {
                if (path.elementCount() == 0 || (i == 0 && e == 0))
                    path.moveTo(pts[i]);
                else
                    path.lineTo(pts[i]);
            }
        }
        path.closeSubpath();
        return path;
    }

    const std::vector<EntityGroups::Value>& l_;
    size_t pos_ = 0;
};

void drawHatch(const EntityGroups& g, const QTransform& t, Out& out) {
    HatchReader reader(g);
    drawHatchInside(g, reader.boundary(), g.ocs() * t, out);
}

void drawCorners(const EntityGroups& g, const QTransform& t, Out& out, bool filled) {
    const bool face = g.type() == "3DFACE";
    std::vector<QPointF> p = {g.point(10), g.point(11), g.point(12), g.point(13)};
    if (!face) std::swap(p[2], p[3]);  // SOLID and TRACE run 1, 2, 4, 3
    const QTransform m = face ? t : g.ocs() * t;
    for (QPointF& q : p) q = m.map(q);
    if (filled && !face) out.fill(polygon(p, true));
    const int hidden = face ? g.integer(70) : 0;
    QPainterPath edges;
    for (int i = 0; i < 4; ++i) {
        if (hidden & (1 << i)) continue;
        edges.moveTo(p[i]);
        edges.lineTo(p[(i + 1) % 4]);
    }
    out.stroke(edges);
}

}  // namespace

bool drawShape(const EntityGroups& g, const QTransform& t, Out& out, bool fillSolids) {
    const std::string_view type = g.type();
    if (type == "LINE") {
        out.line(t.map(g.point(10)), t.map(g.point(11)));
    } else if (type == "XLINE" || type == "RAY") {
        const QPointF base = t.map(g.point(10));
        out.infinite(base, t.map(g.point(10) + g.point(11)) - base, type == "RAY");
    } else if (type == "CIRCLE" && keepsCircles(g.ocs() * t)) {
        const QTransform m = g.ocs() * t;
        const QPointF center = g.point(10);
        out.circle(m.map(center), m.map(center + QPointF(g.number(40), 0)));
    } else if (type == "CIRCLE" || type == "ARC") {
        const bool circle = type == "CIRCLE";
        const double start = circle ? 0 : g.number(50);
        const double sweep = circle ? 360 : ccwSweep(start, g.number(51), 360);
        QPainterPath path;
        addArc(path, g.point(10), g.number(40), start, sweep, true);
        out.stroke(path, g.ocs() * t);
    } else if (type == "ELLIPSE") {
        drawEllipse(g, t, out);
    } else if (type == "LWPOLYLINE") {
        drawLwPolyline(g, t, out);
    } else if (type == "SPLINE") {
        drawSpline(g, t, out);
    } else if (type == "POINT") {
        QPainterPath path(t.map(g.point(10)));
        path.lineTo(t.map(g.point(10)));
        out.stroke(path);
    } else if (type == "SOLID" || type == "TRACE" || type == "3DFACE") {
        drawCorners(g, t, out, fillSolids);
    } else if (type == "HATCH") {
        drawHatch(g, t, out);
    } else if (type == "LEADER") {
        std::vector<QPointF> p;
        for (const auto& [code, value] : g.list()) {
            if (code == 10) p.emplace_back(toNumber(value), 0);
            if (code == 20 && !p.empty()) p.back().setY(toNumber(value));
        }
        if (g.integer(72) == 1 && p.size() > 2) p = splinePoints(3, {}, {}, {}, p);  // a spline
        out.stroke(polygon(p, false), t);
    } else {
        return false;
    }
    return true;
}

void drawPolyline(const EntityGroups& g, const std::vector<EntityGroups>& vertices,
                  const QTransform& t, Out& out) {
    const int flags = g.integer(70);
    if (flags & 64) {  // polyface mesh: the face records name their corners
        std::vector<QPointF> corners;
        QPainterPath edges;
        for (const EntityGroups& v : vertices) {
            const int vf = v.integer(70);
            if (vf & 64) {
                corners.push_back(t.map(v.point(10)));
                continue;
            }
            // Corner numbers count from 1; a negative one starts an invisible edge.
            const int64_t idx[4] = {v.integer(71), v.integer(72), v.integer(73), v.integer(74)};
            const int n = idx[3] ? 4 : 3;
            const auto size = static_cast<int64_t>(corners.size());
            for (int i = 0; i < n; ++i) {
                const int64_t a = idx[i], b = idx[(i + 1) % n];
                if (a <= 0 || a > size || b == 0 || std::abs(b) > size) continue;
                edges.moveTo(corners[a - 1]);
                edges.lineTo(corners[std::abs(b) - 1]);
            }
        }
        out.stroke(edges);
        return;
    }
    if (flags & 16) {  // polygon mesh: M rows of N vertices
        const size_t m = std::max(1, g.integer(71)), n = std::max(1, g.integer(72));
        std::vector<QPointF> p;
        for (const EntityGroups& v : vertices) p.push_back(t.map(v.point(10)));
        if (p.size() / n < m) return;  // fewer vertices than the M x N the mesh claims
        QPainterPath grid;
        for (size_t i = 0; i < m; ++i)
            for (size_t j = 0; j < n; ++j) {
                if (j + 1 < n || flags & 32) {
                    grid.moveTo(p[i * n + j]);
                    grid.lineTo(p[i * n + (j + 1) % n]);
                }
                if (i + 1 < m || flags & 1) {
                    grid.moveTo(p[i * n + j]);
                    grid.lineTo(p[((i + 1) % m) * n + j]);
                }
            }
        out.stroke(grid);
        return;
    }
    std::vector<Vertex> v;
    const double w0 = g.number(40, 0), w1 = g.number(41, 0);
    for (const EntityGroups& e : vertices) {
        if (e.integer(70) & 16) continue;  // a spline's frame, not the curve
        v.push_back({e.point(10), e.number(40, w0), e.number(41, w1), e.number(42, 0)});
    }
    drawVertices(v, flags & 1, flags & 8 ? t : g.ocs() * t, out);
}

}  // namespace plot
