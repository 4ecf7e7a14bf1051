// Objects most drawings carry beside their entities: the clipping boundary of a block
// reference (SPATIAL_FILTER), the sun of a viewport (SUN), the points a dimension is
// associated with (DIMASSOC) and where on the earth the drawing lies (GEODATA).
#include "drawing/aci.h"
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
    r.integer(63, c.hasRgb ? drawing::nearestAci(c.rgb) : c.index);
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

namespace {

// A long text as DXF splits it: pieces of 250 characters under `more`, the last under
// `last`.
void piecedText(Record& r, int more, int last, std::string_view text) {
    constexpr size_t kPiece = 250;
    size_t at = 0;
    for (;;) {
        size_t end = at, characters = 0;
        while (end < text.size() && characters < kPiece) {
            ++end;
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
                ++end;  // the rest of a UTF-8 character
            ++characters;
        }
        if (end >= text.size()) break;
        r.text(more, text.substr(at, end - at));
        at = end;
    }
    r.text(last, text.substr(at));
}

}  // namespace

// The form of 2010 on (version 2 and 3); the older form, which no drawing at hand
// shows beside its DXF, is declined.
void decodeGeoData(ObjectFrame& f, Record& r) {
    if (f.version() < Version::R2010) {
        r.type.clear();
        return;
    }
    BitReader& d = f.data();
    r.marker("AcDbGeoData");
    r.integer(90, d.BL());
    r.hex(330, f.ref());  // the block the data are for
    r.integer(70, d.BS());  // the kind of coordinates
    r.point(10, d.BD3());   // the design point
    r.point(11, d.BD3());   // the reference point
    r.real(40, d.BD());     // horizontal unit scale, then the units
    r.integer(91, d.BL());
    r.real(41, d.BD());     // vertical unit scale, then the units
    r.integer(92, d.BL());
    r.point(210, d.BD3());  // up
    r.point(12, d.RD2());   // north
    r.integer(95, d.BL());  // how the scale is estimated
    r.real(141, d.BD());
    r.integer(294, d.B());  // sea level correction
    r.real(142, d.BD());
    r.real(143, d.BD());
    piecedText(r, 303, 301, d.TV());  // the coordinate system
    for (int code : {302, 305, 306, 307}) r.text(code, d.TV());
    const int64_t points = itemCount(d, 256);
    r.integer(93, points);
    for (int64_t i = 0; i < points && !d.failed(); ++i) {
        r.point(13, d.RD2());  // from
        r.point(14, d.RD2());  // to
    }
    const int64_t faces = itemCount(d, 6);
    r.integer(96, faces);
    for (int64_t i = 0; i < faces && !d.failed(); ++i)
        for (int code : {97, 98, 99}) r.integer(code, d.BL());
}

}  // namespace dwg
