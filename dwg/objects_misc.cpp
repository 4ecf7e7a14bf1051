// Objects most drawings carry beside their entities: the clipping boundary of a block
// reference (SPATIAL_FILTER), the sun of a viewport (SUN) and the points a dimension
// is associated with (DIMASSOC).
#include "dwg/decoders.h"

namespace dwg {

void decodeSpatialFilter(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int vertices = d.BS();
    if (!mleaderCountFits(d, vertices, 128)) return;
    std::vector<Point2> boundary;
    for (int i = 0; i < vertices && !d.failed(); ++i) boundary.push_back(d.RD2());
    const Point3 extrusion = d.BD3();
    const Point3 origin = d.BD3();
    const int display = d.BS();
    const int front = d.BS();
    const double frontZ = front ? d.BD() : 0.0;
    const int back = d.BS();
    const double backZ = back ? d.BD() : 0.0;
    r.marker("AcDbFilter");
    r.marker("AcDbSpatialFilter");
    r.integer(70, vertices);
    for (const Point2& p : boundary) r.point(10, p);
    r.point(210, extrusion);
    r.point(11, origin);
    r.integer(71, display);
    r.integer(72, front);
    if (front) r.real(40, frontZ);
    r.integer(73, back);
    if (back) r.real(41, backZ);
    // The inverse of the block's transformation, then the clip's: 3 by 4 each.
    for (int i = 0; i < 24; ++i) r.real(40, d.BD());
}

// DXF before 2007 has no sun: there the drawing program leaves it out, and so is it
// left out here (declined, counted).
void decodeSun(ObjectFrame& f, Record& r) {
    if (f.version() < Version::R2007) {
        r.type.clear();
        return;
    }
    BitReader& d = f.data();
    r.marker("AcDbSun");
    r.integer(90, d.BL());   // version
    r.integer(290, d.B());   // on
    const Color c = d.CMC();
    r.integer(63, c.hasRgb ? nearestAci(c.rgb) : c.index);
    if (c.hasRgb) r.integer(421, c.rgb);
    r.real(40, d.BD());      // intensity
    r.integer(291, d.B());   // shadows
    r.integer(91, d.BL());   // Julian day
    r.integer(92, d.BL());   // milliseconds into the day
    r.integer(292, d.B());   // daylight saving
    r.integer(70, d.BL());   // shadow type
    r.integer(71, d.BS());   // shadow map size
    r.integer(280, d.RC());  // shadow softness
}

namespace {

constexpr int kAssociatedPoints = 6;

// One associated point: the object snap that finds it, the path of objects it lies on,
// and where it was. A point found at an intersection, which names a second path, and
// one followed by a reference to the point it was last (whose DXF form no drawing at
// hand shows) are not translated: false.
bool pointReference(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    r.text(1, d.TV());  // the class, AcDbOsnapPointRef
    const int snap = d.RC();
    r.integer(72, snap);
    const int64_t path = d.BL();
    if (!mleaderCountFits(f.handles(), path, 8)) return false;
    for (int64_t i = 0; i < path && !f.failed(); ++i) r.hex(331, f.ref());
    if (snap != 0) {
        r.integer(73, d.BL());  // the kind of subentity
        r.integer(91, d.BL());  // its graphics marker
        for (int64_t i = itemCount(d, 1); i > 0 && !d.failed(); --i) r.text(301, d.TV());
    }
    r.real(40, d.BD());
    r.point(10, d.BD3());
    if (snap == 6 || snap == 11) return false;
    const bool lastPoint = d.B();
    r.integer(75, lastPoint);
    return !lastPoint;
}

}  // namespace

void decodeDimAssoc(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int64_t associativity = d.BL();
    const int space = d.B();
    const int rotated = d.RC();
    r.marker("AcDbDimAssoc");
    r.hex(330, f.ref());  // the dimension
    r.integer(90, associativity);
    r.integer(70, space);
    r.integer(71, rotated);
    for (int i = 0; i < kAssociatedPoints && !f.failed(); ++i) {
        if (!(associativity & (1 << i))) continue;
        if (!pointReference(f, r)) {
            if (!f.failed()) r.type.clear();
            return;
        }
    }
}

}  // namespace dwg
