#include "plot/entity.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace plot {
namespace {

constexpr int kMostSplineDegree = 25;

// Reads the plain decimals drawings are full of ("-12.500000") into `v` as from_chars
// reads them: with at most 2^53 as digits and at most 22 of them after the point, both
// the digits and the power of ten are exact doubles, so their quotient is the correctly
// rounded value. False when the text needs the general reader.
bool plainDecimal(const char* p, const char* e, double& v) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr uint64_t kExact = uint64_t{1} << 53;
    const bool negative = p < e && *p == '-';
    if (negative) ++p;
    uint64_t digits = 0;
    int count = 0, fraction = 0;
    bool point = false;
    for (; p < e; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits = digits * 10 + static_cast<uint64_t>(*p - '0');
            if (digits > kExact) return false;
            ++count;
            fraction += point;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (count == 0 || fraction > 22 || (p < e && (*p == 'e' || *p == 'E'))) return false;
    v = static_cast<double>(digits) / kPowers[fraction];
    if (negative) v = -v;
    return true;
}

}  // namespace

double toNumber(std::string_view text, double fallback) {
    const char* b = text.data();
    const char* e = b + text.size();
    while (b < e && (*b == ' ' || *b == '\t')) ++b;
    if (b < e && *b == '+') ++b;
    double v = fallback;
    if (plainDecimal(b, e, v)) return v;
    const auto r = std::from_chars(b, e, v);
    return r.ec == std::errc() && std::isfinite(v) ? v : fallback;
}

QString decodeText(const drawing::TextCodec& codec, std::string_view raw) {
    QString s = QString::fromStdString(codec.toUtf8(raw));
    if (!s.contains("%%")) return s;
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && s[i + 1] == '%') {
            const QChar code = s[i + 2].toLower();
            const char* sign = code == 'c'   ? "\u00d8"
                               : code == 'd' ? "\u00b0"
                               : code == 'p' ? "\u00b1"
                               : code == '%' ? "%"
                                             : nullptr;
            if (sign || code == 'u' || code == 'o') {
                if (sign) out += QString::fromUtf8(sign);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

EntityGroups::EntityGroups(const drawing::Drawing& drawing, size_t record)
    : type_(&drawing.record(record).type), codec_(&drawing.codec()) {
    const std::string_view bytes = drawing.recordBytes(record);
    const drawing::DxfFormat format = drawing.format();
    groups_.reserve(bytes.size() / 8 + 4);  // about what an ASCII group takes
    drawing::GroupReader reader(bytes, format);
    drawing::Group g;
    // From 2018 on an entity may end in a copy of its data for the drawing program's own
    // use (after group 101, "Embedded Object"), whose groups mean other things: an
    // MTEXT's 11 is there its insertion point, not its direction. They are kept apart.
    std::vector<Value>* into = &groups_;
    if (format == drawing::DxfFormat::Ascii) {
        while (reader.next(g)) {
            if (g.code == 101) into = &embedded_;
            into->emplace_back(g.code, g.value);
        }
        return;
    }
    // Binary values are made texts; the views are set once the buffer no longer grows.
    std::vector<size_t> ends;
    while (reader.next(g)) {
        if (g.code == 101) into = &embedded_;
        const std::string text = drawing::valueText(g, format);
        texts_.insert(texts_.end(), text.begin(), text.end());
        into->emplace_back(g.code, std::string_view());
        ends.push_back(texts_.size());
    }
    size_t begin = 0, k = 0;
    for (std::vector<Value>* part : {&groups_, &embedded_})
        for (Value& value : *part) {
            value.second = std::string_view(texts_.data() + begin, ends[k] - begin);
            begin = ends[k++];
        }
}

bool EntityGroups::has(int code) const {
    for (const auto& g : groups_)
        if (g.first == code) return true;
    return false;
}

std::string_view EntityGroups::raw(int code) const {
    for (const auto& g : groups_)
        if (g.first == code) return g.second;
    return {};
}

double EntityGroups::number(int code, double fallback) const {
    for (const auto& g : groups_)
        if (g.first == code) return toNumber(g.second, fallback);
    return fallback;
}

int EntityGroups::integer(int code, int fallback) const {
    // Within ±INT_MAX, so that a negated or absolute value is an int too.
    constexpr double kMost = std::numeric_limits<int>::max();
    return static_cast<int>(std::lround(std::clamp(number(code, fallback), -kMost, kMost)));
}

QPointF EntityGroups::point(int code) const { return {number(code), number(code + 10)}; }

QString EntityGroups::text(int code) const { return decodeText(*codec_, raw(code)); }

QTransform EntityGroups::ocs() const {
    // Most entities have no extrusion direction: one pass finds out.
    double z[3] = {0, 0, 1};
    bool seen[3] = {};
    for (const auto& [code, value] : groups_) {
        const int axis = code == 210 ? 0 : code == 220 ? 1 : code == 230 ? 2 : -1;
        if (axis >= 0 && !seen[axis]) {
            seen[axis] = true;
            z[axis] = toNumber(value, z[axis]);
        }
    }
    const double len = std::sqrt(z[0] * z[0] + z[1] * z[1] + z[2] * z[2]);
    if (len < 1e-12 || (std::abs(z[0]) < 1e-12 && std::abs(z[1]) < 1e-12 && z[2] > 0))
        return QTransform();
    for (double& v : z) v /= len;
    // The arbitrary axis rule: x is world Y (or Z) crossed with the extrusion.
    double x[3];
    if (std::abs(z[0]) < 1.0 / 64 && std::abs(z[1]) < 1.0 / 64) {
        x[0] = z[2], x[1] = 0, x[2] = -z[0];  // (0,1,0) x z
    } else {
        x[0] = -z[1], x[1] = z[0], x[2] = 0;  // (0,0,1) x z
    }
    const double xl = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    for (double& v : x) v /= xl;
    const double y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2],
                         z[0] * x[1] - z[1] * x[0]};
    return QTransform(x[0], x[1], y[0], y[1], 0, 0);
}

