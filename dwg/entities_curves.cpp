// Lightweight polylines and multi-line texts.
#include "dwg/decoders.h"
#include "dwg/spline_fit.h"

namespace dwg {
namespace {

// DXF keeps a value in pieces of at most 250 bytes: 3 groups, then the last in a 1
// group. Pieces end on whole characters (UTF-8 from 2007 on, two-byte characters of
// the code page before).
void textInPieces(Record& r, const std::string& text, bool utf8) {
    size_t at = 0;
    while (text.size() - at > 250) {
        size_t end = at;
        for (;;) {
            const auto c = static_cast<unsigned char>(text[end]);
            size_t n = 1;
            if (utf8) {
                n = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : c >= 0xc0 ? 2 : 1;
            } else if (c >= 0x81) {
                n = 2;
            }
            if (end + n - at > 250) break;
            end += n;
        }
        if (end == at) end = at + 250;
        r.text(3, text.substr(at, end - at));
        at = end;
    }
    r.text(1, text.substr(at));
}

}  // namespace

void decodeLwPolyline(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int flags = d.BS();
    double width = 0, elevation = 0, thickness = 0;
    Point3 extrusion{0, 0, 1};
    if (flags & 4) width = d.BD();
    if (flags & 8) elevation = d.BD();
    if (flags & 2) thickness = d.BD();
    if (flags & 1) extrusion = d.BD3();
    const int64_t count = d.BL();
    const int64_t bulges = (flags & 16) ? d.BL() : 0;
    const int64_t ids = (f.version() >= Version::R2010 && (flags & 1024)) ? d.BL() : 0;
    const int64_t widths = (flags & 32) ? d.BL() : 0;
    // Every count is bounded by the bits left: a point takes at least two.
    const auto bad = [&d](int64_t n) { return n < 0 || static_cast<uint64_t>(n) > d.bitsLeft(); };
    if (bad(count) || bad(bulges) || bad(ids) || bad(widths)) {
        d.stop();
        return;
    }
    std::vector<Point2> points(static_cast<size_t>(count));
    for (int64_t i = 0; i < count && !d.failed(); ++i) {
        if (f.version() <= Version::R14 || i == 0) {
            points[i] = d.RD2();
        } else {
            points[i] = d.DD2(points[i - 1]);
        }
    }
    std::vector<double> bulge(static_cast<size_t>(bulges));
    for (double& b : bulge) b = d.BD();
    std::vector<int64_t> id(static_cast<size_t>(ids));
    for (int64_t& v : id) v = d.BL();
    std::vector<Point2> width2(static_cast<size_t>(widths));
    for (Point2& w : width2) w = d.BD2();

    int dxfFlags = 0;
    if (flags & 512) dxfFlags |= 1;
    if (flags & 256) dxfFlags |= 128;
    r.marker("AcDbPolyline");
    r.integer(90, count);
    r.integer(70, dxfFlags);
    if (widths == 0) r.real(43, width);
    if (elevation != 0.0) r.real(38, elevation);
    r.thickness(thickness);
    for (size_t i = 0; i < points.size(); ++i) {
        r.point(10, points[i]);
        if (i < width2.size()) {
            r.real(40, width2[i].x);
            r.real(41, width2[i].y);
        }
        if (i < bulge.size() && bulge[i] != 0.0) r.real(42, bulge[i]);
        if (i < id.size()) r.integer(91, id[i]);
    }
    r.extrusion(extrusion);
}

MTextBody readMTextBody(ObjectFrame& f) {
    BitReader& d = f.data();
    MTextBody m;
    m.insertion = d.BD3();
    m.extrusion = d.BD3();
    m.xAxis = d.BD3();
    m.width = d.BD();
    if (f.version() >= Version::R2007) m.rectHeight = d.BD();
    m.height = d.BD();
    m.attachment = d.BS();
    m.direction = d.BS();
    m.extents.y = d.BD();
    m.extents.x = d.BD();
    m.text = d.TV();
    m.style = f.ref();
    if (f.version() >= Version::R2000) {
        m.spacingStyle = d.BS();
        m.spacing = d.BD();
        d.B();
    }
    if (f.version() >= Version::R2004) {
        m.background = d.BL();
        if (m.background & (f.version() >= Version::R2018 ? 0x11 : 0x01)) {
            m.backgroundScale = d.BD();
            m.backgroundColor = d.CMC();
            m.backgroundTransparency = d.BL();
        }
    }
    if (f.version() >= Version::R2018 && d.B()) {
        // Not annotative: a copy of the geometry and the columns.
        d.BS();
        d.B();
        f.ref();
        d.BL();
        d.BD3();
        d.BD3();
        for (int i = 0; i < 4; ++i) d.BD();
        const int columns = d.BS();
        if (columns) {
            const int64_t heights = d.BL();
            d.BD();
            d.BD();
            const bool autoHeight = d.B();
            d.B();
            if (heights < 0 || static_cast<uint64_t>(heights) > d.bitsLeft()) d.stop();
            if (!autoHeight && columns == 2)
                for (int64_t i = 0; i < heights && !d.failed(); ++i) d.BD();
        }
    }
    return m;
}

void writeMTextBody(const MTextBody& m, Version version, bool embedded, Record& r) {
    r.point(10, m.insertion);
    r.real(40, m.height);
    r.real(41, m.width);
    if (version >= Version::R2007) r.real(46, m.rectHeight);
    r.integer(71, m.attachment);
    r.integer(72, m.direction);
    textInPieces(r, m.text, version >= Version::R2007);
    if (!embedded) {
        r.nameOf(7, m.style);
        r.extrusion(m.extrusion);
        if (m.xAxis.x != 1.0 || m.xAxis.y != 0.0 || m.xAxis.z != 0.0) r.point(11, m.xAxis);
    }
    if (version >= Version::R2000) {
        r.integer(73, m.spacingStyle);
        r.real(44, m.spacing);
    }
    if (m.background && !embedded) {
        r.integer(90, m.background);
        r.integer(63, m.backgroundColor.index);
        if (m.backgroundColor.hasRgb) r.integer(421, m.backgroundColor.rgb);
        r.real(45, m.backgroundScale);
        r.integer(441, m.backgroundTransparency);
    }
}

void decodeMText(ObjectFrame& f, Record& r) {
    const MTextBody m = readMTextBody(f);
    r.extents = m.extents;
    r.marker("AcDbMText");
    writeMTextBody(m, f.version(), false, r);
}

}  // namespace dwg

