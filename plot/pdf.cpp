#include "plot/pdf.h"

#include <cmath>
#include <future>

#include "plot/page.h"
#include "plot/pdf_file.h"
#include "plot/pdf_fonts.h"
#include "plot/runs.h"

namespace plot {
namespace {

constexpr double kUnitsPerPoint = 100;  // the page content's coordinates
constexpr double kUnitsPerMm = kUnitsPerPoint * 72 / 25.4;
constexpr double kThinnest = 0.05;  // mm: lineweight 0 is the device's thinnest line
constexpr double kFinestDash = 10;  // units: a denser pattern plots as a solid line
// Units: 1/1200 inch. A stroke whose points all lie this close to its first plots as a
// dot of its pen, which it differs from by less than the plot's resolution.
constexpr double kFinestDetail = 6;
constexpr double kLargestUnits = 1e9;  // units: coordinates beyond are clamped
constexpr size_t kStreamBytes = 1 << 20;
constexpr size_t kItemsPerStopCheck = 4096;
// The circle of radius 1 about the origin, as four Bezier curves.
constexpr const char* kCircle =
    "1 0 m 1 0.5522847 0.5522847 1 0 1 c -0.5522847 1 -1 0.5522847 -1 0 c "
    "-1 -0.5522847 -0.5522847 -1 0 -1 c 0.5522847 -1 1 -0.5522847 1 0 c h S";

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

// The linetype as a PDF dash array in content units (dash, gap, dash, ...); empty for
// a solid line.
std::vector<double> dashArray(const std::vector<double>& dashes, double unitsToContent) {
    std::vector<double> array;
    double total = 0;
    for (double d : dashes) {
        const bool gap = d < 0;
        const double length = std::abs(d) * unitsToContent;
        total += length;
        if (!array.empty() && (array.size() % 2 == 0) == gap)
            array.back() += length;
        else if (array.empty() && gap)
            array = {0, length};
        else
            array.push_back(length);
    }
    if (array.size() % 2) array.push_back(0);
    if (total < kFinestDash) array.clear();
    return array;
}

// A coordinate in whole units; what no drawing can mean (overflowed arithmetic) at 0.
int64_t units(double v) {
    return std::isfinite(v) ? std::llround(std::clamp(v, -kLargestUnits, kLargestUnits)) : 0;
}

// A run of the page's content, in packed streams, with the graphics state set only
// where it changes. The page's first run sets the coordinates; a later run knows
// nothing of the state the runs before it leave.
class Content {
public:
    // `codes`: for each of the scene's glyphs, its font number * 256 + its code.
    Content(const Scene& scene, const PlotStyleTable& table, const QTransform& t,
            const std::vector<int>& codes, bool first)
        : scene_(scene), table_(table), t_(t), codes_(codes) {
        unitsToContent_ = std::sqrt(std::abs(t.determinant()));
        out_.reserve(kStreamBytes + kStreamBytes / 8);
        if (!first) return;
        pdfReal(out_, 1 / kUnitsPerPoint);
        out_ += "0 0 ";
        pdfReal(out_, 1 / kUnitsPerPoint);
        out_ += "0 0 cm\n";
        stroke_ = fill_ = qRgb(0, 0, 0);
        dashKnown_ = true;
    }

    void stroke(const SceneItem& item, double widthUnits, bool wide) {
        strokeColor(item.pen);
        setWidth(widthUnits);
        setCapJoin(wide ? 0 : 1);
        setDash(wide ? std::vector<double>{} : item.pen.dashes);
        if (item.begin == item.end) return;
        if (!wide && tiny(item)) {
            const auto [x, y] = device(outlineBox(scene_, item).center());
            dot(x, y);
            return;
        }
        path(item);
        out_ += "S\n";
    }

    // A circle is the page's one circle drawing (kCircle) placed and sized by a matrix;
    // the pen's width and dashes apply inside that drawing, so they are divided by the
    // radius there.
    void circle(const SceneItem& item, double widthUnits) {
        strokeColor(item.pen);
        setWidth(widthUnits);
        setCapJoin(1);
        setDash(item.pen.dashes);
        const QPainterPath::Element* e = scene_.elements.data() + item.begin;
        const auto [x, y] = device(e[0].x, e[0].y);
        const QPointF center = t_.map(QPointF(e[0].x, e[0].y));
        const QPointF on = t_.map(QPointF(e[1].x, e[1].y));
        const double r = std::hypot(on.x() - center.x(), on.y() - center.y());
        if (r <= kFinestDetail) {
            dot(x, y);
            return;
        }
        out_ += "q ";
        pdfReal(out_, r);
        out_ += "0 0 ";
        pdfReal(out_, r);
        pdfInteger(out_, x), pdfInteger(out_, y);
        out_ += "cm ";
        pdfReal(out_, widthUnits / r);
        out_ += "w ";
        if (!dashes_.empty()) {
            out_ += '[';
            for (double d : dashArray(dashes_, unitsToContent_)) pdfReal(out_, d / r);
            out_ += "] 0 d ";
        }
        out_ += "/C Do Q\n";
    }

