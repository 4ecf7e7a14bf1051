// Leaders, feature control frames (TOLERANCE) and multilines.
#include <cmath>

#include "dwg/decoders.h"

namespace dwg {
namespace {

bool isDefault(const Point3& p, double x, double y, double z) {
    return p.x == x && p.y == y && p.z == z;
}

}  // namespace

void decodeLeader(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    d.B();
    const int annotation = d.BS();
    const int pathType = d.BS();
    const int64_t count = d.BL();
    if (count < 0 || static_cast<uint64_t>(count) > d.bitsLeft()) {
        d.stop();
        return;
    }
    std::vector<Point3> points;
    for (int64_t i = 0; i < count && !d.failed(); ++i) points.push_back(d.BD3());
    d.BD3();  // the origin of the leader's plane
    const Point3 extrusion = d.BD3();
    const Point3 xDirection = d.BD3();
    const Point3 blockOffset = d.BD3();
    Point3 projection;
    if (f.version() >= Version::R14) projection = d.BD3();
    if (f.version() <= Version::R14) d.BD();  // DIMGAP when it was made
    // Up to 2007 the size of the annotation's box.
    double boxHeight = 0, boxWidth = 0;
    if (f.version() <= Version::R2007) {
        boxHeight = d.BD();
        boxWidth = d.BD();
    }
    const bool hookOnX = d.B();
    const bool arrowhead = d.B();
    d.BS();  // the arrowhead type
    int byBlockColor = 0;
    if (f.version() <= Version::R14) {
        d.BD();
        d.B();
        d.B();
        d.BS();
        byBlockColor = d.BS();
    }
    d.B();
    d.B();
    const uint64_t annotationObject = f.ref();
    const uint64_t style = f.ref();
    r.marker("AcDbLeader");
    r.nameOf(3, style);
    if (!arrowhead) r.integer(71, 0);
    if (pathType != 0) r.integer(72, pathType);
    r.integer(73, annotation);
    r.integer(74, hookOnX);
    r.integer(75, 0);  // the hook line: see leaders.cpp
    r.real(40, boxHeight);  // from 2010 on taken from the annotation (leaders.cpp)
    r.real(41, boxWidth);
    r.integer(76, count);
    for (const Point3& p : points) r.point(10, p);
    if (byBlockColor != 0) r.integer(77, byBlockColor);
    if (annotationObject) r.hex(340, annotationObject);
    r.extrusion(extrusion);
    if (!isDefault(xDirection, 1, 0, 0)) r.point(211, xDirection);
    if (!isDefault(blockOffset, 0, 0, 0)) r.point(212, blockOffset);
    if (!isDefault(projection, 0, 0, 0)) r.point(213, projection);
}

void decodeTolerance(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    if (f.version() <= Version::R14) {
        d.BS();
        d.BD();
        d.BD();
    }
    const Point3 insertion = d.BD3();
    const Point3 xDirection = d.BD3();
    const Point3 extrusion = d.BD3();
    const std::string text = d.TV();
    const uint64_t style = f.ref();
    r.marker("AcDbFcf");
    r.nameOf(3, style);
    r.point(10, insertion);
    if (!text.empty()) r.text(1, text);
    r.extrusion(extrusion);
    if (!isDefault(xDirection, 1, 0, 0)) r.point(11, xDirection);
}

void decodeMLine(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const double scale = d.BD();
    const int justification = d.RC();
    const Point3 base = d.BD3();
    const Point3 extrusion = d.BD3();
    const int flags = d.BS();
    const int lines = d.RC();
    const int vertices = d.BS();
    if (vertices < 0 || static_cast<uint64_t>(vertices) > d.bitsLeft()) {
        d.stop();
        return;
    }
    Record body;
    for (int v = 0; v < vertices && !d.failed(); ++v) {
        body.point(11, d.BD3());
        body.point(12, d.BD3());
        body.point(13, d.BD3());
        for (int l = 0; l < lines && !d.failed(); ++l) {
            const int segments = d.BS();
            if (segments < 0 || static_cast<uint64_t>(segments) > d.bitsLeft()) {
                d.stop();
                return;
            }
            body.integer(74, segments);
            for (int i = 0; i < segments && !d.failed(); ++i) body.real(41, d.BD());
            const int fills = d.BS();
            if (fills < 0 || static_cast<uint64_t>(fills) > d.bitsLeft()) {
                d.stop();
                return;
            }
            body.integer(75, fills);
            for (int i = 0; i < fills && !d.failed(); ++i) body.real(42, d.BD());
        }
    }
    const uint64_t style = f.ref();
    r.marker("AcDbMline");
    r.nameOf(2, style);
    r.hex(340, style);
    r.real(40, scale);
    r.integer(70, justification);
    r.integer(71, flags);
    r.integer(72, vertices);
    r.integer(73, lines);
    r.point(10, base);
    r.point(210, extrusion);
    for (Group& g : body.groups) r.groups.push_back(std::move(g));
}

}  // namespace dwg
