// Proxy graphics: the drawing that a program stores with its own objects (group 310
// after a 92 or 160 size: ACAD_PROXY_ENTITY, and entities of add-on programs) so that
// drawings show them where the program is not at hand.
//
// The data is little-endian, every value at a multiple of 4 bytes: a 4-byte size and
// command count, then commands, each its 4-byte size (its header included) and type and
// its data. Geometry (circles, arcs, polylines, polygons, meshes, shells, texts,
// infinite lines) is drawn in the current traits (colour, layer, linetype, lineweight,
// fill), which the trait commands change; model transforms apply to what follows them
// until they are popped. Every count is checked against the bytes there are; a command
// that does not fit ends the drawing.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "plot/mtext.h"
#include "plot/parts.h"

namespace plot {
namespace {

constexpr size_t kMostMatrices = 64;

enum Op : uint32_t {
    kOpCircle = 2,
    kOpCircle3p = 3,
    kOpArc = 4,
    kOpArc3p = 5,
    kOpPolyline = 6,
    kOpPolygon = 7,
    kOpMesh = 8,
    kOpShell = 9,
    kOpText = 10,
    kOpText2 = 11,
    kOpXline = 12,
    kOpRay = 13,
    kOpColor = 14,
    kOpLayer = 16,
    kOpLinetype = 18,
    kOpFill = 20,
    kOpTrueColor = 22,
    kOpLineweight = 23,
    kOpPushMatrix = 29,
    kOpPushMatrix2 = 30,
    kOpPopMatrix = 31,
    kOpPolylineWithNormals = 32,
    kOpUnicodeText = 36,
    kOpUnicodeText2 = 38,
};

// The bytes of one command's data, read from the front; a read past the end sets ok
// false and gives zeros.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : p_(data), end_(size) {}

    bool ok() const { return ok_; }
    size_t left() const { return end_ - at_; }

    uint32_t u32() {
        if (!take(4)) return 0;
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | p_[at_ - 4 + i];
        return v;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    double f64() {
        if (!take(8)) return 0;
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = bits << 8 | p_[at_ - 8 + i];
        double v;
        std::memcpy(&v, &bits, 8);
        return std::isfinite(v) ? v : 0;
    }
    // A point; z is dropped (plots look down on the plane).
    QPointF point() {
        const double x = f64(), y = f64();
        f64();
        return {x, y};
    }
    // `n` points, when there are that many bytes left.
    std::vector<QPointF> points(uint64_t n) {
        std::vector<QPointF> out;
        if (n > left() / 24) {
            ok_ = false;
            return out;
        }
        out.reserve(n);
        for (uint64_t i = 0; i < n; ++i) out.push_back(point());
        return out;
    }
    // Zero-ended bytes, then up to the next multiple of 4.
    std::string_view text() {
        const size_t start = at_;
        while (at_ < end_ && p_[at_] != 0) ++at_;
        if (at_ >= end_) return fail();
        const std::string_view s(reinterpret_cast<const char*>(p_) + start, at_ - start);
        at_ = std::min(end_, (at_ + 4) & ~size_t{3});
        return s;
    }
    // Zero-ended UTF-16 (little-endian), then up to the next multiple of 4.
    QString unicode() {
        QString s;
        while (at_ + 1 < end_ && (p_[at_] != 0 || p_[at_ + 1] != 0)) {
            s += QChar(static_cast<char16_t>(p_[at_] | p_[at_ + 1] << 8));
            at_ += 2;
        }
        if (at_ + 1 >= end_) {
            fail();
            return {};
        }
        at_ = std::min(end_, (at_ + 2 + 3) & ~size_t{3});
        return s;
    }

private:
    bool take(size_t n) {
        if (!ok_ || n > left()) {
            ok_ = false;
            return false;
        }
        at_ += n;
        return true;
    }
    std::string_view fail() {
        ok_ = false;
        at_ = end_;
        return {};
    }

    const uint8_t* p_;
    size_t end_;
    size_t at_ = 0;
    bool ok_ = true;
};

// The proxy graphics of `g`: the 310 groups right after its first 92 or 160.
std::vector<uint8_t> proxyBytes(const EntityGroups& g) {
    std::vector<uint8_t> out;
    const auto& list = g.list();
    for (size_t i = 0; i + 1 < list.size(); ++i) {
        if ((list[i].first != 92 && list[i].first != 160) || list[i + 1].first != 310) continue;
        for (size_t k = i + 1; k < list.size() && list[k].first == 310; ++k) {
            const std::string_view hex = list[k].second;
            for (size_t j = 0; j + 1 < hex.size(); j += 2) {
                auto digit = [](char c) {
                    return c >= '0' && c <= '9'   ? c - '0'
                           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                  : 0;
                };
                out.push_back(static_cast<uint8_t>(digit(hex[j]) << 4 | digit(hex[j + 1])));
            }
        }
        break;
    }
    return out;
}

class ProxyDrawing {
public:
    ProxyDrawing(const EntityGroups& g, Parts& parts) : parts_(parts), codec_(g.codec()) {}

