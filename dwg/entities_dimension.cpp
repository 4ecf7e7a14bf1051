// The seven kinds of DIMENSION: the data they share, then each kind's points.
#include "dwg/decoders.h"

namespace dwg {
namespace {

// DXF's dimension type (group 70, low bits) of each DWG type.
enum Kind : int {
    kLinear = 0,
    kAligned = 1,
    kAngular2Line = 2,
    kDiameter = 3,
    kRadius = 4,
    kAngular3Point = 5,
    kOrdinate = 6,
};

}  // namespace

DimensionCommon readDimensionCommon(ObjectFrame& f, int kind) {
    BitReader& d = f.data();
    DimensionCommon m;
    if (f.version() >= Version::R2010) d.RC();
    m.extrusion = d.BD3();
    m.textMiddle = d.RD2();
    m.elevation = d.BD();
    const int flags1 = d.RC();
    m.flags = kind;
    if (flags1 & 2) m.flags |= 32;
    if (!(flags1 & 1)) m.flags |= 128;  // the text was moved by the user
    m.text = d.TV();
    m.textRotation = d.BD();
    m.horizontal = d.BD();
    d.BD3();  // the scale of the block's insertion
    m.blockRotation = d.BD();
    if (f.version() >= Version::R2000) {
        m.attachment = d.BS();
        m.spacingStyle = d.BS();
        m.spacing = d.BD();
        m.measurement = d.BD();
    }
    if (f.version() >= Version::R2007) {
        m.unknown = d.B();
        m.flip1 = d.B();
        m.flip2 = d.B();
    }
    m.clone = d.RD2();
    return m;
}

void writeDimensionCommon(ObjectFrame& f, DimensionCommon& m, const Point3& definition, Record& r) {
    m.style = f.ref();
    m.block = f.ref();
    r.marker("AcDbDimension");
    if (f.version() >= Version::R2010) r.integer(280, 0);
    r.nameOf(2, m.block);
    r.point(10, definition);
    r.point(11, Point3{m.textMiddle.x, m.textMiddle.y, m.elevation});
    if (m.clone.x != 0.0 || m.clone.y != 0.0)
        r.point(12, Point3{m.clone.x, m.clone.y, m.elevation});
    r.integer(70, m.flags);
    if (f.version() >= Version::R2000) {
        r.integer(71, m.attachment);
        if (m.spacingStyle != 1) r.integer(72, m.spacingStyle);
        if (m.spacing != 1.0) r.real(41, m.spacing);
        r.real(42, m.measurement);
    }
    if (f.version() >= Version::R2007) {
        r.integer(73, m.unknown);
        r.integer(74, m.flip1);
        r.integer(75, m.flip2);
    }
    if (!m.text.empty()) r.text(1, m.text);
    if (m.textRotation != 0.0) r.real(53, degrees(m.textRotation));
    if (m.horizontal != 0.0) r.real(51, degrees(m.horizontal));
    if (m.blockRotation != 0.0) r.real(54, degrees(m.blockRotation));
    r.extrusion(m.extrusion);
    r.nameOf(3, m.style);
}

namespace {

void linearOrAligned(ObjectFrame& f, Record& r, Kind kind) {
    BitReader& d = f.data();
    DimensionCommon m = readDimensionCommon(f, kind);
    const Point3 p13 = d.BD3();
    const Point3 p14 = d.BD3();
    const Point3 p10 = d.BD3();
    const double oblique = d.BD();
    const double rotation = kind == kLinear ? d.BD() : 0.0;
    writeDimensionCommon(f, m, p10, r);
    r.marker("AcDbAlignedDimension");
    r.point(13, p13);
    r.point(14, p14);
    if (rotation != 0.0) r.real(50, degrees(rotation));
    if (oblique != 0.0) r.real(52, degrees(oblique));
    if (kind == kLinear) r.marker("AcDbRotatedDimension");
}

}  // namespace

void decodeDimLinear(ObjectFrame& f, Record& r) { linearOrAligned(f, r, kLinear); }
void decodeDimAligned(ObjectFrame& f, Record& r) { linearOrAligned(f, r, kAligned); }

namespace {

// The points of the other kinds, in the order their DWG stores them (16 as a 2D point at
// the elevation), and whether a leader length follows.
struct PointsKind {
    Kind kind;
    const char* subclass;
    int stored[5];  // group codes, 0 ends the list
    bool leader;
};

void pointsKind(ObjectFrame& f, Record& r, const PointsKind& k) {
    BitReader& d = f.data();
    DimensionCommon m = readDimensionCommon(f, k.kind);
    Point3 points[20];  // by group code - 10
    for (int code : k.stored) {
        if (code == 0) break;
        if (code == 16) {
            const Point2 p = d.RD2();
            points[6] = Point3{p.x, p.y, m.elevation};
        } else {
            points[code - 10] = d.BD3();
        }
    }
    const double leader = k.leader ? d.BD() : 0.0;
    if (k.kind == kOrdinate && (d.RC() & 1)) m.flags |= 64;  // measured along X
    writeDimensionCommon(f, m, points[0], r);
    r.marker(k.subclass);
    for (int code = 13; code <= 16; ++code)
        for (int stored : k.stored)
            if (stored == code) r.point(code, points[code - 10]);
    if (k.leader) r.real(40, leader);
}

}  // namespace

void decodeDimOrdinate(ObjectFrame& f, Record& r) {
    pointsKind(f, r, {kOrdinate, "AcDbOrdinateDimension", {10, 13, 14}, false});
}
void decodeDimAngular3Point(ObjectFrame& f, Record& r) {
    pointsKind(f, r, {kAngular3Point, "AcDb3PointAngularDimension", {10, 13, 14, 15}, false});
}
void decodeDimAngular2Line(ObjectFrame& f, Record& r) {
    pointsKind(f, r, {kAngular2Line, "AcDb2LineAngularDimension", {16, 13, 14, 15, 10}, false});
}
void decodeDimRadius(ObjectFrame& f, Record& r) {
    pointsKind(f, r, {kRadius, "AcDbRadialDimension", {10, 15}, true});
}
void decodeDimDiameter(ObjectFrame& f, Record& r) {
    pointsKind(f, r, {kDiameter, "AcDbDiametricDimension", {15, 10}, true});
}

}  // namespace dwg