void Out::add(SceneItem::Kind kind, const QPainterPath& path, const QTransform& t, double width) {
    SceneItem item;
    item.kind = kind;
    item.pen = pen_;
    item.width = width;
    item.evenOdd = path.fillRule() == Qt::OddEvenFill;
    item.begin = static_cast<uint32_t>(scene_.elements.size());
    const int n = path.elementCount();
    const bool moved = !t.isIdentity();
    for (int i = 0; i < n; ++i) {
        QPainterPath::Element e = path.elementAt(i);
        if (moved) {
            const double x = e.x;
            e.x = t.m11() * x + t.m21() * e.y + t.dx();
            e.y = t.m12() * x + t.m22() * e.y + t.dy();
        }
        scene_.elements.push_back(e);
    }
    item.end = static_cast<uint32_t>(scene_.elements.size());
    scene_.items.push_back(std::move(item));
}

void Out::stroke(const QPainterPath& path, const QTransform& t, double width) {
    add(SceneItem::Kind::Stroke, path, t, width);
}

void Out::line(QPointF from, QPointF to) {
    SceneItem item;
    item.pen = pen_;
    item.begin = static_cast<uint32_t>(scene_.elements.size());
    scene_.elements.push_back({from.x(), from.y(), QPainterPath::MoveToElement});
    scene_.elements.push_back({to.x(), to.y(), QPainterPath::LineToElement});
    item.end = item.begin + 2;
    scene_.items.push_back(std::move(item));
}

void Out::circle(QPointF center, QPointF onCircle) {
    line(center, onCircle);
    scene_.items.back().kind = SceneItem::Kind::Circle;
}

void Out::fill(const QPainterPath& path, const QTransform& t) {
    add(SceneItem::Kind::Fill, path, t, 0);
}