    void line(const SceneItem& item, const QLineF& line, double widthUnits) {
        strokeColor(item.pen);
        setWidth(widthUnits);
        setCapJoin(1);
        setDash(item.pen.dashes);
        point(line.p1()), out_ += "m ";
        point(line.p2()), out_ += "l S\n";
    }

    void fill(const SceneItem& item) {
        if (item.begin == item.end) return;
        fillColor(item.pen);
        path(item);
        out_ += item.evenOdd ? "f*\n" : "f\n";
    }

    // The clip lasts until clipEnd(), which brings back the state from before it.
    void clipBegin(const SceneItem& item) {
        out_ += "q ";
        path(item);
        out_ += "W n\n";
    }
    void clipEnd() {
        out_ += "Q\n";
        stroke_ = fill_ = 0;
        width_ = -1;
        capJoin_ = -1;
        dashKnown_ = false;
        font_ = -1;
    }

    void text(const SceneItem& item) {
        const SceneText& text = scene_.texts[item.begin];
        fillColor(item.pen);
        out_ += "BT ";
        const QTransform m = QTransform::fromScale(1, -1) * text.place * t_;
        for (double v : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()}) pdfReal(out_, v);
        out_ += "Tm ";
        uint32_t i = text.glyphBegin;
        while (i < text.glyphEnd) {
            const int font = codes_[i] / kCodesPerFont;
            if (font != font_) {
                font_ = font;
                out_ += "/T";
                pdfInteger(out_, font);
                out_ += "1000 Tf ";
            }
            out_ += '<';
            for (; i < text.glyphEnd && codes_[i] / kCodesPerFont == font; ++i)
                pdfHex(out_, codes_[i] % kCodesPerFont, 2);
            out_ += "> Tj ";
        }
        out_ += "ET\n";
    }

    // Starts the next stream once this one is long enough; between two items.
    void endItem() {
        if (out_.size() < kStreamBytes) return;
        packed_.push_back(pdfDeflate(out_));
        out_.clear();
    }
    // The streams, packed.
    std::vector<std::string> finish() {
        if (!out_.empty()) packed_.push_back(pdfDeflate(out_));
        return std::move(packed_);
    }

private:
    // A point, or a shape smaller than the plot's resolution: a round dot of the pen, as
    // a stroke one unit long (renderers differ on strokes of no length).
    void dot(int64_t x, int64_t y) {
        pdfInteger(out_, x), pdfInteger(out_, y), out_ += "m ";
        pdfInteger(out_, x), pdfInteger(out_, y + 1), out_ += "l S\n";
    }

    // Whether the item's outline, control points included, stays within the finest
    // detail of its first point.
    bool tiny(const SceneItem& item) const {
        const QPainterPath::Element* e = scene_.elements.data() + item.begin;
        const double reach = kFinestDetail / unitsToContent_;
        for (uint32_t i = 1; i < item.end - item.begin; ++i)
            if (std::abs(e[i].x - e[0].x) > reach || std::abs(e[i].y - e[0].y) > reach)
                return false;
        return true;
    }

    std::pair<int64_t, int64_t> device(double x, double y) const {
        const double dx = t_.m11() * x + t_.m21() * y + t_.dx();
        const double dy = t_.m12() * x + t_.m22() * y + t_.dy();
        return {units(dx), units(dy)};
    }
    std::pair<int64_t, int64_t> device(QPointF p) const { return device(p.x(), p.y()); }
    void point(const QPainterPath::Element& e) {
        const auto [x, y] = device(e.x, e.y);
        pdfInteger(out_, x);
        pdfInteger(out_, y);
    }
    void point(QPointF p) {
        const auto [x, y] = device(p);
        pdfInteger(out_, x);
        pdfInteger(out_, y);
    }

