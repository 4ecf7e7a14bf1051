// The inside of a HATCH: a solid fill, a gradient as a fill of its colours' mean, or the
// lines of the pattern the entity carries (each line family: angle, base point, offset
// to the next line and dashes, as stored: scaled and turned already) cut to the
// boundary by the even-odd rule, so islands stay clear.
//
// Each family is set in a frame of its own: its lines run along x there, one unit of
// row spacing is kRowUnits, and row k lies at y = k * kRowUnits. Every boundary edge
// adds its crossing to each row it spans, so the work is that of the crossings found.
// A pattern that would need more than kMostRows rows, kMostDashes dashes or
// kMostCrossings crossings for one hatch (a dense pattern over a large area, a boundary
// of a great many edges) is drawn as its boundary and counted in the scene's
// simplifiedHatches.
#include <algorithm>
#include <cmath>

#include "plot/hatch.h"

namespace plot {
namespace {

constexpr double kRowUnits = 1000;
constexpr double kMostRows = 20000;
constexpr double kMostDashes = 400000;
constexpr double kMostCrossings = 2000000;  // of the boundary's edges with the rows
constexpr size_t kMostFamilies = 64;
constexpr size_t kMostDashItems = 64;

struct Family {
    double angle = 0;  // degrees
    QPointF base, offset;
    std::vector<double> dashes;  // > 0 dash, < 0 gap, 0 dot
};

// The pattern definition lines (78 of them, each 53 angle, 43/44 base, 45/46 offset,
// 79 dashes of 49).
std::vector<Family> familiesOf(const EntityGroups& g) {
    std::vector<Family> families;
    bool pattern = false;
    for (const auto& [code, value] : g.list()) {
        if (code == 78) pattern = true;
        if (!pattern) continue;
        if (code == 47 || code == 98 || code == 450) break;  // what follows the pattern
        const double v = toNumber(value);
        if (code == 53) {
            if (families.size() >= kMostFamilies) break;
            families.push_back({v, {}, {}, {}});
        }
        if (families.empty()) continue;
        Family& f = families.back();
        if (code == 43) f.base.setX(v);
        if (code == 44) f.base.setY(v);
        if (code == 45) f.offset.setX(v);
        if (code == 46) f.offset.setY(v);
        if (code == 49 && f.dashes.size() < kMostDashItems) f.dashes.push_back(v);
    }
    return families;
}

// One family's lines cut to `boundary` (object coordinates), added to `lines`.
class FamilyLines {
public:
    FamilyLines(const Family& f, const QPainterPath& boundary) : f_(f) {
        const double a = std::fmod(f.angle, 360.0) * M_PI / 180;
        u_ = QPointF(std::cos(a), std::sin(a));
        const QPointF n(-u_.y(), u_.x());
        QPointF offset = f.offset;
        spacing_ = offset.x() * n.x() + offset.y() * n.y();
        if (spacing_ < 0) spacing_ = -spacing_, offset = -offset;  // the same lines
        shift_ = offset.x() * u_.x() + offset.y() * u_.y();
        if (!(spacing_ > 1e-9) || !std::isfinite(spacing_)) return;
        scale_ = kRowUnits / spacing_;
        // Object coordinates to the frame: from the base point, turned by -angle, scaled.
        toFrame_ = QTransform::fromTranslate(-f.base.x(), -f.base.y()) *
                   QTransform(u_.x(), n.x(), u_.y(), n.y(), 0, 0) *
                   QTransform::fromScale(scale_, scale_);
        polygons_ = boundary.toSubpathPolygons(toFrame_);
        double y0 = INFINITY, y1 = -INFINITY, x0 = INFINITY, x1 = -INFINITY;
        for (const QPolygonF& p : polygons_)
            for (const QPointF& q : p) {
                y0 = std::min(y0, q.y()), y1 = std::max(y1, q.y());
                x0 = std::min(x0, q.x()), x1 = std::max(x1, q.x());
            }
        if (!(y0 <= y1)) return;
        first_ = std::ceil(y0 / kRowUnits);
        rows_ = std::max(0.0, std::floor(y1 / kRowUnits) - first_ + 1);
        width_ = (x1 - x0) / scale_;
        for (const QPolygonF& p : polygons_)
            for (qsizetype i = 0; i + 1 < p.size(); ++i)
                crossings_ +=
                    std::abs(std::ceil(p[i + 1].y() / kRowUnits) - std::ceil(p[i].y() / kRowUnits));
    }

    // Rows, crossings and dashes this family needs.
    double rows() const { return rows_; }
    double crossings() const { return crossings_; }
    double dashes() const {
        double period = 0;
        for (double d : f_.dashes) period += std::abs(d);
        if (f_.dashes.empty() || !(period > 0)) return rows_;
        return rows_ * (width_ / period + 1) * static_cast<double>(f_.dashes.size());
    }