    void draw(const std::vector<uint8_t>& data) {
        size_t at = 8;  // past the total size and the count
        while (at + 8 <= data.size()) {
            Bytes header(data.data() + at, 8);
            const uint32_t size = header.u32(), type = header.u32();
            if (size < 8 || size > data.size() - at) return;
            Bytes body(data.data() + at + 8, size - 8);
            command(type, body);
            at += size;
        }
    }

private:
    QTransform t() const {
        return (matrices_.empty() ? QTransform() : matrices_.back()) * parts_.t();
    }
    Pen pen() const { return parts_.pen(color_, linetype_, lineweight_, layer_); }

    void command(uint32_t type, Bytes& b) {
        switch (type) {
            case kOpColor: {
                const int32_t aci = b.i32();
                color_ = PartColor{aci >= 0 && aci <= 256 ? aci : 256};
                return;
            }
            case kOpTrueColor:
                color_ = partColor(b.u32());
                return;
            case kOpLayer:
                layer_ = parts_.layerAt(b.u32());
                return;
            case kOpLinetype:
                linetype_ = parts_.linetypeAt(b.u32());
                return;
            case kOpLineweight: {
                const int32_t w = b.i32();
                lineweight_ = w >= -3 && w <= 211 ? w : -3;
                return;
            }
            case kOpFill:
                fill_ = b.u32() != 0;
                return;
            case kOpPushMatrix:
            case kOpPushMatrix2:
                return pushMatrix(b);
            case kOpPopMatrix:
                if (!matrices_.empty()) matrices_.pop_back();
                return;
            default:
                break;
        }
        QPainterPath path;
        bool closed = false;
        switch (type) {
            case kOpCircle: {
                const QPointF c = b.point();
                const double r = std::abs(b.f64());
                path.addEllipse(c, r, r);
                closed = true;
                break;
            }
            case kOpCircle3p:
                closed = circle3p(b.point(), b.point(), b.point(), path);
                break;
            case kOpArc:
                closed = arc(b, path);
                break;
            case kOpArc3p:
                arc3p(b.point(), b.point(), b.point(), path);
                break;
            case kOpPolyline:
            case kOpPolygon:
            case kOpPolylineWithNormals: {
                const std::vector<QPointF> p = b.points(b.u32());
                closed = type == kOpPolygon;
                polyline(p, closed, path);
                break;
            }
            case kOpMesh:
                mesh(b, path);
                break;
            case kOpShell:
                closed = shell(b, path);
                break;
            case kOpText:
            case kOpText2:
            case kOpUnicodeText:
            case kOpUnicodeText2:
                return text(type, b);
            case kOpXline:
            case kOpRay: {
                const QPointF a = b.point(), c = b.point();
                if (!b.ok() || a == c) return;
                const QTransform m = t();
                const Pen p = pen();
                Out(parts_.scene(), p).infinite(m.map(a), m.map(c) - m.map(a), type == kOpRay);
                return;
            }
            default:
                return;
        }
        if (!b.ok() || path.isEmpty()) return;
        const Pen p = pen();
        Out out(parts_.scene(), p);
        if (fill_ && closed)
            out.fill(path, t());
        else
            out.stroke(path, t());
        fill_ = false;  // as drawing programs read it: a fill holds for one shape
    }