    // Closes a subpath that ends where it began, so its corner is joined, not capped.
    void path(const SceneItem& item) {
        const QPainterPath::Element* p = scene_.elements.data() + item.begin;
        const int n = static_cast<int>(item.end - item.begin);
        QPointF start;
        int segments = 0;
        for (int i = 0; i < n; ++i) {
            const QPainterPath::Element& e = p[i];
            if (e.isMoveTo()) {
                if (segments > 1 && QPointF(p[i - 1]) == start) out_ += "h ";
                start = e, segments = 0;
                point(e), out_ += "m ";
            } else if (e.isLineTo()) {
                point(e), out_ += "l ";
                ++segments;
            } else if (e.isCurveTo() && i + 2 < n) {
                point(e), point(p[i + 1]), point(p[i + 2]);
                out_ += "c ";
                i += 2;
                ++segments;
            }
        }
        if (segments > 1 && QPointF(p[n - 1]) == start) out_ += "h ";
    }

    // Most items share their pen with the item before.
    QRgb colorOf(const Pen& pen) {
        if (pen.aci != lastAci_ || pen.color != lastColor_) {
            lastAci_ = pen.aci, lastColor_ = pen.color;
            lastRgb_ = table_.penColor(pen.aci, pen.color).rgb();
        }
        return lastRgb_;
    }

    void color(QRgb rgb, const char* op) {
        for (int c : {qRed(rgb), qGreen(rgb), qBlue(rgb)}) pdfReal(out_, c / 255.0);
        out_ += op;
    }
    void strokeColor(const Pen& pen) {
        const QRgb rgb = colorOf(pen);
        if (rgb != stroke_) stroke_ = rgb, color(rgb, "RG\n");
    }
    void fillColor(const Pen& pen) {
        const QRgb rgb = colorOf(pen);
        if (rgb != fill_) fill_ = rgb, color(rgb, "rg\n");
    }
    void setWidth(double w) {
        if (w == width_) return;
        width_ = w;
        pdfReal(out_, w);
        out_ += "w\n";
    }
    // 1: round caps and joins; 0: butt caps and mitred joins, for wide polylines.
    void setCapJoin(int style) {
        if (style == capJoin_) return;
        capJoin_ = style;
        pdfInteger(out_, style);
        out_ += "J ";
        pdfInteger(out_, style);
        out_ += "j\n";
    }
    // `dashes`: the pen's linetype in drawing units.
    void setDash(const std::vector<double>& dashes) {
        if (dashKnown_ && dashes == dashes_) return;
        dashKnown_ = true;
        dashes_ = dashes;
        out_ += '[';
        for (double d : dashArray(dashes, unitsToContent_)) pdfReal(out_, d);
        out_ += "] 0 d\n";
    }

    const Scene& scene_;
    const PlotStyleTable& table_;
    QTransform t_;
    double unitsToContent_ = 1;
    std::string out_;
    const std::vector<int>& codes_;
    std::vector<std::string> packed_;
    // The state: what the first run starts with, unknown (no colour is transparent)
    // where the first use must set it.
    QRgb stroke_ = 0;
    QRgb fill_ = 0;
    double width_ = -1;
    int capJoin_ = -1;
    bool dashKnown_ = false;
    std::vector<double> dashes_;
    int font_ = -1;
    int lastAci_ = -1;
    QColor lastColor_;
    QRgb lastRgb_ = 0;
};

}  // namespace

