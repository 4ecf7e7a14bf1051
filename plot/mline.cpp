// MLINE: each element of its style along the vertices, at the distance along each
// vertex's miter that the entity stores (scale and justification applied), in the
// element's colour and linetype, broken where the element's parameters break it; then
// the style's fill between the outermost elements, its joints and its caps (lines or
// arcs, outer and inner).
#include <algorithm>
#include <cmath>

#include "plot/parts.h"

namespace plot {
namespace {

constexpr size_t kMostElements = 1024;

struct Element {
    double offset = 0;
    PartColor color;
    uint32_t linetype = drawing::kNoName;
};

struct Style {
    int flags = 0;
    PartColor fill;
    std::vector<Element> elements;
};

enum StyleFlags {
    kFill = 1,
    kMiters = 2,
    kStartSquare = 16,
    kStartInner = 32,
    kStartRound = 64,
    kEndSquare = 256,
    kEndInner = 512,
    kEndRound = 1024,
};

struct Vertex {
    QPointF at, direction, miter;
    std::vector<std::vector<double>> params;  // by element: the offset, then the breaks
};

Style styleOf(const EntityGroups& g, Parts& parts) {
    Style style;
    const int32_t record = parts.recordOf(drawing::parseHandle(g.raw(340)));
    if (record < 0 || parts.drawing().record(record).type != "MLINESTYLE") return style;
    const EntityGroups s(parts.drawing(), static_cast<size_t>(record));
    for (const auto& [code, value] : s.list()) {
        const double v = toNumber(value);
        if (code == 70) style.flags = static_cast<int>(v);
        if (code == 62 && style.elements.empty()) style.fill.aci = static_cast<int>(v);
        if (code == 49 && style.elements.size() < kMostElements)
            style.elements.push_back({v, PartColor{}, drawing::kNoName});
        if (style.elements.empty()) continue;
        if (code == 62) style.elements.back().color.aci = static_cast<int>(v);
        if (code == 420) {
            style.elements.back().color.trueColor = true;
            style.elements.back().color.rgb = static_cast<QRgb>(v);
        }
        if (code == 6) style.elements.back().linetype = parts.drawing().findName(value);
    }
    return style;
}

std::vector<Vertex> verticesOf(const EntityGroups& g) {
    std::vector<Vertex> vertices;
    for (const auto& [code, value] : g.list()) {
        const double v = toNumber(value);
        if (code == 11) vertices.push_back({{v, 0}, {1, 0}, {0, 1}, {}});
        if (vertices.empty()) continue;
        Vertex& x = vertices.back();
        if (code == 21) x.at.setY(v);
        if (code == 12) x.direction.setX(v);
        if (code == 22) x.direction.setY(v);
        if (code == 13) x.miter.setX(v);
        if (code == 23) x.miter.setY(v);
        if (code == 74 && x.params.size() < kMostElements) x.params.emplace_back();
        if (code == 41 && !x.params.empty()) x.params.back().push_back(v);
    }
    return vertices;
}

class MLineDrawing {
public:
    MLineDrawing(const EntityGroups& g, Parts& parts)
        : parts_(parts), style_(styleOf(g, parts)), vertices_(verticesOf(g)) {
        closed_ = g.integer(71) & 2;
        t_ = parts.t();  // the vertices are in world coordinates
        elements_ = vertices_.empty() ? 0 : vertices_.front().params.size();
        for (const Vertex& v : vertices_) elements_ = std::min(elements_, v.params.size());
        // Elements from the lowest offset to the highest.
        for (size_t e = 0; e < elements_; ++e) order_.push_back(e);
        std::sort(order_.begin(), order_.end(),
                  [&](size_t a, size_t b) { return offset(0, a) < offset(0, b); });
    }