    // 16 numbers, row after row; the plane's part of it.
    void pushMatrix(Bytes& b) {
        double m[16];
        for (double& v : m) v = b.f64();
        if (!b.ok() || matrices_.size() >= kMostMatrices) return;
        const QTransform pushed(m[0], m[4], m[1], m[5], m[3], m[7]);
        matrices_.push_back(matrices_.empty() ? pushed : pushed * matrices_.back());
    }

    static bool circle3p(QPointF a, QPointF b, QPointF c, QPainterPath& path) {
        const double d =
            2 * (a.x() * (b.y() - c.y()) + b.x() * (c.y() - a.y()) + c.x() * (a.y() - b.y()));
        if (std::abs(d) < 1e-12) return false;
        const double a2 = a.x() * a.x() + a.y() * a.y(), b2 = b.x() * b.x() + b.y() * b.y(),
                     c2 = c.x() * c.x() + c.y() * c.y();
        const QPointF center(
            (a2 * (b.y() - c.y()) + b2 * (c.y() - a.y()) + c2 * (a.y() - b.y())) / d,
            (a2 * (c.x() - b.x()) + b2 * (a.x() - c.x()) + c2 * (b.x() - a.x())) / d);
        const double r = std::hypot(a.x() - center.x(), a.y() - center.y());
        path.addEllipse(center, r, r);
        return true;
    }

    // The arc from a through b to c.
    static void arc3p(QPointF a, QPointF b, QPointF c, QPainterPath& path) {
        QPainterPath circle;
        if (!circle3p(a, b, c, circle)) {
            path.moveTo(a);
            path.lineTo(c);
            return;
        }
        const QPointF center = circle.boundingRect().center();
        const double r = circle.boundingRect().width() / 2;
        auto angle = [&](QPointF p) {
            return std::atan2(p.y() - center.y(), p.x() - center.x()) * 180 / M_PI;
        };
        double sweep = std::fmod(angle(c) - angle(a) + 720, 360.0);
        const double toB = std::fmod(angle(b) - angle(a) + 720, 360.0);
        if (toB > sweep) sweep -= 360;  // b lies the other way round
        addArc(path, center, r, angle(a), sweep, true);
    }

    // Centre, radius, normal, start direction, sweep (radians, about the normal) and
    // kind: 0 an arc, 1 a sector, 2 closed by its chord.
    bool arc(Bytes& b, QPainterPath& path) {
        const QPointF center = b.point();
        const double r = std::abs(b.f64());
        const double nx = b.f64(), ny = b.f64(), nz = b.f64();
        (void)nx, (void)ny;
        const QPointF start = b.point();
        const double sweep = std::clamp(b.f64(), -2 * M_PI, 2 * M_PI) * (nz < 0 ? -1 : 1);
        const uint32_t kind = b.u32();
        const double from = std::atan2(start.y(), start.x()) * 180 / M_PI;
        addArc(path, center, r, from, sweep * 180 / M_PI, true);
        if (kind == 1) path.lineTo(center);
        if (kind == 1 || kind == 2) path.closeSubpath();
        return kind == 1 || kind == 2;
    }

    static void polyline(const std::vector<QPointF>& p, bool closed, QPainterPath& path) {
        if (p.empty()) return;
        path.moveTo(p[0]);
        for (size_t i = 1; i < p.size(); ++i) path.lineTo(p[i]);
        if (p.size() == 1) path.lineTo(p[0]);
        if (closed) path.closeSubpath();
    }