void Out::text(const std::vector<uint32_t>& glyphs, const QTransform& place, const QRectF& box) {
    SceneText text;
    text.glyphBegin = static_cast<uint32_t>(scene_.glyphs.size());
    scene_.glyphs.insert(scene_.glyphs.end(), glyphs.begin(), glyphs.end());
    text.glyphEnd = static_cast<uint32_t>(scene_.glyphs.size());
    text.place = place;
    text.box = box;
    SceneItem item;
    item.kind = SceneItem::Kind::Text;
    item.pen = pen_;
    item.begin = static_cast<uint32_t>(scene_.texts.size());
    item.end = item.begin + 1;
    scene_.texts.push_back(text);
    scene_.items.push_back(std::move(item));
}

void Out::infinite(QPointF base, QPointF direction, bool ray) {
    line(base, base + direction);
    scene_.items.back().kind = SceneItem::Kind::Infinite;
    scene_.items.back().ray = ray;
}

void Out::clipBegin(const QPainterPath& outline) {
    add(SceneItem::Kind::ClipBegin, outline, QTransform(), 0);
}

void Out::clipEnd() {
    SceneItem item;
    item.kind = SceneItem::Kind::ClipEnd;
    item.begin = item.end = static_cast<uint32_t>(scene_.elements.size());
    scene_.items.push_back(std::move(item));
}

QPointF unitDirection(QPointF v) {
    const double length = std::hypot(v.x(), v.y());
    return length > 1e-12 ? v / length : QPointF(1, 0);
}

double ccwSweep(double start, double end, double turn) {
    // Ends written a hair past a whole turn (2π rounded up) are a whole turn.
    const double sweep = std::fmod(std::fmod(end, turn) - std::fmod(start, turn), turn);
    return sweep <= turn * 1e-9 ? sweep + turn : sweep;
}

void addArc(QPainterPath& path, QPointF center, double radius, double start, double sweep,
            bool moveFirst) {
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    start = std::fmod(start, 360);
    sweep = std::clamp(sweep, -360.0, 360.0);
    // Qt's angles run counter-clockwise on a y-down screen: negated, they run
    // counter-clockwise in drawing coordinates.
    if (moveFirst) path.arcMoveTo(box, -start);
    path.arcTo(box, -start, -sweep);
}

void addBulge(QPainterPath& path, QPointF from, QPointF to, double bulge) {
    const QPointF chord = to - from;
    const double d = std::hypot(chord.x(), chord.y());
    if (std::abs(bulge) < 1e-9 || d < 1e-12) {
        path.lineTo(to);
        return;
    }
    const double angle = 4 * std::atan(bulge);
    const double radius = d / (2 * std::sin(std::abs(angle) / 2));
    const QPointF normal(-chord.y() / d, chord.x() / d);
    const double h = d / 2 * (1 - bulge * bulge) / (2 * bulge);
    const QPointF center = (from + to) / 2 + normal * h;
    const double start = std::atan2(from.y() - center.y(), from.x() - center.x()) * 180 / M_PI;
    addArc(path, center, radius, start, angle * 180 / M_PI, false);
}