    void draw(QPainterPath& lines) const {
        if (rows_ <= 0) return;
        const auto count = static_cast<size_t>(rows_);
        std::vector<std::vector<double>> crossings(count);
        for (const QPolygonF& p : polygons_)
            for (qsizetype i = 0; i + 1 < p.size(); ++i) cross(p[i], p[i + 1], crossings);
        const QTransform back = toFrame_.inverted();
        for (size_t r = 0; r < count; ++r) {
            std::vector<double>& xs = crossings[r];
            std::sort(xs.begin(), xs.end());
            const double k = first_ + static_cast<double>(r);
            const double y = k * kRowUnits;
            const double origin = k * shift_ * scale_;  // where the row's dashes start
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                dashesOn(xs[i], xs[i + 1], y, origin, back, lines);
        }
    }

private:
    // The row crossings of edge a-b: rows at y in [min, max) of the edge.
    void cross(QPointF a, QPointF b, std::vector<std::vector<double>>& crossings) const {
        if (a.y() == b.y()) return;
        if (a.y() > b.y()) std::swap(a, b);
        const double from = std::max(std::ceil(a.y() / kRowUnits), first_);
        const double to = std::min(std::ceil(b.y() / kRowUnits) - 1, first_ + rows_ - 1);
        for (double k = from; k <= to; ++k) {
            const double y = k * kRowUnits;
            const double x = a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y());
            crossings[static_cast<size_t>(k - first_)].push_back(x);
        }
    }

    // The dashes of the pattern, repeated from `origin`, within [x0, x1] of row y.
    void dashesOn(double x0, double x1, double y, double origin, const QTransform& back,
                  QPainterPath& lines) const {
        auto piece = [&](double from, double to) {
            lines.moveTo(back.map(QPointF(from, y)));
            lines.lineTo(back.map(QPointF(to, y)));
        };
        double period = 0;
        for (double d : f_.dashes) period += std::abs(d) * scale_;
        if (f_.dashes.empty() || !(period > 0)) {
            piece(x0, x1);
            return;
        }
        double x = origin + std::floor((x0 - origin) / period) * period;
        while (x <= x1) {
            for (double d : f_.dashes) {
                const double length = std::abs(d) * scale_;
                const double end = x + length;
                if (d > 0 && end > x0 && x < x1) piece(std::max(x, x0), std::min(end, x1));
                if (d == 0 && x >= x0 && x <= x1) piece(x, x);
                x = end;
            }
        }
    }

    const Family& f_;
    QPointF u_;
    double spacing_ = 0, shift_ = 0, scale_ = 1;
    double first_ = 0, rows_ = 0, width_ = 0, crossings_ = 0;
    QTransform toFrame_;
    QList<QPolygonF> polygons_;
};

// The gradient's colours (421), or none for a hatch without a gradient.
std::vector<QRgb> gradientColors(const EntityGroups& g) {
    std::vector<QRgb> colors;
    if (g.integer(450) != 1) return colors;
    for (const auto& [code, value] : g.list())
        if (code == 421 && colors.size() < 2) colors.push_back(static_cast<QRgb>(toNumber(value)));
    return colors;
}

}  // namespace

void drawHatchInside(const EntityGroups& g, const QPainterPath& boundary, const QTransform& t,
                     Out& out) {
    if (g.integer(70) & 1) {
        const std::vector<QRgb> colors = gradientColors(g);
        if (colors.empty()) return out.fill(boundary, t);
        const QColor a(colors.front()), b(colors.back());
        Pen pen = out.pen();
        pen.color =
            QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
        pen.aci = 0;
        return Out(out.scene(), pen).fill(boundary, t);
    }
    const std::vector<Family> families = familiesOf(g);
    std::vector<FamilyLines> sets;
    double rows = 0, dashes = 0, crossings = 0;
    for (const Family& f : families) {
        sets.emplace_back(f, boundary);
        rows += sets.back().rows();
        dashes += sets.back().dashes();
        crossings += sets.back().crossings();
    }
    if (families.empty() || rows > kMostRows || dashes > kMostDashes ||
        crossings > kMostCrossings) {
        if (!families.empty()) ++out.scene().simplifiedHatches;
        return out.stroke(boundary, t);
    }
    QPainterPath lines;
    for (const FamilyLines& set : sets) set.draw(lines);
    if (lines.isEmpty()) return;
    Pen pen = out.pen();
    pen.dashes.clear();  // the pattern's own dashes are drawn
    Out(out.scene(), pen).stroke(lines, t);
}

}  // namespace plot
