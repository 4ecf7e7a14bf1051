// Lines, circles, arcs, points, ellipses, rays and construction lines, and the
// four-cornered SOLID, TRACE and 3DFACE.
#include "dwg/decoders.h"

namespace dwg {

void decodeLine(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    Point3 start, end;
    if (f.version() <= Version::R14) {
        start = d.BD3();
        end = d.BD3();
    } else {
        const bool flat = d.B();
        start.x = d.RD();
        end.x = d.DD(start.x);
        start.y = d.RD();
        end.y = d.DD(start.y);
        if (!flat) {
            start.z = d.RD();
            end.z = d.DD(start.z);
        }
    }
    const double thickness = d.BT();
    const Point3 extrusion = d.BE();
    r.marker("AcDbLine");
    r.thickness(thickness);
    r.point(10, start);
    r.point(11, end);
    r.extrusion(extrusion);
}

namespace {

void circleBody(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const Point3 center = d.BD3();
    const double radius = d.BD();
    const double thickness = d.BT();
    const Point3 extrusion = d.BE();
    r.marker("AcDbCircle");
    r.thickness(thickness);
    r.point(10, center);
    r.real(40, radius);
    r.extrusion(extrusion);
}

void rayBody(ObjectFrame& f, Record& r, const char* subclass) {
    BitReader& d = f.data();
    const Point3 point = d.BD3();
    const Point3 vector = d.BD3();
    r.marker(subclass);
    r.point(10, point);
    r.point(11, vector);
}

void cornersBody(ObjectFrame& f, Record& r, const char* subclass) {
    BitReader& d = f.data();
    const double thickness = d.BT();
    const double elevation = d.BD();
    Point3 corners[4];
    for (Point3& c : corners) {
        const Point2 p = d.RD2();
        c = Point3{p.x, p.y, elevation};
    }
    const Point3 extrusion = d.BE();
    r.marker(subclass);
    r.thickness(thickness);
    for (int i = 0; i < 4; ++i) r.point(10 + i, corners[i]);
    r.extrusion(extrusion);
}

}  // namespace

void decodeCircle(ObjectFrame& f, Record& r) { circleBody(f, r); }

void decodeArc(ObjectFrame& f, Record& r) {
    circleBody(f, r);
    BitReader& d = f.data();
    const double start = d.BD();
    const double end = d.BD();
    r.marker("AcDbArc");
    r.real(50, degrees(start));
    r.real(51, degrees(end));
}

void decodePoint(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const Point3 point = d.BD3();
    const double thickness = d.BT();
    const Point3 extrusion = d.BE();
    const double angle = d.BD();
    r.marker("AcDbPoint");
    r.point(10, point);
    r.thickness(thickness);
    r.extrusion(extrusion);
    if (angle != 0.0) r.real(50, degrees(angle));
}

void decodeEllipse(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const Point3 center = d.BD3();
    const Point3 axis = d.BD3();
    const Point3 extrusion = d.BD3();
    const double ratio = d.BD();
    const double start = d.BD();
    const double end = d.BD();
    r.marker("AcDbEllipse");
    r.point(10, center);
    r.point(11, axis);
    r.point(210, extrusion);
    r.real(40, ratio);
    r.real(41, start);
    r.real(42, end);
}

void decodeRay(ObjectFrame& f, Record& r) { rayBody(f, r, "AcDbRay"); }
void decodeXline(ObjectFrame& f, Record& r) { rayBody(f, r, "AcDbXline"); }
void decodeSolid(ObjectFrame& f, Record& r) { cornersBody(f, r, "AcDbTrace"); }
void decodeTrace(ObjectFrame& f, Record& r) { cornersBody(f, r, "AcDbTrace"); }

void decode3dFace(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    Point3 corners[4];
    int invisible = 0;
    if (f.version() <= Version::R14) {
        for (Point3& c : corners) c = d.BD3();
        invisible = d.BS();
    } else {
        const bool noFlags = d.B();
        const bool flat = d.B();
        corners[0].x = d.RD();
        corners[0].y = d.RD();
        if (!flat) corners[0].z = d.RD();
        for (int i = 1; i < 4; ++i) {
            corners[i].x = d.DD(corners[i - 1].x);
            corners[i].y = d.DD(corners[i - 1].y);
            corners[i].z = d.DD(corners[i - 1].z);
        }
        if (!noFlags) invisible = d.BS();
    }
    r.marker("AcDbFace");
    for (int i = 0; i < 4; ++i) r.point(10 + i, corners[i]);
    if (invisible != 0) r.integer(70, invisible);
}

}  // namespace dwg