std::optional<std::string> plotPdf(const Scene& scene, const drawing::PlotSettings& settings,
                                   const PlotStyleTable& table, const PdfPaper& paper,
                                   const std::string& title, PlotBudget& budget) {
    const QSizeF area = paper.printable.size() * kUnitsPerPoint;
    const QRectF extents = scene.items.empty() ? QRectF(0, 0, 1, 1) : plotExtents(scene);
    const QTransform t = pageTransform(extents, settings, area, kUnitsPerMm) *
                         QTransform(1, 0, 0, -1, paper.printable.left() * kUnitsPerPoint,
                                    (paper.size.height() - paper.printable.top()) * kUnitsPerPoint);
    const double unitsToContent = std::sqrt(std::abs(t.determinant()));
    // A pen's width in content units: its lineweight on paper, or scaled with the drawing.
    const double lineweightScale =
        kUnitsPerMm * (settings.scaleLineweights ? unitsToContent / kUnitsPerMm : 1.0);
    auto penWidth = [&](const SceneItem& item) {
        return std::max(item.pen.lineweight, kThinnest) * lineweightScale;
    };
    const PdfFonts fonts(scene.glyphs);

    auto run = [&](size_t from, size_t to) {
        Content content(scene, table, t, fonts.codes(), from == 0);
        for (size_t k = from; k < to; ++k) {
            if ((k - from) % kItemsPerStopCheck == 0 && !budget.going()) break;
            const SceneItem& item = scene.items[k];
            switch (item.kind) {
                case SceneItem::Kind::Text:
                    content.text(item);
                    break;
                case SceneItem::Kind::Fill:
                    content.fill(item);
                    break;
                case SceneItem::Kind::ClipBegin:
                    content.clipBegin(item);
                    break;
                case SceneItem::Kind::ClipEnd:
                    content.clipEnd();
                    break;
                case SceneItem::Kind::Infinite: {
                    QLineF line;
                    const QPainterPath::Element* e = scene.elements.data() + item.begin;
                    if (clipLine(e[0], e[1], item.ray, extents, line))
                        content.line(item, line, penWidth(item));
                    break;
                }
                case SceneItem::Kind::Circle:
                    content.circle(item, penWidth(item));
                    break;
                case SceneItem::Kind::Stroke: {
                    const bool wide = item.width > 0;
                    content.stroke(item, wide ? item.width * unitsToContent : penWidth(item), wide);
                    break;
                }
            }
            content.endItem();
        }
        return content.finish();
    };
    // A large page is written in runs side by side, one per processor.
    const size_t runs = parallelRuns(scene.items.size());
    std::vector<std::future<std::vector<std::string>>> later;
    for (size_t r = 1; r < runs; ++r)
        later.push_back(std::async(std::launch::async, run, scene.items.size() * r / runs,
                                   scene.items.size() * (r + 1) / runs));
    std::vector<std::string> streams = run(0, scene.items.size() / runs);
    for (auto& f : later)
        for (std::string& packed : f.get()) streams.push_back(std::move(packed));
    if (budget.ended()) return std::nullopt;

    PdfFile pdf;
    const int catalog = pdf.reserve(), pages = pdf.reserve(), page = pdf.reserve();
    std::string contents;
    std::vector<int> streamNumbers;
    for (size_t i = 0; i < streams.size(); ++i) {
        streamNumbers.push_back(pdf.reserve());
        contents += PdfFile::ref(streamNumbers.back()) + " ";
    }
    const int info = pdf.reserve();
    const bool circles =
        std::any_of(scene.items.begin(), scene.items.end(),
                    [](const SceneItem& i) { return i.kind == SceneItem::Kind::Circle; });
    const int circle = circles ? pdf.reserve() : 0;
    const std::string xobjects =
        circles ? "/XObject << /C " + PdfFile::ref(circle) + " >> " : std::string();
    std::string fontList;
    std::vector<int> fontNumbers;
    for (size_t f = 0; f < fonts.count(); ++f) {
        fontNumbers.push_back(pdf.reserve());
        fontList += "/T" + std::to_string(f) + " " + PdfFile::ref(fontNumbers.back()) + " ";
    }
    pdf.object(catalog, "<< /Type /Catalog /Pages " + PdfFile::ref(pages) + " >>");
    pdf.object(pages, "<< /Type /Pages /Kids [" + PdfFile::ref(page) + "] /Count 1 >>");
    std::string media;
    for (double v : {0.0, 0.0, paper.size.width(), paper.size.height()}) pdfReal(media, v);
    pdf.object(page, "<< /Type /Page /Parent " + PdfFile::ref(pages) + " /MediaBox [" + media +
                         "] /Resources << /Font << " + fontList + ">> " + xobjects +
                         ">> /Contents [" + contents + "] >>");
    for (size_t i = 0; i < streams.size(); ++i) pdf.packedStream(streamNumbers[i], streams[i]);
    pdf.object(info, "<< /Title " + pdfText(QString::fromStdString(title)) +
                         " /Creator (Tolvane) /Producer (Tolvane) >>");
    for (size_t f = 0; f < fonts.count(); ++f) fonts.write(pdf, f, fontNumbers[f]);
    // Its box leaves room for the widest pen around the smallest circle drawn.
    if (circles)
        pdf.stream(circle, kCircle,
                   "/Type /XObject /Subtype /Form /BBox [-1000000 -1000000 1000000 1000000] ");
    return pdf.finish(catalog, info);
}

}  // namespace plot