    void draw() {
        if (vertices_.size() < 2 || elements_ == 0) return;
        const size_t segments = closed_ ? vertices_.size() : vertices_.size() - 1;
        if (style_.flags & kFill) fill();
        for (size_t e = 0; e < elements_; ++e) {
            const Pen pen = penOf(e);
            Out out(parts_.scene(), pen);
            for (size_t k = 0; k < segments; ++k) segment(k, e, out);
        }
        const size_t bottom = order_.front(), top = order_.back();
        if (style_.flags & kMiters)
            for (size_t k = closed_ ? 0 : 1; k < (closed_ ? vertices_.size() : segments); ++k)
                across(k, bottom, top);
        if (closed_) return;
        const size_t last = vertices_.size() - 1;
        if (style_.flags & kStartSquare) across(0, bottom, top);
        if (style_.flags & kEndSquare) across(last, bottom, top);
        if (style_.flags & kStartRound) cap(0, top, bottom);
        if (style_.flags & kEndRound) cap(last, bottom, top);
        if (elements_ > 3 && (style_.flags & kStartInner)) cap(0, order_[elements_ - 2], order_[1]);
        if (elements_ > 3 && (style_.flags & kEndInner))
            cap(last, order_[1], order_[elements_ - 2]);
    }

private:
    double offset(size_t vertex, size_t element) const {
        const std::vector<double>& p = vertices_[vertex].params[element];
        return p.empty() ? 0 : p[0];
    }
    QPointF point(size_t vertex, size_t element) const {
        const Vertex& v = vertices_[vertex];
        return v.at + v.miter * offset(vertex, element);
    }

    Pen penOf(size_t element) const {
        if (element >= style_.elements.size()) return parts_.entityPen();
        const Element& e = style_.elements[element];
        return parts_.pen(e.color, e.linetype);
    }

    // Element e from vertex k to the next, in the pieces its parameters leave: after the
    // offset come the distances along the segment where pieces start and end.
    void segment(size_t k, size_t e, Out& out) {
        const size_t next = (k + 1) % vertices_.size();
        const QPointF a = point(k, e), b = point(next, e);
        const std::vector<double>& p = vertices_[k].params[e];
        QPainterPath path;
        if (p.size() <= 2) {
            path.moveTo(a);
            path.lineTo(b);
        } else {
            const QPointF d = vertices_[k].direction;
            const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            for (size_t i = 1; i < p.size(); i += 2) {
                const double from = std::clamp(p[i], 0.0, length);
                const double to = i + 1 < p.size() ? std::clamp(p[i + 1], 0.0, length) : length;
                if (to <= from) continue;
                path.moveTo(a + d * from);
                path.lineTo(a + d * to);
            }
        }
        out.stroke(path, t_);
    }

    // A line across the elements at vertex k, each half in its outer element's pen.
    void across(size_t k, size_t bottom, size_t top) {
        const QPointF low = point(k, bottom), high = point(k, top), middle = (low + high) / 2;
        Out(parts_.scene(), penOf(top)).line(t_.map(high), t_.map(middle));
        Out(parts_.scene(), penOf(bottom)).line(t_.map(low), t_.map(middle));
    }

    // A half circle at vertex k from element `from` to element `to`, bulging outwards.
    void cap(size_t k, size_t from, size_t to) {
        const QPointF a = point(k, from), b = point(k, to);
        QPainterPath path(a);
        addBulge(path, a, b, 1);
        Out(parts_.scene(), penOf(from)).stroke(path, t_);
    }

    void fill() {
        const size_t bottom = order_.front(), top = order_.back();
        QPainterPath path(point(0, bottom));
        const size_t n = vertices_.size();
        for (size_t k = 1; k < n; ++k) path.lineTo(point(k, bottom));
        if (closed_) {
            path.closeSubpath();
            path.moveTo(point(0, top));
            for (size_t k = 1; k < n; ++k) path.lineTo(point(k, top));
            path.closeSubpath();
            path.setFillRule(Qt::OddEvenFill);
        } else {
            for (size_t k = n; k-- > 0;) path.lineTo(point(k, top));
            path.closeSubpath();
        }
        Out(parts_.scene(), parts_.pen(style_.fill)).fill(path, t_);
    }

    Parts& parts_;
    const Style style_;
    const std::vector<Vertex> vertices_;
    bool closed_ = false;
    QTransform t_;
    size_t elements_ = 0;
    std::vector<size_t> order_;
};

}  // namespace

void drawMLine(const EntityGroups& g, Parts& parts) { MLineDrawing(g, parts).draw(); }

}  // namespace plot