namespace dwg {

void decodeViewport(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const Point3 center = d.BD3();
    const double width = d.BD();
    const double height = d.BD();
    r.marker("AcDbViewport");
    r.point(10, center);
    r.real(40, width);
    r.real(41, height);
    // The status and number of a viewport are those of its place in the active layout,
    // which the writer gives.
    r.integer(68, 0);
    r.integer(69, 0);
    if (f.version() <= Version::R14) {
        f.ref();  // the viewport entity header
        return;
    }
    const Point3 target = d.BD3();
    const Point3 direction = d.BD3();
    const double twist = d.BD();
    const double viewHeight = d.BD();
    const double lens = d.BD();
    const double front = d.BD();
    const double back = d.BD();
    const double snapAngle = d.BD();
    const Point2 viewCenter = d.RD2();
    const Point2 snapBase = d.RD2();
    const Point2 snapSpacing = d.RD2();
    const Point2 gridSpacing = d.RD2();
    const int circleZoom = d.BS();
    int gridMajor = 5;
    if (f.version() >= Version::R2007) gridMajor = d.BS();
    const int64_t frozen = d.BL();
    const int64_t status = d.BL();
    const std::string styleSheet = d.TV();
    const int render = d.RC();
    const int ucsAtOrigin = d.B();
    const int ucsPerViewport = d.B();
    const Point3 origin = d.BD3();
    const Point3 xAxis = d.BD3();
    const Point3 yAxis = d.BD3();
    const double elevation = d.BD();
    const int ortho = d.BS();
    int shadePlot = 0;
    if (f.version() >= Version::R2004) shadePlot = d.BS();
    if (f.version() >= Version::R2007) {
        d.B();
        d.RC();
        d.BD();
        d.BD();
        d.CMC();
    }
    if (frozen < 0 || static_cast<uint64_t>(frozen) > f.handles().bitsLeft()) {
        d.stop();
        return;
    }
    r.point(12, viewCenter);
    r.point(13, snapBase);
    r.point(14, snapSpacing);
    r.point(15, gridSpacing);
    r.point(16, direction);
    r.point(17, target);
    r.real(42, lens);
    r.real(43, front);
    r.real(44, back);
    r.real(45, viewHeight);
    r.real(50, degrees(snapAngle));
    r.real(51, degrees(twist));
    r.integer(72, circleZoom);
    for (int64_t i = 0; i < frozen && !f.failed(); ++i) r.hex(331, f.ref());
    const uint64_t clip = f.ref();
    if (f.version() == Version::R2000) f.ref();  // the viewport entity header
    f.ref();                                      // named UCS
    f.ref();                                      // base UCS
    if (f.version() >= Version::R2007)
        for (int i = 0; i < 4; ++i) f.ref();  // background, visual style, shade plot, sun
    r.integer(90, status);
    if (clip) r.hex(340, clip);
    r.text(1, styleSheet);
    r.integer(281, render);
    r.integer(71, ucsPerViewport);
    r.integer(74, ucsAtOrigin);
    r.point(110, origin);
    r.point(111, xAxis);
    r.point(112, yAxis);
    r.integer(79, ortho);
    r.real(146, elevation);
    if (f.version() >= Version::R2004) r.integer(170, shadePlot);
    if (f.version() >= Version::R2007) r.integer(61, gridMajor);
}

}  // namespace dwg