namespace dwg {

void decodeSpline(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    int64_t scenario = d.BL();
    int64_t splineFlags = 0, knotParameter = 0;
    if (f.version() >= Version::R2013) {
        splineFlags = d.BL();
        knotParameter = d.BL();
        // Control points unless the spline is defined by its fit points with a knot
        // parameter of its own (bit 8) that is not a custom one (15).
        scenario = (knotParameter == 15 || !(splineFlags & 8)) ? 1 : 2;
    }
    const int64_t degree = d.BL();
    // Planar, and from 2013 on the fit method, frame and knot parameter bits.
    int flags = 8 | static_cast<int>((splineFlags & ~4) << 7);
    const auto fits = [&d](int64_t n) {
        return n >= 0 && static_cast<uint64_t>(n) <= d.bitsLeft();
    };
    Record tolerances;
    SplineControl control;
    std::vector<double> weights;
    std::vector<Point3> fitPoints;
    if (scenario == 2) {
        const double fitTolerance = d.BD();
        const Point3 start = d.BD3();
        const Point3 end = d.BD3();
        const int64_t count = d.BL();
        if (!fits(count)) {
            d.stop();
            return;
        }
        for (int64_t i = 0; i < count && !d.failed(); ++i) fitPoints.push_back(d.BD3());
        // The drawing program derives the control points of a cubic from its fit points.
        if (degree == 3 && interpolateCubic(fitPoints, start, end, static_cast<int>(knotParameter),
                                            control)) {
            tolerances.real(42, 1e-9);
            tolerances.real(43, 1e-10);
        }
        // From 2013 on the drawing program writes the derived control points alone.
        if (f.version() >= Version::R2013 && !control.points.empty()) {
            fitPoints.clear();
        } else {
            // An end without a tangent stores a zero vector and has none in DXF.
            tolerances.real(44, fitTolerance);
            if (start.x != 0.0 || start.y != 0.0 || start.z != 0.0) tolerances.point(12, start);
            if (end.x != 0.0 || end.y != 0.0 || end.z != 0.0) tolerances.point(13, end);
        }
    } else {
        const bool rational = d.B();
        const bool closed = d.B();
        const bool periodic = d.B();
        const double knotTolerance = d.BD();
        const double pointTolerance = d.BD();
        const int64_t knots = d.BL();
        const int64_t points = d.BL();
        const bool weighted = d.B();
        if (!fits(knots) || !fits(points)) {
            d.stop();
            return;
        }
        flags |= (closed ? 1 : 0) | (periodic ? 2 : 0) | (rational ? 4 : 0);
        tolerances.real(42, knotTolerance);
        tolerances.real(43, pointTolerance);
        for (int64_t i = 0; i < knots && !d.failed(); ++i) control.knots.push_back(d.BD());
        for (int64_t i = 0; i < points && !d.failed(); ++i) {
            control.points.push_back(d.BD3());
            if (weighted) weights.push_back(d.BD());
        }
    }
    r.marker("AcDbSpline");
    r.point(210, Point3{0, 0, 1});
    r.integer(70, flags);
    r.integer(71, degree);
    r.integer(72, static_cast<int64_t>(control.knots.size()));
    r.integer(73, static_cast<int64_t>(control.points.size()));
    r.integer(74, static_cast<int64_t>(fitPoints.size()));
    for (Group& g : tolerances.groups) r.groups.push_back(std::move(g));
    for (double k : control.knots) r.real(40, k);
    for (size_t i = 0; i < control.points.size(); ++i) {
        r.point(10, control.points[i]);
        if (i < weights.size()) r.real(41, weights[i]);
    }
    for (const Point3& p : fitPoints) r.point(11, p);
}

}  // namespace dwg