    // Rows by columns of vertices, drawn as their grid.
    static void mesh(Bytes& b, QPainterPath& path) {
        const uint64_t rows = b.u32(), columns = b.u32();
        if (rows == 0 || columns == 0 || rows > b.left() / 24 / columns) return;
        const std::vector<QPointF> p = b.points(rows * columns);
        if (p.size() != rows * columns) return;
        for (uint64_t i = 0; i < rows; ++i)
            for (uint64_t j = 0; j < columns; ++j) {
                if (j + 1 < columns)
                    path.moveTo(p[i * columns + j]), path.lineTo(p[i * columns + j + 1]);
                if (i + 1 < rows)
                    path.moveTo(p[i * columns + j]), path.lineTo(p[(i + 1) * columns + j]);
            }
    }

    // Vertices, then faces: each its vertex count (negative: a hole) and their indexes.
    static bool shell(Bytes& b, QPainterPath& path) {
        const std::vector<QPointF> v = b.points(b.u32());
        uint64_t entries = b.u32();
        if (entries > b.left() / 4) return false;
        while (entries > 0 && b.ok()) {
            const uint64_t count = std::abs(static_cast<int64_t>(b.i32()));
            if (count >= entries) break;
            entries -= count + 1;
            std::vector<QPointF> face;
            for (uint64_t k = 0; k < count; ++k) {
                const uint32_t index = b.u32();
                if (index < v.size()) face.push_back(v[index]);
            }
            polyline(face, true, path);
        }
        path.setFillRule(Qt::OddEvenFill);
        return true;
    }

    // TEXT and TEXT2, in the code page or in UTF-16: a line from its start point along
    // its direction, of its height, width factor and slant.
    void text(uint32_t type, Bytes& b) {
        const QPointF at = b.point();
        b.point();  // the normal
        const QPointF direction = b.point();
        const bool unicode = type == kOpUnicodeText || type == kOpUnicodeText2;
        const bool second = type == kOpText2 || type == kOpUnicodeText2;
        double height = 0, width = 1, oblique = 0;
        QString value;
        if (!second) {
            height = b.f64(), width = b.f64(), oblique = b.f64();
            value = unicode ? b.unicode() : decodeText(codec_, b.text());
        } else {
            value = unicode ? b.unicode() : decodeText(codec_, b.text());
            b.i32(), b.i32();  // its length, raw or not
            height = b.f64(), width = b.f64(), oblique = b.f64();
        }
        if (!b.ok() || value.trimmed().isEmpty() || !(height > 0)) return;
        MTextFrame frame;
        frame.text = value.replace('\\', "\\\\").replace('{', "\\{").replace('}', "\\}");
        frame.text.replace('^', "^ ");
        frame.insert = at;
        frame.direction = unitDirection(direction);
        frame.height = height;
        frame.attachment = 7;  // from the baseline's start
        frame.wrap = false;
        TextStyle style = parts_.textStyle(0);
        style.widthFactor = width > 0 && width < 100 ? width : 1;
        style.oblique = std::clamp(oblique * 180 / M_PI, -85.0, 85.0);
        const Pen p = pen();
        Out out(parts_.scene(), p);
        drawMText(frame, style, t(), out);
    }

    Parts& parts_;
    const drawing::TextCodec& codec_;
    PartColor color_{0};  // the entity's own traits until changed
    uint32_t layer_ = drawing::kNoName, linetype_ = drawing::kNoName;
    int lineweight_ = kByBlockWeight;
    bool fill_ = false;
    std::vector<QTransform> matrices_;
};

}  // namespace

bool drawProxyGraphics(const EntityGroups& g, Parts& parts) {
    const std::vector<uint8_t> data = proxyBytes(g);
    if (data.size() < 8) return false;
    ProxyDrawing(g, parts).draw(data);
    return true;
}

}  // namespace plot