namespace {

// A point of the NURBS at parameter u (de Boor in homogeneous coordinates).
QPointF deBoor(int p, const std::vector<double>& k, const std::vector<QPointF>& c,
               const std::vector<double>& w, double u) {
    const int n = static_cast<int>(c.size());
    int span = p;
    while (span < n - 1 && u >= k[span + 1]) ++span;
    std::vector<double> x(p + 1), y(p + 1), h(p + 1);
    for (int j = 0; j <= p; ++j) {
        const int i = span - p + j;
        const double wi = w.size() == c.size() ? w[i] : 1.0;
        x[j] = c[i].x() * wi, y[j] = c[i].y() * wi, h[j] = wi;
    }
    for (int r = 1; r <= p; ++r) {
        for (int j = p; j >= r; --j) {
            const int i = span - p + j;
            const double den = k[i + p - r + 1] - k[i];
            const double a = den > 1e-15 ? (u - k[i]) / den : 0;
            x[j] = (1 - a) * x[j - 1] + a * x[j];
            y[j] = (1 - a) * y[j - 1] + a * y[j];
            h[j] = (1 - a) * h[j - 1] + a * h[j];
        }
    }
    return h[p] != 0 ? QPointF(x[p] / h[p], y[p] / h[p]) : c[span];
}

// A natural cubic spline through `fit`, parametrised by chord length.
std::vector<QPointF> throughPoints(const std::vector<QPointF>& fit) {
    const size_t n = fit.size();
    if (n < 3) return fit;
    std::vector<double> t(n, 0);
    for (size_t i = 1; i < n; ++i)
        t[i] = t[i - 1] + std::max(1e-12, std::hypot(fit[i].x() - fit[i - 1].x(),
                                                     fit[i].y() - fit[i - 1].y()));
    // Second derivatives M from the tridiagonal system, M[0] = M[n-1] = 0.
    auto solve = [&](auto coord) {
        std::vector<double> m(n, 0), c(n, 0), d(n, 0);
        for (size_t i = 1; i + 1 < n; ++i) {
            const double h0 = t[i] - t[i - 1], h1 = t[i + 1] - t[i];
            const double rhs = 6 * ((coord(fit[i + 1]) - coord(fit[i])) / h1 -
                                    (coord(fit[i]) - coord(fit[i - 1])) / h0);
            const double diag = 2 * (h0 + h1) - h0 * c[i - 1];
            c[i] = h1 / diag;
            d[i] = (rhs - h0 * d[i - 1]) / diag;
        }
        for (size_t i = n - 2; i >= 1; --i) m[i] = d[i] - c[i] * m[i + 1];
        return m;
    };
    const auto mx = solve([](QPointF p) { return p.x(); });
    const auto my = solve([](QPointF p) { return p.y(); });
    std::vector<QPointF> out;
    const int steps = 16;
    for (size_t i = 0; i + 1 < n; ++i) {
        const double h = t[i + 1] - t[i];
        for (int s = 0; s < steps; ++s) {
            const double a = (t[i + 1] - (t[i] + h * s / steps)) / h, b = 1 - a;
            auto value = [&](double p0, double p1, double m0, double m1) {
                return a * p0 + b * p1 + ((a * a * a - a) * m0 + (b * b * b - b) * m1) * h * h / 6;
            };
            out.emplace_back(value(fit[i].x(), fit[i + 1].x(), mx[i], mx[i + 1]),
                             value(fit[i].y(), fit[i + 1].y(), my[i], my[i + 1]));
        }
    }
    out.push_back(fit.back());
    return out;
}

}  // namespace

std::vector<QPointF> splinePoints(int degree, const std::vector<double>& knots,
                                  const std::vector<QPointF>& control,
                                  const std::vector<double>& weights,
                                  const std::vector<QPointF>& fit) {
    const int n = static_cast<int>(control.size());
    if (n < 2) return throughPoints(fit);
    // Each point takes the square of the degree in work: a degree past any drawing's is
    // taken as the highest one drawn.
    const int p = std::clamp(degree, 1, std::min(n - 1, kMostSplineDegree));
    std::vector<double> k = knots;
    if (static_cast<int>(k.size()) != n + p + 1) {
        k.assign(n + p + 1, 0);  // clamped and uniform
        for (int i = p + 1; i < n; ++i) k[i] = i - p;
        for (int i = n; i < n + p + 1; ++i) k[i] = n - p;
    }
    const double u0 = k[p], u1 = k[n];
    const int samples = 16 * (n - p) + 1;
    std::vector<QPointF> out;
    for (int s = 0; s < samples; ++s)
        out.push_back(deBoor(p, k, control, weights, u0 + (u1 - u0) * s / (samples - 1)));
    return out;
}

}  // namespace plot
