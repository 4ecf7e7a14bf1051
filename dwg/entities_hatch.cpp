// Hatches: their boundary paths (polylines or edges: lines, arcs, elliptic arcs and
// splines), their pattern and, from 2004 on, their gradient fill.
#include "dwg/decoders.h"

namespace dwg {
namespace {

bool countFits(BitReader& d, int64_t count) {
    if (count >= 0 && static_cast<uint64_t>(count) <= d.bitsLeft()) return true;
    d.stop();
    return false;
}

void splineEdge(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int64_t degree = d.BL();
    const bool rational = d.B();
    const bool periodic = d.B();
    const int64_t knots = d.BL();
    const int64_t points = d.BL();
    if (!countFits(d, knots) || !countFits(d, points)) return;
    r.integer(94, degree);
    r.integer(73, rational);
    r.integer(74, periodic);
    r.integer(95, knots);
    r.integer(96, points);
    for (int64_t i = 0; i < knots && !d.failed(); ++i) r.real(40, d.BD());
    for (int64_t i = 0; i < points && !d.failed(); ++i) {
        r.point(10, d.RD2());
        if (rational) r.real(42, d.BD());
    }
    if (f.version() >= Version::R2010) {
        const int64_t fits = d.BL();
        if (!countFits(d, fits)) return;
        r.integer(97, fits);
        if (fits > 0) {
            for (int64_t i = 0; i < fits && !d.failed(); ++i) r.point(11, d.RD2());
            r.point(12, d.RD2());
            r.point(13, d.RD2());
        }
    }
}

void edge(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int type = d.RC();
    r.integer(72, type);
    switch (type) {
    case 1:
        r.point(10, d.RD2());
        r.point(11, d.RD2());
        break;
    case 2:    // a circular arc: centre, radius
    case 3: {  // an elliptic one: centre, end of the major axis, axis ratio
        r.point(10, d.RD2());
        if (type == 3) r.point(11, d.RD2());
        r.real(40, d.BD());
        const double start = d.BD();
        const double end = d.BD();
        r.real(50, degrees(start));
        r.real(51, degrees(end));
        r.integer(73, d.B());
        break;
    }
    case 4: splineEdge(f, r); break;
    default: d.stop(); break;
    }
}

// One boundary path; returns its flags.
int64_t path(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int64_t flags = d.BL();
    r.integer(92, flags);
    if (!(flags & 2)) {
        const int64_t edges = d.BL();
        if (!countFits(d, edges)) return flags;
        r.integer(93, edges);
        for (int64_t i = 0; i < edges && !d.failed(); ++i) edge(f, r);
    } else {
        const bool bulges = d.B();
        const bool closed = d.B();
        const int64_t vertices = d.BL();
        if (!countFits(d, vertices)) return flags;
        r.integer(72, bulges);
        r.integer(73, closed);
        r.integer(93, vertices);
        for (int64_t i = 0; i < vertices && !d.failed(); ++i) {
            r.point(10, d.RD2());
            if (bulges) r.real(42, d.BD());
        }
    }
    const int64_t objects = d.BL();
    if (!countFits(d, objects)) return flags;
    r.integer(97, objects);
    for (int64_t i = 0; i < objects && !f.failed(); ++i) r.hex(330, f.ref());
    return flags;
}

}  // namespace

void decodeHatch(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    Record gradient;
    if (f.version() >= Version::R2004) {
        const int64_t isGradient = d.BL();
        gradient.integer(450, isGradient);
        gradient.integer(451, d.BL());
        const double angle = d.BD();
        const double shift = d.BD();
        gradient.integer(452, d.BL());
        const double tint = d.BD();
        const int64_t colors = d.BL();
        if (colors < 0 || colors > 1000) {
            d.stop();
            return;
        }
        gradient.integer(453, colors);
        for (int64_t i = 0; i < colors && !d.failed(); ++i) {
            const double value = d.BD();
            const Color c = d.CMC();
            gradient.real(463, value);
            gradient.integer(63, c.index);
            if (c.hasRgb) gradient.integer(421, c.rgb);
        }
        gradient.real(460, angle);
        gradient.real(461, shift);
        gradient.real(462, tint);
        gradient.text(470, d.TV());
        if (!isGradient) gradient.groups.clear();
    }
    const double elevation = d.BD();
    const Point3 extrusion = d.BD3();
    const std::string name = d.TV();
    const bool solid = d.B();
    const bool associative = d.B();
    const int64_t paths = d.BL();
    if (!countFits(d, paths)) return;
    r.marker("AcDbHatch");
    r.point(10, Point3{0, 0, elevation});
    r.point(210, extrusion);
    r.text(2, name);
    r.integer(70, solid);
    r.integer(71, associative);
    r.integer(91, paths);
    bool pixelSize = false;
    for (int64_t i = 0; i < paths && !f.failed(); ++i)
        if (path(f, r) & 4) pixelSize = true;
    r.integer(75, d.BS());
    r.integer(76, d.BS());
    if (!solid) {
        r.real(52, degrees(d.BD()));
        r.real(41, d.BD());
        r.integer(77, d.B());
        const int lines = d.BS();
        r.integer(78, lines);
        for (int i = 0; i < lines && !d.failed(); ++i) {
            r.real(53, degrees(d.BD()));
            const Point2 base = d.BD2();
            const Point2 offset = d.BD2();
            r.real(43, base.x);
            r.real(44, base.y);
            r.real(45, offset.x);
            r.real(46, offset.y);
            const int dashes = d.BS();
            r.integer(79, dashes);
            for (int k = 0; k < dashes && !d.failed(); ++k) r.real(49, d.BD());
        }
    }
    if (pixelSize) r.real(47, d.BD());
    const int64_t seeds = d.BL();
    if (!countFits(d, seeds)) return;
    r.integer(98, seeds);
    for (int64_t i = 0; i < seeds && !d.failed(); ++i) r.point(10, d.RD2());
    for (Group& g : gradient.groups) r.groups.push_back(std::move(g));
}

}  // namespace dwg
